// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game view: the record of the game's state, the rules that change it, and the entries
// from the shell (paint, click, key, Sound command). It draws into its own exact canvas with
// the painters of screen/ and reaches the desktop only through Platform.
//
// Its state is grouped by how long it lives: RunState for the whole run of the program,
// GameState for the game on the page, DrawingTools (screen/Tools.h) for the run, and the
// layout for the latest paint. Each change of page or phase is one function of the page flow.
//
// Member functions are defined by subsystem: game/ (creation and painting, the page flow,
// lines, colouring, scoring and history, sound, the state's invariants) and input/ (the
// dispatch of clicks and keys).
#pragma once
#include "game/Platform.h"
#include "screen/Layout.h"
#include "screen/Painters.h"
#include "screen/Tools.h"
#include "screen/canvas/Canvas.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tess {

// Pages and phases.
constexpr int kHomePage = 7;
constexpr int kGamePage = 0;
constexpr int kDrawing = 0;
constexpr int kColouring = 1;
constexpr int kFinished = 2;

constexpr int kMaxPieces = 301; // pieces a game can record

// The colour openSpace() marks the space round the shape with: no piece, line or circle of
// the game is drawn in it.
constexpr Colour kOpenSpace{1, 2, 3};

// Sound commands of the Sound menu.
constexpr int kCmdSoundOn = 32771;
constexpr int kCmdSoundOff = 32773;
constexpr int kCmdNotesToEnd = 32774;
constexpr int kCmdCutNotesShort = 32775;

// What lasts the whole run of the program, from the view's creation to its end.
struct RunState {
    // The home page's introduction, the F1 instructions and the score page's explanation.
    std::string explanationText;
    std::string homeIntroText;
    std::string instructionsText;
    // The Sound menu's two settings, and printing from the menu, which stays switched off.
    std::string soundSwitch = "on";
    std::string noteMode = "end";
    std::string printSwitch = "off";
    int tuneIndex = 0; // the selected tune, 0 to 19
    // The colour the next piece is filled with, 0 to 80. The cycle runs on from game to game
    // and starts afresh after Home.
    int colourIndex = 0;
    // Score history: scores per shape (0 Square .. 3 Decagon), 1-based, total behind the
    // scores shown (at the layout's historyCapacity() + 1).
    int historyCount[4] = {};
    int historyList[4][kHistoryRows] = {};
    // Note slot -> sound resource number.
    int noteResource[100] = {};
    // The C runtime's generator (state * 214013 + 2531011, bits 16 to 30), seeded once from the
    // clock when the view is created.
    std::uint32_t randomState = 0;

    friend bool operator==(const RunState&, const RunState&) = default;
};

// The game on the page: its shape, path and pieces, from a shape's start until the next
// start, Enter or Home. The page flow resets what each change of page or phase must.
struct GameState {
    int currentPage = kHomePage;
    // 0: the game page's next paint draws a new random start vertex, then sets it to 1.
    int startVertexChosen = 0;
    int gamePhase = kDrawing;
    int vertexCount = 4;
    int pathLength = 1; // vertices on the path, the start included
    int path[100] = {}; // path[1] is the start vertex
    int pieceCount = 0;
    int pieceColour[kMaxPieces + 1] = {}; // piece n's colour, n = 1..pieceCount
    Point pieceSeed[kMaxPieces];          // where piece n + 1 was clicked
    int noteIndex = 0;                    // the latest piece's note in the tune, 1-based
    int score = 0;
    std::string scoreNote;
    // How a finished game ended: aborted by a leaking fill, with where and in which colour
    // the escaped fill started, so that a repaint draws the picture the abort left.
    bool gameAborted = false;
    Point abortSeed;
    int abortColour = 0;
    // Whether the game on the page is a perfect game played for the player to watch: its
    // score is shown but not added to the history, for it is not the player's.
    bool watched = false;

    friend bool operator==(const GameState&, const GameState&) = default;
};

class CMekkView : public RunState, public GameState, public DrawingTools {
  public:
    explicit CMekkView(Platform& platform);
    CMekkView(const CMekkView&) = delete;
    CMekkView& operator=(const CMekkView&) = delete;

    // ---- Entries from the shell ----
    // Paints the current page on the view's canvas (made at the first paint) and presents it.
    void paint();
    // Paints the current page into dc: title, layout pass, then the page from the state.
    void OnDraw(DrawingContext& dc);
    // The window title a paint writes now: "Tessarin -- <date and time> -- Version <version>",
    // with a word that it is one where the page shows a perfect game played to be watched.
    static std::string windowTitleNow(bool watchedGame = false);
    // Left button down at (x, y) in canvas pixels: a home-page click, a vertex click or a
    // colouring click, by page and phase.
    void OnLButtonDown(int x, int y);
    // Key down with a key code of input/KeyCodes.h.
    void OnKeyDown(int key);
    // Sound menu commands and their enabled state.
    void OnCommand(int command);
    bool isCommandEnabled(int command) const;
    // The canvas the handlers draw on; null before the first paint.
    const Canvas* screen() const { return screen_.get(); }

