// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/full_list.h"

#include "core/playback_engine.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

FullList::FullList(QWidget* stage, Services& services, Transitions& transitions)
    : ListBrowser(stage, services, transitions, ListOptions{"FULL LIST"}) {
    AktListPos = 0;
    FillList();
}

int FullList::count() const { return s.svc.ArchiveCount; }

const std::string& FullList::entry(int index) const { return entryAt(s.svc.ArchiveList, index); }

void FullList::activate(int index, bool alt) {
    KelvornSERVICE& svc = s.svc;
    if (alt) {
        const int p = positionOf(index);
        // A full custom list takes nothing more; the line does not flash either.
        if (p < 0 || !appendToCustomList(svc, entry(p))) return;
        flash(index, Flash::Second);
        return;
    }
    flash(index, Flash::Play);
    // The page may have moved while the flash ran; play what the line stands for now.
    const int p = positionOf(index);
    if (p < 0) return;
    requestSong(svc, false, p);
}

}  // namespace kelvorn
