// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Playing the game's sounds, the Sound menu's two settings, and the tunes: played whole, or
// one note for each piece coloured.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "sound/SoundBank.h"

namespace tess {

namespace {

// The selected tune's row. The selection is always 0 to 19; any other value wraps round
// rather than reading past the table.
const std::int32_t* selectedTune(int tuneIndex) {
    return tuneRow(((tuneIndex % kTuneCount) + kTuneCount) % kTuneCount);
}

// The Sound menu's commands: each sets one setting to its value, and is enabled only while the
// setting holds the other value, the one the command changes.
struct SoundCommand {
    int command;
    std::string RunState::*setting;
    const char* value;
    const char* other;
};
const SoundCommand kSoundCommands[] = {
    {kCmdSoundOn, &RunState::soundSwitch, "on", "off"},
    {kCmdSoundOff, &RunState::soundSwitch, "off", "on"},
    {kCmdNotesToEnd, &RunState::noteMode, "end", "cut"},
    {kCmdCutNotesShort, &RunState::noteMode, "cut", "end"},
};

} // namespace

void CMekkView::playSound(int resource, bool synchronous) {
    const std::vector<std::uint8_t>* wave = findSound(resource);
    if (!wave) return;
    // The player sees the filled piece or the lit tune button before the note holds the game.
    if (synchronous) platform.present();
    platform.playSound(resource, wave->data(), wave->size(), synchronous);
}

void CMekkView::playTuneWhole() {
    const std::int32_t* row = selectedTune(tuneIndex);
    // Every note but the last, whatever the Sound menu says.
    for (int j = 1; j < row[0]; ++j)
        playSound(noteResource[row[j]], true);
}

void CMekkView::tunePanelClick(int button) {
    if (!screen()) return;
    // Take the highlight off the selected tune, leaving the grid lines.
    DrawingContext dc = clientDC();
    const Page page = pageOn(dc);
    drawTuneButton(page, tuneIndex, whiteBrush);
    if (button < 0 || button >= kTuneCount) return;
    tuneIndex = button;
    // A click highlights in steps of four colours; the full paint uses steps of one.
    drawTuneButton(page, button, pieceBrush[80 - 4 * button]);
    playTuneWhole();
}

void CMekkView::playPieceNote(int piecesBefore) {
    const std::int32_t* row = selectedTune(tuneIndex);
    const int length = row[0];
    noteIndex = ((piecesBefore % length) + length) % length + 1;
    if (soundSwitch != "on") return;
    const int resource = noteResource[row[noteIndex]];
    if (noteMode == "end") {
        playSound(resource, true);
    } else if (noteMode == "cut") {
        playSound(resource, false);
    }
}

void CMekkView::OnCommand(int command) {
    for (const SoundCommand& c : kSoundCommands)
        if (c.command == command) this->*c.setting = c.value;
    checkState("a Sound command");
}

bool CMekkView::isCommandEnabled(int command) const {
    for (const SoundCommand& c : kSoundCommands)
        if (c.command == command) return this->*c.setting == c.other;
    return false;
}

} // namespace tess
