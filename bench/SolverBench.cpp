// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The solver's time per shape: the exact search alone (what --perfect runs), and the whole
// perfect game, the search and the path played on a view at the solver's client area.
#include "game/Solver.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace tess;

namespace {

void setLabel(benchmark::State& state, const PerfectGame& game) {
    state.SetLabel(std::to_string(game.lines) + " lines, " + std::to_string(game.path.exactPieces) +
                   " exact pieces, " + std::to_string(game.pieces) + " counted");
}

void BM_FindPerfectPath(benchmark::State& state) {
    const int n = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(findPerfectPath(n));
}

void BM_SolvePerfectGame(benchmark::State& state) {
    const int n = int(state.range(0));
    PerfectGame game;
    for (auto _ : state)
        benchmark::DoNotOptimize(game = solvePerfectGame(n));
    setLabel(state, game);
}

} // namespace

BENCHMARK(BM_FindPerfectPath)->DenseRange(4, 10, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolvePerfectGame)->DenseRange(4, 10, 2)->Unit(benchmark::kMillisecond);
