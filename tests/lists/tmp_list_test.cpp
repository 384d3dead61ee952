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
        for (size_t i : {7u, 40u, 41u}) svc.ArchiveList[i] = "Hit " + std::to_string(i) + ".mp3";
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

TEST(TmpList, ResultsStartOnTheFirstAndSelectPlaysOrCopiesTheArchiveEntry) {
    TmpRig rig;
    TmpList& list = *rig.list;
    rig.search("SONG");
    rig.keys("aaqq");  // down to line 2 and back: only the lines passed over lose the dark yellow
    for (int i = 0; i < kListLines; ++i) {
        EXPECT_EQ(list.lineTextColour(i), i == 0 ? kHighlightText : i <= 2 ? kLineText : kResultText) << i;
        EXPECT_EQ(list.lineBackground(i), i == 0 ? kHighlightBack : kLineBack) << i;
    }
    rig.keys("aaa8");
    rig.svc.ListMode = true;
    rig.search("HIT");  // every new search starts on the first result
    EXPECT_EQ(list.AktListPos + list.aktbutt, 0);
    rig.keys("aac");  // the third result
    EXPECT_TRUE(rig.svc.SongPos == 41 && !rig.svc.ListMode && rig.svc.NewSong && rig.svc.PlayOn);
    rig.keys("x");  // the archive entry, extension included
    EXPECT_EQ(rig.svc.CustomSongs, SongList{"Hit 41.mp3"});
}

TEST(TmpList, EmptyOrStaleResultsAreInert) {
    TmpRig rig;
    rig.search("NOTHING");
    rig.keys("cx");
    // Results left over from a larger archive, and a result without an index.
    rig.svc.TmpSongs = {"Gone.mp3", "Lost.mp3"};
    rig.svc.TmpIdx = {99};
    rig.svc.TmpCount = 1;
    rig.list->FillList();
    rig.keys("cxac");
    EXPECT_FALSE(rig.svc.PlayOn || rig.svc.CustomCount != -1);
}
