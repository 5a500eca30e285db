// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The four shape pictures of the home page: each shape as a finished game (black outline and
// lines, brightly coloured pieces, the vertex count written in several pieces) with its name
// beneath in capitals of different colours. They are drawn by the game's own drawing code at
// the size the screen needs, 80 by 94 pixels times its pixel ratio, so that they stay sharp on
// a high-density screen; each size is drawn once for the whole program.
#include "screen/Pictures.h"

#include "screen/Tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace tess {

namespace {

// The picture's measures at ratio 1, the design's; at another ratio each is scaledPixels of it.
constexpr int kNameTop = 76; // the name's band, below the shape

struct PictureShape {
    int vertexCount;
    const char* name;
    double radius; // circumradius of the shape, in pixels
    int numbered;  // pieces that carry the vertex count
};

constexpr PictureShape kShapes[4] = {
    {4, "SQUARE", 46.0, 4},
    {6, "HEXAGON", 37.0, 6},
    {8, "OCTAGON", 37.0, 4},
    {10, "DECAGON", 37.5, 6},
};

// Piece colours, in the order pieces are met scanning down from the top. The Square's four
// triangles are met top, left, right, bottom: yellow, red, blue, green.
const Colour kSquareColours[] = {{255, 240, 0}, {255, 40, 40}, {40, 110, 255}, {40, 200, 40}};
const Colour kBrightColours[] = {
    {255, 230, 0},  {255, 60, 60}, {40, 120, 255},  {40, 210, 60},  {255, 140, 0},
    {200, 60, 255}, {0, 210, 210}, {255, 80, 200},  {150, 230, 0},  {120, 120, 255},
    {255, 180, 60}, {0, 170, 120}, {255, 110, 130}, {90, 200, 255},
};
const Colour kLetterColours[] = {{230, 0, 0},   {0, 90, 230},  {0, 160, 0},  {230, 120, 0},
                                 {160, 0, 200}, {0, 150, 160}, {220, 0, 140}};

// A colour that marks piece k while the pieces are measured: never black or white.
Colour markColour(int k) {
    return Colour(1, (k >> 8) & 0xFF, k & 0xFF);
}

struct Piece {
    Point seed;
    long area = 0;
    long sumX = 0;
    long sumY = 0;
};

std::vector<Point> vertices(const PictureShape& shape, double ratio) {
    // Clockwise from the left vertex of the top edge, so the top edge is level.
    const double centreX = 39.5 * ratio;
    const double centreY = 38.0 * ratio;
    const double radius = shape.radius * ratio;
    const int n = shape.vertexCount;
    std::vector<Point> points;
    for (int k = 0; k < n; ++k) {
        const double angle = std::numbers::pi * (-0.5 - 1.0 / n + 2.0 * k / n);
        points.push_back({int(std::lround(centreX + radius * std::cos(angle))),
                          int(std::lround(centreY + radius * std::sin(angle)))});
    }
    return points;
}

// The lines of the finished game each picture shows, as pairs of vertex numbers (0-based).
std::vector<std::pair<int, int>> cuts(int n) {
    std::vector<std::pair<int, int>> lines;
    if (n == 4) {
        lines = {{0, 2}, {1, 3}};
    } else if (n == 6) {
        for (int a = 0; a < n; ++a)
            for (int b = a + 2; b < n; ++b)
                if (!(a == 0 && b == n - 1)) lines.push_back({a, b});
    } else {
        // Every line through the centre, and a star of lines that skip vertices.
        const int skip = n == 8 ? 2 : 3;
        for (int a = 0; a < n / 2; ++a)
            lines.push_back({a, a + n / 2});
        for (int a = 0; a < n; ++a)
            lines.push_back({a, (a + skip) % n});
    }
    return lines;
}

void drawName(DrawingContext& dc, const char* name, double ratio) {
    // The largest bold capitals that fit the picture's width, each letter in its own colour.
    const auto scaled = [ratio](int designPixels) { return scaledPixels(designPixels, ratio); };
    const std::string text = name;
    Font font;
    int width = 0;
    for (int cell = scaled(16); cell >= scaled(6); --cell) {
        font = Font::create("Arial Bold", cell);
        width = font.extent(text).cx;
        if (width <= scaled(kPictureSize.cx) - scaled(2)) break;
    }
    dc.selectFont(font);
    const int cell = font.extent(text).cy;
    const int top = scaled(kNameTop);
    int x = (scaled(kPictureSize.cx) - width) / 2;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string letter(1, text[i]);
        const int w = font.extent(letter).cx;
        dc.setTextColour(kLetterColours[i % std::size(kLetterColours)]);
        dc.drawText(letter, Rect{x, top, x + w, top + cell}, TextForm::SingleLeft);
        x += w;
    }
}

