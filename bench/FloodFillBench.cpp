// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The border fill on a board-like picture: a Decagon with every diagonal drawn, scaled to the
// canvas, filled from the open space round it. Measured against the memory floor (one read
// and one write of every pixel) and, when built with OpenCV, against cv::floodFill.
#include "screen/canvas/Canvas.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#ifdef TESSARIN_BENCH_OPENCV
#include <opencv2/imgproc.hpp>
#endif

using namespace tess;

namespace {

constexpr Colour kFillA{255, 240, 240};
constexpr Colour kFillB{220, 220, 240};

Canvas board(int width, int height) {
    Canvas c(width, height);
    DrawingContext dc(c);
    dc.selectPen({kBlack, 1});
    const int radius = (height - 40) / 2;
    const int cx = width / 2;
    const int cy = height / 2;
    std::vector<Point> v;
    for (int i = 0; i < 10; ++i) {
        const double a = 2 * std::numbers::pi * i / 10 - std::numbers::pi / 2;
        v.push_back({cx + int(std::lround(radius * std::cos(a))),
                     cy + int(std::lround(radius * std::sin(a)))});
    }
    for (int i = 0; i < 10; ++i)
        for (int j = i + 1; j < 10; ++j) {
            dc.moveTo(v[std::size_t(i)].x, v[std::size_t(i)].y);
            dc.lineTo(v[std::size_t(j)].x, v[std::size_t(j)].y);
        }
    // The colouring frame round the whole board.
    dc.selectPen({kBlack, 2});
    dc.moveTo(4, 4);
    dc.lineTo(width - 5, 4);
    dc.lineTo(width - 5, height - 5);
    dc.lineTo(4, height - 5);
    dc.lineTo(4, 4);
    return c;
}

void setSize(benchmark::State& state, const Canvas& c) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * c.width() * c.height() * 8);
    state.SetLabel(std::to_string(c.width()) + "x" + std::to_string(c.height()));
}

// The open space round the shape: most of the canvas, bounded by the frame and the lines.
void BM_FloodFill(benchmark::State& state) {
    Canvas c = board(int(state.range(0)), int(state.range(1)));
    DrawingContext dc(c);
    bool flip = false;
    for (auto _ : state) {
        dc.selectBrush({flip ? kFillA : kFillB});
        flip = !flip;
        benchmark::DoNotOptimize(dc.floodFill(10, 10, kBlack));
        benchmark::ClobberMemory();
    }
    setSize(state, c);
}

// What no fill can beat: as many pixels as the fill covers, each read once and written once.
void BM_MemoryFloor(benchmark::State& state) {
    Canvas c = board(int(state.range(0)), int(state.range(1)));
    DrawingContext dc(c);
    dc.selectBrush({kFillA});
    dc.floodFill(10, 10, kBlack);
    std::size_t n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.pixel(x, y) == kFillA;
    state.counters["filled"] = double(n);
    bool flip = false;
    for (auto _ : state) {
        const std::uint32_t paint = (flip ? kFillA : kFillB).argb;
        flip = !flip;
        std::uint32_t* p = c.data();
        for (std::size_t i = 0; i < n; ++i)
            p[i] = p[i] == kBlack.argb ? p[i] : paint;
        benchmark::ClobberMemory();
    }
    setSize(state, c);
}

#ifdef TESSARIN_BENCH_OPENCV
// OpenCV's fill of the seed's connected colour on the same 32-bit pixels.
void BM_OpenCvFloodFill(benchmark::State& state) {
    Canvas c = board(int(state.range(0)), int(state.range(1)));
    cv::Mat image(c.height(), c.width(), CV_32SC1, c.data());
    bool flip = false;
    for (auto _ : state) {
        const std::uint32_t paint = (flip ? kFillA : kFillB).argb;
        flip = !flip;
        benchmark::DoNotOptimize(
            cv::floodFill(image, cv::Point(10, 10), cv::Scalar(double(std::int32_t(paint)))));
        benchmark::ClobberMemory();
    }
    setSize(state, c);
}
#endif

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({1016, 700})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_MemoryFloor)->Apply(sizes);
BENCHMARK(BM_FloodFill)->Apply(sizes);
#ifdef TESSARIN_BENCH_OPENCV
BENCHMARK(BM_OpenCvFloodFill)->Apply(sizes);
#endif

BENCHMARK_MAIN();
