// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's own exact pixel canvas and the drawing context over it.
//
// The rules of the game read the picture back (a colouring click needs a pure white pixel,
// a piece is whatever a 4-connected border fill reaches), so every pixel holds exactly the
// colour of the pen, brush or text that last covered it: no anti-aliasing, no dithering.
#pragma once
#include "screen/canvas/Font.h"
#include "screen/canvas/Geometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tess {

// A 24-bit picture, rows top to bottom, each pixel 0xFFRRGGBB. A new canvas is white.
class Canvas {
  public:
    Canvas() = default;
    Canvas(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Colour pixel(int x, int y) const;      // kInvalidColour outside
    void setPixel(int x, int y, Colour c); // ignored outside
    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t* data() { return pixels_.data(); }
    std::uint32_t* row(int y) { return data() + std::size_t(y) * std::size_t(width_); }
    const std::uint32_t* row(int y) const { return data() + std::size_t(y) * std::size_t(width_); }
    void clear(Colour c); // the whole canvas in one colour

    friend bool operator==(const Canvas&, const Canvas&) = default;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// A solid pen of a width in pixels. Widths 2 and 4 are centred on the line.
struct Pen {
    Colour colour;
    int width = 1;
};

// A solid brush. An unmade brush (made = false) paints nothing.
struct Brush {
    Colour colour;
    bool made = true;
};

enum class TextForm {
    SingleLeft,   // one line, vertically centred, left-aligned
    SingleCentre, // one line, vertically centred, horizontally centred
    SingleRight,  // one line, vertically centred, right-aligned
    WordWrap,     // from the top-left corner, broken between words and at every '\n'
};

// A text as a drawing context drew it, with its rectangle, form, colour and the font it was
// drawn in (the fitted one, for a fitted text): what a page says, for tests, without its pixels.
struct DrawnText {
    std::string text;
    Rect rect;
    TextForm form;
    Colour colour;
    Font font;
};

// Drawing context: the selected pen, brush and font and the text colour over one canvas. Text
// never paints a background box. Everything is clipped to the canvas; text also to its rectangle.
class DrawingContext {
  public:
    explicit DrawingContext(Canvas& canvas) : canvas_(&canvas) {}
    const Canvas& canvas() const { return *canvas_; }

    void selectPen(const Pen& pen) { pen_ = pen; }
    void selectBrush(const Brush& brush) { brush_ = brush; }
    void selectFont(const Font& font) { font_ = font; }
    const Font& font() const { return font_; }
    void setTextColour(Colour c) { textColour_ = c; }
    Colour textColour() const { return textColour_; }
    // Notes every text drawn from now on in *log (none: nothing is noted).
    void logTextTo(std::vector<DrawnText>* log) { textLog_ = log; }

    // Columns left..right-1, rows top..bottom-1, in the brush's colour.
    void fillRect(const Rect& r, const Brush& brush);
    // Outline in the selected pen on the outermost pixels, inside in the selected brush.
    void rectangle(const Rect& r);
    // Ellipse inscribed in r, outlined with the selected pen, filled with the selected brush.
    // The outline is a closed barrier for a 4-connected fill.
    void ellipse(const Rect& r);
    void moveTo(int x, int y) { current_ = {x, y}; }
    // Line in the selected pen from the current point up to, not including, (x, y), which
    // becomes the current point. A 1-pixel line is 8-connected.
    void lineTo(int x, int y);
    Point currentPoint() const { return current_; }

    // Text in the selected font and text colour, clipped to r.
    void drawText(std::string_view text, const Rect& r, TextForm form);
    // The same, for a text the player must read: where r cannot hold the text in the selected
    // font, it is drawn in the largest font of the same face, with a smaller cell height,
    // that r holds. A text that r holds is drawn exactly as drawText draws it.
    void drawTextFitted(std::string_view text, const Rect& r, TextForm form);
    // The font drawTextFitted draws with: the selected font where r holds the text, else the
    // largest smaller one of its face that r holds, else the smallest the face has.
    Font fittingFont(std::string_view text, const Rect& r, TextForm form) const;
    // Whether r holds text drawn in font: every pixel it inks lies inside r, and word-wrapped,
    // every line of it starts above r's bottom.
    static bool textFits(const Font& font, std::string_view text, const Rect& r, TextForm form);

    // Fills with the selected brush every pixel 4-connected to (x, y) whose colour is not
    // border. Returns false (and paints nothing) when the seed is outside or is the border.
    bool floodFill(int x, int y, Colour border);
    // The exact colour at (x, y); kInvalidColour (not white) outside the canvas.
    Colour getPixel(int x, int y) const { return canvas_->pixel(x, y); }
    // The colour this 24-bit canvas shows for a requested one: the colour itself.
    Colour getNearestColour(Colour c) const { return c; }
    // Copies picture pixel for pixel, unscaled, with its top-left corner at (x, y).
    void blit(int x, int y, const Canvas& picture);

  private:
    void drawTextIn(const Font& font, std::string_view text, const Rect& r, TextForm form);

    Canvas* canvas_;
    Pen pen_{kBlack, 1};
    Brush brush_{kWhite, true};
    Font font_;
    Colour textColour_ = kBlack;
    Point current_{0, 0};
    // Which pixels the fill under way has painted, a bit each, for the whole canvas: the
    // brush's colour may already lie in the region, so a pixel's colour cannot tell. Made at
    // the context's first fill and clear between fills (each clears the rows it marked), so
    // that a paint that fills many pieces does not clear a canvas's worth of bits for each.
    std::vector<std::uint64_t> filled_;
    std::vector<DrawnText>* textLog_ = nullptr;
};

} // namespace tess
