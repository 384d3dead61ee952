// The page arithmetic at its edges; the everyday paging, letter jumps, line texts and
// flash colours are checked on the list screens themselves.
#include "lists/list_paging.h"

#include <gtest/gtest.h>

using namespace kelvorn;

TEST(ListPaging, PagesAndHighlightStayInsideTheListAndThe16BitRange) {
    EXPECT_EQ(normalisedPos(40000), 32767);
    EXPECT_EQ(pageDown(32765, 32767), 32767);
    EXPECT_EQ(pageDown(32767, 32767), 32767);
    // {pos, butt} before and after a highlight move up (no count) or down.
    constexpr int up = -2;
    const struct { ListPage from; int count; ListPage to; } moves[] = {
        {{0, 0}, up, {0, 0}}, {{7, 0}, up, {6, 0}}, {{0, 9}, 9, {0, 9}}, {{0, 9}, 12, {1, 9}},
        {{32757, 9}, 32767, {32758, 9}}, {{32758, 9}, 32767, {32758, 9}},
    };
    for (const auto& m : moves) {
        const ListPage to = m.count == up ? highlightUp(m.from) : highlightDown(m.from, m.count);
        EXPECT_TRUE(to.pos == m.to.pos && to.butt == m.to.butt)
            << m.from.pos << "/" << m.from.butt << " count " << m.count << ": " << to.pos << "/" << to.butt;
    }
}

TEST(ListPaging, EmptyLinesMatchNoLetterAndNamesAreDecoded) {
    const std::string names[] = {"", "", "Cold.mp3"};
    const EntryAt entry = [&](int i) -> const std::string& { return names[i >= 0 && i < 3 ? i : 0]; };
    // An empty highlighted line compares as " ": not even an empty entry matches, it stays.
    EXPECT_EQ(nextLetter({0, 0}, 2, "", entry).pos, 0);
    // From an empty line past the end of a list of 25 both jumps stay inside it.
    const EntryAt abc = [](int i) -> const std::string& {
        static const std::string a = "a.mp3", b = "b.mp3", none;
        return i < 0 || i > 24 ? none : i < 20 ? a : b;
    };
    EXPECT_EQ(previousLetter({20, 7}, 24, "", abc).pos, 20);  // the last letter's first entry
    EXPECT_EQ(nextLetter({20, 7}, 24, "", abc).pos, 15);      // the last page
    EXPECT_EQ(letterOfEntry("\xC3\xA9t\xC3\xA9.mp3"), QString::fromUtf8("\xC3\x89"));
    EXPECT_EQ(lineText("Caf\xE9.mp3"), QString::fromUtf8("Caf\xC3\xA9"));  // Latin-1 bytes
}
