// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/Accelerators.h"

#include <algorithm>

namespace tess::app {

const std::array<QKeySequence, kAcceleratorCount>& acceleratorTable() {
    static const std::array<QKeySequence, kAcceleratorCount> table = {
        QKeySequence(Qt::CTRL | Qt::Key_N),
        QKeySequence(Qt::CTRL | Qt::Key_O),
        QKeySequence(Qt::CTRL | Qt::Key_S),
        QKeySequence(Qt::CTRL | Qt::Key_P),
        QKeySequence(Qt::CTRL | Qt::Key_Z),
        QKeySequence(Qt::CTRL | Qt::Key_X),
        QKeySequence(Qt::CTRL | Qt::Key_C),
        QKeySequence(Qt::CTRL | Qt::Key_V),
        QKeySequence(Qt::ALT | Qt::Key_Backspace),
        QKeySequence(Qt::SHIFT | Qt::Key_Delete),
        QKeySequence(Qt::CTRL | Qt::Key_Insert),
        QKeySequence(Qt::SHIFT | Qt::Key_Insert),
        QKeySequence(Qt::Key_F6),
        QKeySequence(Qt::SHIFT | Qt::Key_F6),
    };
    return table;
}

bool isAcceleratorKey(int key, Qt::KeyboardModifiers modifiers) {
    // Keypad and other state modifiers do not change which combination a key is.
    const auto mods =
        modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeySequence pressed(QKeyCombination(mods, static_cast<Qt::Key>(key)));
    const auto& table = acceleratorTable();
    return std::find(table.begin(), table.end(), pressed) != table.end();
}

} // namespace tess::app
