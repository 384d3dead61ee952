// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/play_list.h"

#include "core/playback_engine.h"
#include "library/playlists.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

PlayList::PlayList(QWidget* stage, Services& services, Transitions& transitions)
    : ListBrowser(stage, services, transitions, ListOptions{"PLAY LISTS"}) {
    ListPlaylists(s.svc, s.workDir);
    AktListPos = 0;
    FillList();
}

void PlayList::FadeIn() {
    ListPlaylists(s.svc, s.workDir);
    FillList();
    ListBrowser::FadeIn();
}

int PlayList::count() const { return s.svc.PlaylistCount; }

const std::string& PlayList::entry(int index) const { return entryAt(s.svc.PlaylistNames, index); }

bool PlayList::downStops() const { return aktbutt >= s.svc.PlaylistCount; }

void PlayList::activate(int index, bool /*alt*/) {
    KelvornSERVICE& svc = s.svc;
    flash(index, Flash::Play);
    // Keys served during the flash may have paged the list: load what the line stands
    // for now, and nothing when it lies past the end.
    const int p = positionOf(index);
    if (p < 0) return;
    LoadPlaylist(svc, entry(p));
    requestSong(svc, true, 0);
}

}  // namespace kelvorn
