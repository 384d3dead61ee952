// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv/quiet_sound_libraries.h"

#include <dlfcn.h>

#include <clocale>
#include <cstdlib>

#include "platform/debug_log.h"

namespace kelvorn {

namespace {

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetHandler = int (*)(AlsaErrorHandler);

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void setUpPlayerProcess() {
    std::setlocale(LC_NUMERIC, "C");
    // PipeWire reads its log level from the environment when it starts; 0 is silent.
    if (!debugEnabled()) setenv("PIPEWIRE_DEBUG", "0", 0);
}

void quietSoundLibraries() {
    if (debugEnabled()) return;
    // libasound comes in with libmpv; only an already loaded copy is touched, so no
    // new library is pulled in.
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!alsa) return;
    if (auto set = reinterpret_cast<AlsaSetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&ignoreAlsaError);
    dlclose(alsa);
}

}  // namespace kelvorn
