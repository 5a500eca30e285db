// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The solver's perfect games: their paths, their pieces in exact geometry and on the canvas,
// and each played through the game's own handlers to its score.
#include "game/Solver.h"
#include "game/ShapeTable.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace tess;
using tess::test::GameDriver;

namespace {

constexpr int kShapes[] = {4, 6, 8, 10};

// A client area of layout unit 8: the same board as the solver's, at half the size.
constexpr Size kHalfSize{640, 482};

struct PieceOnBoard {
    std::uint64_t region; // the side of every drawn line that most of its white pixels lie on
    int pixels;           // its pixels, lines and circles excluded
};

// Which exact region of the drawn lines each counted piece lies in, read on the board as End
// left it. Pieces that share a region are slivers of one region that the pixels of its lines
// cut apart.
std::vector<PieceOnBoard> piecesOnBoard(const Canvas& board, GameDriver& game,
                                        const std::vector<int>& path,
                                        const std::vector<Point>& seeds) {
    std::vector<std::pair<Point, Point>> lines;
    for (std::size_t k = 1; k < path.size(); ++k)
        lines.push_back({game.centre(path[k - 1]), game.centre(path[k])});
    const auto sides = [&](int x, int y) {
        std::uint64_t s = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto [a, b] = lines[i];
            const long long c =
                (long long)(b.x - a.x) * (y - a.y) - (long long)(b.y - a.y) * (x - a.x);
            if (c > 0) s |= std::uint64_t(1) << i;
        }
        return s;
    };
    std::vector<PieceOnBoard> pieces;
    std::vector<bool> seen(std::size_t(board.width()) * std::size_t(board.height()));
    for (Point seed : seeds) {
        std::map<std::uint64_t, int> votes;
        int pixels = 0;
        std::vector<Point> stack{seed};
        seen[std::size_t(seed.y) * std::size_t(board.width()) + std::size_t(seed.x)] = true;
        while (!stack.empty()) {
            const Point p = stack.back();
            stack.pop_back();
            if (board.pixel(p.x, p.y) == kWhite) ++votes[sides(p.x, p.y)], ++pixels;
            for (Point q : {Point{p.x + 1, p.y}, Point{p.x - 1, p.y}, Point{p.x, p.y + 1},
                            Point{p.x, p.y - 1}}) {
                if (!board.contains(q.x, q.y) || board.pixel(q.x, q.y) == kBlack) continue;
                const std::size_t i =
                    std::size_t(q.y) * std::size_t(board.width()) + std::size_t(q.x);
                if (seen[i]) continue;
                seen[i] = true;
                stack.push_back(q);
            }
        }
        auto most = votes.begin();
        for (auto it = votes.begin(); it != votes.end(); ++it)
            if (it->second > most->second) most = it;
        pieces.push_back({most->first, pixels});
    }
    return pieces;
}

// A walk over exactly the given lines (bit 8a + b for the line a-b, a < b), found by trying
// every walk over them from every vertex; empty when there is none. A walk passes through each
// vertex on as many lines as it leaves by, so lines that leave more than two vertices with an
// odd number of them cannot be one walk, and are not tried.
std::vector<int> walkDrawing(int n, std::uint64_t lines) {
    int odd = 0;
    for (int v = 1; v <= n; ++v) {
        int touching = 0;
        for (int w = 1; w <= n; ++w)
            if (w != v) touching += int((lines >> (8 * std::min(v, w) + std::max(v, w))) & 1);
        odd += touching % 2;
    }
    if (odd > 2) return {};
    std::uint64_t left = lines;
    std::vector<int> walk;
    const auto extend = [&](auto&& self) -> bool {
        if (left == 0) return true;
        for (int v = 1; v <= n; ++v) {
            const int a = std::min(walk.back(), v), b = std::max(walk.back(), v);
            const std::uint64_t line = std::uint64_t(1) << (8 * a + b);
            if (a == b || !(left & line)) continue;
            left &= ~line;
            walk.push_back(v);
            if (self(self)) return true;
            walk.pop_back();
            left |= line;
        }
        return false;
    };
    for (int start = 1; start <= n; ++start) {
        walk = {start};
        if (extend(extend)) return walk;
    }
    return {};
}

// "Square" for 4: the shape's name without the full stop the score note needs.
std::string shapeName(int n) {
    const std::string name = shapeNameText[n];
    return name.substr(0, name.size() - 1);
}

class PerfectGameOf : public ::testing::TestWithParam<int> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Shapes, PerfectGameOf, ::testing::ValuesIn(kShapes),
                         [](const auto& shape) { return shapeName(shape.param); });

