// Keeps the sound libraries that mpv loads from printing to stderr on their own.
#pragma once

namespace kelvorn {

// ALSA and PipeWire report every failed device probe straight to stderr, bypassing
// mpv's log; on a machine without a sound card that is a screenful at each start.
void quietSoundLibraries();

}  // namespace kelvorn
