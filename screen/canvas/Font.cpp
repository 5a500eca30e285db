// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Monochrome text: faces matched by fontconfig, glyphs rendered by FreeType as one-bit
// bitmaps the first time a text needs them and kept as runs of set pixels, drawn in one exact
// colour.
//
// Glyphs are shaped by FreeType's auto-hinter for monochrome output, not by the face's own
// instructions: those leave one-pixel notches in round glyphs (the digit 0 of the history's
// totals and of the tune panel's "10" and "20" at about 12 pixels), and the auto-hinter draws
// clean outlines at every size. It also honours fractional sizes, which exact cell heights
// need.
#include "screen/canvas/Font.h"

#include "screen/canvas/Canvas.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace tess {

namespace {

// A row run of set pixels of a glyph, relative to the pen position on the baseline.
struct Run {
    int dy; // row below the baseline (negative: above)
    int x0; // first column
    int x1; // one past the last column
};

struct Glyph {
    int advance = 0;
    std::vector<Run> runs;
    // Bounding box of the runs, relative to the pen position on the baseline; empty (all zero)
    // for a glyph without ink.
    Rect ink;
};

// What fontconfig matched for a face name.
struct Match {
    std::string file;
    int index = 0;
    std::string family;
};

constexpr char kFirstGlyph = ' ';
constexpr char kLastGlyph = '~';
constexpr int kMaxCellHeight = 4096;

void renderGlyph(FT_Face face, char ch, Glyph& g);

} // namespace

struct FontImpl {
    static constexpr std::size_t kGlyphs = kLastGlyph - kFirstGlyph + 1;

    std::string face;
    int cellHeight = 0;
    int ascent = 0;
    double pixelSize = 0;
    // The face at this font's size: a size of its own, so that fonts of one face never
    // change each other's. Owned by the face, which the font cache frees last.
    FT_Size size = nullptr;
    // A glyph is rendered the first time a text asks for it: a page uses a handful of each
    // font's glyphs.
    mutable std::array<std::optional<Glyph>, kGlyphs> glyphs;

    const Glyph* glyph(char ch) const {
        if (ch < kFirstGlyph || ch > kLastGlyph) return nullptr;
        std::optional<Glyph>& g = glyphs[std::size_t(ch - kFirstGlyph)];
        if (!g) {
            g.emplace();
            if (size && FT_Activate_Size(size) == 0) renderGlyph(size->face, ch, *g);
        }
        return &*g;
    }
};

namespace {

// Splits "Arial Bold" into the family "Arial" and a bold weight.
std::pair<std::string, bool> splitFace(std::string_view face) {
    constexpr std::string_view bold = " Bold";
    if (face.size() > bold.size() && face.substr(face.size() - bold.size()) == bold)
        return {std::string(face.substr(0, face.size() - bold.size())), true};
    return {std::string(face), false};
}

bool matchFamily(const std::string& family, bool bold, Match& out) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found) return false;
    FcChar8* file = nullptr;
    FcChar8* fam = nullptr;
    bool ok = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        out.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found, FC_INDEX, 0, &out.index); // stays 0 where none is named
        if (FcPatternGetString(found, FC_FAMILY, 0, &fam) == FcResultMatch && fam)
            out.family = reinterpret_cast<const char*>(fam);
    }
    FcPatternDestroy(found);
    return ok;
}

// Everything cached for the run of the program: the library, the matches and the fonts
// made so far. Destroyed at exit, which frees every face and glyph, then the library.
struct Cache {
    FT_Library library = nullptr;
    std::map<std::string, Match, std::less<>> matches;
    std::map<std::pair<std::string, int>, std::shared_ptr<const FontImpl>> fonts;
    // Each font file is opened and read once, and every size is rendered from it.
    std::map<std::pair<std::string, int>, FT_Face> faces;
    bool warned = false;

    Cache() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    Cache(const Cache&) = delete;
    Cache& operator=(const Cache&) = delete;
    // Fontconfig keeps what its first match loaded until it is finished with; Qt has released
    // its own configuration by now, and finishing twice is harmless.
    ~Cache() {
        fonts.clear();
        for (auto& [file, face] : faces)
            if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
        FcFini();
    }

