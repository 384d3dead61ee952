// SPDX-License-Identifier: GPL-3.0-or-later
// libmpv, loaded when the first player needs it rather than when the program starts:
// linked in, it makes the dynamic loader resolve the symbols of some two hundred
// libraries before main, the larger part of the start-up time.
#pragma once
#include <mpv/client.h>
#include <mpv/render.h>

namespace kelvorn::mpv {

// The libmpv functions the players use, under their names without "mpv_". The players
// drive a core only through the asynchronous calls: a synchronous one waits for the core,
// and a core stuck on a file that does not answer would hold the GUI thread.
struct Api {
    decltype(&::mpv_client_api_version) client_api_version = nullptr;
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_destroy) destroy = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_error_string) error_string = nullptr;
    decltype(&::mpv_request_log_messages) request_log_messages = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_set_property_async) set_property_async = nullptr;
    decltype(&::mpv_get_property_async) get_property_async = nullptr;
    decltype(&::mpv_command_async) command_async = nullptr;
    decltype(&::mpv_command_node_async) command_node_async = nullptr;
    decltype(&::mpv_set_property_string) set_property_string = nullptr;
    // Waits for the core: for tests' diagnostics only.
    decltype(&::mpv_get_property) get_property = nullptr;
    decltype(&::mpv_render_context_create) render_context_create = nullptr;
    decltype(&::mpv_render_context_free) render_context_free = nullptr;
    decltype(&::mpv_render_context_render) render_context_render = nullptr;
    decltype(&::mpv_render_context_set_update_callback) render_context_set_update_callback = nullptr;
};

// Loads libmpv on the first call; nullptr (then and on every later call) when it or one
// of its functions cannot be found, or when it speaks another major version of the API.
const Api* api();

// Whether a library reporting this mpv_client_api_version() can serve the players: the
// same major version as the headers they were built with.
bool supportsClientApi(unsigned long version);

}  // namespace kelvorn::mpv
