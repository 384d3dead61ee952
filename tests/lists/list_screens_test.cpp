#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "lists/custom_list.h"
#include "lists/full_list.h"

using namespace kelvorn;

namespace {

using Texts = std::vector<std::string>;

SongList numbered(int entries, const char* stem) {
    SongList names;
    for (int i = 0; i < entries; ++i) names.push_back(stem + std::to_string(i) + ".mp3");
    return names;
}

// Both list screens over the given archive and custom list, on the fakes.
struct ListRig : CoreRig {
    FullList* full;  // owned by the stage, as on the real one
    CustomList* custom;

    explicit ListRig(SongList archive = {}, SongList customSongs = {}) {
        svc.ArchiveCount = static_cast<int16_t>(archive.size()) - 1;
        svc.ArchiveList = std::move(archive);
        setCustom(std::move(customSongs));
        full = new FullList(&stage, services, *transitions);
        custom = new CustomList(&stage, services, *transitions);
    }
    void setCustom(SongList names) {
        svc.CustomCount = static_cast<int16_t>(names.size()) - 1;
        svc.CustomSongs = std::move(names);
    }
    // The playback request and the custom list's count as one text.
    std::string request() const {
        return "song " + std::to_string(svc.SongPos) + (svc.NewSong ? " new" : "") +
               (svc.PlayOn ? " on" : "") + (svc.ListMode ? " list" : "") +
               " custom " + std::to_string(svc.CustomCount);
    }
};

void keys(ListBrowser& list, const std::string& typed) {
    for (char c : typed) list.keyTyped(std::string(1, c));
}

Texts lines(const ListBrowser& list) {
    Texts texts;
    for (auto* line : list.ListLine) texts.push_back(line->text().toStdString());
    return texts;
}

// The page position, the highlighted line and the lines painted as highlighted.
std::string where(const ListBrowser& list) {
    std::string lit;
    for (int i = 0; i < kListLines; ++i)
        if (list.lineBackground(i) == kHighlightBack) lit += std::to_string(i);
    return std::to_string(list.AktListPos) + "+" + std::to_string(list.aktbutt) + " lit " + lit;
}

void press(QWidget* w, Qt::MouseButton button) {
    QMouseEvent ev(QEvent::MouseButtonPress, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)), button, button,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(w, &ev);
}

}  // namespace

TEST(ListBrowser, PagesFirstLastAndTheLastEntryAlone) {
    ListRig rig(numbered(26, "s"));  // count 25
    FullList& list = *rig.full;
    list.AktListPos = 16;
    list.FillList();
    const struct { const char* key; const char* ends; } steps[] = {  // the first and the last line
        {"8", "s25,"}, {"2", "s15,s24"}, {"9", "s16,s25"}, {"3", "s0,s9"}, {"2", "s0,s9"}};
    for (const auto& s : steps) {
        keys(list, s.key);
        EXPECT_EQ(lines(list)[0] + "," + lines(list)[9], s.ends) << s.key;
    }
    emit list.Label2->clicked();  // the click strips page like "8" and "2"
    EXPECT_EQ(list.AktListPos, 10);
    emit list.Label1->clicked();
    EXPECT_EQ(where(list), "0+0 lit 0");  // paging never moves the highlight
}

TEST(ListBrowser, HighlightStopsAtTheEndsDifferentlyOnFullAndCustomList) {
    ListRig rig(numbered(3, "a"), numbered(6, "c"));
    keys(*rig.full, "aaaaaaaaaaaa");  // onto the empty lines, down to line 9 and no further
    EXPECT_EQ(where(*rig.full), "0+9 lit 9");
    keys(*rig.full, "qqqqqqqqqqqq");
    EXPECT_EQ(where(*rig.full), "0+0 lit 0");

    CustomList& custom = *rig.custom;  // CustomCount 5: the highlight stops on the last entry
    keys(custom, "aaaaaaaaa8");
    EXPECT_EQ(lines(custom)[0], "c5");
    keys(custom, "qqqqqqqaaaaaaaaa");  // up scrolls at the top line
    EXPECT_EQ(where(custom), "3+5 lit 5");
}