    // The face of a match, opened the first time; nullptr where it cannot be.
    FT_Face face(const Match& m) {
        const auto key = std::make_pair(m.file, m.index);
        auto it = faces.find(key);
        if (it == faces.end()) {
            FT_Face opened = nullptr;
            if (!library || m.file.empty() ||
                FT_New_Face(library, m.file.c_str(), m.index, &opened) != 0)
                opened = nullptr;
            it = faces.emplace(key, opened).first;
        }
        return it->second;
    }

    const Match& match(std::string_view face) {
        auto it = matches.find(face);
        if (it != matches.end()) return it->second;
        Match m;
        const auto [family, bold] = splitFace(face);
        if (!matchFamily(family, bold, m)) matchFamily("sans-serif", bold, m);
        // "Arial" is drawn with its metric twin, Liberation Sans; anything else is a
        // fallback the player should hear about once.
        const bool expected = m.family == "Liberation Sans" || m.family == family;
        if (!expected && !warned) {
            warned = true;
            if (m.family.empty())
                std::fprintf(stderr,
                             "tessarin: font \"%s\" not found, and no other font "
                             "either: texts are not drawn\n",
                             std::string(face).c_str());
            else
                std::fprintf(stderr, "tessarin: font \"%s\" not found, using \"%s\" instead\n",
                             std::string(face).c_str(), m.family.c_str());
        }
        return matches.emplace(std::string(face), std::move(m)).first->second;
    }
};

Cache& cache() {
    static Cache c;
    return c;
}

// value * scale / unit, rounded to the nearest whole number, halves away from zero.
int roundedUnits(long value, long scale, long unit) {
    return int(std::lround(double(value) * double(scale) / double(unit)));
}

// Renders one glyph of a face, at the face's active size, as runs.
void renderGlyph(FT_Face face, char ch, Glyph& g) {
    if (FT_Load_Char(face, FT_ULong(ch),
                     FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT) != 0)
        return;
    // Loading renders the glyph as a one-bit bitmap; a face whose own bitmap for it is of
    // another depth gives the glyph its advance and no ink.
    FT_GlyphSlot slot = face->glyph;
    g.advance = int((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO) return;
    for (unsigned row = 0; row < bm.rows; ++row) {
        const unsigned char* bits = bm.buffer + std::ptrdiff_t(row) * bm.pitch;
        const int dy = int(row) - slot->bitmap_top;
        int start = -1;
        for (unsigned col = 0; col <= bm.width; ++col) {
            const bool on = col < bm.width && ((bits[col >> 3] >> (7 - (col & 7))) & 1);
            if (on && start < 0) start = int(col);
            if (!on && start >= 0) {
                g.runs.push_back({dy, slot->bitmap_left + start, slot->bitmap_left + int(col)});
                start = -1;
            }
        }
    }
    for (const Run& r : g.runs)
        g.ink = united(g.ink, Rect{r.x0, r.dy, r.x1, r.dy + 1});
    // The auto-hinter widens some stems (the digits 0 and 4 at small sizes, the bold 4 and
    // a at many) past the glyph's advance: the advance is widened to hold them, so that a
    // glyph never runs into the next one, nor a right-aligned number past its rectangle.
    g.advance = std::max(g.advance, g.ink.right);
}

// Sizes are FreeType scales: 16.16 multipliers from font units to 64ths of a pixel, so a
// pixel size p of a face of e units to the em is the scale p * 2^22 / e.
constexpr long kScaleUnit = 1L << 22;

long scaleOfPixels(long pixels, long upem) {
    return (pixels * kScaleUnit + upem / 2) / upem;
}

// The cell height at a scale: the Windows ascent and descent, each rounded to whole pixels.
int cellAt(long up, long down, long scale) {
    return roundedUnits(up, scale, kScaleUnit) + roundedUnits(down, scale, kScaleUnit);
}

// The scale of a font of the given cell height: the largest whole pixel size whose cell does
// not pass the height, and where that cell falls short, the smallest scale above it whose
// cell is exactly the height. Ascent and descent grow by far less than a pixel per step of
// the scale, so that scale exists unless both round up at the same step. 0 when even one
// pixel is too tall.
long scaleForCell(long up, long down, long upem, int cellHeight) {
    const long sum = std::max(up + down, 1L);
    long size = std::min<long>(cellHeight, long(cellHeight) * upem / sum + 2);
    while (size > 1 && cellAt(up, down, scaleOfPixels(size, upem)) > cellHeight)
        --size;
    const long whole = scaleOfPixels(size, upem);
    if (cellAt(up, down, whole) >= cellHeight)
        return cellAt(up, down, whole) == cellHeight ? whole : 0;
    for (long scale = whole + 1; scale < scaleOfPixels(size + 1, upem); ++scale) {
        const int cell = cellAt(up, down, scale);
        if (cell == cellHeight) return scale;
        if (cell > cellHeight) break;
    }
    return whole;
}

std::shared_ptr<const FontImpl> makeFont(FT_Face face, std::string_view faceName, int cellHeight) {
    if (!face) return nullptr;
    const long upem = face->units_per_EM ? face->units_per_EM : 2048;
    long up = face->ascender;
    long down = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        up = os2->usWinAscent;
        down = os2->usWinDescent;
    }
    const long scale = scaleForCell(up, down, upem, cellHeight);
    if (scale == 0) return nullptr; // even one pixel is too tall: nothing to draw
    auto impl = std::make_shared<FontImpl>();
    impl->face = std::string(faceName);
    impl->pixelSize = double(scale) * double(upem) / double(kScaleUnit);
    impl->ascent = roundedUnits(up, scale, kScaleUnit);
    impl->cellHeight = cellAt(up, down, scale);
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_SCALES;
    request.width = FT_Long(scale);
    request.height = FT_Long(scale);
    // A font whose size cannot be made draws nothing: its glyphs are made empty.
    if (FT_New_Size(face, &impl->size) != 0 || FT_Activate_Size(impl->size) != 0 ||
        FT_Request_Size(face, &request) != 0)
        impl->size = nullptr;
    return impl;
}

} // namespace

