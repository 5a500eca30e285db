// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/WaylandDesktop.h"

#include <wayland-client.h>

#include <cstdint>
#include <cstring>

namespace tess::app {

bool compositorDecoratesWindows() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return true;
    bool offered = false;
    static const wl_registry_listener listener{
        [](void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, std::uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    // Every global is announced before the answer to this round trip.
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered || !answered;
}

} // namespace tess::app
