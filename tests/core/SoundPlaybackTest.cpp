// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// What the view asks the desktop to play, and the Sound menu's commands.
#include "game/CMekkView.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace tess;
using fake::PlayedSound;

namespace {

struct SoundPlayback : ::testing::Test {
    fake::FakePlatform platform;
    CMekkView view{platform};
};

} // namespace

TEST_F(SoundPlayback, AsyncAndSyncHandTheImageOverInTheirWay) {
    view.playSound(101, false);
    EXPECT_EQ(platform.presents, 0);
    view.playSound(111, true);
    // The canvas reaches the screen before the note holds the game.
    EXPECT_EQ(platform.sounds, (std::vector<PlayedSound>{{101, false}, {111, true}}));
    EXPECT_EQ(platform.presentsBeforeSyncSound, std::vector<int>{1});
}

TEST_F(SoundPlayback, NumbersWithoutASoundPlayNothing) {
    for (int r : {0, 100, 146, -5, 1000}) {
        view.playSound(r, false);
        view.playSound(r, true);
    }
    EXPECT_TRUE(platform.sounds.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SoundPlayback, OnlyTheItemThatChangesSomethingIsEnabled) {
    auto enabled = [&] {
        return std::vector<bool>{
            view.isCommandEnabled(kCmdSoundOn), view.isCommandEnabled(kCmdSoundOff),
            view.isCommandEnabled(kCmdNotesToEnd), view.isCommandEnabled(kCmdCutNotesShort)};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false, true}));

    view.OnCommand(kCmdSoundOff);
    EXPECT_EQ(view.soundSwitch, "off");
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true}));
    view.OnCommand(kCmdCutNotesShort);
    EXPECT_EQ(view.noteMode, "cut");
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, true, false}));
    view.OnCommand(kCmdSoundOn);
    view.OnCommand(kCmdNotesToEnd);
    EXPECT_EQ(view.soundSwitch, "on");
    EXPECT_EQ(view.noteMode, "end");
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false, true}));

    // 32772 lies between the Sound commands but is none of them.
    for (int id : {0, 32770, 32772, 32776, 57600}) {
        EXPECT_FALSE(view.isCommandEnabled(id)) << id;
        view.OnCommand(id);
    }
    EXPECT_EQ(view.soundSwitch, "on");
    EXPECT_EQ(view.noteMode, "end");
}

TEST_F(SoundPlayback, CommandsChangeNoGameStateAndDrawNothing) {
    view.checkStateAfterEntries = false; // a colouring phase set up without a game
    view.currentPage = kGamePage;
    view.gamePhase = kColouring;
    view.pieceCount = 3;
    view.noteIndex = 3;
    for (int id : {kCmdSoundOff, kCmdCutNotesShort, kCmdSoundOn, kCmdNotesToEnd})
        view.OnCommand(id);
    EXPECT_EQ(view.currentPage, kGamePage);
    EXPECT_EQ(view.gamePhase, kColouring);
    EXPECT_EQ(view.pieceCount, 3);
    EXPECT_EQ(view.noteIndex, 3);
    EXPECT_EQ(platform.presents, 0);
    EXPECT_TRUE(platform.sounds.empty());
}