TEST_P(PerfectGameOf, PlayedThroughTheHandlersScoresAtLeastTheShapesHighestScore) {
    const int n = GetParam();
    const PerfectGame solved = solvePerfectGame(n);
    ASSERT_EQ(solved.clientSize, kSolverClientSize);
    ASSERT_EQ(solved.pieceSeeds.size(), std::size_t(solved.pieces));

    GameDriver game(solved.clientSize);
    const std::vector<int>& path = solved.path.vertices;
    game.startGame(n, path.front());
    for (std::size_t k = 1; k < path.size(); ++k)
        game.clickVertex(path[k]);
    EXPECT_EQ(game.view.pathLength - 1, solved.lines);
    EXPECT_EQ(solved.lines, maxLines(n));
    game.end();
    const Canvas board = game.screen();
    for (Point seed : solved.pieceSeeds) {
        const int before = game.view.pieceCount;
        game.click(seed);
        ASSERT_EQ(game.view.pieceCount, before + 1) << "seed " << seed.x << "," << seed.y;
    }
    EXPECT_EQ(game.view.pieceCount, solved.pieces);
    EXPECT_EQ(game.uncolouredPieces(), 0) << "a closed piece was left white";
    game.end();
    EXPECT_FALSE(game.view.gameAborted);
    EXPECT_EQ(game.view.score, solved.score);
    EXPECT_GE(game.view.score, 100 * difficultyFactor(n));
    EXPECT_EQ(game.errorSounds(), 0);

    // What the game counted against the exact geometry: every region of the drawn lines
    // shows as one piece, except regions too thin for a pixel of white, which do not show,
    // and single white pixels that the lines' own pixels cut off where several lines cross,
    // which the game counts as pieces too.
    std::map<std::uint64_t, std::vector<int>> piecesIn; // pixels of each piece, by region
    for (const PieceOnBoard& piece : piecesOnBoard(board, game, path, solved.pieceSeeds))
        piecesIn[piece.region].push_back(piece.pixels);
    const int shown = int(piecesIn.size());
    EXPECT_LE(shown, solved.path.exactPieces);
    int slivers = 0;
    for (const auto& [region, sizes] : piecesIn) {
        slivers += int(sizes.size()) - 1;
        EXPECT_LE(std::count_if(sizes.begin(), sizes.end(), [](int px) { return px > 1; }), 1);
    }
    EXPECT_EQ(shown + slivers, solved.pieces);
    if (n <= 6) {
        // Square and Hexagon: every exact piece shows, once.
        EXPECT_EQ(shown, solved.path.exactPieces);
        EXPECT_EQ(slivers, 0);
    }
}

TEST(Solver, NoLongestSquareOrHexagonPathCutsMorePiecesOnTheCanvas) {
    // Every set of the most lines that one walk can draw, played on the canvas at another
    // size: the game counts what the exact geometry counts, and none beats the solver's.
    for (int n : {4, 6}) {
        std::vector<std::uint64_t> lineBits;
        for (int a = 1; a <= n; ++a)
            for (int b = a + 1; b <= n; ++b)
                lineBits.push_back(std::uint64_t(1) << (8 * a + b));
        int drawable = 0, most = 0;
        for (std::uint32_t choice = 0; choice < (1u << lineBits.size()); ++choice) {
            if (std::popcount(choice) != maxLines(n)) continue;
            std::uint64_t lines = 0;
            for (std::size_t k = 0; k < lineBits.size(); ++k)
                if ((choice >> k) & 1) lines |= lineBits[k];
            PerfectPath path;
            path.vertexCount = n;
            path.vertices = walkDrawing(n, lines);
            if (path.vertices.empty()) continue;
            ++drawable;
            const int exact = countExactPieces(n, path.vertices);
            EXPECT_EQ(playPerfectPath(path, kHalfSize).pieces, exact);
            most = std::max(most, exact);
        }
        // Two ends, and the other vertices paired off by the lines left out.
        EXPECT_EQ(drawable, n == 4 ? 6 : 15 * 3);
        const PerfectGame solved = solvePerfectGame(n);
        EXPECT_EQ(solved.path.exactPieces, most);
        EXPECT_EQ(solved.pieces, most);
        EXPECT_EQ(playPerfectPath(solved.path, kHalfSize).pieces, most);
    }
}

TEST(Solver, ExactPiecesOfKnownBoards) {
    // All six lines of the Square (the walk repeats 2-4): four triangles.
    EXPECT_EQ(countExactPieces(4, {1, 2, 4, 3, 1, 4, 2, 3}), 4);
    // The Square's sides alone close one piece; a side short of them, none.
    EXPECT_EQ(countExactPieces(4, {1, 2, 4, 3, 1}), 1);
    EXPECT_EQ(countExactPieces(4, {1, 2, 4, 3}), 0);
    // All fifteen lines of the Hexagon: its three long diagonals meet in one point, so it
    // cuts 24 pieces, not the 25 of lines that meet only in pairs.
    EXPECT_EQ(countExactPieces(6, {1, 2, 3, 4, 5, 6, 1, 3, 5, 1, 4, 2, 5, 3, 6, 2, 6, 4, 1}), 24);
    // A lone line and a point cut nothing.
    EXPECT_EQ(countExactPieces(8, {3, 7}), 0);
    EXPECT_EQ(countExactPieces(8, {3}), 0);
    EXPECT_EQ(countExactPieces(8, {}), 0);
}

TEST(Solver, EveryStartVertexHasAPerfectPathFromIt) {
    for (int n : kShapes) {
        const int most = findPerfectPath(n).exactPieces;
        for (int v = 1; v <= n; ++v) {
            const PerfectPath from = findPerfectPath(n, v);
            ASSERT_FALSE(from.vertices.empty());
            EXPECT_EQ(from.vertices.front(), v);
            EXPECT_EQ(from.lines, maxLines(n));
            EXPECT_EQ(from.exactPieces, most) << shapeNameText[n] << " from " << v;
        }
    }
}

TEST(Solver, OtherShapesStartsAndPathsGiveNothing) {
    for (int n : {0, 3, 5, 11, -4}) {
        EXPECT_TRUE(findPerfectPath(n).vertices.empty()) << n;
        EXPECT_EQ(countExactPieces(n, {1, 2, 3, 1}), 0) << n;
    }
    for (int start : {-1, 5, 1000})
        EXPECT_TRUE(findPerfectPath(4, start).vertices.empty()) << start;
    EXPECT_EQ(countExactPieces(4, {1, 2, 5}), 0);
    PerfectPath outside;
    outside.vertexCount = 4;
    outside.vertices = {1, 9};
    EXPECT_EQ(playPerfectPath(outside).pieces, 0);
    EXPECT_TRUE(playPerfectPath(PerfectPath{}).pieceSeeds.empty());
}