    // ---- Page flow: every change of page or phase, each in one place ----
    // A shape picture clicked: the game page of that shape from a random start vertex.
    void startShape(int vertexCount);
    // The game page of a shape from a chosen start vertex, with no random draw: the solver's
    // games, tests, and a perfect game played for the player to watch (`watch`).
    void startShapeFrom(int vertexCount, int startVertex, bool watch = false);
    // Enter on a finished game: the same shape again from a new random start vertex.
    void playAgain();
    // Home on a finished game: the home page; the next game's colours start afresh.
    void returnHome();
    // End while drawing: the frame round the shape, and colouring begins.
    void beginColouring();
    // End while colouring: the score, its explanation and the history with the score in it.
    void scoreGame();
    // A colouring click whose fill escaped from the shape: the game ends there with no score.
    // Where and in which colour the fill started is kept, so that a repaint shows it again.
    void abortGame(Point seed);

    // ---- Rules ----
    // A click in the drawing phase: the line to the vertex clicked, unless it repeats one.
    void addLine(int x, int y);
    // A click in the colouring phase: fills the piece clicked, or aborts a leaking fill.
    void colourPiece(int x, int y);
    // A click on the home page: a shape picture starts a game, a tune button selects a tune.
    void homeClick(int x, int y);
    // A click inside the tune panel: the highlight leaves the selected tune; a click on tune
    // button `button` (0 to 19) selects it, lights it and plays it whole, a click on the grid
    // between them (-1) leaves the tune selected and its button white.
    void tunePanelClick(int button);
    // A point in each closed piece not coloured yet: the piece's first white pixel, row by
    // row across the frame (its edges included), that the open space round the shape does
    // not reach. In that order, the clicks of a player who colours every piece.
    std::vector<Point> uncolouredPieces() const;
    // A copy of the page with the open space round the shape marked in kOpenSpace, as a fill
    // from the probe point finds it: every white pixel left inside the frame lies in a closed
    // piece not coloured yet.
    Canvas openSpace() const;
    int computeScore() const;
    // The score as the score note explains it, for the current shape.
    std::string scoreNoteText() const;
    // Appends score to the current shape's column of the history, dropping the oldest score
    // of a full column, and sums the scores shown into the totals.
    void appendScoreToHistory();

    // ---- Sound ----
    // A synchronous sound holds the game while it plays: the page is presented first.
    void playSound(int resource, bool synchronous);
    void playTuneWhole();
    // The note of the piece coloured after `piecesBefore` pieces, under the sound settings.
    void playPieceNote(int piecesBefore);

    // ---- Checks ----
    // The first rule of the state that does not hold, in words, or empty when all hold: the
    // page and phase, the path (a walk over the shape's vertices that repeats no line), the
    // pieces and their colours, the history. Checked by the view itself after every entry
    // where the build asks for it (TESSARIN_CHECK_STATE), and by the storms and the fuzzer.
    std::string brokenInvariant() const;
    // Whether this view checks its state after every entry in a build that asks for it. A test
    // that sets up a state no game reaches, to see that the handlers leave it alone, turns it
    // off.
    bool checkStateAfterEntries = true;

    int nextRandom();

    // ---- Layout ----
    // The client area, read at the first paint and kept for the run: the canvas is made at
    // that size, and every recorded click point and piece seed refers to it.
    std::optional<Rect> clientArea;
    // The layout of the latest paint.
    Layout layout;

    Platform& platform;

    // The layout pass that begins every paint: the first paint's client area and pixel ratio,
    // kept for the run, then this paint's fonts and layout.
    void layoutPass(DrawingContext& dc);

  private:
    // A page on dc with this paint's layout and the view's tools.
    Page pageOn(DrawingContext& dc) const { return Page{dc, layout, *this}; }
    // The parts of the game page that follow the state.
    void drawLinesCounter(Page page) const;
    void drawPiecesCounter(Page page) const;
    // The score, its note and explanation and the history table, as End and a repaint of a
    // scored game draw them.
    void drawResult(Page page) const;
    // Everything End and the colouring clicks drew, again from the recorded pieces, as a paint
    // of the colouring and finished phases draws it.
    void drawColouringState(Page page) const;
    // Aborts the game with the state's check when the build checks the state after every entry.
    void checkState(const char* entry) const;

    // The game on the page back at its start: drawing, no line yet, nothing aborted.
    void beginDrawing();
    // The whole page drawn again at once on the canvas, as a handler that changes it does.
    void redrawPage();
    // A drawing context on the view's canvas for a handler. The canvas is made by the first
    // paint, so handlers that run before it have nothing to do.
    DrawingContext clientDC();
    std::unique_ptr<Canvas> screen_;
};

} // namespace tess
