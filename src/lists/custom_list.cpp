#include "lists/custom_list.h"

#include "core/kelvorn_service.h"

namespace kelvorn {

CustomList::CustomList(QWidget* stage, Services& services, Transitions& transitions)
    : ListBrowser(stage, services, transitions, ListOptions{"CUSTOM LIST"}) {
    AktListPos = 0;
    FillList();
}

int CustomList::count() const { return s.svc.CustomCount; }

const std::string& CustomList::entry(int index) const { return entryAt(s.svc.CustomSongs, index); }

bool CustomList::downStops() const { return aktbutt >= s.svc.CustomCount; }

void removeFromCustomList(KelvornSERVICE& svc, int index) {
    if (index < 0 || index > svc.CustomCount) return;
    const int last = svc.CustomCount - 1;
    svc.CustomCount = static_cast<int16_t>(last);
    for (int i = index; i <= last; ++i) storeEntry(svc.CustomSongs, i, entryAt(svc.CustomSongs, i + 1));
}

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
    svc.ListMode = true;
    svc.SongPos = static_cast<int16_t>(p);
    svc.NewSong = true;
    svc.PlayOn = true;
}

}  // namespace kelvorn
