// Page painting: the window title, then the whole current page rebuilt from the game state,
// so that a paint at any moment shows exactly the picture the player built by clicking.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace tess {

namespace {

// "Tessarin -- <date and time of this paint> -- Version <version>". The date and time is
// the C library's "%c" in local time; it is left empty when it cannot be formed.
std::string windowTitleNow() {
    std::string timeText;
    std::time_t paintTime = std::time(nullptr);
    std::tm local{};
    if (paintTime != static_cast<std::time_t>(-1) && localtime_r(&paintTime, &local)) {
        char buffer[128];
        std::size_t n = std::strftime(buffer, sizeof buffer, "%c", &local);
        timeText.assign(buffer, n);
    }
    return std::string("Tessarin -- ") + timeText + " -- Version " + versionText;
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
