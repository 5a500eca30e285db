// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The solver: the exact geometry of the lines a longest path leaves out, a walk over the lines
// kept, and the game played with that walk on a view of its own.
#include "game/Solver.h"

#include "game/CMekkView.h"
#include "screen/Layout.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <numeric>
#include <tuple>

namespace tess {

namespace {

using i64 = std::int64_t;
// One bit per line of a shape; the Decagon has 45.
using LineSet = std::uint64_t;

bool isShape(int n) {
    return n == 4 || n == 6 || n == 8 || n == 10;
}

// The lines of a shape, every pair of its vertices, and the points where two or more of them
// cross inside it, each with the set of lines through it.
struct ShapeLines {
    int n = 0;
    int lineOf[11][11] = {};
    LineSet all = 0;
    std::vector<LineSet> crossings;
};

i64 cross(Point o, Point a, Point b) {
    return (i64(a.x) - o.x) * (i64(b.y) - o.y) - (i64(a.y) - o.y) * (i64(b.x) - o.x);
}

ShapeLines shapeLines(int n) {
    ShapeLines s;
    s.n = n;
    // The vertex centres of the board the solver plays on; nothing but the vertices depends
    // on the counters' widths or the letter size.
    const Layout layout = computeLayout({0, 0, kSolverClientSize.cx, kSolverClientSize.cy},
                                        CounterWidths{}, Size{1, 1});
    const Point* centre = layout.vertexCentre[n];

    struct Line {
        int a, b;
    };
    std::vector<Line> lines;
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b) {
            s.lineOf[a][b] = s.lineOf[b][a] = int(lines.size());
            lines.push_back({a, b});
        }
    s.all = lines.size() == 64 ? ~LineSet(0) : (LineSet(1) << lines.size()) - 1;

    // Two lines with four distinct ends cross where each separates the other's ends. The
    // crossing is kept as an exact fraction in lowest terms, so that lines through one point
    // meet at one key however the point was reached.
    std::map<std::tuple<i64, i64, i64>, LineSet> points;
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            const Line p = lines[i], q = lines[j];
            if (p.a == q.a || p.a == q.b || p.b == q.a || p.b == q.b) continue;
            const Point A = centre[p.a], B = centre[p.b], C = centre[q.a], D = centre[q.b];
            const i64 c1 = cross(A, B, C), c2 = cross(A, B, D);
            const i64 c3 = cross(C, D, A), c4 = cross(C, D, B);
            // Ends on opposite sides give cross products of opposite signs: a negative product.
            if (c1 * c2 >= 0 || c3 * c4 >= 0) continue;
            // A + (B - A) * c3 / (c3 - c4)
            i64 x = i64(B.x) * c3 - i64(A.x) * c4;
            i64 y = i64(B.y) * c3 - i64(A.y) * c4;
            i64 d = c3 - c4;
            if (d < 0) x = -x, y = -y, d = -d;
            const i64 g = std::gcd(std::gcd(x < 0 ? -x : x, y < 0 ? -y : y), d);
            points[{x / g, y / g, d / g}] |= (LineSet(1) << i) | (LineSet(1) << j);
        }
    for (const auto& point : points)
        s.crossings.push_back(point.second);
    return s;
}

// The bounded regions of a connected set of drawn lines that uses `vertices` vertices:
// Euler's formula, faces = edges - corners + 1, where a crossing of k drawn lines is one
// corner that cuts each of them once more. Every line is a chord of the convex shape, so
// every bounded region lies inside it, and a region along a side left out is open to the
// space round the shape: it is no piece, and no bounded region either.
int exactPieces(const ShapeLines& s, LineSet drawn, int vertices) {
    if (drawn == 0) return 0;
    int pieces = std::popcount(drawn) - vertices + 1;
    for (LineSet through : s.crossings) {
        const int k = std::popcount(through & drawn);
        if (k >= 2) pieces += k - 1;
    }
    return pieces;
}

// Every way to pair off the given vertices, as the set of lines that pair them.
template <typename Visit>
void eachPairing(const ShapeLines& s, std::vector<int>& rest, LineSet chosen, Visit&& visit) {
    if (rest.empty()) {
        visit(chosen);
        return;
    }
    const int first = rest.front();
    for (std::size_t k = 1; k < rest.size(); ++k) {
        const int partner = rest[k];
        std::vector<int> left;
        for (std::size_t m = 1; m < rest.size(); ++m)
            if (m != k) left.push_back(rest[m]);
        eachPairing(s, left, chosen | (LineSet(1) << s.lineOf[first][partner]), visit);
    }
}

