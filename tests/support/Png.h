// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Canvases to and from PNG files, through libpng's simplified interface: the golden pages the
// tests compare the game's pictures with, and the pictures they write beside them.
#pragma once
#include "screen/canvas/Canvas.h"

#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tess::test {

// Writes the canvas as an 8-bit RGB PNG. False, with libpng's reason in *why, when it cannot.
inline bool writePng(const Canvas& canvas, const std::string& path, std::string* why = nullptr) {
    std::vector<std::uint8_t> rgb(std::size_t(canvas.width()) * std::size_t(canvas.height()) * 3);
    std::size_t i = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const Colour c = canvas.pixel(x, y);
            rgb[i++] = std::uint8_t(c.red());
            rgb[i++] = std::uint8_t(c.green());
            rgb[i++] = std::uint8_t(c.blue());
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(canvas.width());
    image.height = png_uint_32(canvas.height());
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) return true;
    if (why) *why = path + ": " + image.message;
    png_image_free(&image);
    return false;
}

// Reads a PNG file of any kind as an opaque picture (any transparency composed over black).
// Nothing, with libpng's reason in *why, when the file is missing or is no PNG.
inline std::optional<Canvas> readPng(const std::string& path, std::string* why = nullptr) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        if (why) *why = path + ": " + image.message;
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        if (why) *why = path + ": " + image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    Canvas canvas(int(image.width), int(image.height));
    std::size_t i = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x, i += 3)
            canvas.setPixel(x, y, Colour(rgb[i], rgb[i + 1], rgb[i + 2]));
    return canvas;
}

} // namespace tess::test
