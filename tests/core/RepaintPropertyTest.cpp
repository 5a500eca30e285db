// The game draws every change at once on the screen and never keeps a picture of its own:
// a full paint must therefore rebuild, pixel for pixel, whatever the clicks and keys drew.
// Random games of every shape, at several window sizes, check this after every event.
#include "game/CMekkView.h"
#include "input/KeyCodes.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

using namespace tess;

namespace {

// Everything a paint could disturb, as text, so that a difference reads plainly.
std::string stateText(const CMekkView& v) {
    std::ostringstream s;
    s << "page " << v.currentPage << " phase " << v.gamePhase << " chosen " << v.startVertexChosen
      << " n " << v.vertexCount << " length " << v.pathLength << " colour " << v.colourIndex
      << " pieces " << v.pieceCount << " tune " << v.tuneIndex << " note " << v.noteIndex
      << " score " << v.score << " aborted " << v.gameAborted << " at " << v.abortSeed.x << ","
      << v.abortSeed.y << " in " << v.abortColour << " random " << v.randomState << " made "
      << v.pieceBrushesMade << "\npath";
    for (int p : v.path)
        s << ' ' << p;
    s << "\npieces";
    for (int i = 0; i < kMaxPieces; ++i)
        s << ' ' << v.pieceColour[i] << '@' << v.pieceSeed[i].x << ',' << v.pieceSeed[i].y;
    s << ' ' << v.pieceColour[kMaxPieces] << "\nhistory";
    for (int k = 0; k < 4; ++k) {
        s << " [" << v.historyCount[k] << ':';
        for (int h : v.historyList[k])
            s << ' ' << h;
        s << ']';
    }
    s << '\n'
      << v.scoreNote << '\n'
      << v.explanationText << '\n'
      << v.soundSwitch << v.noteMode << v.printSwitch;
    return s.str();
}

bool sameLayout(const Layout& a, const Layout& b) {
    return std::memcmp(&a, &b, sizeof(Layout)) == 0;
}

// Where two canvases differ, outside an optional region that may differ.
struct Difference {
    int count = 0;
    Rect box{1 << 30, 1 << 30, -1, -1};
};

Difference compare(const Canvas& a, const Canvas& b, const Rect* allowed = nullptr,
                   int nAllowed = 0) {
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        const std::uint32_t* ra = a.row(y);
        const std::uint32_t* rb = b.row(y);
        if (std::memcmp(ra, rb, std::size_t(a.width()) * 4) == 0) continue;
        for (int x = 0; x < a.width(); ++x) {
            if (ra[x] == rb[x]) continue;
            bool excused = false;
            for (int i = 0; i < nAllowed; ++i)
                excused = excused || (allowed[i].left <= x && x < allowed[i].right &&
                                      allowed[i].top <= y && y < allowed[i].bottom);
            if (excused) continue;
            ++d.count;
            d.box = {std::min(d.box.left, x), std::min(d.box.top, y), std::max(d.box.right, x + 1),
                     std::max(d.box.bottom, y + 1)};
        }
    }
    return d;
}

class RandomGame {
  public:
    RandomGame(Size size, std::uint32_t seed) : platform_(size), view_(platform_), rng_(seed) {
        view_.randomState = seed;
        nextShape_ = int(seed % 4);
        view_.paint();
    }

    // Plays `events` random events; false (with a report) at the first bad repaint.
    bool play(int events) {
        for (int e = 0; e < events; ++e) {
            const int oldTune = view_.tuneIndex;
            const bool tuneClick = step();
            std::string before = stateText(view_);
            Layout layoutBefore = view_.layout;
            Canvas fresh(view_.screen()->width(), view_.screen()->height());
            fresh.clear(Colour(1, 2, 3));
            DrawingContext dc(fresh);
            view_.OnDraw(dc);
            if (stateText(view_) != before || !sameLayout(layoutBefore, view_.layout)) {
                ADD_FAILURE() << "a paint changed the state after event " << e << ": " << last_
                              << "\nbefore: " << before << "\nafter:  " << stateText(view_);
                return false;
            }
            Difference d;
            if (tuneClick) {
                // The click highlights in its own colour and leaves a sliver of the old
                // highlight; only the two buttons may differ until the next full paint.
                Rect buttons[2] = {view_.layout.tuneButton[oldTune],
                                   view_.layout.tuneButton[view_.tuneIndex]};
                d = compare(*view_.screen(), fresh, buttons, 2);
                view_.paint();
            } else {
                d = compare(*view_.screen(), fresh);
            }
            if (d.count > 0) {
                ADD_FAILURE() << d.count << " pixels differ in (" << d.box.left << ", " << d.box.top
                              << ", " << d.box.right << ", " << d.box.bottom << ") after event "
                              << e << ": " << last_
                              << "\nstate: " << stateText(view_).substr(0, 200);
                return false;
            }
        }
        return true;
    }

    int shapesPlayed() const { return shapesPlayed_; }
    int piecesColoured() const { return piecesColoured_; }
    int gamesScored() const { return gamesScored_; }

