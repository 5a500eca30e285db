// Page painting: the window title, then the whole current page rebuilt from the game state,
// so that a paint at any moment shows exactly the picture the player built by clicking.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"

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

// "Tessarin -- <date and time of this paint> -- Version <version>".
std::string windowTitleNow() {
    return std::string("Tessarin -- ") + localTimeText(std::time(nullptr)) + " -- Version " +
           versionText;
}

} // namespace

void CMekkView::OnDraw(DrawingContext& dc) {
    platform.setWindowTitle(windowTitleNow());
    dc.setTransparentBackground();
    layoutPass(dc);

    if (currentPage == kGamePage) {
        // A new game picks its start vertex at its first paint.
        if (startVertexChosen == 0) {
            path[1] = nextRandom() % vertexCount + 1;
            fitPieceColours(dc);
            startVertexChosen = 1;
        }
        dc.fillRect(layout.clientRect, whiteBrush);
        drawBoard(dc);
        drawLinesCounter(dc);
        if (gamePhase > kDrawing) drawColouringState(dc);
    }
    if (currentPage == kHomePage) {
        fitPieceColours(dc);
        drawHomePage(dc);
    }
}

void CMekkView::drawHomePage(DrawingContext& dc) {
    const Layout& l = layout;
    dc.setTransparentBackground();
    dc.fillRect(l.clientRect, whiteBrush);

    dc.selectFont(normalFont);
    dc.drawTextFitted(homeIntroText, l.introRect, TextForm::WordWrap);

    // The pictures carry their own drawing and name; each is copied at its natural size,
    // which the pixel ratio gave them.
    for (int k = 0; k < 4; ++k)
        dc.blit(l.shapeButton[k].left, l.shapeButton[k].top, shapePicture[k]);

    dc.selectFont(largeBoldFont);
    dc.setTextColour(Colour(32, 200, 120));
    dc.drawText("Tessarin", l.titleRect, TextForm::SingleCentre);
    dc.setTextColour(kBlack);

    // The tune panel: a white frame, the selected tune's highlight and the title cell, then
    // the grid over them (a pen wider than one pixel reaches into the title cell too).
    dc.selectBrush(whiteBrush);
    dc.selectPen(thinPen);
    dc.rectangle(l.tunePanelOutline);
    dc.fillRect(l.tuneButton[tuneIndex], pieceBrush[80 - tuneIndex]);
    dc.fillRect(l.tuneTitleRect, pieceBrush[72]);
    for (int r = 0; r < 10; ++r) {
        dc.moveTo(l.tuneTitleRect.left, l.tuneButton[r].top);
        dc.lineTo(l.tuneTitleRect.right, l.tuneButton[r].top);
    }
    dc.moveTo(l.tuneButton[0].right, l.tuneTitleRect.bottom);
    dc.lineTo(l.tuneButton[0].right, l.tunePanelRect.bottom);

    dc.selectFont(smallFont);
    dc.drawTextFitted("Select and Play a Tune", l.tuneTitleRect, TextForm::SingleCentre);

    for (int r = 0; r < 10; ++r) {
        std::snprintf(textBuffer, sizeof textBuffer, "%i", r + 1);
        dc.drawTextFitted(textBuffer, l.tuneButton[r], TextForm::SingleCentre);
        std::snprintf(textBuffer, sizeof textBuffer, "%i", r + 11);
        dc.drawTextFitted(textBuffer, l.tuneButton[10 + r], TextForm::SingleCentre);
    }
}

} // namespace tess
