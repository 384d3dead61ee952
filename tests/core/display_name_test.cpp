#include "core/display_name.h"

#include <gtest/gtest.h>

using namespace kelvorn;

TEST(DisplayName, SplitsAtTheFirstDashAndCutDropsFolderAndExtensionButNeverTooMuch) {
    const struct { const char *name, *artist, *title; } cases[] = {
        {"Band - Song", "Band", "Song"},
        {"Band--Song", "Band", "Song"},
        {"A-B - Song", "A", "B - Song"},
        {"Intro", "Intro", "Intro"},
        {"Band - - Song", "Band", " Song"},  // one dash dropped, the blank after it stays
        {"-", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const DisplayName d = splitDisplayName(c.name);
        EXPECT_EQ(d.artist, c.artist) << c.name;
        EXPECT_EQ(d.title, c.title) << c.name;
    }
    std::string tmp = "before";
    cutDisplayName("/music/Band - Song.mp3", 7, tmp);
    EXPECT_EQ(tmp, "Band - Song");
    cutDisplayName("/music/abc", 7, tmp);  // shorter than an extension: kept whole
    EXPECT_EQ(tmp, "abc");
    cutDisplayName("/mu", 7, tmp);  // shorter than the folder: the scratch text stays
    EXPECT_EQ(tmp, "abc");
}
