// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Key codes of the game's key table. The shell maps its toolkit's keys onto these.
#pragma once

namespace tess::vk {
constexpr int Return = 13;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int F1 = 112;
constexpr int A = 65; // 'A' to 'Z' are 65 to 90
constexpr int Z = 90;
} // namespace tess::vk
