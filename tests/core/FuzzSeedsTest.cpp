// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The fuzzer's seed games: each decodes to the game it is named after, passing every check of
// the storm on the way, and the corpus kept in the repository holds exactly these bytes.
// TESSARIN_WRITE_FUZZ_SEEDS=1 writes them there again (after a change of the storm's code).
#include "support/FuzzSeeds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace tess;

namespace {

storm::Verdict play(const std::vector<std::uint8_t>& bytes, CMekkView** view, storm::Storm& s) {
    storm::ByteSource in(bytes.data() + 1, bytes.size() - 1);
    *view = &s.view();
    return s.play(in, 100000);
}

void matchesCorpus(const char* name, const std::vector<std::uint8_t>& bytes) {
    std::string path = TESSARIN_SOURCE_DIR;
    path.append("/fuzz/corpus/").append(name);
    if (std::getenv("TESSARIN_WRITE_FUZZ_SEEDS")) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> kept((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, bytes) << path << " is not the seed the storm's code makes now";
}

} // namespace

TEST(FuzzSeeds, APerfectSquare) {
    const std::vector<std::uint8_t> bytes = seeds::perfectSquare();
    storm::Storm s(seeds::kClient, seeds::kScreenByte);
    CMekkView* v = nullptr;
    const storm::Verdict verdict = play(bytes, &v, s);
    ASSERT_EQ(verdict.failure, "") << verdict.report();
    EXPECT_EQ(v->gamePhase, kFinished);
    EXPECT_FALSE(v->gameAborted);
    EXPECT_EQ(v->pathLength - 1, 5);
    EXPECT_EQ(v->pieceCount, 3);
    EXPECT_EQ(v->score, 100);
    matchesCorpus("perfect-square", bytes);
}

TEST(FuzzSeeds, AnAbortedHexagon) {
    const std::vector<std::uint8_t> bytes = seeds::abortedHexagon();
    storm::Storm s(seeds::kClient, seeds::kScreenByte);
    CMekkView* v = nullptr;
    const storm::Verdict verdict = play(bytes, &v, s);
    ASSERT_EQ(verdict.failure, "") << verdict.report();
    // Aborted with no score, played again and scored 0, and back on the home page.
    EXPECT_EQ(v->currentPage, kHomePage);
    EXPECT_EQ(v->historyCount[1], 1);
    EXPECT_EQ(v->historyList[1][1], 0);
    matchesCorpus("aborted-hexagon", bytes);
}

TEST(FuzzSeeds, AFullDecagonColouredToTheEnd) {
    const std::vector<std::uint8_t> bytes = seeds::fullDecagon();
    storm::Storm s(seeds::kClient, seeds::kScreenByte);
    CMekkView* v = nullptr;
    const storm::Verdict verdict = play(bytes, &v, s);
    ASSERT_EQ(verdict.failure, "") << verdict.report();
    EXPECT_EQ(v->gamePhase, kFinished);
    EXPECT_FALSE(v->gameAborted);
    EXPECT_EQ(v->pathLength - 1, 41);
    EXPECT_GT(v->pieceCount, 50);
    EXPECT_EQ(v->historyCount[3], 1);
    EXPECT_LE(bytes.size(), 1536u) << "the fuzzer reads inputs of at most 1536 bytes";
    matchesCorpus("full-decagon", bytes);
}
