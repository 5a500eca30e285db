// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The fuzzer's seed games, written as the bytes its storm decodes: a perfect Square, an
// aborted Hexagon and a full Decagon coloured to the end, each on the fuzzer's 240 x 180
// screen. Each event is encoded for the view as it stands, and played on a storm alongside,
// so that the next event can be aimed at what the game shows then.
#pragma once
#include "game/Solver.h"
#include "support/EventStorm.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tess::seeds {

// The fuzzer's first byte picks its screen and seeds the game's random draws: 2 is 240 x 180.
constexpr std::uint8_t kScreenByte = 2;
constexpr Size kClient{240, 180};

class Encoder {
  public:
    Encoder() : storm_(kClient, kScreenByte) { bytes_.push_back(kScreenByte); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    CMekkView& view() { return storm_.view(); }

    // A click at exactly (x, y), which must lie on the canvas.
    void click(int x, int y) {
        const int wx = x + 2, wy = y + 2;
        put({22, 0, 2, 2, std::uint8_t(wx & 255), std::uint8_t(wx >> 8), std::uint8_t(wy & 255),
             std::uint8_t(wy >> 8)},
            Event::click(x, y));
    }
    // End, Enter or Home.
    void key(int code) {
        const std::uint8_t index = code == vk::Return ? 0 : code == vk::Home ? 1 : 2;
        put({26, index}, Event::key(code));
    }
    // A vertex clicked at its centre while lines are drawn.
    void vertex(int v) {
        const int jitter = std::max(1, view().layout.unit / 2);
        const Point c = view().layout.vertexCentre[view().vertexCount][v];
        put({std::uint8_t(v - 1), std::uint8_t(jitter | jitter << 4)}, Event::click(c.x, c.y));
    }
    // A shape's picture clicked in the middle of what the window shows of it.
    void shape(int vertexCount) {
        const Rect& b = view().layout.shapeButton[(vertexCount - 4) / 2];
        const Rect& client = view().layout.clientRect;
        const int left = std::max(b.left, client.left), right = std::min(b.right, client.right);
        const int top = std::max(b.top, client.top), bottom = std::min(b.bottom, client.bottom);
        click((left + right) / 2, (top + bottom) / 2);
    }
    // Every closed piece clicked, each in the fewest bytes the storm's piece clicks allow.
    void colourEveryPiece() {
        while (view().gamePhase == kColouring) {
            const std::vector<Point> left = view().uncolouredPieces();
            if (left.empty()) return;
            if (!aimAtPiece(view().openSpace())) click(left.front().x, left.front().y);
        }
    }

  private:
    void put(std::vector<std::uint8_t> encoded, const Event& expected) {
        storm::ByteSource in(encoded.data(), encoded.size());
        const Event decoded = storm::nextEvent(in, view());
        if (!(decoded == expected))
            throw std::logic_error("encoded " + toText(expected) + ", decoded " + toText(decoded));
        bytes_.insert(bytes_.end(), encoded.begin(), encoded.end());
        storm_.step(decoded);
    }

    // Whether a click lands in a closed piece not coloured yet, on the page with its open
    // space marked.
    static bool inPiece(const Canvas& marked, const Event& e) {
        return marked.pixel(e.x, e.y) == kWhite;
    }

    // A piece click of three bytes that lands in a piece not coloured yet, if there is one.
    bool aimAtPiece(const Canvas& marked) {
        for (int k = 0; k < view().vertexCount; ++k)
            for (int s = 0; s < 256; s += 4)
                for (int t = 0; s + t < 256; t += 4) {
                    std::vector<std::uint8_t> encoded{std::uint8_t(k), std::uint8_t(s),
                                                      std::uint8_t(t)};
                    storm::ByteSource in(encoded.data(), encoded.size());
                    const Event e = storm::nextEvent(in, view());
                    if (e.kind != Event::Kind::Click || !inPiece(marked, e)) continue;
                    put(encoded, e);
                    return true;
                }
        return false;
    }

    storm::Storm storm_;
    std::vector<std::uint8_t> bytes_;
};

// The shape's most lines from the start vertex the game draws, every piece that shows at this
// size, End.
inline std::vector<std::uint8_t> perfectGame(int shape) {
    Encoder e;
    e.shape(shape);
    const std::vector<int> path = findPerfectPath(shape, e.view().path[1]).vertices;
    for (std::size_t k = 1; k < path.size(); ++k)
        e.vertex(path[k]);
    e.key(vk::End);
    e.colourEveryPiece();
    e.key(vk::End);
    return e.bytes();
}

// A perfect Square.
inline std::vector<std::uint8_t> perfectSquare() {
    return perfectGame(4);
}

// Three lines of the Hexagon, End, a fill in the open space that ends the game; Enter, a game
// ended at once with End and End, Home.
inline std::vector<std::uint8_t> abortedHexagon() {
    Encoder e;
    e.shape(6);
    const int start = e.view().path[1];
    for (int step = 1; step <= 3; ++step)
        e.vertex((start + 2 * step - 1) % 6 + 1);
    e.key(vk::End);
    const Point probe = e.view().layout.outsidePoint[6];
    e.click(probe.x, probe.y);
    e.key(vk::Return);
    e.key(vk::End);
    e.key(vk::End);
    e.key(vk::Home);
    return e.bytes();
}

// A Decagon of the most lines coloured to the end.
inline std::vector<std::uint8_t> fullDecagon() {
    return perfectGame(10);
}

} // namespace tess::seeds
