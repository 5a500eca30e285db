// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The accelerator table: fourteen key combinations, in its order. The main frame makes them
// shortcuts, and the view's key path drops them, so none ever reaches the game's keys.
#pragma once
#include <QKeySequence>

#include <array>

namespace tess::app {

constexpr int kAcceleratorCount = 14;

// New, Open, Save, Print, then the Edit combinations and the pane keys that do nothing here.
const std::array<QKeySequence, kAcceleratorCount>& acceleratorTable();

// Whether a key with modifiers is one of the table's combinations.
bool isAcceleratorKey(int key, Qt::KeyboardModifiers modifiers);

} // namespace tess::app
