// The page arithmetic at its edges; the everyday paging, letter jumps and line texts
// are checked on the list screens themselves.
#include "lists/list_paging.h"

#include <gtest/gtest.h>

#include <vector>

#include "lists/list_colours.h"

using namespace kelvorn;

TEST(ListPaging, PagesAndHighlightStayInsideTheListAndThe16BitRange) {
    EXPECT_EQ(normalisedPos(pageUp(5)), 0);
    EXPECT_EQ(normalisedPos(lastPage(-1)), 0);  // an empty list: -10 becomes 0
    EXPECT_EQ(normalisedPos(lastPage(9)), 0);
    EXPECT_EQ(normalisedPos(40000), 32767);
    EXPECT_EQ(pageDown(32765, 32767), 32767);
    EXPECT_EQ(pageDown(32767, 32767), 32767);
    // {pos, butt} before and after a highlight move up (no count) or down.
    constexpr int up = -2;
    const struct { ListPage from; int count; ListPage to; } moves[] = {
        {{0, 0}, up, {0, 0}}, {{7, 0}, up, {6, 0}}, {{7, 4}, up, {7, 3}},
        {{0, 9}, 9, {0, 9}},  // ten entries: line 9 is the end
        {{0, 9}, 12, {1, 9}}, {{0, 4}, 2, {0, 5}},  // a short list: empty lines may be highlighted
        {{32757, 9}, 32767, {32758, 9}}, {{32758, 9}, 32767, {32758, 9}},
    };
    for (const auto& m : moves) {
        const ListPage to = m.count == up ? highlightUp(m.from) : highlightDown(m.from, m.count);
        EXPECT_EQ(to.pos, m.to.pos) << m.from.pos << "/" << m.from.butt << " count " << m.count;
        EXPECT_EQ(to.butt, m.to.butt) << m.from.pos << "/" << m.from.butt << " count " << m.count;
    }
}

TEST(ListPaging, LetterJumpsAtTheEndsAndDecodedLetters) {
    const std::vector<std::string> names = {"Abba.mp3", "abc.mp3", "Beat.mp3", "bird.mp3", "Cold.mp3", "Dance.mp3"};
    const EntryAt entry = [&](int i) -> const std::string& {
        static const std::string none;
        return i >= 0 && i < 6 ? names[static_cast<size_t>(i)] : none;
    };
    EXPECT_EQ(previousLetter({4, 0}, "Cold", entry).pos, 2);  // lower case joins the group
    EXPECT_EQ(nextLetter({5, 0}, 5, "Dance", entry).pos, -4);  // the last page
    // An empty highlighted line compares as " ": nothing matches, the position stays.
    EXPECT_EQ(nextLetter({0, 8}, 5, "", entry).pos, 8);
    EXPECT_EQ(letterOfEntry(""), QString());
    EXPECT_EQ(letterOfEntry("\xC3\xA9t\xC3\xA9.mp3"), QString::fromUtf8("\xC3\x89"));
    EXPECT_EQ(lineText("Caf\xE9.mp3"), QString::fromUtf8("Caf\xC3\xA9"));  // Latin-1 bytes
    EXPECT_EQ(lineText("Clip name", false), "Clip name");
}

TEST(ListColours, FlashesRunThroughGreenAndYellowOrange) {
    const auto play = flashColours(Flash::Play);
    const auto second = flashColours(Flash::Second);
    EXPECT_EQ(rgbFromBgr(play[1]), 0x008000u);  // 32768: green
    EXPECT_EQ(play[11], 33023u - 2805u);
    EXPECT_EQ(play[12], 33023u + 2805u);
    EXPECT_EQ(rgbFromBgr(second[11]), 0xF48B00u);  // 35828
    EXPECT_EQ(second[12], 33023u - 2805u);
    EXPECT_EQ(play.front(), 33023u);  // both end where they started
    EXPECT_EQ(play.back(), 33023u);
    EXPECT_EQ(second.back(), 33023u);
    EXPECT_EQ(rgbFromBgr(kHighlightBack), 0xFF8000u);
}
