// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The key handler: what End, Enter, Home, F1 and the letters do, by page and phase. Every
// other key, and every key whose page or phase does not fit, does nothing at all.
#include "game/CMekkView.h"
#include "input/KeyCodes.h"

namespace tess {

namespace {

// Note slot of each letter A to Z. Along the keyboard rows (Q to P, A to L, Z to M) the
// letters play a falling chromatic run from C6 to B3, naturals from slots 0 to 15 and sharps
// from slots 32 to 41; E's slot 32 sounds A#5, its place in the run between W and R.
constexpr int kLetterSlot[26] = {
    6,  // A  D5
    41, // B  C#4
    40, // C  D#4
    7,  // D  C5
    32, // E  A#5
    8,  // F  B4
    37, // G  A#4
    9,  // H  A4
    4,  // I  F5
    38, // J  G#4
    10, // K  G4
    39, // L  F#4
    15, // M  B3
    14, // N  C4
    5,  // O  E5
    35, // P  D#5
    0,  // Q  C6
    2,  // R  A5
    36, // S  C#5
    33, // T  G#5
    34, // U  F#5
    13, // V  D4
    1,  // W  B5
    12, // X  E4
    3,  // Y  G5
    11, // Z  F4
};

} // namespace

void CMekkView::OnKeyDown(int key) {
    if (!screen()) return; // nothing is shown yet

    if (key == vk::Return) {
        if (gamePhase == kFinished) playAgain();
    } else if (key == vk::Home) {
        if (currentPage == kGamePage && gamePhase == kFinished) returnHome();
    } else if (key == vk::End) {
        if (currentPage == kGamePage && gamePhase == kDrawing) {
            beginColouring();
        } else if (currentPage == kGamePage && gamePhase == kColouring) {
            scoreGame();
        }
    } else if (key == vk::F1) {
        if (currentPage == kGamePage) platform.messageBox(instructionsText);
    } else if (key >= vk::A && key <= vk::Z) {
        // The home page is a small keyboard; its notes sound whatever the Sound menu says.
        if (currentPage == kHomePage) playSound(noteResource[kLetterSlot[key - vk::A]], true);
    }
    checkState("a key");
}

} // namespace tess
