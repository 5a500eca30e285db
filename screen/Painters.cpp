// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The painters of both pages. Numbers are formatted in decimal just before they are drawn.
#include "screen/Painters.h"

#include "screen/TextColours.h"

#include <algorithm>
#include <string>

namespace tess {

namespace {

constexpr const char* kConnectMessage =
    "Connect as many vertices as possible by clicking inside the gray circles. When you are "
    "done, press the End key.";
constexpr const char* kColourMessage = "Now color each complete puzzle piece by clicking inside "
                                       "its borders. When you are done, press the End key.";
constexpr const char* kAbortMessage = "Game Aborted. Press the Enter key to try again or the "
                                      "Home key to return to the Home page.";
constexpr const char* kColumnHead[4] = {"Square", "Hexagon", "Octagon", "Decagon"};

bool isVertex(int vertex, int vertexCount) {
    return vertex >= 1 && vertex <= vertexCount;
}

// A tune button without the grid lines round it, which are drawn with a pen of width `pen`
// centred on each row's top edge and on the line between the two columns; the panel's outline
// lies outside the panel. With a 1-pixel pen: the button without its top and left edges.
Rect buttonInterior(const Rect& r, const Rect& panel, int pen) {
    const int before = pen / 2;         // a centred pen's rows above (columns left of) its line
    const int after = pen - 1 - before; // and below (right of) it
    return {r.left + after + 1, r.top + after + 1,
            r.right == panel.right ? r.right : r.right - before,
            r.bottom == panel.bottom ? r.bottom : r.bottom - before};
}

// The message line below a shape: erased, then the text in black in the normal font, fitted.
void writeMessage(Page page, int vertexCount, std::string_view text, TextForm form) {
    auto& [dc, layout, tools] = page;
    const Rect& message = layout.messageRect[vertexCount];
    dc.selectFont(tools.normalFont);
    dc.setTextColour(kBlack);
    dc.fillRect(message, tools.whiteBrush);
    dc.drawTextFitted(text, message, form);
}

// A number in the large bold font at the right of r, in its colour, and its label in the
// normal font at the left.
void drawLabelledNumber(Page page, const Rect& r, const char* label, int number, Colour colour) {
    DrawingContext& dc = page.dc;
    dc.selectFont(page.tools.largeBoldFont);
    dc.setTextColour(colour);
    dc.drawText(std::to_string(number), r, TextForm::SingleRight);
    dc.selectFont(page.tools.normalFont);
    dc.setTextColour(kLabelColour);
    dc.drawText(label, r, TextForm::SingleLeft);
}

} // namespace

void drawBoard(Page page, int vertexCount, const int* path, int pathLength) {
    auto& [dc, layout, tools] = page;
    const Rect* circle = layout.vertexCircle[vertexCount];
    const Point* centre = layout.vertexCentre[vertexCount];

    dc.selectPen(tools.thickPen);
    dc.selectBrush(tools.lavenderBrush);
    for (int i = 1; i <= vertexCount; ++i)
        dc.ellipse(circle[i]);

    // Each line, then its starting circle again with a thin outline over the line's end.
    for (int j = 1; j <= pathLength - 1; ++j) {
        if (!isVertex(path[j], vertexCount) || !isVertex(path[j + 1], vertexCount)) continue;
        dc.selectPen(tools.thinPen);
        dc.moveTo(centre[path[j]].x, centre[path[j]].y);
        dc.lineTo(centre[path[j + 1]].x, centre[path[j + 1]].y);
        dc.ellipse(circle[path[j]]);
    }

    // The current vertex in red, thick-outlined only while no line is drawn yet.
    dc.selectBrush(tools.redBrush);
    if (isVertex(path[pathLength], vertexCount)) dc.ellipse(circle[path[pathLength]]);

    writeMessage(page, vertexCount, kConnectMessage, TextForm::SingleLeft);
}

void drawCounter(Page page, const Rect& countRect, const char* label, int count,
                 const Rect& maximumRect, int maximum) {
    auto& [dc, layout, tools] = page;
    dc.fillRect(countRect, tools.whiteBrush);
    drawLabelledNumber(page, countRect, label, count, kCountColour);

    dc.fillRect(maximumRect, tools.whiteBrush);
    dc.drawText(" out of:", maximumRect, TextForm::SingleLeft);
    dc.selectFont(tools.largeBoldFont);
    dc.setTextColour(kMaximumColour);
    dc.drawText(std::to_string(maximum), maximumRect, TextForm::SingleRight);

    dc.setTextColour(kBlack);
}

void drawColouringFurniture(Page page, int vertexCount, int colourIndex) {
    auto& [dc, layout, tools] = page;
    dc.selectPen(tools.mediumPen);

    // The frame: an unfilled outline drawn corner to corner, back to where it started.
    const Rect& frame = layout.frameRect[vertexCount];
    dc.moveTo(frame.left, frame.top);
    dc.lineTo(frame.right, frame.top);
    dc.lineTo(frame.right, frame.bottom);
    dc.lineTo(frame.left, frame.bottom);
    dc.lineTo(frame.left, frame.top);

    writeMessage(page, vertexCount, kColourMessage, TextForm::SingleLeft);
    drawNextColour(page, vertexCount, colourIndex);
}

void drawNextColour(Page page, int vertexCount, int colourIndex) {
    auto& [dc, layout, tools] = page;
    const Rect& swatch = layout.swatchRect[vertexCount];
    dc.fillRect(swatch, tools.pieceBrush[colourIndex]);
    dc.selectFont(tools.normalFont);
    dc.setTextColour(kBlack);
    dc.drawText("Next Color", swatch, TextForm::SingleCentre);
}

void drawTuneBox(Page page, int vertexCount, int tuneIndex) {
    auto& [dc, layout, tools] = page;
    dc.selectBrush(tools.pinkBrush);
    dc.selectPen(tools.redPen);
    const Rect& box = layout.tuneBox[vertexCount];
    dc.rectangle(box);
    dc.selectFont(tools.normalFont);
    dc.setTextColour(kBlack);
    const std::string text = "Current Tune: " + std::to_string(tuneIndex + 1);
    dc.drawText(text, box, TextForm::SingleCentre);
}

void drawAbortMessage(Page page, int vertexCount) {
    auto& [dc, layout, tools] = page;
    dc.fillRect(layout.swatchRect[vertexCount], tools.whiteBrush);
    dc.fillRect(layout.tuneBox[vertexCount], tools.whiteBrush);
    writeMessage(page, vertexCount, kAbortMessage, TextForm::SingleLeft);
}

void drawResultPanel(Page page, int vertexCount, const std::string& explanation) {
    auto& [dc, layout, tools] = page;
    dc.fillRect(layout.swatchRect[vertexCount], tools.whiteBrush);
    dc.fillRect(layout.tuneBox[vertexCount], tools.whiteBrush);
    writeMessage(page, vertexCount, explanation, TextForm::WordWrap);
}

void drawScore(Page page, int score, const std::string& scoreNote) {
    auto& [dc, layout, tools] = page;
    drawLabelledNumber(page, layout.scoreRect, "Score:", score, kScoreColour);

    dc.selectFont(tools.boldFont);
    dc.setTextColour(kNoteColour);
    dc.drawTextFitted(scoreNote, layout.explanationRect, TextForm::WordWrap);
    dc.setTextColour(kBlack);
}

void drawHistoryTable(Page page, const int (&count)[4], const int (&list)[4][kHistoryRows]) {
    auto& [dc, layout, tools] = page;
    const int capacity = std::clamp(layout.historyCapacity(), 0, kMaxHistoryCapacity);
    dc.selectFont(tools.smallFont);
    dc.selectPen(tools.thinPen);
    dc.setTextColour(kBlack);
    dc.fillRect(layout.historyRect, tools.whiteBrush);

    const int totalRow = capacity + 1;
    for (int s = 0; s < 4; ++s) {
        const int shown = std::min(count[s], capacity);
        for (int k = 1; k <= shown; ++k)
            dc.drawTextFitted(std::to_string(list[s][k]), layout.historyCell[s][k],
                              TextForm::SingleRight);
        dc.drawTextFitted(std::to_string(list[s][totalRow]), layout.historyCell[s][totalRow],
                          TextForm::SingleRight);
    }

    // "  Tot:" stands at the left of the Square total's cell. A large total on a narrow
    // screen leaves it less room than the cell: it is fitted into what the total leaves free,
    // with a blank column between them, so that the two never run into each other.
    const Rect& totalCell = layout.historyCell[0][totalRow];
    const std::string squareTotal = std::to_string(list[0][totalRow]);
    const Font totalFont = dc.fittingFont(squareTotal, totalCell, TextForm::SingleRight);
    const int totalInkLeft =
        totalCell.right - totalFont.extent(squareTotal).cx + totalFont.inkBox(squareTotal).left;
    dc.drawTextFitted("  Tot:", {totalCell.left, totalCell.top, totalInkLeft - 1, totalCell.bottom},
                      TextForm::SingleLeft);

    for (int s = 0; s < 4; ++s) {
        const Rect& head = layout.historyCell[s][0];
        dc.drawTextFitted(kColumnHead[s], head, TextForm::SingleRight);
        // A rule between the last score row and the totals, 6 pixels (of a screen that does
        // not scale) in from the left.
        const int y = layout.historyCell[s][capacity].bottom;
        dc.moveTo(head.left + scaledPixels(6, tools.pixelRatio), y);
        dc.lineTo(head.right, y);
    }
}

void drawHomePage(Page page, const std::string& intro, int tuneIndex) {
    auto& [dc, l, tools] = page;
    dc.fillRect(l.clientRect, tools.whiteBrush);

    dc.selectFont(tools.normalFont);
    dc.setTextColour(kBlack);
    dc.drawTextFitted(intro, l.introRect, TextForm::WordWrap);

    // The pictures carry their own drawing and name; each is copied at its natural size,
    // which the pixel ratio gave them.
    for (int k = 0; k < 4; ++k)
        dc.blit(l.shapeButton[k].left, l.shapeButton[k].top, tools.shapePicture[k]);

    dc.selectFont(tools.largeBoldFont);
    dc.setTextColour(kTitleColour);
    dc.drawText("Tessarin", l.titleRect, TextForm::SingleCentre);
    dc.setTextColour(kBlack);

    // The tune panel: a white frame, the selected tune's highlight and the title cell, then
    // the grid over them (a pen wider than one pixel reaches into the title cell too).
    dc.selectBrush(tools.whiteBrush);
    dc.selectPen(tools.thinPen);
    dc.rectangle(l.tunePanelOutline);
    dc.fillRect(l.tuneButton[tuneIndex], tools.pieceBrush[80 - tuneIndex]);
    dc.fillRect(l.tuneTitleRect, tools.pieceBrush[72]);
    for (int r = 0; r < 10; ++r) {
        dc.moveTo(l.tuneTitleRect.left, l.tuneButton[r].top);
        dc.lineTo(l.tuneTitleRect.right, l.tuneButton[r].top);
    }
    dc.moveTo(l.tuneButton[0].right, l.tuneTitleRect.bottom);
    dc.lineTo(l.tuneButton[0].right, l.tunePanelRect.bottom);

    dc.selectFont(tools.smallFont);
    dc.drawTextFitted("Select and Play a Tune", l.tuneTitleRect, TextForm::SingleCentre);

    for (int r = 0; r < 10; ++r) {
        dc.drawTextFitted(std::to_string(r + 1), l.tuneButton[r], TextForm::SingleCentre);
        dc.drawTextFitted(std::to_string(r + 11), l.tuneButton[10 + r], TextForm::SingleCentre);
    }
}

void drawTuneButton(Page page, int tuneIndex, const Brush& fill) {
    auto& [dc, l, tools] = page;
    const Rect& button = l.tuneButton[tuneIndex];
    dc.fillRect(buttonInterior(button, l.tunePanelRect, tools.thinPen.width), fill);
    dc.selectFont(tools.smallFont);
    dc.setTextColour(kBlack);
    dc.drawTextFitted(std::to_string(tuneIndex + 1), button, TextForm::SingleCentre);
}

} // namespace tess
