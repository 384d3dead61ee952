// SPDX-License-Identifier: GPL-3.0-or-later
// SearchMenu: the "LISTS MENU" screen with its six entries (full list, custom list,
// alpha search, load and save playlist, archive update).
#pragma once
#include <functional>

#include "core/button_column.h"
#include "core/menu_frame.h"
#include "core/menu_screen.h"

namespace kelvorn {

class ClickLabel;
class ScanProgress;
class Transitions;

class SearchMenu : public MenuScreen {
    Q_OBJECT
public:
    // `progress` is what the archive update shows while it scans (the update screen).
    SearchMenu(QWidget* stage, Services& services, Transitions& transitions, ScanProgress& progress);

    void keyTyped(const std::string& key) override;
    // Runs the action of entry 0..5 (digit keys, Ok and clicks); the highlight stays.
    void MainButt_Click(int index);
    // Back to the main screen ("<<" and the back key).
    void MainBack_Click();

    // Builds the menu up, animated; FadeOut hides it at once. Neither touches the highlight.
    void FadeIn() override;
    void FadeOut() override;

    int aktbutt() const { return MainButt.aktbutt(); }
    // True while the archive update runs.
    bool updating() const { return updating_; }

    MenuFrame frame;        // MainLabel, MainBack, MainOff, Shape1, Line1..Line4
    ButtonColumn MainButt;  // the six entries; the highlight is kept between visits

signals:
    // The screens behind the entries, opened by whoever builds the program.
    void fullListWanted();      // entry 0
    void customListWanted();    // entry 1
    void alphaSearchWanted();   // entry 2
    void playlistsWanted();     // entry 3
    void savePlaylistWanted();  // entry 4

private:
    void updateArchive();

    Transitions& transitions_;
    ScanProgress& progress_;
    bool updating_ = false;  // the scan lets events run: no menu action may cut into it
};

}  // namespace kelvorn
