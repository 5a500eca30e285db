// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Monochrome text through FreeType, faces matched by fontconfig.
#pragma once
#include "screen/canvas/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tess {

class Canvas;
struct FontImpl;

// A font of a face ("Arial" or "Arial Bold") at a cell height in pixels (ascender plus
// descender). Copies share the same rendered glyphs. An empty Font draws nothing and
// measures (0, 0).
class Font {
  public:
    Font() = default;
    // Makes the font of the given face and cell height. Faces and rendered glyphs are cached,
    // so re-creating the same font at every paint costs nothing after the first time. The
    // cell is exactly the height asked for wherever the face has a size for it.
    static Font create(std::string_view face, int cellHeight);

    bool empty() const { return !impl_; }
    // The same face at the same cell height is the same font.
    friend bool operator==(const Font& a, const Font& b) { return a.impl_ == b.impl_; }
    int cellHeight() const;
    int ascent() const;
    // The size the face is drawn at, in pixels (a whole number where that gives the cell, else
    // a fraction): the cell height is the face's Windows ascent and descent at this size,
    // each rounded to whole pixels.
    double pixelSize() const;
    // The same face at another cell height.
    Font withCellHeight(int cellHeight) const;
    // The pixels one line of text inks, relative to its cell's top-left corner: the bounding
    // box of what draw() sets. An empty rectangle (all zero) when nothing is inked.
    Rect inkBox(std::string_view text) const;
    // Width and height in pixels of one line of text (height = cell height).
    Size extent(std::string_view text) const;
    // Draws one line of text with its cell's top-left corner at (x, y), in one exact colour,
    // clipped to clip. Pixels are either the colour or left untouched: no anti-aliasing.
    void draw(Canvas& canvas, std::string_view text, int x, int y, Colour colour,
              const Rect& clip) const;

    // The family fontconfig matched for a face, for the one-time warning and for tests.
    static std::string matchedFamily(std::string_view face);

  private:
    std::shared_ptr<const FontImpl> impl_;
};

} // namespace tess
