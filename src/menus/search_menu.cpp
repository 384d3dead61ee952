// SPDX-License-Identifier: GPL-3.0-or-later
#include "menus/search_menu.h"

#include <QScopedValueRollback>

#include "core/main_keys.h"
#include "core/transitions.h"
#include "core/widgets.h"
#include "library/archive_scan.h"
#include "library/cash_list.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

constexpr int kUpdateEntry = 5;
const char* const kButtonCaptions[6] = {"   1 - FULL LIST",     "   2 - CUSTOM LIST",   "   3 - ALPHA SEARCH",
                                        "   4 - LOAD PLAYLIST", "   5 - SAVE PLAYLIST", "   6 - UPDATE ARCHIVE"};
const char* const kPleaseWait = "   !!! PLEASE WAIT !!!";

}  // namespace

SearchMenu::SearchMenu(QWidget* stage, Services& services, Transitions& transitions, ScanProgress& progress)
    : MenuScreen(stage, services),
      frame(this, services.twips,
            FrameLayout{"LISTS MENU", 2880, 5760, 840, 2520, 120, 2880, 2880, 9120, 720, 5400, 3120, false}),
      MainButt(this, services.twips, {std::begin(kButtonCaptions), std::end(kButtonCaptions)}, 960,
               [this](int i) { MainButt_Click(i); }),
      transitions_(transitions),
      progress_(progress) {
    setColours(this, palette::kBlack, palette::kBackground, true);
    connect(frame.MainBack, &ClickLabel::clicked, this, [this] { MainBack_Click(); });
    // Created hidden: the main screen's entry shows it through the open transition.
    hide();
}

void SearchMenu::keyTyped(const std::string& key) {
    if (updating_) return;  // the key is taken, but nothing may interrupt the update
    // Same table order as the main screen: the four key settings before the digits,
    // so a setting equal to a digit wins. Digits 7 to 0 have no action here.
    const MainKey k = mainKeyFor(key, s.svc);
    switch (k.action) {
    case MainAction::Up: MainButt.move(-1); break;
    case MainAction::Down: MainButt.move(+1); break;
    case MainAction::Back: MainBack_Click(); break;
    case MainAction::Ok: MainButt_Click(MainButt.aktbutt()); break;
    case MainAction::Button: MainButt_Click(k.button); break;
    default: break;
    }
}

void SearchMenu::MainButt_Click(int index) {
    if (updating_) return;
    switch (index) {
    case 0: emit fullListWanted(); break;
    case 1: emit customListWanted(); break;
    case 2: emit alphaSearchWanted(); break;
    case 3: emit playlistsWanted(); break;
    case 4: emit savePlaylistWanted(); break;
    case kUpdateEntry: updateArchive(); break;
    default: break;
    }
}

void SearchMenu::MainBack_Click() {
    if (updating_) return;
    transitions_.backToMain(*this);
}

void SearchMenu::updateArchive() {
    const QScopedValueRollback updating(updating_, true);
    ClickLabel* entry = MainButt[kUpdateEntry];
    s.pump.pass();
    entry->setText(kPleaseWait);
    // A music folder that is away leaves the archive and its cache as they were; a cache
    // that cannot be written keeps its old contents, and the user is told.
    if (ScanArchive(s.svc, s.workDir, s.pump, progress_)) noteSaved(s, WriteCashList(s.svc, s.workDir));
    noteArchive(s);
    entry->setText(kButtonCaptions[kUpdateEntry]);
}

void SearchMenu::FadeIn() {
    const double gfx = s.svc.GFXSpeed;
    frame.fadeIn(s.pump, gfx);
    MainButt.fadeIn(s.pump, gfx);
}

void SearchMenu::FadeOut() {
    frame.hideLines();
    MainButt.hide();
    frame.hideBackAndMark();
}

}  // namespace kelvorn
