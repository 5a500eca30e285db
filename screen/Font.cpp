#include "screen/Font.h"

namespace tess {

struct FontImpl {};

Font Font::create(std::string_view, int) { return {}; }

int Font::cellHeight() const { return 0; }

int Font::ascent() const { return 0; }

Size Font::extent(std::string_view) const { return {}; }

void Font::draw(Canvas&, std::string_view, int, int, Colour, const Rect&) const {}

std::string Font::matchedFamily(std::string_view) { return {}; }

} // namespace tess
