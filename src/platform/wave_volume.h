// SPDX-License-Identifier: GPL-3.0-or-later
// The wave output volume: one value for all players the program owns.
#pragma once
#include <QPointer>
#include <cstdint>
#include <vector>

#include "platform/media_player.h"

namespace kelvorn {

// Channel value of a volume in percent: percent / 100 * 255 * 255, rounded half to even,
// kept as its 16-bit pattern. 100 gives 65025, 50 gives 32512, 0 gives 0.
uint16_t waveChannelValue(double percent);
// Left channel in the low 16 bits, right channel in the high 16 bits.
uint32_t waveVolumeValue(double percent);

class WaveVolume {
public:
    void addPlayer(MediaPlayer* player);
    // Applies the channel value of `percent` as gain value / 65535 to every player.
    void set(double percent);
    uint32_t lastValue() const { return last_; }

private:
    std::vector<QPointer<MediaPlayer>> players_;  // a player that is gone is skipped
    uint32_t last_ = waveVolumeValue(100);
};

}  // namespace kelvorn
