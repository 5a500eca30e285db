// libFuzzer entry: a stream of player events decoded from the fuzzer's bytes, over a client
// area chosen by the first byte. Any broken invariant or repaint mismatch aborts.
#include "support/EventStorm.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Small client areas keep each run fast; the storms in the unit tests cover large ones.
    static const tess::Size sizes[] = {{320, 240}, {400, 60}, {240, 160}, {300, 69}, {1, 1},
                                       {480, 330}};
    if (size < 1) return 0;
    tess::storm::Storm storm(sizes[data[0] % 6], data[0]);
    tess::storm::ByteSource in(data + 1, size - 1);
    tess::storm::Verdict v = storm.play(in, 2000);
    if (!v.failure.empty()) {
        std::fprintf(stderr, "%s\n", v.failure.c_str());
        std::abort();
    }
    return 0;
}