  private:
    // Degenerate rectangles of tiny windows may give hi < lo.
    int uniform(int lo, int hi) {
        return std::uniform_int_distribution<int>(std::min(lo, hi), std::max(lo, hi))(rng_);
    }
    bool chance(int percent) { return uniform(0, 99) < percent; }
    Point inside(const Rect& r) {
        if (r.right - r.left < 3 || r.bottom - r.top < 3) return {r.left, r.top};
        return {uniform(r.left + 1, r.right - 2), uniform(r.top + 1, r.bottom - 2)};
    }
    Point anywhere() {
        return {uniform(0, view_.screen()->width() - 1), uniform(0, view_.screen()->height() - 1)};
    }
    void click(Point p, const char* what) {
        last_ = std::string(what) + " click at " + std::to_string(p.x) + "," + std::to_string(p.y) +
                " (" + stateText(view_).substr(0, 60) + ")";
        view_.OnLButtonDown(p.x, p.y);
    }
    void key(int k) {
        last_ = "key " + std::to_string(k) + " (" + stateText(view_).substr(0, 60) + ")";
        view_.OnKeyDown(k);
    }
    void anyKey() {
        const int keys[] = {vk::End, vk::Return, vk::Home, vk::F1, 'Q', 'E', 'M', 27, 113, 40};
        key(keys[uniform(0, 9)]);
    }

    // One random event; true when it was a click in the home page's tune panel.
    bool step() {
        const Layout& l = view_.layout;
        if (view_.currentPage == kHomePage) {
            int r = uniform(0, 99);
            if (r < 40) {
                int button = nextShape_;
                nextShape_ = (nextShape_ + 1) % 4;
                ++shapesPlayed_;
                click(inside(l.shapeButton[button]), "shape");
                return false;
            }
            if (r < 70) {
                const Rect& o = l.tunePanelOutline;
                Point p = chance(70) ? inside(l.tuneButton[uniform(0, 19)])
                                     : Point{uniform(o.left, o.right), uniform(o.top, o.bottom)};
                bool inPanel =
                    o.left < p.x && p.x < o.right && l.tuneButton[0].top < p.y && p.y < o.bottom;
                click(p, "tune");
                return inPanel && view_.currentPage == kHomePage;
            }
            if (r < 85) {
                Point p = anywhere();
                const Rect& o = l.tunePanelOutline;
                bool inPanel =
                    o.left < p.x && p.x < o.right && l.tuneButton[0].top < p.y && p.y < o.bottom;
                click(p, "home");
                return inPanel && view_.currentPage == kHomePage;
            }
            anyKey();
            return false;
        }
        const int n = view_.vertexCount;
        if (view_.gamePhase == kDrawing) {
            int r = uniform(0, 99);
            if (r < 6 + view_.pathLength / 2) {
                key(vk::End);
            } else if (r < 85) {
                Point c = l.vertexCentre[n][uniform(1, n)];
                int jitter = std::max(1, l.unit / 2);
                click({c.x + uniform(-jitter, jitter), c.y + uniform(-jitter, jitter)}, "vertex");
            } else if (r < 93) {
                click(anywhere(), "board");
            } else {
                anyKey();
            }
            return false;
        }
        if (view_.gamePhase == kColouring) {
            int r = uniform(0, 99);
            if (r < 80) {
                // Look for an uncoloured pixel inside the frame.
                const Rect& f = l.frameRect[n];
                for (int tries = 0; tries < 60; ++tries) {
                    Point p = inside(f);
                    if (view_.screen()->pixel(p.x, p.y) == kWhite) {
                        int before = view_.pieceCount;
                        click(p, "piece");
                        piecesColoured_ += view_.pieceCount - before;
                        return false;
                    }
                }
                key(vk::End);
                if (view_.gamePhase == kFinished) ++gamesScored_;
            } else if (r < 84) {
                click(inside(l.tuneBox[n]), "tune box");
            } else if (r < 92) {
                click(anywhere(), "colouring");
            } else if (r < 96) {
                key(vk::End);
                if (view_.gamePhase == kFinished) ++gamesScored_;
            } else {
                anyKey();
            }
            return false;
        }
        // Finished.
        int r = uniform(0, 99);
        if (r < 45) {
            key(vk::Return);
        } else if (r < 90) {
            key(vk::Home);
        } else if (r < 95) {
            click(anywhere(), "finished");
        } else {
            anyKey();
        }
        return false;
    }

    fake::FakePlatform platform_;
    CMekkView view_;
    std::mt19937 rng_;
    int nextShape_ = 0;
    int shapesPlayed_ = 0;
    int piecesColoured_ = 0;
    int gamesScored_ = 0;
    std::string last_;
};

struct Case {
    Size size;
    int seeds;
    int events;
};

void playCases(const Case& c, bool expectColouring) {
    int pieces = 0;
    int scored = 0;
    for (int s = 0; s < c.seeds; ++s) {
        std::uint32_t seed = 1000u + std::uint32_t(s) * 7919u;
        SCOPED_TRACE("window " + std::to_string(c.size.cx) + "x" + std::to_string(c.size.cy) +
                     ", seed " + std::to_string(seed));
        RandomGame game(c.size, seed);
        if (!game.play(c.events)) return;
        EXPECT_GE(game.shapesPlayed(), 1);
        pieces += game.piecesColoured();
        scored += game.gamesScored();
    }
    if (expectColouring) {
        EXPECT_GT(pieces, 0) << "the games coloured no piece at all";
        EXPECT_GT(scored, 0) << "the games scored no game at all";
    }
}

} // namespace

TEST(RepaintProperty, ATinyWindowBelowTheLayoutsSmallestUnit) {
    playCases({{300, 60}, 4, 300}, false);
    playCases({{69, 68}, 2, 200}, false);
}

TEST(RepaintProperty, TheUsualWindow) {
    playCases({{1016, 700}, 10, 400}, true);
}

TEST(RepaintProperty, AnOddSizedWindow) {
    playCases({{777, 555}, 4, 300}, true);
}

TEST(RepaintProperty, ALargeWindow) {
    playCases({{1920, 1080}, 2, 300}, true);
}