TEST(ListBrowser, LetterJumpsIgnoreCaseAndMoveTheHighlightToLineZero) {
    const SongList names = {"Abba.mp3", "abc.mp3", "Beat.mp3", "bird.mp3", "Cold.mp3", "Dance.mp3"};
    // With five entries the C group lies on the last page, which then starts at the top.
    const struct { int entries, pos, coldLine; } cases[] = {{6, 4, 0}, {5, 0, 4}};
    for (const auto& c : cases) {
        ListRig rig(SongList(names.begin(), names.begin() + c.entries));
        FullList& list = *rig.full;
        keys(list, "aaa1");  // from bird back to the A group, lower case included
        EXPECT_EQ(where(list), "0+0 lit 0") << c.entries;
        keys(list, "aaa7");  // from bird on to the C group
        EXPECT_EQ(where(list), std::to_string(c.pos) + "+0 lit 0") << c.entries;
        EXPECT_EQ(lines(list)[static_cast<size_t>(c.coldLine)], "Cold") << c.entries;
    }
}

TEST(ListBrowser, EmptyListsAndEmptyLinesAreInert) {
    ListRig rig;  // ArchiveCount -1
    keys(*rig.full, "cx9");
    press(rig.full->ListLine[0], Qt::LeftButton);
    press(rig.full->ListLine[0], Qt::RightButton);
    EXPECT_EQ(where(*rig.full), "0+0 lit 0");

    // Entries shorter than an extension are shown whole; an extension alone is an empty line.
    ListRig shortNames({"ab", "abc.mp3", ".mp3", "x"});
    EXPECT_EQ(lines(*shortNames.full), (Texts{"ab", "abc", "", "x", "", "", "", "", "", ""}));
    keys(*shortNames.full, "aac");
    for (const ListRig* r : {&rig, &shortNames})  // and no flash either
        EXPECT_EQ(r->request() + " " + std::to_string(r->pump.passes), "song 0 custom -1 0");
    keys(*shortNames.full, "qqc");
    EXPECT_EQ(shortNames.request(), "song 0 new on custom -1");
}

TEST(ListBrowser, KeysSetToDigitsActOnlyWhereTheTablePutsThemFirst) {
    ListRig rig(numbered(30, "s"));
    rig.svc.KeyUp = "2";
    rig.svc.KeyOk = "5";
    FullList& list = *rig.full;
    keys(list, "8aa25");  // "2" moves the highlight; "5" skips, which does nothing while not playing
    EXPECT_EQ(where(list), "10+1 lit 1");
    EXPECT_EQ(rig.request(), "song 0 custom -1");
    rig.svc.PlayOn = true;
    rig.svc.SongPos = 3;
    keys(list, "5");
    EXPECT_EQ(rig.request(), "song 4 new on custom -1");
    rig.svc.PlayOn = rig.svc.NewSong = false;
    keys(list, "44");  // back a song even while stopped
    EXPECT_EQ(rig.request(), "song 2 new custom -1");
    rig.svc.PlayOn = rig.svc.ShuffleOn = rig.svc.ListMode = true;  // a shuffled skip draws over the playing list
    rig.setCustom(numbered(11, "c"));
    rig.random.values = {0.55};
    keys(list, "5");
    EXPECT_EQ(rig.svc.SongPos, 5);
    EXPECT_EQ(rig.pump.passes, 0);  // skips do not flash
}

TEST(FullList, ClickPlaysFromTheArchiveAndSecondSelectStopsAtTheHighestReachableCount) {
    ListRig rig(numbered(30, "s"), SongList(32766, "old.mp3"));  // count 32765: two more fit
    FullList& list = *rig.full;
    keys(list, "8");
    rig.svc.ListMode = true;
    press(list.ListLine[3], Qt::LeftButton);
    EXPECT_EQ(rig.request(), "song 13 new on custom 32765");
    EXPECT_EQ(list.aktbutt, 0);  // the highlight does not follow a click
    press(list.ListLine[2], Qt::RightButton);
    keys(list, "xx");
    EXPECT_EQ(rig.svc.CustomCount, 32767);
    EXPECT_EQ(SongList(rig.svc.CustomSongs.begin() + 32765, rig.svc.CustomSongs.end()),
              (SongList{"old.mp3", "s12.mp3", "s10.mp3"}));
}