// A walk from `from` over every line of `drawn` (Hierholzer's): it exists because every
// vertex but the two ends touches an even number of drawn lines and the lines hang together.
std::vector<int> walkAll(const ShapeLines& s, LineSet drawn, int from) {
    std::uint32_t next[11] = {};
    for (int a = 1; a <= s.n; ++a)
        for (int b = 1; b <= s.n; ++b)
            if (a != b && (drawn >> s.lineOf[a][b]) & 1) next[a] |= 1u << b;
    std::vector<int> stack{from}, walk;
    while (!stack.empty()) {
        const int v = stack.back();
        if (next[v] != 0) {
            const int w = std::countr_zero(next[v]);
            next[v] &= ~(1u << w);
            next[w] &= ~(1u << v);
            stack.push_back(w);
        } else {
            walk.push_back(v);
            stack.pop_back();
        }
    }
    std::reverse(walk.begin(), walk.end());
    return walk;
}

} // namespace

PerfectPath findPerfectPath(int vertexCount, int startVertex) {
    PerfectPath best;
    best.vertexCount = vertexCount;
    if (!isShape(vertexCount) || startVertex < 0 || startVertex > vertexCount) return best;
    const ShapeLines s = shapeLines(vertexCount);

    // The path's two ends keep all their lines; the other vertices are paired off, and the
    // line of each pair is left out. The first choice with the most pieces wins.
    int bestPieces = -1;
    LineSet bestDrawn = 0;
    int bestStart = 0;
    for (int a = 1; a <= vertexCount; ++a)
        for (int b = a + 1; b <= vertexCount; ++b) {
            if (startVertex != 0 && startVertex != a && startVertex != b) continue;
            std::vector<int> rest;
            for (int v = 1; v <= vertexCount; ++v)
                if (v != a && v != b) rest.push_back(v);
            eachPairing(s, rest, 0, [&](LineSet leftOut) {
                const LineSet drawn = s.all & ~leftOut;
                const int pieces = exactPieces(s, drawn, vertexCount);
                if (pieces > bestPieces) {
                    bestPieces = pieces;
                    bestDrawn = drawn;
                    bestStart = startVertex != 0 ? startVertex : a;
                }
            });
        }

    best.vertices = walkAll(s, bestDrawn, bestStart);
    best.lines = int(best.vertices.size()) - 1;
    best.exactPieces = bestPieces;
    return best;
}

int countExactPieces(int vertexCount, const std::vector<int>& vertices) {
    if (!isShape(vertexCount)) return 0;
    const ShapeLines s = shapeLines(vertexCount);
    LineSet drawn = 0;
    std::uint32_t used = 0;
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        const int v = vertices[k];
        if (v < 1 || v > vertexCount) return 0;
        used |= 1u << v;
        if (k > 0 && vertices[k - 1] != v) drawn |= LineSet(1) << s.lineOf[vertices[k - 1]][v];
    }
    return exactPieces(s, drawn, std::popcount(used));
}

PerfectGame playPerfectPath(const PerfectPath& path, Size clientSize) {
    PerfectGame game;
    game.path = path;
    game.clientSize = clientSize;
    if (!isShape(path.vertexCount) || path.vertices.empty()) return game;
    for (int v : path.vertices)
        if (v < 1 || v > path.vertexCount) return game;
    SilentPlatform platform(clientSize);
    CMekkView view(platform);
    // Everything the solver asks of the view, through the game's own rules. A game of the shape
    // starts from the path's first vertex; the vertices are clicked in order; End; a click
    // inside every closed piece, so each is coloured by the game's own fill; End.
    const int n = path.vertexCount;
    view.OnCommand(kCmdSoundOff);
    view.paint();
    view.startShapeFrom(n, path.vertices.front());
    for (std::size_t k = 1; k < path.vertices.size(); ++k) {
        const Point c = view.layout.vertexCentre[n][path.vertices[k]];
        view.addLine(c.x, c.y);
    }
    game.lines = view.pathLength - 1;
    view.beginColouring();

    for (Point piece : view.uncolouredPieces())
        if (view.gamePhase == kColouring) view.colourPiece(piece.x, piece.y);

    game.pieces = view.pieceCount;
    for (int k = 0; k < std::min(view.pieceCount, kMaxPieces); ++k)
        game.pieceSeeds.push_back(view.pieceSeed[k]);
    view.scoreGame();
    game.score = view.score;
    return game;
}

PerfectGame solvePerfectGame(int vertexCount, int startVertex) {
    return playPerfectPath(findPerfectPath(vertexCount, startVertex), kSolverClientSize);
}

} // namespace tess