Canvas drawPicture(const PictureShape& shape, double ratio) {
    const auto scaled = [ratio](int designPixels) { return scaledPixels(designPixels, ratio); };
    const int W = scaled(kPictureSize.cx);
    const int H = scaled(kPictureSize.cy);
    const int nameTop = scaled(kNameTop);
    Canvas picture(W, H); // white, as every new canvas is
    DrawingContext dc(picture);

    // The outline and the lines of the game, as wide as the game's thin pen, black.
    dc.selectPen(Pen{kBlack, scaled(1)});
    const std::vector<Point> v = vertices(shape, ratio);
    const int n = shape.vertexCount;
    dc.moveTo(v[0].x, v[0].y);
    for (int k = 1; k <= n; ++k)
        dc.lineTo(v[k % n].x, v[k % n].y);
    for (auto [a, b] : cuts(n)) {
        dc.moveTo(v[a].x, v[a].y);
        dc.lineTo(v[b].x, v[b].y);
    }

    // Mark the space round the shape, so every white pixel left belongs to a piece.
    const Colour outside(2, 2, 2);
    dc.selectBrush(Brush{outside, true});
    dc.floodFill(0, 0, kBlack);

    // Find the pieces, each marked with its own colour, then measure them all in one pass.
    std::vector<Piece> pieces;
    for (int y = 0; y < nameTop; ++y) {
        for (int x = 0; x < W; ++x) {
            if (picture.pixel(x, y) != kWhite) continue;
            dc.selectBrush(Brush{markColour(int(pieces.size())), true});
            dc.floodFill(x, y, kBlack);
            pieces.push_back(Piece{{x, y}});
        }
    }
    for (int py = 0; py < nameTop; ++py)
        for (int px = 0; px < W; ++px) {
            const Colour c = picture.pixel(px, py);
            const std::size_t k = std::size_t(c.green() << 8 | c.blue());
            if (k >= pieces.size() || c != markColour(int(k))) continue;
            ++pieces[k].area;
            pieces[k].sumX += px;
            pieces[k].sumY += py;
        }

    // Colour the pieces, and the space round the shape white again.
    dc.selectBrush(Brush{kWhite, true});
    dc.floodFill(0, 0, kBlack);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const Colour colour =
            n == 4 ? kSquareColours[k % 4] : kBrightColours[k % std::size(kBrightColours)];
        dc.selectBrush(Brush{colour, true});
        dc.floodFill(pieces[k].seed.x, pieces[k].seed.y, kBlack);
    }

    // The vertex count in black in the largest pieces.
    std::vector<std::size_t> order(pieces.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pieces[a].area > pieces[b].area; });
    const std::string count = std::to_string(n);
    const Font digits = Font::create("Arial Bold", scaled(n == 4 ? 14 : n == 8 ? 12 : 10));
    dc.selectFont(digits);
    dc.setTextColour(kBlack);
    const Size extent = digits.extent(count);
    for (int i = 0; i < shape.numbered && std::size_t(i) < order.size(); ++i) {
        const Piece& piece = pieces[order[std::size_t(i)]];
        const int cx = int(piece.sumX / piece.area);
        const int cy = int(piece.sumY / piece.area);
        const Rect box{cx - extent.cx, cy - extent.cy / 2, cx + extent.cx,
                       cy - extent.cy / 2 + extent.cy};
        dc.drawText(count, box, TextForm::SingleCentre);
    }

    drawName(dc, shape.name, ratio);
    return picture;
}

} // namespace

const std::array<Canvas, 4>& shapePictures(double ratio) {
    // The pictures of every pixel ratio drawn so far, for every view of the program.
    static std::map<double, std::array<Canvas, 4>> drawn;
    auto it = drawn.find(ratio);
    if (it == drawn.end()) {
        std::array<Canvas, 4> pictures;
        for (std::size_t k = 0; k < 4; ++k)
            pictures[k] = drawPicture(kShapes[k], ratio);
        it = drawn.emplace(ratio, std::move(pictures)).first;
    }
    return it->second;
}

} // namespace tess
