#include "screen/Canvas.h"

namespace tess {

Canvas::Canvas(int w, int h) : width_(w), height_(h), pixels_(std::size_t(w) * std::size_t(h), kWhite.argb) {}

Colour Canvas::pixel(int x, int y) const { return contains(x, y) ? Colour(row(y)[x]) : kInvalidColour; }

void Canvas::setPixel(int x, int y, Colour c) { if (contains(x, y)) row(y)[x] = c.argb; }

void Canvas::clear(Colour c) { for (auto& p : pixels_) p = c.argb; }

void DrawingContext::fillRect(const Rect&, const Brush&) {}

void DrawingContext::rectangle(const Rect&) {}

void DrawingContext::ellipse(const Rect&) {}

void DrawingContext::lineTo(int x, int y) { current_ = {x, y}; }

void DrawingContext::drawText(std::string_view, const Rect&, TextForm) {}

Size DrawingContext::textExtent(std::string_view) const { return {}; }

bool DrawingContext::floodFill(int, int, Colour) { return false; }

void DrawingContext::blit(int, int, const Canvas&) {}

} // namespace tess
