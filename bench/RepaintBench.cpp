// The cost of a full repaint of the busiest picture the game can show: a finished Decagon
// game with the longest path, 41 lines, and every closed piece coloured. Measured beside a
// plain clear of a canvas of the same size, and beside one colouring click on the largest
// piece, at three window sizes.
#include "game/CMekkView.h"
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

// A path of 41 lines on the Decagon: every line of the complete graph on its 10 vertices but
// four short diagonals, which leave the sides and the long, much-crossed diagonals in. Each
// vertex has nine lines, an odd number, so no walk uses all 45; leaving out a matching of four
// lines leaves two odd vertices, 5 and 10, and a walk from one to the other uses all the rest.
std::vector<int> longestDecagonPath() {
    bool used[11][11] = {};
    const int left[4][2] = {{1, 3}, {2, 4}, {6, 8}, {7, 9}};
    for (const auto& e : left)
        used[e[0]][e[1]] = used[e[1]][e[0]] = true;
    // Hierholzer's walk from vertex 5.
    std::vector<int> stack{5}, walk;
    while (!stack.empty()) {
        int v = stack.back();
        int next = 0;
        for (int w = 1; w <= 10 && !next; ++w)
            if (w != v && !used[v][w]) next = w;
        if (next) {
            used[v][next] = used[next][v] = true;
            stack.push_back(next);
        } else {
            walk.push_back(v);
            stack.pop_back();
        }
    }
    std::reverse(walk.begin(), walk.end());
    return walk; // 42 vertices, 41 lines
}

struct FinishedGame {
    std::unique_ptr<SilentPlatform> platform;
    std::unique_ptr<CMekkView> view;
    Point largestSeed;
    int largestIndex = 0; // the piece number of the largest piece
    int pieces = 0;
};

// Plays the busiest game at this size: the path, End, a click in every closed piece.
FinishedGame& busiestGame(int sizeIndex, bool finished) {
    static std::map<std::pair<int, bool>, FinishedGame> games;
    auto made = games.find({sizeIndex, finished});
    if (made != games.end()) return made->second;
    FinishedGame& g = games[{sizeIndex, finished}];
    g.platform = std::make_unique<SilentPlatform>(kSizes[sizeIndex]);
    g.view = std::make_unique<CMekkView>(*g.platform);
    CMekkView& v = *g.view;
    v.randomState = 1;
    v.paint();
    v.currentPage = kGamePage;
    v.vertexCount = 10;
    v.startVertexChosen = 1;
    std::vector<int> walk = longestDecagonPath();
    for (std::size_t i = 0; i < walk.size(); ++i)
        v.path[i + 1] = walk[i];
    v.pathLength = int(walk.size());
    v.paint();
    v.OnKeyDown(vk::End);

    // Mark what lies round the shape, then find the closed pieces among the white pixels.
    Canvas probe = *v.screen();
    DrawingContext dc(probe);
    dc.selectBrush(Brush{Colour(1, 1, 1)});
    Point out = v.layout.outsidePoint[10];
    dc.floodFill(out.x, out.y, kBlack);
    const Rect frame = v.layout.frameRect[10];
    const int w = probe.width();
    std::vector<int> label(std::size_t(w) * std::size_t(probe.height()), 0);
    struct Piece {
        Point seed;
        long area;
    };
    std::vector<Piece> found;
    for (int y = frame.top; y < frame.bottom; ++y)
        for (int x = frame.left; x < frame.right; ++x) {
            if (probe.pixel(x, y) != kWhite || label[std::size_t(y * w + x)]) continue;
            int id = int(found.size()) + 1;
            long area = 0;
            std::vector<Point> todo{{x, y}};
            label[std::size_t(y * w + x)] = id;
            while (!todo.empty()) {
                Point p = todo.back();
                todo.pop_back();
                ++area;
                const Point near[4] = {
                    {p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
                for (Point q : near) {
                    if (!probe.contains(q.x, q.y) || probe.pixel(q.x, q.y) != kWhite) continue;
                    int& l = label[std::size_t(q.y * w + q.x)];
                    if (l) continue;
                    l = id;
                    todo.push_back(q);
                }
            }
            found.push_back({{x, y}, area});
        }
    // The largest piece is coloured last, so that a click on it can be measured again and
    // again from the picture just before it.
    std::stable_sort(found.begin(), found.end(),
                     [](const Piece& a, const Piece& b) { return a.area < b.area; });
    for (const Piece& p : found) {
        if (v.pieceCount >= kMaxPieces - 1) break;
        v.OnLButtonDown(p.seed.x, p.seed.y);
    }
    g.largestSeed = found.back().seed;
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

// Repaints the busiest finished Decagon again and again on one canvas; where `unknown`, the
// picture is first changed behind the drawing contexts' back, so that nothing is known of where
// it is white and the whole page is erased.
void repaintFinishedDecagon(benchmark::State& state, bool unknown) {
    const int s = int(state.range(0));
    FinishedGame& g = busiestGame(s, true);
    Canvas canvas(kSizes[s].cx, kSizes[s].cy);
    DrawingContext dc(canvas);
    for (auto _ : state) {
        if (unknown) canvas.setPixel(0, 0, kBlack);
        g.view->OnDraw(dc);
        benchmark::DoNotOptimize(std::as_const(canvas).data());
    }
    state.counters["pieces"] = g.pieces;
    setLabel(state, s);
}

// The page painted again over the picture it painted last, as the game repaints its window.
void BM_RepaintFinishedDecagon(benchmark::State& state) {
    repaintFinishedDecagon(state, false);
}

void BM_RepaintFinishedDecagonOverUnknownPicture(benchmark::State& state) {
    repaintFinishedDecagon(state, true);
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
BENCHMARK(BM_RepaintFinishedDecagonOverUnknownPicture)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintBesideClear)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourLargestPiece)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The benchmark program's main() comes with the canvas's fill benchmark in the same program.
