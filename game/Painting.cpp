// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Page painting: the window title, the layout pass, then the whole current page rebuilt from
// the game state, so that a paint at any moment shows exactly the picture the player built by
// clicking.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <iterator>
#include <string>

namespace tess {

namespace {

// Appends one character as UTF-8; a value that is no character becomes U+FFFD.
void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The date and time in the window title: the C library's "%c" in local time, at most 127
// characters, empty when it cannot be formed. "%c" follows the desktop's locale (LC_ALL,
// LC_TIME, LANG), which Qt applies to the C library when the program starts: a German desktop
// reads "Sa 02 Mär 2024 14:05:09 CET", an American one "Sat 02 Mar 2024 02:05:09 PM CET". It
// is formed as characters, not as bytes, and handed on as UTF-8, so that a locale of another
// character set (KOI8-R, Latin-1) still gives the title its own words.
std::string localTimeText(std::time_t paintTime) {
    std::string text;
    std::tm local{};
    if (paintTime == static_cast<std::time_t>(-1) || !localtime_r(&paintTime, &local)) return text;
    wchar_t wide[128];
    const std::size_t n = std::wcsftime(wide, std::size(wide), L"%c", &local);
    for (std::size_t i = 0; i < n; ++i)
        appendUtf8(text, char32_t(wide[i]));
    return text;
}

} // namespace

// "Tessarin -- <date and time of this paint> -- Version <version>". While the page shows a
// perfect game played for the player to watch, the title says so, since the page looks like
// the player's own game: how to leave it, and that its score is not the player's.
std::string CMekkView::windowTitleNow(bool watchedGame) {
    return std::string("Tessarin -- ") +
           (watchedGame ? "A perfect game to watch (Home stops it; its score is not kept) -- "
                        : "") +
           localTimeText(std::time(nullptr)) + " -- Version " + versionText;
}

void CMekkView::layoutPass(DrawingContext& dc) {
    // The client area is read once, at the first paint, and kept for the rest of the run. If
    // the window changes later the shell shows the same canvas scaled.
    if (!clientArea) {
        const Size size = platform.clientSize();
        clientArea = Rect{0, 0, std::max(0, size.cx), std::max(0, size.cy)};
        // The screen's pixel ratio is read with it and kept as long: pens and pictures.
        applyPixelRatio(platform.pixelRatio());
    }
    layout = layOutPage(dc, *this, *clientArea);
}

void CMekkView::OnDraw(DrawingContext& dc) {
    platform.setWindowTitle(windowTitleNow(currentPage == kGamePage && watched));
    layoutPass(dc);
    const Page page = pageOn(dc);

    if (currentPage == kGamePage) {
        // A new game picks its start vertex at its first paint.
        if (startVertexChosen == 0) {
            path[1] = nextRandom() % vertexCount + 1;
            fitPieceColours(dc);
            startVertexChosen = 1;
        }
        dc.fillRect(layout.clientRect, whiteBrush);
        drawBoard(page, vertexCount, path, pathLength);
        drawLinesCounter(page);
        if (gamePhase > kDrawing) drawColouringState(page);
    }
    if (currentPage == kHomePage) {
        fitPieceColours(dc);
        drawHomePage(page, homeIntroText, tuneIndex);
    }
}

void CMekkView::drawLinesCounter(Page page) const {
    drawCounter(page, layout.linesRect, "# of lines:", pathLength - 1, layout.maxLinesRect,
                maxLines(vertexCount));
}

void CMekkView::drawPiecesCounter(Page page) const {
    drawCounter(page, layout.piecesRect, "# of pieces:", pieceCount, layout.maxPiecesRect,
                maxPieces(vertexCount));
}

void CMekkView::drawResult(Page page) const {
    drawResultPanel(page, vertexCount, explanationText);
    drawScore(page, score, scoreNote);
    drawHistoryTable(page, historyCount, historyList);
}

void CMekkView::drawColouringState(Page page) const {
    DrawingContext& dc = page.dc;
    drawColouringFurniture(page, vertexCount, colourIndex);
    drawPiecesCounter(page);

    // Every recorded piece again, from its seed, in its own colour and in the order coloured.
    for (int n = 1; n <= std::min(pieceCount, kMaxPieces); ++n) {
        dc.selectBrush(pieceBrush[pieceColour[n]]);
        dc.floodFill(pieceSeed[n - 1].x, pieceSeed[n - 1].y, kBlack);
    }

    if (gamePhase == kColouring) {
        drawTuneBox(page, vertexCount, tuneIndex);
    } else if (gamePhase == kFinished) {
        if (gameAborted) {
            // The picture the abort left: the escaped fill and the abort message, no score,
            // and the history as it stands.
            dc.selectBrush(pieceBrush[abortColour]);
            dc.floodFill(abortSeed.x, abortSeed.y, kBlack);
            drawAbortMessage(page, vertexCount);
            drawHistoryTable(page, historyCount, historyList);
        } else {
            drawResult(page);
        }
    }
}

} // namespace tess
