#include "mpv/mpv_library.h"

#include <dlfcn.h>

#include <initializer_list>

#include "mpv/quiet_sound_libraries.h"

namespace kelvorn::mpv {

namespace {

template <typename F>
bool resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

const Api* loadApi() {
    // The runtime library's names (Debian's libmpv2, older and newer ones), then the
    // development link.
    void* library = nullptr;
    for (const char* name : {"libmpv.so.2", "libmpv.so.1", "libmpv.so"}) {
        library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library) break;
    }
    if (!library) return nullptr;
    static Api api;
    const bool complete =
        resolve(library, "mpv_create", api.create) && resolve(library, "mpv_initialize", api.initialize) &&
        resolve(library, "mpv_terminate_destroy", api.terminate_destroy) &&
        resolve(library, "mpv_destroy", api.destroy) &&
        resolve(library, "mpv_set_option_string", api.set_option_string) &&
        resolve(library, "mpv_error_string", api.error_string) &&
        resolve(library, "mpv_request_log_messages", api.request_log_messages) &&
        resolve(library, "mpv_observe_property", api.observe_property) &&
        resolve(library, "mpv_set_wakeup_callback", api.set_wakeup_callback) &&
        resolve(library, "mpv_wait_event", api.wait_event) &&
        resolve(library, "mpv_set_property_async", api.set_property_async) &&
        resolve(library, "mpv_get_property_async", api.get_property_async) &&
        resolve(library, "mpv_command_async", api.command_async) &&
        resolve(library, "mpv_command_node_async", api.command_node_async) &&
        resolve(library, "mpv_set_property_string", api.set_property_string) &&
        resolve(library, "mpv_render_context_create", api.render_context_create) &&
        resolve(library, "mpv_render_context_free", api.render_context_free) &&
        resolve(library, "mpv_render_context_render", api.render_context_render) &&
        resolve(library, "mpv_render_context_set_update_callback", api.render_context_set_update_callback);
    // The library stays loaded for the life of the process: players end only with it.
    if (!complete) return nullptr;
    quietSoundLibraries();
    return &api;
}

}  // namespace

const Api* api() {
    static const Api* const loaded = loadApi();
    return loaded;
}

}  // namespace kelvorn::mpv
