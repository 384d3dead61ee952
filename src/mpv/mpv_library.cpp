// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv/mpv_library.h"

#include <dlfcn.h>

#include <initializer_list>
#include <iterator>
#include <type_traits>

#include "mpv/quiet_sound_libraries.h"
#include "platform/debug_log.h"

namespace kelvorn::mpv {

namespace {

// One libmpv function: its name, and how Api keeps its address.
struct Symbol {
    const char* name;
    void (*store)(Api& api, void* address);
};

template <auto member>
void store(Api& api, void* address) {
    using Function = std::remove_reference_t<decltype(api.*member)>;
    api.*member = reinterpret_cast<Function>(address);
}

constexpr Symbol kSymbols[] = {
    {"mpv_client_api_version", &store<&Api::client_api_version>},
    {"mpv_create", &store<&Api::create>},
    {"mpv_initialize", &store<&Api::initialize>},
    {"mpv_terminate_destroy", &store<&Api::terminate_destroy>},
    {"mpv_destroy", &store<&Api::destroy>},
    {"mpv_set_option_string", &store<&Api::set_option_string>},
    {"mpv_error_string", &store<&Api::error_string>},
    {"mpv_request_log_messages", &store<&Api::request_log_messages>},
    {"mpv_observe_property", &store<&Api::observe_property>},
    {"mpv_set_wakeup_callback", &store<&Api::set_wakeup_callback>},
    {"mpv_wait_event", &store<&Api::wait_event>},
    {"mpv_set_property_async", &store<&Api::set_property_async>},
    {"mpv_get_property_async", &store<&Api::get_property_async>},
    {"mpv_command_async", &store<&Api::command_async>},
    {"mpv_command_node_async", &store<&Api::command_node_async>},
    {"mpv_set_property_string", &store<&Api::set_property_string>},
    {"mpv_get_property", &store<&Api::get_property>},
    {"mpv_render_context_create", &store<&Api::render_context_create>},
    {"mpv_render_context_free", &store<&Api::render_context_free>},
    {"mpv_render_context_render", &store<&Api::render_context_render>},
    {"mpv_render_context_set_update_callback", &store<&Api::render_context_set_update_callback>},
};
// Every member of Api has its line above.
static_assert(sizeof(Api) == std::size(kSymbols) * sizeof(void*));

// dlerror() names the file or symbol that failed; it says nothing for a symbol that is
// there with a null address.
void logLoadError(const char* what) {
    const char* why = ::dlerror();
    qCDebug(lcPlayer, "libmpv: %s", why ? why : what);
}

void* openLibrary() {
    // The runtime library's names (Debian's libmpv2, older and newer ones), then the
    // development link.
    for (const char* name : {"libmpv.so.2", "libmpv.so.1", "libmpv.so"}) {
        if (void* library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL)) return library;
        logLoadError(name);
    }
    return nullptr;
}

bool resolve(void* library, Api& api) {
    for (const Symbol& symbol : kSymbols) {
        void* address = ::dlsym(library, symbol.name);
        if (!address) {
            logLoadError(symbol.name);
            return false;
        }
        symbol.store(api, address);
    }
    return true;
}

// The library stays loaded for the life of the process, also one refused: players end
// only with it, and the libraries it pulled in need not survive being unloaded.
const Api* loadApi() {
    void* library = openLibrary();
    static Api api;
    if (!library || !resolve(library, api)) return nullptr;
    if (!supportsClientApi(api.client_api_version())) {
        qCDebug(lcPlayer, "libmpv: client API %lu.%lu, not %lu.x", api.client_api_version() >> 16,
                api.client_api_version() & 0xffff, MPV_CLIENT_API_VERSION >> 16);
        return nullptr;
    }
    quietSoundLibraries();
    return &api;
}

}  // namespace

bool supportsClientApi(unsigned long version) { return version >> 16 == MPV_CLIENT_API_VERSION >> 16; }

const Api* api() {
    static const Api* const loaded = loadApi();
    return loaded;
}

}  // namespace kelvorn::mpv
