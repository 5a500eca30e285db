// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The cost of a full repaint of the busiest picture the game can show: a finished perfect
// Decagon game, 41 lines, and every closed piece coloured. Measured beside a
// plain clear of a canvas of the same size, and beside one colouring click on the largest
// piece, at three window sizes.
#include "game/CMekkView.h"
#include "game/Solver.h"
#include "input/KeyCodes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

using namespace tess;

namespace {

constexpr Size kSizes[] = {{1016, 700}, {1920, 1080}, {3840, 2160}};

struct FinishedGame {
    std::unique_ptr<SilentPlatform> platform;
    std::unique_ptr<CMekkView> view;
    Point largestSeed;
    int pieces = 0;
};

// The pixels of each piece, in the order of the seeds: each filled on a copy of the page in a
// colour of its own, then counted in one pass.
std::vector<long> pieceAreas(const Canvas& page, const std::vector<Point>& seeds) {
    Canvas marked = page;
    DrawingContext dc(marked);
    const auto mark = [](std::size_t k) { return Colour(1, int(k >> 8), int(k & 255)); };
    for (std::size_t k = 0; k < seeds.size(); ++k) {
        dc.selectBrush(Brush{mark(k)});
        dc.floodFill(seeds[k].x, seeds[k].y, kBlack);
    }
    std::vector<long> areas(seeds.size(), 0);
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x) {
            const Colour c = marked.pixel(x, y);
            const std::size_t k = std::size_t(c.green() << 8 | c.blue());
            if (c.red() == 1 && k < seeds.size() && c == mark(k)) ++areas[k];
        }
    return areas;
}

// Plays the busiest game at this size through the game's rules: the solver's perfect
// Decagon, End, a click in every closed piece, the largest last.
FinishedGame& busiestGame(int sizeIndex, bool finished) {
    static std::map<std::pair<int, bool>, FinishedGame> games;
    auto made = games.find({sizeIndex, finished});
    if (made != games.end()) return made->second;
    FinishedGame& g = games[{sizeIndex, finished}];
    g.platform = std::make_unique<SilentPlatform>(kSizes[sizeIndex]);
    g.view = std::make_unique<CMekkView>(*g.platform);
    CMekkView& v = *g.view;
    v.paint();
    const std::vector<int> path = findPerfectPath(10).vertices;
    v.startShapeFrom(10, path.front());
    for (std::size_t k = 1; k < path.size(); ++k) {
        const Point c = v.layout.vertexCentre[10][path[k]];
        v.OnLButtonDown(c.x, c.y);
    }
    v.OnKeyDown(vk::End);

    // The largest piece is coloured last, so that a click on it can be measured again and
    // again from the picture just before it.
    std::vector<Point> seeds = v.uncolouredPieces();
    const std::vector<long> areas = pieceAreas(*v.screen(), seeds);
    const std::size_t largest =
        std::size_t(std::max_element(areas.begin(), areas.end()) - areas.begin());
    std::rotate(seeds.begin() + std::ptrdiff_t(largest),
                seeds.begin() + std::ptrdiff_t(largest) + 1, seeds.end());
    for (Point p : seeds)
        v.OnLButtonDown(p.x, p.y);
    g.largestSeed = seeds.back();
    g.pieces = v.pieceCount;
    if (v.gamePhase != kColouring) std::fprintf(stderr, "the busiest game was aborted\n");
    if (finished) v.OnKeyDown(vk::End);
    return g;
}

void setLabel(benchmark::State& state, int sizeIndex) {
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", kSizes[sizeIndex].cx, kSizes[sizeIndex].cy);
    state.SetLabel(text);
}

void BM_Clear(benchmark::State& state) {
    const int s = int(state.range(0));
    Canvas canvas(kSizes[s].cx, kSizes[s].cy);
    for (auto _ : state) {
        canvas.clear(kWhite);
        benchmark::DoNotOptimize(canvas.data());
    }
    setLabel(state, s);
}

// Repaints the busiest finished Decagon again and again on one canvas.
void BM_RepaintFinishedDecagon(benchmark::State& state) {
    const int s = int(state.range(0));
    FinishedGame& g = busiestGame(s, true);
    Canvas canvas(kSizes[s].cx, kSizes[s].cy);
    DrawingContext dc(canvas);
    for (auto _ : state) {
        g.view->OnDraw(dc);
        benchmark::DoNotOptimize(std::as_const(canvas).data());
    }
    state.counters["pieces"] = g.pieces;
    setLabel(state, s);
}

// The repaint and a clear of a canvas of the same size taken in turn, each iteration both,
// so that a machine whose memory is shared with others slows both alike: the counters give the
// two times and their ratio, the goal's own figure.
void BM_RepaintBesideClear(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int s = int(state.range(0));
    FinishedGame& g = busiestGame(s, true);
    Canvas canvas(kSizes[s].cx, kSizes[s].cy), plain(kSizes[s].cx, kSizes[s].cy);
    DrawingContext dc(canvas);
    g.view->OnDraw(dc);
    Clock::duration clearing{}, repainting{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        plain.clear(kWhite);
        benchmark::DoNotOptimize(std::as_const(plain).data());
        const Clock::time_point cleared = Clock::now();
        g.view->OnDraw(dc);
        benchmark::DoNotOptimize(std::as_const(canvas).data());
        repainting += Clock::now() - cleared;
        clearing += cleared - start;
    }
    const double n = double(state.iterations());
    state.counters["clear_ms"] = std::chrono::duration<double, std::milli>(clearing).count() / n;
    state.counters["repaint_ms"] =
        std::chrono::duration<double, std::milli>(repainting).count() / n;
    state.counters["ratio"] = double(repainting.count()) / double(clearing.count());
    setLabel(state, s);
}

void BM_ColourLargestPiece(benchmark::State& state) {
    const int s = int(state.range(0));
    FinishedGame& g = busiestGame(s, false);
    CMekkView& v = *g.view;
    // Take the largest piece's colour off again: the record and the picture.
    auto uncolour = [&v] {
        --v.pieceCount;
        v.colourIndex = v.pieceColour[v.pieceCount + 1];
        v.paint();
    };
    uncolour();
    for (auto _ : state) {
        v.OnLButtonDown(g.largestSeed.x, g.largestSeed.y);
        state.PauseTiming();
        uncolour();
        state.ResumeTiming();
    }
    v.OnLButtonDown(g.largestSeed.x, g.largestSeed.y);
    setLabel(state, s);
}

} // namespace

BENCHMARK(BM_Clear)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFinishedDecagon)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintBesideClear)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourLargestPiece)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The benchmark program's main() comes with the canvas's fill benchmark in the same program.
