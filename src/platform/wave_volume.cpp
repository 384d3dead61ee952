// SPDX-License-Identifier: GPL-3.0-or-later
// The wave output volume, applied as a gain to the program's own players.
#include "platform/wave_volume.h"

#include "platform/media_player.h"

#include <algorithm>
#include <cmath>

namespace kelvorn {

uint16_t waveChannelValue(double percent) {
    // Default rounding mode: nearest, half to even.
    const double v = std::nearbyint(percent / 100 * 255 * 255);
    // Settings may hold any number; keep the value inside 16 bits (NaN gives 0).
    if (!(v > 0)) return 0;
    return static_cast<uint16_t>(std::min(v, 65535.0));
}

uint32_t waveVolumeValue(double percent) {
    const uint32_t channel = waveChannelValue(percent);
    return channel | (channel << 16);
}

void WaveVolume::addPlayer(MediaPlayer* player) {
    if (player && std::find(players_.begin(), players_.end(), player) == players_.end()) players_.emplace_back(player);
}

void WaveVolume::set(double percent) {
    last_ = waveVolumeValue(percent);
    const double gain = (last_ & 0xffff) / 65535.0;
    for (const QPointer<MediaPlayer>& player : players_)
        if (player) player->setGain(gain);
}

}  // namespace kelvorn
