// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/tmp_list.h"

#include "core/playback_engine.h"
#include "lists/full_list.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

TmpList::TmpList(QWidget* stage, Services& services, Transitions& transitions)
    : ListBrowser(stage, services, transitions, ListOptions{"ALPHA LIST"}) {
    AktListPos = 0;
    FillList();
}

int TmpList::count() const { return s.svc.TmpCount; }

const std::string& TmpList::entry(int index) const { return entryAt(s.svc.TmpSongs, index); }

void TmpList::FadeOut() {
    resetPage();
    ListBrowser::FadeOut();
}

void TmpList::FadeIn() {
    // Only the text colours change; line 0 keeps the highlight background FadeOut gave it.
    for (int i = 0; i < kListLines; ++i) setLineTextColour(i, kResultText);
    setLineTextColour(0, kHighlightText);
    aktbutt = 0;
    AktListPos = 0;
    ListBrowser::FadeIn();
}

int TmpList::archiveIndexOf(int position) const {
    const KelvornSERVICE& svc = s.svc;
    if (position < 0 || static_cast<size_t>(position) >= svc.TmpIdx.size()) return -1;
    const int r = svc.TmpIdx[static_cast<size_t>(position)];
    // The results may be older than the archive; never point past it.
    return r >= 0 && r <= svc.ArchiveCount ? r : -1;
}

void TmpList::activate(int index, bool alt) {
    KelvornSERVICE& svc = s.svc;
    if (alt) {
        const int r = archiveIndexOf(positionOf(index));
        // The archive entry with its extension, not the line's text.
        if (r < 0 || !appendToCustomList(svc, entryAt(svc.ArchiveList, r))) return;
        flash(index, Flash::Second);
        return;
    }
    flash(index, Flash::Play);
    // The page may have moved while the flash ran; play what the line stands for now.
    const int r = archiveIndexOf(positionOf(index));
    if (r < 0) return;
    requestSong(svc, false, r);
}

}  // namespace kelvorn
