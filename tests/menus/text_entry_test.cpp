// A text entry started from the lists menu, and the clock forcing the main screen back.
#include "menus/text_entry.h"

#include <gtest/gtest.h>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/archive_scan.h"
#include "menus/alpha_input.h"
#include "menus/search_menu.h"

using namespace kelvorn;

namespace {

struct EntryRig : CoreRig {
    ScanProgress progress;
    SearchMenu menu{&stage, services, *transitions, progress};
    AlphaInput entry{&stage, services};

    EntryRig() { svc.GFXSpeed = -1; }
    bool run() { return runTextEntry(services, *transitions, menu, entry, "SAVE PLAYLIST"); }
};

}  // namespace

// The sleep end returns to the main screen while the entry waits. Keys served during
// its build-up may start a second entry; accepting that one must not also accept the
// first, which would then save the list under the second one's text.
TEST(TextEntry, ForcedReturnCancelsTheEntryAndALaterEntryIsNotTakenForIt) {
    EntryRig rig;
    rig.clock.set(23, 30, 0);
    rig.type("0");  // the sleep timer runs
    int phase = 0;
    bool innerAccepted = false;
    rig.pump.onPass = [&] {
        if (phase == 0 && rig.svc.AlphaRunning) {
            phase = 1;
            rig.clock.set(1, 30, 0);
            rig.main->Timer1_Timer();  // the sleep ends
            EXPECT_FALSE(rig.svc.AlphaRunning);
            EXPECT_TRUE(rig.svc.AlphaCancel);
            phase = 2;
            innerAccepted = rig.run();
        } else if (phase == 2 && rig.svc.AlphaRunning) {
            phase = 3;
            rig.svc.AlphaText = "B";
            rig.entry.MainCont_Click();
        }
    };
    EXPECT_FALSE(rig.run());
    EXPECT_TRUE(innerAccepted);
    EXPECT_EQ(phase, 3);

    // The alarm forces the main screen back too.
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:00:00";
    rig.pump.onPass = [&] {
        if (rig.svc.AlphaRunning) rig.main->alarmClock().tick();
    };
    rig.clock.set(7, 0, 0);
    EXPECT_FALSE(rig.run());
}

TEST(TextEntry, AcceptOrCancelTypedWhileTheScreenBuildsUpCounts) {
    for (const char* key : {"c", "#"}) {
        EntryRig rig;
        rig.svc.GFXSpeed = 30;
        bool typed = false;
        rig.pump.onPass = [&] {
            if (!typed && !rig.entry.isHidden() && rig.entry.MainCont->isHidden() && rig.pump.passes > 50) {
                typed = true;
                rig.entry.keyTyped("2");
                rig.entry.keyTyped(key);
            }
        };
        const bool accept = std::string(key) == "c";
        EXPECT_EQ(rig.run(), accept) << key;
        EXPECT_EQ(rig.svc.AlphaText, accept ? "2" : "") << key;  // the digit typed then counts
        EXPECT_FALSE(rig.entry.MainCont->isHidden()) << key;  // the build-up went on to its end
    }
}
