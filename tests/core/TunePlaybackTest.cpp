// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The twenty tunes: their notes, played whole or one for each coloured piece.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

using namespace tess;
using fake::PlayedSound;

namespace {

// The tunes as the player hears them; "(2)" marks a long note.
const char* const kTuneNotes[20] = {
    "G4 F#4 F#4 E4 F#4 E4 D4 E4 F#4 G4 F#4 F#4 G4 F#4 F#4 E4 F#4 E4 D4 E4",
    "F4 E4 E4 E4(2) A4 G4 G4 G4(2) C5 B4 F4 D4 E4 F4 G4 A4(2)",
    "G4 G4 G4 D4 E4 E4 D4 B4 B4 A4 A4 G4 D4",
    "F5 F4(2) G5 G4(2) A5 A4(2) B5 B4(2) C6 C5(2) B5 B4(2) A5 A4(2) G5 G4(2) F5 F4(2) G5",
    "B3 B3 B3(2) D4 D4 D4(2) C4 C4 C4(2) B3 B3 B3(2) D4 D4 D4(2) B3",
    "A4(2) D5 A4(2) D5 G4(2) A4(2) C5 A4(2) C5 F4(2) A4 A4 G4 C4 D4(2) F4(2)",
    "C4 E4 G4 B4 B4 F4(2) A4 B4 A4 F4 F4 D4 E4 F4 A4 F4(2) A4",
    "C4 C4 F4 F4 F4 F4 F4 F4 E4 F4 G4 G4",
    "B3 C4 D4 C6 C6 B5 A5 G5 D4 E4 F4 A5 A5 G5 F5 E5 E5",
    "G4 A4 B4 G4 G4 A4 B4 G4 B4 C5 D5 B4 C5 D5 B4 G4 E4",
    "E5 G5 G5 E5 G5 G5 E5 A5 G5 G5 E5 A5 G5 G5 E5 G5",
    "C5 C5 G5 G5 A5 A5 G5 F5 F5 E5 E5 D5 D5 C5 C5",
    "A4 A4 B4 A4 F4 F4 G4 F4 D4 D4 E4 D4 B3 B3 C4 B3 B3",
    "A3(2) B3(2) C4(2) B3(2) C4(2) D4(2) E4(2) D4(2) E4(2) D4(2) C4(2) B3(2) A3(2) B3(2) "
    "C4(2) A3(2) B3(2)",
    "B5 B5 A5 A5 G5 G5 F5 F5 E5 E5 D5 D5 E5 E5 F5 F5 G5 G5",
    "D4(2) C4(2) B3(2) A3(2) D3(2) E3(2) G3(2) B3(2) A3(2) G3(2) F3(2) E3(2) D3(2) C3(2) "
    "B2(2) B2(2)",
    "B2(2) F3(2) D4(2) B4(2) B4(2) D4(2) B4(2) B4(2) D4(2) A3(2) D3(2) C3(2) E3(2) F3(2) "
    "G3(2) G3(2)",
    "C4 E4 G4 B4 B4 A4 A4 G#4 A4 B4 A4 B4 A4 F#4 G4",
    "C4 C4 C4 D4 E4 E4 D4 E4 F4 G4 G4 C4 C4 C4 D4 E4",
    "B2(2) D3(2) F3(2) A3(2) C4(2) A3(2) C4(2) C4(2) E4(2) G4(2) B3(2) E4(2) D4(2) C4(2) "
    "G3(2)",
};

// The sound resource of each note a tune may use.
std::map<std::string, int> resourceOfNote() {
    std::map<std::string, int> r;
    const char* naturals[] = {"C6", "B5", "A5", "G5", "F5", "E5", "D5", "C5",
                              "B4", "A4", "G4", "F4", "E4", "D4", "C4", "B3"};
    const char* lower[] = {"C5", "B4", "A4", "G4", "F4", "E4", "D4", "C4",
                           "B3", "A3", "G3", "F3", "E3", "D3", "C3", "B2"};
    for (int i = 0; i < 16; ++i) {
        r[naturals[i]] = 102 + i;
        r[std::string(lower[i]) + "(2)"] = 119 + i;
    }
    r["G#4"] = 141;
    r["F#4"] = 142;
    return r;
}

std::vector<int> tuneResources(int t) {
    static const std::map<std::string, int> resources = resourceOfNote();
    std::vector<int> out;
    std::istringstream notes(kTuneNotes[t]);
    for (std::string n; notes >> n;)
        out.push_back(resources.at(n));
    return out;
}

std::vector<PlayedSound> played(const std::vector<int>& resources, bool synchronous) {
    std::vector<PlayedSound> out;
    for (int r : resources)
        out.push_back({r, synchronous});
    return out;
}

struct Tunes : ::testing::Test {
    fake::FakePlatform platform;
    CMekkView view{platform};
};

} // namespace

