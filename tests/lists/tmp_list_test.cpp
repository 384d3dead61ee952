#include <gtest/gtest.h>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/alpha_search.h"
#include "lists/tmp_list.h"

using namespace kelvorn;

namespace {

// An archive of 50 songs; those at 7, 40 and 41 (and only those) contain "HIT".
struct TmpRig : CoreRig {
    TmpList* list;  // owned by the stage

    TmpRig() {
        for (int i = 0; i < 50; ++i) svc.ArchiveList.push_back("Song " + std::to_string(i) + ".mp3");
        for (int i : {7, 40, 41}) svc.ArchiveList[static_cast<size_t>(i)] = "Hit " + std::to_string(i) + ".mp3";
        svc.ArchiveCount = 49;
        list = new TmpList(&stage, services, *transitions);
    }
    // The lists menu's order: search, hide, fill, reveal.
    void search(const std::string& text) {
        AlphaSearch(svc, text);
        list->FadeOut();
        list->FillList();
        list->FadeIn();
    }
    void keys(const std::string& typed) {
        for (char c : typed) list->keyTyped(std::string(1, c));
    }
};

}  // namespace

TEST(TmpList, UntouchedResultLinesStayDarkYellow) {
    TmpRig rig;
    rig.search("SONG");
    rig.keys("aaqq");  // down to line 2 and back
    TmpList& list = *rig.list;
    EXPECT_EQ(list.lineTextColour(0), kHighlightText);
    EXPECT_EQ(list.lineBackground(0), kHighlightBack);
    for (int i = 1; i < kListLines; ++i) {
        EXPECT_EQ(list.lineTextColour(i), i <= 2 ? kLineText : kResultText) << i;
        EXPECT_EQ(list.lineBackground(i), kLineBack) << i;
    }
}

TEST(TmpList, SelectPlaysTheArchiveSecondSelectCopiesTheArchiveEntry) {
    TmpRig rig;
    rig.svc.ListMode = true;
    rig.search("HIT");
    rig.keys("aac");  // the third result
    EXPECT_EQ(rig.svc.SongPos, 41);
    EXPECT_FALSE(rig.svc.ListMode);
    EXPECT_TRUE(rig.svc.NewSong && rig.svc.PlayOn);

    rig.keys("x");
    EXPECT_EQ(rig.svc.CustomCount, 0);
    EXPECT_EQ(entryAt(rig.svc.CustomSongs, 0), "Hit 41.mp3");
}

TEST(TmpList, EmptyOrStaleResultsAreInert) {
    TmpRig rig;
    rig.search("NOTHING");
    rig.keys("cx");
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_EQ(rig.svc.CustomCount, -1);

    // Results left over from a larger archive, and a result without an index.
    rig.svc.TmpSongs = {"Gone.mp3", "Lost.mp3"};
    rig.svc.TmpIdx = {99};
    rig.svc.TmpCount = 1;
    rig.list->FillList();
    rig.keys("cxac");
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_EQ(rig.svc.CustomCount, -1);
}

TEST(TmpList, EveryNewSearchStartsOnTheFirstResult) {
    TmpRig rig;
    rig.search("SONG");
    rig.keys("aaa8");
    ASSERT_EQ(rig.list->AktListPos, 10);
    rig.search("SONG");
    EXPECT_EQ(rig.list->aktbutt, 0);
    EXPECT_EQ(rig.list->AktListPos, 0);
}
