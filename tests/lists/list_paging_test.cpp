#include "lists/list_paging.h"

#include <gtest/gtest.h>

#include <vector>

#include "lists/list_colours.h"

using namespace kelvorn;

namespace {

const std::vector<std::string> kLetters = {"Abba.mp3", "abc.mp3", "Beat.mp3", "bird.mp3", "Cold.mp3", "Dance.mp3"};

EntryAt firstOf(int entries) {
    return [entries](int i) -> const std::string& {
        static const std::string none;
        return i >= 0 && i < entries ? kLetters[static_cast<size_t>(i)] : none;
    };
}

}  // namespace

TEST(ListPaging, PagesStayInsideTheListAndThe16BitRange) {
    // Count 25 on its last page: "8" shows the last entry alone, "2" then 15..24.
    EXPECT_EQ(pageDown(16, 25), 25);
    EXPECT_EQ(pageUp(25), 15);
    EXPECT_EQ(normalisedPos(pageUp(5)), 0);
    EXPECT_EQ(lastPage(25), 16);
    EXPECT_EQ(normalisedPos(lastPage(-1)), 0);  // an empty list: -10 becomes 0
    EXPECT_EQ(normalisedPos(lastPage(9)), 0);
    // The highest reachable count: no step leaves the range.
    EXPECT_EQ(pageDown(32767, 32767), 32767);
    EXPECT_EQ(pageDown(32765, 32767), 32767);
    EXPECT_EQ(normalisedPos(40000), 32767);
    EXPECT_EQ(highlightDown({32758, 9}, 32767).pos, 32758);
    EXPECT_EQ(highlightDown({32757, 9}, 32767).pos, 32758);
}

TEST(ListPaging, HighlightScrollsAtTheEdgesAndNeverWraps) {
    EXPECT_EQ(highlightUp({0, 0}).pos, 0);
    EXPECT_EQ(highlightUp({0, 0}).butt, 0);
    EXPECT_EQ(highlightUp({7, 0}).pos, 6);
    EXPECT_EQ(highlightUp({7, 4}).butt, 3);
    // Ten entries (count 9): line 9 is the end.
    EXPECT_EQ(highlightDown({0, 9}, 9).pos, 0);
    EXPECT_EQ(highlightDown({0, 9}, 9).butt, 9);
    EXPECT_EQ(highlightDown({0, 9}, 12).pos, 1);
    // A short list: the highlight may stand on empty lines.
    EXPECT_EQ(highlightDown({0, 4}, 2).butt, 5);
}

TEST(ListPaging, LetterJumpsFindTheNeighbouringGroups) {
    const QString bird = lineText("bird.mp3");
    ListPage p = previousLetter({0, 3}, bird, firstOf(6));
    EXPECT_EQ(p.pos, 0);
    EXPECT_EQ(p.butt, 0);
    p = nextLetter({0, 3}, 5, bird, firstOf(6));
    EXPECT_EQ(p.pos, 4);  // Cold on line 0
    EXPECT_EQ(p.butt, 0);
    // Five entries (count 4): the search reaches the count, the last page is 4 - 9.
    p = nextLetter({0, 3}, 4, bird, firstOf(5));
    EXPECT_EQ(normalisedPos(p.pos), 0);
    // From Cold back to the B group starting at 2; from Dance on to the last page.
    EXPECT_EQ(previousLetter({4, 0}, "Cold", firstOf(6)).pos, 2);
    EXPECT_EQ(nextLetter({5, 0}, 5, "Dance", firstOf(6)).pos, -4);
    // An empty highlighted line compares as " ": nothing matches, the position stays.
    EXPECT_EQ(nextLetter({0, 8}, 5, "", firstOf(6)).pos, 8);
    EXPECT_EQ(letterOfEntry(""), QString());
    EXPECT_EQ(letterOfEntry("\xC3\xA9t\xC3\xA9.mp3"), QString::fromUtf8("\xC3\x89"));
}

TEST(ListPaging, LineTextCutsTheExtensionButShowsShortEntriesWhole) {
    EXPECT_EQ(lineText("Song.mp3"), "Song");
    EXPECT_EQ(lineText(".mp3"), "");
    EXPECT_EQ(lineText("ab"), "ab");
    EXPECT_EQ(lineText("abc"), "abc");
    EXPECT_EQ(lineText(""), "");
    EXPECT_EQ(lineText("Clip name", false), "Clip name");
    EXPECT_EQ(lineText("Caf\xE9.mp3"), QString::fromUtf8("Caf\xC3\xA9"));  // Latin-1 bytes
}

TEST(ListColours, FlashesRunThroughGreenAndYellowOrange) {
    const auto play = flashColours(Flash::Play);
    EXPECT_EQ(play.front(), 33023u);
    EXPECT_EQ(rgbFromBgr(play[1]), 0x008000u);  // 32768: green
    EXPECT_EQ(play[11], 33023u - 2805u);
    EXPECT_EQ(play[12], 33023u + 2805u);
    EXPECT_EQ(play.back(), 33023u);
    const auto second = flashColours(Flash::Second);
    EXPECT_EQ(rgbFromBgr(second[11]), 0xF48B00u);  // 35828
    EXPECT_EQ(second[12], 33023u - 2805u);
    EXPECT_EQ(second.back(), 33023u);
    EXPECT_EQ(rgbFromBgr(kHighlightBack), 0xFF8000u);
}
