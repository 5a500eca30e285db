// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// What the Wayland compositor the game runs on does for its windows.
#pragma once

namespace tess::app {

// Whether the compositor draws windows' title bars itself (KDE's KWin, sway), as it says by
// offering the decoration protocol. Where it does not (GNOME's mutter, weston) a window has the
// title bar its client draws. Asks the compositor of WAYLAND_DISPLAY on a connection of its
// own; true where it cannot be reached, as nothing is then to be drawn instead.
bool compositorDecoratesWindows();

} // namespace tess::app
