// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Storms of player events for the long random tests and the fuzzer: events decoded from bytes
// and aimed by what the view shows (clicks anywhere, on and beside the edges of every hit
// rectangle, on the white pixels of the board while pieces are coloured; keys; Sound
// commands). After every event the game keeps its state's invariants; after every k events,
// and after the last, a fresh paint changes none of its state and gives exactly the picture
// the handlers drew. A failure tells the events played, as text for a test to replay.
#pragma once
#include "game/CMekkView.h"
#include "input/Events.h"
#include "input/KeyCodes.h"
#include "support/FakePlatform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace tess::storm {

// Reads bytes one at a time; past the end it yields zeros.
class ByteSource {
  public:
    ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return pos_ >= size_; }
    int byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // Two bytes, the low one first.
    int word() {
        const int low = byte();
        return low | byte() << 8;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A click on a vertex, a little off its centre: what a player draws lines with. The vertex is
// told by the event's first byte, the offsets by one byte more.
inline Event vertexClick(int kind, ByteSource& in, const CMekkView& v) {
    const Layout& l = v.layout;
    const int n = v.vertexCount;
    const Point c = l.vertexCentre[n][1 + kind % n];
    const int jitter = std::max(1, l.unit / 2);
    const int offsets = in.byte();
    return Event::click(c.x + (offsets & 15) % (2 * jitter + 1) - jitter,
                        c.y + (offsets >> 4) % (2 * jitter + 1) - jitter);
}

// A click on the shape: a point in a triangle between its centre and two neighbouring
// vertices (told by the event's first byte and two bytes more), moved along its row to the
// first white pixel. While pieces are coloured, this is mostly a piece not coloured yet.
inline Event pieceClick(int kind, ByteSource& in, const CMekkView& v) {
    const Layout& l = v.layout;
    const int n = v.vertexCount;
    const Point* centre = l.vertexCentre[n];
    Point c{0, 0};
    for (int k = 1; k <= n; ++k)
        c = {c.x + centre[k].x, c.y + centre[k].y};
    c = {c.x / n, c.y / n};
    const int k = 1 + kind % n;
    const Point a = centre[k], b = centre[k % n + 1];
    int s = in.byte(), t = in.byte();
    if (s + t > 255) s = 255 - s, t = 255 - t;
    const int x0 = c.x + ((a.x - c.x) * s + (b.x - c.x) * t) / 256;
    const int y0 = c.y + ((a.y - c.y) * s + (b.y - c.y) * t) / 256;
    for (int x = x0; x < x0 + 64; ++x)
        if (v.screen()->pixel(x, y0) == kWhite) return Event::click(x, y0);
    return Event::click(x0, y0);
}

// The next event the bytes describe, for the view as it stands. While a game is played, most
// events are what a player does then: vertex clicks while lines are drawn, piece clicks while
// pieces are coloured; the rest are anything at all.
inline Event nextEvent(ByteSource& in, const CMekkView& v) {
    const Layout& l = v.layout;
    const int n = v.vertexCount;
    const int kind = in.byte();
    if (v.screen() && v.currentPage == kGamePage && kind % 32 < 22) {
        if (v.gamePhase == kDrawing) return vertexClick(kind, in, v);
        if (v.gamePhase == kColouring) return pieceClick(kind, in, v);
    }
    if (kind % 16 >= 15) {
        static const int commands[] = {kCmdSoundOn, kCmdSoundOff, kCmdNotesToEnd,
                                       kCmdCutNotesShort};
        return Event::command(commands[in.byte() % 4]);
    }
    if (kind % 16 >= 10) {
        static const int keys[] = {vk::Return, vk::Home, vk::End, vk::End, vk::F1, 'Q',
                                   'E',        'M',      '0',     27,      255,    vk::Return};
        return Event::key(keys[in.byte() % 12]);
    }
    const int choice = in.byte();
    const int dx = in.byte() % 5 - 2, dy = in.byte() % 5 - 2;
    const int w = l.clientRect.right > 0 ? l.clientRect.right : 1;
    const int h = l.clientRect.bottom > 0 ? l.clientRect.bottom : 1;
    if (choice < 40) {
        const int x = in.word() % (w + 4) - 2; // read in this order, the x first
        const int y = in.word() % (h + 4) - 2;
        return Event::click(x, y);
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
        const Point o = l.outsidePoint[n];
        return Event::click(o.x + dx, o.y + dy);
    }
    // Inside, near a corner, or on or beside one of the four edges.
    switch (in.byte() % 6) {
    case 0:
        return Event::click((r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2 + dy);
    case 1:
        return Event::click(r.left + dx, (r.top + r.bottom) / 2);
    case 2:
        return Event::click(r.right + dx, (r.top + r.bottom) / 2);
    case 3:
        return Event::click((r.left + r.right) / 2, r.top + dy);
    case 4:
        return Event::click((r.left + r.right) / 2, r.bottom + dy);
    default:
        return Event::click(r.left + 2 + dx, r.top + 2 + dy);
    }
}

// What went wrong after which event, with every event played; an empty failure when all is
// well.
struct Verdict {
    std::string failure;
    long events = 0;
    std::vector<Event> played;
    // What the storm reached: pieces coloured and games scored.
    long pieces = 0;
    long scored = 0;

    // The failure and the events that led to it, for a regression test to replay.
    std::string report() const { return failure + "\nevents:\n" + toText(played); }
};

class Storm {
  public:
    // checkEvery: how often a fresh paint is made and checked (every k events, and always
    // after the last); the state's invariants are checked after every event.
    Storm(Size client, std::uint32_t seed, double pixelRatio = 1.0, int checkEvery = 1)
        : platform_(client, pixelRatio), checkEvery_(checkEvery < 1 ? 1 : checkEvery) {
        view_ = std::make_unique<CMekkView>(platform_);
        view_->randomState = seed;
        view_->paint();
    }

    CMekkView& view() { return *view_; }

    // Plays the events that the bytes describe, checking as it goes.
    Verdict play(ByteSource& in, long maxEvents) {
        Verdict v;
        while (!in.done() && v.events < maxEvents) {
            const Event e = nextEvent(in, *view_);
            const int piecesBefore = view_->pieceCount, phaseBefore = view_->gamePhase;
            step(e);
            v.played.push_back(e);
            ++v.events;
            if (view_->gamePhase == kColouring && view_->pieceCount > piecesBefore) ++v.pieces;
            if (phaseBefore == kColouring && view_->gamePhase == kFinished && !view_->gameAborted)
                ++v.scored;
            const bool last = in.done() || v.events == maxEvents;
            std::string broken = check(last || v.events % checkEvery_ == 0);
            if (!broken.empty()) {
                v.failure =
                    "after event " + std::to_string(v.events) + " (" + toText(e) + "): " + broken;
                break;
            }
        }
        return v;
    }

    // Plays one event as the shell would, and follows what a tune click leaves stale.
    void step(const Event& e) {
        CMekkView& v = *view_;
        const int pageBefore = v.currentPage, tuneBefore = v.tuneIndex;
        const Layout& l = v.layout;
        const bool tuneClick = e.kind == Event::Kind::Click && v.currentPage == kHomePage &&
                               e.x > l.tunePanelOutline.left && e.x < l.tunePanelOutline.right &&
                               e.y > l.tuneButton[0].top && e.y < l.tunePanelOutline.bottom;
        apply(v, e);
        if (v.currentPage != pageBefore) staleTunes_.clear();
        // A click lights its tune in a colour of its own and leaves the old button white,
        // where a full paint lights the tune in another colour: those two buttons may differ
        // until the page is painted again.
        if (tuneClick && v.currentPage == kHomePage) {
            staleTunes_.push_back(tuneBefore);
            staleTunes_.push_back(v.tuneIndex);
        }
    }

    // The state's invariants; when asked for a paint too, a fresh paint that changes no state
    // and gives the handlers' picture outside the tune buttons a click left stale.
    std::string check(bool paintToo) {
        CMekkView& v = *view_;
        std::string broken = v.brokenInvariant();
        if (!broken.empty() || !paintToo) return broken;
        const Canvas* screen = v.screen();
        if (!screen) return "no canvas";
        const RunState run = v;
        const GameState game = v;
        const Layout layout = v.layout;
        // One canvas for the fresh paints of every storm of the process.
        thread_local Canvas fresh;
        if (fresh.width() != screen->width() || fresh.height() != screen->height())
            fresh = Canvas(screen->width(), screen->height());
        fresh.clear(Colour(1, 2, 3)); // whatever the window showed before
        fresh_ = &fresh;
        DrawingContext dc(fresh);
        v.OnDraw(dc);
        if (!(static_cast<const RunState&>(v) == run)) return "a paint changed the run's state";
        if (!(static_cast<const GameState&>(v) == game)) return "a paint changed the game";
        if (!(v.layout == layout)) return "a paint changed the layout";
        return differences(*screen);
    }

  private:
    std::string differences(const Canvas& screen) const {
        const int w = screen.width();
        for (int y = 0; y < screen.height(); ++y) {
            const std::uint32_t* a = screen.row(y);
            const std::uint32_t* b = fresh_->row(y);
            if (std::memcmp(a, b, std::size_t(w) * sizeof *a) == 0) continue;
            for (int x = 0; x < w; ++x) {
                if (a[x] == b[x] || stale(x, y)) continue;
                return "a fresh paint differs from the handlers' picture at " + std::to_string(x) +
                       "," + std::to_string(y);
            }
        }
        return {};
    }

    bool stale(int x, int y) const {
        const CMekkView& v = *view_;
        if (v.currentPage != kHomePage) return false;
        for (int t : staleTunes_) {
            const Rect& r = v.layout.tuneButton[t];
            if (r.left <= x && x < r.right && r.top <= y && y < r.bottom) return true;
        }
        return false;
    }

    fake::FakePlatform platform_;
    std::unique_ptr<CMekkView> view_;
    int checkEvery_;
    const Canvas* fresh_ = nullptr;
    std::vector<int> staleTunes_;
};

} // namespace tess::storm
