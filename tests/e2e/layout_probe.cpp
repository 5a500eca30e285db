// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Prints, as JSON, the layout the game computes for a client area of the given size, so that
// the end-to-end tests click exactly where the game's own formulas put things.
// It also writes the game's sounds as WAVE files, so that the tests can name every sound that
// reached the sound device.
// Usage: layout_probe WIDTH HEIGHT [RATIO] | layout_probe --sounds DIR
// RATIO is the screen's pixel ratio (1 when left out), which sizes the shape pictures.
#include "game/CMekkView.h"
#include "sound/SoundBank.h"
#include "support/FakePlatform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string rect(const tess::Rect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

std::string point(const tess::Point& p) {
    return "[" + std::to_string(p.x) + "," + std::to_string(p.y) + "]";
}

template <typename T, typename F> std::string list(const T* items, int from, int to, F f) {
    std::string out = "[";
    for (int i = from; i <= to; ++i)
        out += (i > from ? "," : "") + f(items[i]);
    return out + "]";
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--sounds") == 0) {
        for (int resource = tess::kFirstSound; resource <= tess::kLastSound; ++resource) {
            const std::vector<std::uint8_t>* image = tess::findSound(resource);
            if (!image) continue;
            std::ofstream out(std::string(argv[2]) + "/" + std::to_string(resource) + ".wav",
                              std::ios::binary);
            out.write(reinterpret_cast<const char*>(image->data()),
                      static_cast<std::streamsize>(image->size()));
        }
        return 0;
    }
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: layout_probe WIDTH HEIGHT [RATIO] | layout_probe --sounds DIR\n");
        return 2;
    }
    const double ratio = argc == 4 ? std::atof(argv[3]) : 1.0;
    tess::fake::FakePlatform platform({std::atoi(argv[1]), std::atoi(argv[2])}, ratio);
    tess::CMekkView view(platform);
    view.paint();
    const tess::Layout& l = view.layout;
    std::string out = "{";
    out += "\"client\":" + rect(l.clientRect) + ",\"unit\":" + std::to_string(l.unit);
    out += ",\"pictureSize\":[" + std::to_string(l.pictureSize.cx) + "," +
           std::to_string(l.pictureSize.cy) + "]";
    out += ",\"shapes\":{";
    const int counts[] = {4, 6, 8, 10};
    for (int k = 0; k < 4; ++k) {
        int n = counts[k];
        out += std::string(k ? "," : "") + "\"" + std::to_string(n) + "\":{";
        out += "\"circles\":" + list(l.vertexCircle[n], 1, n, rect);
        out += ",\"centres\":" + list(l.vertexCentre[n], 1, n, point);
        out += ",\"frame\":" + rect(l.frameRect[n]) + ",\"swatch\":" + rect(l.swatchRect[n]);
        out += ",\"tuneBox\":" + rect(l.tuneBox[n]) + ",\"message\":" + rect(l.messageRect[n]);
        out += ",\"outside\":" + point(l.outsidePoint[n]) + "}";
    }
    out += "},\"shapeButtons\":" + list(l.shapeButton, 0, 3, rect);
    out += ",\"tuneButtons\":" + list(l.tuneButton, 0, 19, rect);
    out += ",\"tunePanelOutline\":" + rect(l.tunePanelOutline);
    out += ",\"scoreRect\":" + rect(l.scoreRect) + ",\"historyRect\":" + rect(l.historyRect);
    out += "}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}