TEST_F(Tunes, EveryTuneWholeSoundsAllButItsLastNote) {
    for (int t = 0; t < kTuneCount; ++t) {
        SCOPED_TRACE(t + 1);
        platform.sounds.clear();
        view.tuneIndex = t;
        view.playTuneWhole();
        std::vector<int> notes = tuneResources(t);
        EXPECT_EQ(static_cast<int>(notes.size()), tuneRow(t)[0]);
        notes.pop_back();
        EXPECT_EQ(platform.sounds, played(notes, true));
    }
}

TEST_F(Tunes, TuneWholeIgnoresTheSoundMenu) {
    view.OnCommand(kCmdSoundOff);
    view.OnCommand(kCmdCutNotesShort);
    view.tuneIndex = 11;
    view.playTuneWhole();
    // C5 C5 G5 G5 A5 A5 G5 F5 F5 E5 E5 D5 D5 C5: fourteen of its fifteen notes, each shown
    // on the screen before it sounds.
    EXPECT_EQ(platform.sounds,
              played({109, 109, 105, 105, 104, 104, 105, 106, 106, 107, 107, 108, 108, 109}, true));
    EXPECT_EQ(platform.presents, 14);
    EXPECT_EQ(view.noteIndex, 0);
}

TEST_F(Tunes, PiecesWalkThroughTheTuneAndStartOver) {
    view.tuneIndex = 2; // tune 3, 13 notes
    const std::vector<int> notes = tuneResources(2);
    std::vector<int> expected;
    for (int p = 0; p < 17; ++p) {
        view.playPieceNote(p);
        EXPECT_EQ(view.noteIndex, p % 13 + 1);
        expected.push_back(notes[static_cast<std::size_t>(p % 13)]);
    }
    // The 17th piece plays the tune's 4th note, D4.
    EXPECT_EQ(expected.back(), 115);
    EXPECT_EQ(platform.sounds, played(expected, true));

    // Tune 1's 20th piece plays the E4 that the whole tune leaves out.
    platform.sounds.clear();
    view.tuneIndex = 0;
    view.playPieceNote(19);
    EXPECT_EQ(view.noteIndex, 20);
    EXPECT_EQ(platform.sounds, played({114}, true));
}

TEST_F(Tunes, PieceNotesHeedTheSoundMenu) {
    view.tuneIndex = 7; // tune 8: C4 C4 F4 ...
    view.OnCommand(kCmdSoundOff);
    view.playPieceNote(0);
    view.playPieceNote(1);
    EXPECT_TRUE(platform.sounds.empty());
    EXPECT_EQ(view.noteIndex, 2);

    // Sound back on resumes at the note of the next piece, cut short in "cut".
    view.OnCommand(kCmdSoundOn);
    view.OnCommand(kCmdCutNotesShort);
    view.playPieceNote(2);
    EXPECT_EQ(platform.sounds, played({113}, false));
    EXPECT_EQ(platform.presents, 0);

    // A setting that is neither value plays nothing but still walks the tune.
    platform.sounds.clear();
    view.noteMode = "END";
    view.playPieceNote(3);
    view.noteMode = "end";
    view.soundSwitch = "On";
    view.playPieceNote(4);
    EXPECT_TRUE(platform.sounds.empty());
    EXPECT_EQ(view.noteIndex, 5);
}

TEST_F(Tunes, ASelectionOutOfRangeWrapsRoundTheTwentyTunes) {
    view.tuneIndex = 22; // tune 3
    view.playPieceNote(12);
    EXPECT_EQ(view.noteIndex, 13);
    EXPECT_EQ(platform.sounds, played({115}, true));
    platform.sounds.clear();
    view.tuneIndex = -1; // tune 20
    view.playTuneWhole();
    EXPECT_EQ(platform.sounds.size(), 14u);
}
