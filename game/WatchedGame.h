// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// A perfect game played on the player's own view for the player to watch, one step at a time:
// the solver's path drawn line by line from its first vertex, End, a click inside every closed
// piece with its note, End. Every step goes through the game's own handlers, so the page is at
// every moment what a played game would show and a repaint draws it again exactly. The score
// page is the played game's, except that the score is not added to the history: it is not the
// player's.
//
// The shell runs the steps from a timer; the beats below are the least time from the start of
// one step to the start of the next, so that a note played to its end paces the colouring by
// itself and a silent or cut-short note still leaves time to see the piece fill.
#pragma once
#include "game/Solver.h"
#include "screen/canvas/Geometry.h"

#include <cstddef>
#include <vector>

namespace tess {

class CMekkView;

class WatchedGame {
  public:
    static constexpr int kStartBeat = 500; // the board with its red start vertex alone
    static constexpr int kLineBeat = 250;  // each line drawn
    static constexpr int kFrameBeat = 500; // the frame, before the first piece is coloured
    static constexpr int kPieceBeat = 150; // each piece coloured
    static constexpr int kEnded = -1;      // no further step: the game is over or never began

    explicit WatchedGame(CMekkView& view);
    WatchedGame(const WatchedGame&) = delete;
    WatchedGame& operator=(const WatchedGame&) = delete;

    // Starts a perfect game of the shape (4, 6, 8 or 10 vertices) on the game page, in place of
    // whatever the view showed, a watched game still playing included. Returns the beat before
    // the first step, or kEnded when no game can start: no such shape, or the view has not
    // been painted yet.
    int start(int vertexCount);
    // Plays the next step and returns the beat before the one after it, or kEnded once the
    // game stands on the score page (or the view left the watched game's page or phase).
    int step();
    // Ends the watched game where it stands and shows the home page, as Home does after a
    // played game. Does nothing when no watched game is playing.
    void stop();

    bool playing() const { return stage_ != Stage::Idle; }
    // The path being played: empty before the first start.
    const PerfectPath& path() const { return path_; }

  private:
    enum class Stage { Idle, Lines, Colouring };

    int drawNextLine();
    int colourNextPiece();
    int score();
    // Whether the view still shows the watched game in the phase this stage expects.
    bool viewFollows(int phase) const;

    CMekkView& view_;
    Stage stage_ = Stage::Idle;
    PerfectPath path_;
    std::size_t nextVertex_ = 0;
    // While colouring: a point in each closed piece as End left them, and the next to click.
    std::vector<Point> pieces_;
    std::size_t nextPiece_ = 0;
};

} // namespace tess
