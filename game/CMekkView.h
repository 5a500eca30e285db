// The game view: the whole record of the game's state, its layout and drawing tools, and the
// handlers of clicks, keys, Sound commands and paints. It draws into its own exact canvas and
// reaches the desktop only through Platform.
//
// Member functions are defined by subsystem: game/ (state, lines, colouring, scoring,
// history), screen/ (layout, painting, tools, pictures), input/ (keys, home-page clicks) and
// sound/ (playback, Sound commands, tunes).
#pragma once
#include "game/Platform.h"
#include "screen/canvas/Canvas.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tess {

// Pages and phases.
constexpr int kHomePage = 7;
constexpr int kGamePage = 0;
constexpr int kDrawing = 0;
constexpr int kColouring = 1;
constexpr int kFinished = 2;

constexpr int kMaxPieces = 301;  // pieces a game can record
constexpr int kHistoryRows = 52; // cells per history column: head, up to 50 scores, total
constexpr int kMaxHistoryCapacity = 50;

// Sound commands of the Sound menu.
constexpr int kCmdSoundOn = 32771;
constexpr int kCmdSoundOff = 32773;
constexpr int kCmdNotesToEnd = 32774;
constexpr int kCmdCutNotesShort = 32775;

// Everything the layout pass computes from the client area. Per-shape arrays are indexed
// directly by vertex count (4, 6, 8, 10); vertex arrays by [vertexCount][vertex 1..n].
struct Layout {
    Rect clientRect;
    Rect firstClientRect{0, -1, 0, 0}; // unset while top is -1
    int unit = 0;
    Size letterSize;
    Rect vertexCircle[11][11];
    Point vertexCentre[11][11];
    Point outsidePoint[11];
    Rect messageRect[11];
    Rect swatchRect[11];
    Rect tuneBox[11];
    Rect frameRect[11];
    Rect linesRect, maxLinesRect, piecesRect, maxPiecesRect, scoreRect;
    Rect explanationRect, historyRect;
    Rect historyCell[4][kHistoryRows];
    int historyColumnWidth = 0;
    int historyRowsFitted = 0;
    int historyCapacity = 0;
    Rect titleRect, introRect;
    Rect shapeButton[4];
    Size pictureSize{80, 94}; // the shape pictures' size in pixels of this screen
    Rect tuneTitleRect;
    Rect tuneButton[20];
    Rect tunePanelRect, tunePanelOutline;
    int tuneColumnWidth = 0;
};

class CMekkView {
  public:
    explicit CMekkView(Platform& platform);
    ~CMekkView();
    CMekkView(const CMekkView&) = delete;
    CMekkView& operator=(const CMekkView&) = delete;

    // ---- Entries from the shell ----
    // Paints the current page on the view's canvas (made at the first paint) and presents it.
    void paint();
    // Paints the current page into dc: title, layout pass, then the page from the state.
    void OnDraw(DrawingContext& dc);
    // Left button down at (x, y) in canvas pixels.
    void OnLButtonDown(int x, int y);
    // Key down with a key code of input/KeyCodes.h.
    void OnKeyDown(int key);
    // Sound menu commands and their enabled state.
    void OnCommand(int command);
    bool isCommandEnabled(int command) const;
    // The canvas the handlers draw on; null before the first paint.
    const Canvas* screen() const { return screen_.get(); }

    // ---- Game state ----
    int currentPage = kHomePage;
    int startVertexChosen = 0;
    int gamePhase = kDrawing;
    int pathLength = 1;
    int path[100] = {};
    int vertexCount = 4;
    int colourIndex = 0;
    int pieceCount = 0;
    int pieceColour[kMaxPieces + 1] = {};
    int tuneIndex = 0;
    int noteIndex = 0;
    int score = 0;
    char textBuffer[24] = {};
    Point pieceSeed[kMaxPieces];
    // How a finished game ended: aborted by a leaking fill, with where and in which colour
    // the escaped fill started, so that a repaint draws the picture the abort left.
    bool gameAborted = false;
    Point abortSeed;
    int abortColour = 0;

