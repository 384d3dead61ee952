// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/services.h"

#include <algorithm>

#include "platform/debug_log.h"
#include "platform/wave_volume.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

// A hand-edited settings file may hold any number; the output only takes 0..100.
void SetWaveVolume(Services& s) {
    const double percent = std::clamp(s.svc.VolumeSet, 0.0, 100.0);
    debugEvent("volume", std::to_string(percent));
    s.volume.set(percent);
}

bool noteSaved(Services& s, bool written) {
    if (!written && s.notices) s.notices->notice(kNotSaved);
    return written;
}

void noteArchive(Services& s) {
    if (s.svc.ArchiveCount < 0 && s.notices) s.notices->notice(kNoSongsFound);
}

}  // namespace kelvorn