Font Font::create(std::string_view face, int cellHeight) {
    Font font;
    if (cellHeight <= 0) return font;
    // Glyphs are rendered whole: a cell taller than any screen is drawn at the tallest one.
    cellHeight = std::min(cellHeight, kMaxCellHeight);
    Cache& c = cache();
    auto key = std::make_pair(std::string(face), cellHeight);
    auto it = c.fonts.find(key);
    if (it == c.fonts.end())
        it = c.fonts.emplace(std::move(key), makeFont(c.face(c.match(face)), face, cellHeight))
                 .first;
    font.impl_ = it->second;
    return font;
}

int Font::cellHeight() const {
    return impl_ ? impl_->cellHeight : 0;
}

int Font::ascent() const {
    return impl_ ? impl_->ascent : 0;
}

double Font::pixelSize() const {
    return impl_ ? impl_->pixelSize : 0.0;
}

Font Font::withCellHeight(int cellHeight) const {
    if (!impl_) return {};
    return create(impl_->face, cellHeight);
}

Rect Font::inkBox(std::string_view text) const {
    Rect box;
    if (!impl_) return box;
    long penX = 0;
    for (char ch : text) {
        const Glyph* g = impl_->glyph(ch);
        if (!g) continue;
        box = united(box, Rect{int(penX + g->ink.left), impl_->ascent + g->ink.top,
                               int(penX + g->ink.right), impl_->ascent + g->ink.bottom});
        penX += g->advance;
    }
    return box;
}

Size Font::extent(std::string_view text) const {
    if (!impl_) return {};
    int width = 0;
    for (char ch : text)
        if (const Glyph* g = impl_->glyph(ch)) width += g->advance;
    return {width, impl_->cellHeight};
}

void Font::draw(Canvas& canvas, std::string_view text, int x, int y, Colour colour,
                const Rect& clip) const {
    if (!impl_) return;
    const Rect box = intersection(clip, Rect{0, 0, canvas.width(), canvas.height()});
    if (box.empty()) return;
    const long baseline = long(y) + impl_->ascent;
    long penX = x;
    for (char ch : text) {
        const Glyph* g = impl_->glyph(ch);
        if (!g) continue;
        if (penX >= box.right) break;
        for (const Run& run : g->runs) {
            const long py = baseline + run.dy;
            if (py < box.top || py >= box.bottom) continue;
            const long a = std::max<long>(penX + run.x0, box.left);
            const long b = std::min<long>(penX + run.x1, box.right);
            if (a < b) std::fill(canvas.row(int(py)) + a, canvas.row(int(py)) + b, colour.argb);
        }
        penX += g->advance;
    }
}

std::string Font::matchedFamily(std::string_view face) {
    return cache().match(face).family;
}

} // namespace tess
