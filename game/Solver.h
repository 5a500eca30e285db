// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Perfect games: for each shape, a path of the most lines that cuts the shape into as many
// pieces as any such path can, and that path played through the game's own handlers.
//
// Every line of a shape joins two of its vertices, and every vertex has an odd number of
// them, so a path that repeats no line can never draw them all: the longest paths leave out
// exactly one line at each vertex but the path's two ends, n/2 - 1 lines that share no
// vertex. Which lines are drawn, not their order, decides the pieces, so the solver weighs
// every such choice of left-out lines in exact integer arithmetic on the vertex centres and
// then walks the lines kept in one go from end to end.
#pragma once
#include "screen/canvas/Geometry.h"

#include <vector>

namespace tess {

// The client area the solver plays at: layout unit 16, a maximised window on a common
// desktop. At a unit that is a multiple of 4 the vertex centres are the shapes' grid
// positions exactly scaled, so the solver's geometry is the geometry of the drawn board.
constexpr Size kSolverClientSize{1280, 954};

// A path of the most lines and the pieces its lines cut in exact geometry.
struct PerfectPath {
    int vertexCount = 0;
    std::vector<int> vertices; // vertex numbers 1..vertexCount; the first is the start
    int lines = 0;             // vertices.size() - 1, the shape's most lines
    // Closed pieces of the drawn lines, counted exactly on the vertex centres: every region
    // they enclose, however thin. The game can only count those a pixel of white shows.
    int exactPieces = 0;
};

// That path played as a player would: the vertices clicked in order, End, a click inside
// every closed piece the game accepts, End.
struct PerfectGame {
    PerfectPath path;
    Size clientSize;
    int lines = 0;                 // the lines counter at End
    int pieces = 0;                // the pieces counter at the second End: the game's count
    std::vector<Point> pieceSeeds; // the click that coloured each piece, in order
    int score = 0;
};

// The best longest path of a shape (4, 6, 8 or 10 vertices) at the solver's client area,
// starting from startVertex (1..vertexCount), or from whichever end is best when it is 0.
// An empty path (lines 0) for any other shape or start.
PerfectPath findPerfectPath(int vertexCount, int startVertex = 0);

// The closed pieces that the lines of a path cut, in exact geometry at the solver's client
// area. Lines given twice count once.
int countExactPieces(int vertexCount, const std::vector<int>& vertices);

// Plays the path on a fresh game view of the given client area, silently, and reports what
// the game counted there.
PerfectGame playPerfectPath(const PerfectPath& path, Size clientSize = kSolverClientSize);

// findPerfectPath, then playPerfectPath at the solver's client area.
PerfectGame solvePerfectGame(int vertexCount, int startVertex = 0);

} // namespace tess
