// SPDX-License-Identifier: GPL-3.0-or-later
// PlayList: the playlist files of the music folder; select and second select both load
// the line's playlist into the song list and play it from its first entry.
#pragma once
#include "lists/list_browser.h"

namespace kelvorn {

class PlayList : public ListBrowser {
    Q_OBJECT
public:
    PlayList(QWidget* stage, Services& services, Transitions& transitions);

    // Reads the listing afresh before the build-up, so a playlist saved since the last
    // visit is shown. The page and the highlight stay where they were.
    void FadeIn() override;

protected:
    int count() const override;
    const std::string& entry(int index) const override;
    void activate(int index, bool alt) override;
    // The highlight stops at line PlaylistCount, as on the custom list.
    bool downStops() const override;
};

}  // namespace kelvorn
