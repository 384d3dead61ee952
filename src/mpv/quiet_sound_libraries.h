// SPDX-License-Identifier: GPL-3.0-or-later
// The process as the players need it: the C number locale, and the sound libraries
// that mpv loads kept from printing to stderr on their own.
#pragma once

namespace kelvorn {

// The process-wide set-up the players need, once, early in main: numbers written "1.5"
// (libmpv refuses to start under another locale) and, unless debugging, PipeWire quiet.
void setUpPlayerProcess();

// ALSA reports every failed device probe straight to stderr, bypassing mpv's log; on a
// machine without a sound card that is a screenful at each start. Unless debugging,
// silences the copy libmpv loaded; called once, when libmpv has been loaded.
void quietSoundLibraries();

}  // namespace kelvorn