    std::string explanationText;
    std::string homeIntroText;
    std::string instructionsText;
    std::string soundSwitch = "on";
    std::string noteMode = "end";
    std::string printSwitch = "off";
    std::string scoreNote;

    // Score history: scores per shape (0 Square .. 3 Decagon), 1-based, total behind.
    int historyCount[4] = {};
    int historyList[4][kHistoryRows] = {};
    // Whether End appends the score to the history. A watched perfect game clears it for its
    // own End: its score is shown but is not the player's.
    bool scoreToHistory = true;

    // Note slot -> sound resource number.
    int noteResource[100] = {};

    // The C runtime's generator (state * 214013 + 2531011, bits 16 to 30), seeded once
    // from the clock when the view is created.
    std::uint32_t randomState = 0;
    int nextRandom();

    // ---- Layout ----
    Layout layout;

    // ---- Drawing tools ----
    // Device pixels per desktop pixel, read at the first paint and kept for the run: the pens
    // and the shape pictures are made for it (1 until then).
    double pixelRatio = 1.0;
    Canvas shapePicture[4];
    Pen thinPen, mediumPen, thickPen, redPen;
    Brush redBrush, lavenderBrush, whiteBrush, pinkBrush;
    Brush pieceBrush[102];
    Font largeBoldFont, normalFont, smallFont, boldFont;
    Colour piecePalette[81];
    Colour nearestColour[81];
    int pieceBrushesMade = 0;

    // ---- Line drawing ----
    void addLine(int x, int y);
    void drawBoard(DrawingContext& dc);
    void drawLinesCounter(DrawingContext& dc);

    // ---- Colouring ----
    void beginColouring();
    void colourPiece(int x, int y);
    void drawTuneBox(DrawingContext& dc);
    // The pieces counter and its maximum, as colouring draws them.
    void drawPiecesCounter(DrawingContext& dc);
    // A counter: the count in red and its label in one rectangle, " out of:" and the maximum
    // in green in the next.
    void drawCounter(DrawingContext& dc, const Rect& countRect, const char* label, int count,
                     const Rect& maximumRect, int maximum);
    // The frame, the colouring instruction and the "Next Color" swatch, as End and a repaint
    // of the colouring and finished states draw them.
    void drawColouringFurniture(DrawingContext& dc);
    // Swatch and tune box erased and the abort message, as a leaking fill and a repaint of
    // the aborted game draw them.
    void drawAbortMessage(DrawingContext& dc);

    // ---- Scoring and history ----
    int computeScore() const;
    void scoreGame();
    void drawColouringState(DrawingContext& dc);
    // The score, "Score:" and the score note, as End and a repaint of Finished draw them.
    void drawScore(DrawingContext& dc);
    // Draws the history table; first appends score to the current shape's column if append.
    void drawHistory(DrawingContext& dc, bool append);

    // ---- Screen ----
    void layoutPass(DrawingContext& dc);
    void drawHomePage(DrawingContext& dc);
    void fitPieceColours(DrawingContext& dc);
    void makeTools();    // pens, brushes, palette and pictures, at construction
    void makePictures(); // the four shape pictures, for pixelRatio
    // Pens and pictures for a screen of this pixel ratio: widths 1, 2 and 4 become r, 2r and
    // 4r, and the pictures r x 80 by r x 94, each rounded to whole pixels (scaledPixels).
    void applyPixelRatio(double ratio);

    // ---- Input ----
    void homeClick(int x, int y);

    // ---- Sound ----
    void playSoundAsync(int resource);
    void playSoundSync(int resource);
    void playTuneWhole();
    // The note of the piece coloured after `piecesBefore` pieces, under the sound settings.
    void playPieceNote(int piecesBefore);

    Platform& platform;

  private:
    // A drawing context on the view's canvas for a handler, transparent background. The
    // canvas is made by the first paint, so handlers that run before it have nothing to do.
    DrawingContext clientDC();
    std::unique_ptr<Canvas> screen_;
};

} // namespace tess
