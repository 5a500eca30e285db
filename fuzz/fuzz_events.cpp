// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// libFuzzer entry: a stream of player events decoded from the fuzzer's bytes, over a client
// area and pixel ratio chosen by the first byte. Any broken invariant, a paint that changes
// the game, or a fresh paint that differs from the handlers' picture stops the run and prints
// the events that led there, ready to paste into a test.
#include "support/EventStorm.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Small client areas keep each run fast; the storms in the unit tests cover large ones.
struct Screen {
    tess::Size client;
    double ratio;
};
constexpr Screen kScreens[] = {{{160, 120}, 1.0}, {{320, 240}, 1.0}, {{240, 180}, 1.0},
                               {{300, 69}, 1.0},  {{400, 60}, 1.0},  {{1, 1}, 1.0},
                               {{240, 180}, 1.5}, {{240, 180}, 2.0}};
constexpr int kScreenCount = sizeof kScreens / sizeof kScreens[0];

// The fresh paint is compared with the handlers' picture after every this many events and
// after the last; the state is checked after every event.
constexpr int kCompareEvery = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Screen& screen = kScreens[data[0] % kScreenCount];
    tess::storm::Storm storm(screen.client, data[0], screen.ratio, kCompareEvery);
    tess::storm::ByteSource in(data + 1, size - 1);
    const tess::storm::Verdict v = storm.play(in, 2000);
    if (!v.failure.empty()) {
        std::fprintf(stderr, "%s\n", v.report().c_str());
        std::abort();
    }
    return 0;
}
