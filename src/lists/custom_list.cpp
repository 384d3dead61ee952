// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/custom_list.h"

#include "core/playback_engine.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

CustomList::CustomList(QWidget* stage, Services& services, Transitions& transitions)
    : ListBrowser(stage, services, transitions, ListOptions{"CUSTOM LIST"}) {
    AktListPos = 0;
    FillList();
}

int CustomList::count() const { return s.svc.CustomCount; }

const std::string& CustomList::entry(int index) const { return entryAt(s.svc.CustomSongs, index); }

bool CustomList::downStops() const { return aktbutt >= s.svc.CustomCount; }

void CustomList::activate(int index, bool alt) {
    KelvornSERVICE& svc = s.svc;
    flash(index, alt ? Flash::Second : Flash::Play);
    // Keys served during the flash may have paged or shortened the list: act on what the
    // line stands for now, and on nothing when it lies past the end.
    const int p = positionOf(index);
    if (p < 0) return;
    if (alt) {
        removeFromCustomList(svc, p);
        FillList();
        return;
    }
    requestSong(svc, true, p);
}

}  // namespace kelvorn
