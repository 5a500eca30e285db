// Streams of player events for storms and fuzzing: clicks anywhere and just on and beside the
// edges of every hit rectangle, keys, and Sound commands, decoded from bytes. After every event
// the game state must keep its invariants, and a fresh paint must give exactly the picture the
// handlers drew.
#pragma once
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "input/KeyCodes.h"
#include "support/FakePlatform.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tess::storm {

// Reads bytes one at a time; past the end it yields zeros.
class ByteSource {
  public:
    ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return pos_ >= size_; }
    int byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int word() { return byte() | (byte() << 8); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// What went wrong after which event; empty when all is well.
struct Verdict {
    std::string failure;
    long events = 0;
};

class Storm {
  public:
    Storm(Size client, std::uint32_t seed, double pixelRatio = 1.0)
        : platform_(client, pixelRatio) {
        view_ = std::make_unique<CMekkView>(platform_);
        view_->randomState = seed;
        view_->paint();
    }

    CMekkView& view() { return *view_; }

    // Plays the events that the bytes describe, checking after each one.
    Verdict play(ByteSource& in, long maxEvents) {
        Verdict v;
        while (!in.done() && v.events < maxEvents) {
            std::string what = step(in);
            ++v.events;
            std::string broken = check();
            if (!broken.empty()) {
                v.failure =
                    "after event " + std::to_string(v.events) + " (" + what + "): " + broken;
                break;
            }
        }
        return v;
    }

    // One event; returns a description of it.
    std::string step(ByteSource& in) {
        CMekkView& v = *view_;
        int kind = in.byte() % 16;
        if (kind < 10) {
            Point p = clickPoint(in);
            bool tuneClick = v.currentPage == kHomePage && p.x > v.layout.tunePanelOutline.left &&
                             p.x < v.layout.tunePanelOutline.right &&
                             p.y > v.layout.tuneButton[0].top &&
                             p.y < v.layout.tunePanelOutline.bottom;
            int pageBefore = v.currentPage;
            v.OnLButtonDown(p.x, p.y);
            if (tuneClick) homeHighlightStale_ = true;
            if (v.currentPage != pageBefore) homeHighlightStale_ = false;
            return "click " + std::to_string(p.x) + "," + std::to_string(p.y);
        }
        if (kind < 15) {
            static const int keys[] = {vk::Return, vk::Home, vk::End, vk::End, vk::F1, 'Q',
                                       'E',        'M',      '0',     27,      255,    vk::Return};
            int key = keys[in.byte() % 12];
            int pageBefore = v.currentPage;
            v.OnKeyDown(key);
            if (v.currentPage != pageBefore) homeHighlightStale_ = false;
            return "key " + std::to_string(key);
        }
        static const int commands[] = {kCmdSoundOn, kCmdSoundOff, kCmdNotesToEnd,
                                       kCmdCutNotesShort};
        int command = commands[in.byte() % 4];
        if (v.isCommandEnabled(command)) v.OnCommand(command);
        return "command " + std::to_string(command);
    }

    // Every invariant of the game state, and a fresh paint equal to the handlers' picture.
    std::string check() {
        CMekkView& v = *view_;
        if (v.currentPage != kHomePage && v.currentPage != kGamePage) return "page";
        if (v.gamePhase < 0 || v.gamePhase > 2) return "phase";
        if (v.currentPage == kHomePage && v.gamePhase != kDrawing) return "phase on home page";
        int n = v.vertexCount;
        if (n != 4 && n != 6 && n != 8 && n != 10) return "vertex count";
        if (v.pathLength < 1 || v.pathLength > 42 || v.pathLength - 1 > maxLines(n))
            return "path length " + std::to_string(v.pathLength);
        std::set<std::pair<int, int>> lines;
        // The path is a walk over the shape's vertices on the game page; the home page keeps
        // only the stale path of the last game (or none at all).
        for (int k = 1; v.currentPage == kGamePage && k <= v.pathLength; ++k) {
            if (v.path[k] < 1 || v.path[k] > n) return "vertex on path";
            if (k > 1) {
                int a = v.path[k - 1], b = v.path[k];
                if (a == b) return "a line from a vertex to itself";
                if (!lines.insert({a < b ? a : b, a < b ? b : a}).second) return "line twice";
            }
        }
        if (v.colourIndex < 0 || v.colourIndex > 80) return "colour index";
        if (v.gamePhase > 0) {
            if (v.pieceCount < 0 || v.pieceCount > kMaxPieces) return "piece count";
            for (int k = 1; k <= v.pieceCount; ++k)
                if (v.pieceColour[k] < 0 || v.pieceColour[k] > 80) return "piece colour";
        }
        int capacity = v.layout.historyCapacity;
        if (capacity < 0 || capacity > kMaxHistoryCapacity) return "history capacity";
        for (int s = 0; s < 4; ++s)
            if (v.historyCount[s] < 0 || v.historyCount[s] > capacity) return "history count";
        if (v.currentPage == kHomePage && homeHighlightStale_) return {};
        const Canvas* screen = v.screen();
        if (!screen) return "no canvas";
        Canvas fresh(screen->width(), screen->height());
        DrawingContext dc(fresh);
        v.OnDraw(dc);
        if (!(fresh == *screen)) return "a fresh paint differs from the handlers' picture";
        return {};
    }

  private:
    // A point anywhere, or on or beside an edge of one of the rectangles the game tests.
    Point clickPoint(ByteSource& in) {
        const Layout& l = view_->layout;
        int n = view_->vertexCount;
        int choice = in.byte();
        int dx = in.byte() % 5 - 2, dy = in.byte() % 5 - 2;
        if (choice < 40) {
            int w = l.clientRect.right > 0 ? l.clientRect.right : 1;
            int h = l.clientRect.bottom > 0 ? l.clientRect.bottom : 1;
            return {in.word() % (w + 4) - 2, in.word() % (h + 4) - 2};
        }
        Rect r;
        if (choice < 110) {
            r = l.vertexCircle[n][1 + choice % n];
        } else if (choice < 150) {
            r = l.frameRect[n];
        } else if (choice < 165) {
            r = l.tuneBox[n];
        } else if (choice < 190) {
            r = l.shapeButton[choice % 4];
        } else if (choice < 235) {
            r = l.tuneButton[choice % 20];
        } else if (choice < 245) {
            r = l.tunePanelOutline;
        } else {
            Point o = l.outsidePoint[n];
            return {o.x + dx, o.y + dy};
        }
        // Inside, near a corner, or on or beside one of the four edges.
        switch (in.byte() % 6) {
        case 0:
            return {(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2 + dy};
        case 1:
            return {r.left + dx, (r.top + r.bottom) / 2};
        case 2:
            return {r.right + dx, (r.top + r.bottom) / 2};
        case 3:
            return {(r.left + r.right) / 2, r.top + dy};
        case 4:
            return {(r.left + r.right) / 2, r.bottom + dy};
        default:
            return {r.left + 2 + dx, r.top + 2 + dy};
        }
    }

    fake::FakePlatform platform_;
    std::unique_ptr<CMekkView> view_;
    bool homeHighlightStale_ = false;
};

} // namespace tess::storm
