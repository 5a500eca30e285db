// The line-drawing phase: the vertex click, the board and the lines counter.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "game/TextColours.h"
#include "sound/SoundBank.h"

#include <cstdio>

namespace tess {

namespace {

constexpr const char* kConnectMessage =
    "Connect as many vertices as possible by clicking inside the gray circles. When you are "
    "done, press the End key.";

bool isVertex(int vertex, int vertexCount) {
    return vertex >= 1 && vertex <= vertexCount;
}

} // namespace

void CMekkView::addLine(int x, int y) {
    // The first vertex whose square holds the click, borders excluded. The whole square
    // counts, corners outside the drawn circle included.
    int hit = 0;
    for (int i = 1; i <= vertexCount; ++i) {
        if (layout.vertexCircle[vertexCount][i].strictlyContains(x, y)) {
            hit = i;
            break;
        }
    }
    if (hit == 0) return;

    if (hit == path[pathLength]) {
        playSoundAsync(kErrorSound);
        return;
    }

    ++pathLength;
    path[pathLength] = hit;
    const int a = path[pathLength - 1];
    const int b = hit;
    // A line is the pair of its ends, whichever way it was drawn; going straight back along
    // the previous line repeats it too.
    for (int j = 1; j <= pathLength - 2; ++j) {
        if ((path[j] == a && path[j + 1] == b) || (path[j] == b && path[j + 1] == a)) {
            playSoundAsync(kErrorSound);
            path[pathLength] = 0;
            --pathLength;
            return;
        }
    }

    DrawingContext dc = clientDC();
    drawBoard(dc);
    drawLinesCounter(dc);
}

void CMekkView::drawBoard(DrawingContext& dc) {
    const Rect* circle = layout.vertexCircle[vertexCount];
    const Point* centre = layout.vertexCentre[vertexCount];

    dc.setTransparentBackground();
    dc.selectPen(thickPen);
    dc.selectBrush(lavenderBrush);
    for (int i = 1; i <= vertexCount; ++i)
        dc.ellipse(circle[i]);

    // Each line, then its starting circle again with a thin outline over the line's end.
    for (int j = 1; j <= pathLength - 1; ++j) {
        if (!isVertex(path[j], vertexCount) || !isVertex(path[j + 1], vertexCount)) continue;
        dc.selectPen(thinPen);
        dc.moveTo(centre[path[j]].x, centre[path[j]].y);
        dc.lineTo(centre[path[j + 1]].x, centre[path[j + 1]].y);
        dc.ellipse(circle[path[j]]);
    }

    // The current vertex in red, thick-outlined only while no line is drawn yet.
    dc.selectBrush(redBrush);
    if (isVertex(path[pathLength], vertexCount)) dc.ellipse(circle[path[pathLength]]);

    dc.selectFont(normalFont);
    dc.setTextColour(kBlack);
    const Rect& message = layout.messageRect[vertexCount];
    dc.fillRect(message, whiteBrush);
    dc.drawTextFitted(kConnectMessage, message, TextForm::SingleLeft);
}

void CMekkView::drawLinesCounter(DrawingContext& dc) {
    drawCounter(dc, layout.linesRect, "# of lines:", pathLength - 1, layout.maxLinesRect,
                maxLines(vertexCount));
}

void CMekkView::drawCounter(DrawingContext& dc, const Rect& countRect, const char* label, int count,
                            const Rect& maximumRect, int maximum) {
    dc.setTransparentBackground();
    std::snprintf(textBuffer, sizeof textBuffer, "%i", count);
    dc.fillRect(countRect, whiteBrush);
    dc.selectFont(largeBoldFont);
    dc.setTextColour(kCountColour);
    dc.drawText(textBuffer, countRect, TextForm::SingleRight);
    dc.selectFont(normalFont);
    dc.setTextColour(kLabelColour);
    dc.drawText(label, countRect, TextForm::SingleLeft);

    dc.fillRect(maximumRect, whiteBrush);
    dc.drawText(" out of:", maximumRect, TextForm::SingleLeft);
    std::snprintf(textBuffer, sizeof textBuffer, "%i", maximum);
    dc.selectFont(largeBoldFont);
    dc.setTextColour(kMaximumColour);
    dc.drawText(textBuffer, maximumRect, TextForm::SingleRight);

    dc.setTextColour(kBlack);
}

} // namespace tess