TEST(FullList, FlashesRunTheirPassesWhateverTheSpeedAndLeaveTheLineAsItIsNow) {
    ListRig rig(numbered(5, "s"));
    FullList& list = *rig.full;
    size_t line = 0;
    std::vector<QRgb> steps;  // the colour shown at the first pass of each step
    rig.pump.onPass = [&] {
        if (rig.pump.passes % 201 == 1)
            steps.push_back(list.ListLine[line]->palette().color(QPalette::Window).rgb() & 0xFFFFFF);
    };
    keys(list, "c");
    rig.svc.GFXSpeed = 4;
    line = 2;
    press(list.ListLine[2], Qt::RightButton);  // a line that is not highlighted
    EXPECT_EQ(rig.pump.passes, 2 * 24 * 201);
    ASSERT_EQ(steps.size(), 48u);
    // Select runs through green, second select towards yellow-orange; both end as they began.
    const struct { size_t step; QRgb rgb; } shown[] = {
        {0, 0xFF8000}, {1, 0x008000}, {23, 0xFF8000}, {24, 0xFF8000}, {35, 0xF48B00}, {47, 0xFF8000}};
    for (const auto& s : shown) EXPECT_EQ(steps[s.step], s.rgb) << "step " << s.step;
    EXPECT_EQ(where(list), "0+0 lit 0");
    EXPECT_EQ(list.lineTextColour(2), kLineText);
    // The highlight moved during the flash: the flashed line takes its look as it is now.
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 100) keys(list, "a");
    };
    rig.pump.passes = 0;
    keys(list, "c");
    EXPECT_EQ(where(list), "0+1 lit 1");
}

TEST(CustomList, RemovalKeepsTheOrderAndLeavesPlaybackAlone) {
    ListRig rig({}, numbered(6, "c"));
    rig.svc.SongPos = 2;
    CustomList& list = *rig.custom;
    keys(list, "aaax");
    EXPECT_EQ(SongList(rig.svc.CustomSongs.begin(), rig.svc.CustomSongs.begin() + 5),
              (SongList{"c0.mp3", "c1.mp3", "c2.mp3", "c4.mp3", "c5.mp3"}));
    EXPECT_EQ(lines(list), (Texts{"c0", "c1", "c2", "c4", "c5", "", "", "", "", ""}));
    EXPECT_EQ(where(list), "0+3 lit 3");
    EXPECT_EQ(rig.request(), "song 2 custom 4");  // playback is left alone
    press(list.ListLine[1], Qt::LeftButton);  // play the list from c1
    EXPECT_EQ(rig.request(), "song 1 new on list custom 4");
    press(list.ListLine[0], Qt::RightButton);
    EXPECT_EQ(lines(list)[0], "c1");

    ListRig one({}, {"only.mp3"});
    keys(*one.custom, "x");
    EXPECT_EQ(one.svc.CustomCount, -1);
    EXPECT_EQ(lines(*one.custom), Texts(10));
}

TEST(CustomList, KeysDuringAFlashNeverRemovePastTheEnd) {
    ListRig rig({}, numbered(6, "c"));
    CustomList& list = *rig.custom;
    keys(list, "aaaaa");  // the last entry, c5
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 100) keys(list, "x");  // removes c5 inside the first flash
    };
    keys(list, "x");
    EXPECT_EQ(rig.svc.CustomCount, 4);  // the outer removal found the line past the end
    EXPECT_EQ(rig.svc.CustomSongs[4], "c4.mp3");
    EXPECT_EQ(where(list), "0+5 lit 5");
    // Closing in the middle of a flash: the flash ends and changes nothing more.
    rig.svc.GFXSpeed = -1;
    rig.pump.passes = 0;
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 10) keys(list, "#");
    };
    keys(list, "qc");
    EXPECT_TRUE(list.isHidden());
    EXPECT_EQ(rig.svc.SongPos, 4);
}

TEST(ListBrowser, BackKeyOrButtonReturnsToTheMainScreenOnceOnly) {
    ListRig rig(numbered(12, "s"));
    FullList& list = *rig.full;
    for (bool button : {false, true}) {
        rig.pump.onPass = nullptr;
        rig.transitions->open(*rig.main, list);
        EXPECT_FALSE(list.isHidden() || list.ListLine[9]->isHidden() || !rig.main->MainButt[0]->isHidden());
        rig.pump.onPass = [&] { keys(list, "#"); };  // back keys during the wipe change nothing
        if (button) emit list.frame.MainBack->clicked();
        else keys(list, "#");
        EXPECT_TRUE(list.isHidden() && list.ListLine[0]->isHidden()) << button;
        for (auto* b : rig.main->MainButt) EXPECT_FALSE(b->isHidden()) << button;
    }
}
