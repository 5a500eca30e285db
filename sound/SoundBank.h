// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's 45 sounds, synthesised by the program itself as complete RIFF WAVE images in
// memory and found by resource number: 101 the error sound, 102 to 145 the notes.
#pragma once
#include <cstdint>
#include <vector>

namespace tess {

constexpr int kFirstSound = 101;
constexpr int kLastSound = 145;
constexpr int kErrorSound = 101;

// The wave image of a sound resource, or nullptr for a number that is no sound. The images
// are made once, the first time any is asked for, and live for the rest of the run.
const std::vector<std::uint8_t>* findSound(int resource);

// noteResource as the view fills it: slot -> sound resource number, 0 for an empty slot.
void fillNoteResource(int (&noteResource)[100]);

} // namespace tess
