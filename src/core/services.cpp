#include "core/services.h"

#include "core/kelvorn_service.h"
#include "platform/wave_volume.h"

namespace kelvorn {

void SetWaveVolume(Services& s) { s.volume.set(s.svc.VolumeSet); }

}  // namespace kelvorn
