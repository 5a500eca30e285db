// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The view's state at creation, the shape table and the fixed texts.
#include "game/CMekkView.h"
#include "game/ShapeTable.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <set>

using namespace tess;

TEST(ShapeTable, RowsAreIndexedByVertexCount) {
    const int counts[] = {4, 6, 8, 10};
    const int lines[] = {5, 13, 25, 41};
    const int pieces[] = {3, 22, 77, 216};
    const int factors[] = {1, 2, 4, 7};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(maxLines(counts[i]), lines[i]);
        EXPECT_EQ(maxPieces(counts[i]), pieces[i]);
        EXPECT_EQ(difficultyFactor(counts[i]), factors[i]);
    }
    // Every slot that is no shape's vertex count holds 0, in all three rows.
    for (int slot = 0; slot < 12; ++slot) {
        if (slot == 4 || slot == 6 || slot == 8 || slot == 10) continue;
        EXPECT_EQ(maxLines(slot), 0) << slot;
        EXPECT_EQ(maxPieces(slot), 0) << slot;
        EXPECT_EQ(difficultyFactor(slot), 0) << slot;
    }
    // maxLines is the longest walk that never repeats a line: n(n - 2)/2 + 1.
    for (int n : counts)
        EXPECT_EQ(maxLines(n), n * (n - 2) / 2 + 1);
}

TEST(ShapeTable, TextsCarryTheirPunctuation) {
    EXPECT_STREQ(shapeNameText[6], "Hexagon.");
    EXPECT_STREQ(factorText[10], "7,");
    EXPECT_STREQ(maxScoreText[8], "400.");
    EXPECT_STREQ(shapeNameText[4], "Square.");
    EXPECT_STREQ(shapeNameText[5], "");
    EXPECT_STREQ(versionText, "M610");
}

TEST(ShapeTable, TunesContinueTheTableAndUseOnlyTheirSlots) {
    EXPECT_EQ(tuneRow(0), shapeTable + 36);
    const int lengths[20] = {20, 16, 13, 19, 16, 16, 17, 12, 17, 17,
                             16, 15, 17, 17, 18, 16, 16, 15, 16, 15};
    for (int t = 0; t < kTuneCount; ++t) {
        const std::int32_t* row = tuneRow(t);
        EXPECT_EQ(row[0], lengths[t]) << "tune " << t + 1;
        for (int j = 1; j <= row[0]; ++j) {
            int slot = row[j];
            EXPECT_TRUE((slot >= 0 && slot <= 31) || slot == 38 || slot == 39)
                << "tune " << t + 1 << " note " << j;
        }
    }
    // Tune 12 and tune 18, note for note.
    const int tune12[] = {7, 7, 3, 3, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7, 7};
    for (int j = 0; j < 15; ++j)
        EXPECT_EQ(tuneRow(11)[j + 1], tune12[j]);
    const int tune18[] = {14, 12, 10, 8, 8, 9, 9, 38, 9, 8, 9, 8, 9, 39, 10};
    for (int j = 0; j < 15; ++j)
        EXPECT_EQ(tuneRow(17)[j + 1], tune18[j]);
    EXPECT_EQ(tuneRow(19)[15], 26); // the last note of the last tune
}

TEST(GameState, StartsOnTheHomePageWithTheDefaults) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    EXPECT_EQ(view.currentPage, kHomePage);
    EXPECT_EQ(view.startVertexChosen, 0);
    EXPECT_EQ(view.gamePhase, kDrawing);
    EXPECT_EQ(view.pathLength, 1);
    EXPECT_EQ(view.vertexCount, 4);
    EXPECT_EQ(view.colourIndex, 0);
    EXPECT_EQ(view.tuneIndex, 0);
    EXPECT_EQ(view.noteIndex, 0);
    EXPECT_EQ(view.score, 0);
    EXPECT_EQ(view.soundSwitch, "on");
    EXPECT_EQ(view.noteMode, "end");
    EXPECT_EQ(view.printSwitch, "off");
    EXPECT_EQ(view.scoreNote, "");
    EXPECT_FALSE(view.clientArea);
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(view.historyCount[s], 0);
    EXPECT_EQ(view.screen(), nullptr);
}

TEST(GameState, TextsAreExact) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    const std::string opening = "Select one of the four shapes below by clicking on it. ";
    ASSERT_EQ(view.homeIntroText.substr(0, opening.size()), opening);
    EXPECT_EQ(view.homeIntroText.substr(opening.size()), view.instructionsText);
    EXPECT_EQ(view.instructionsText.rfind("You play by connecting the dots or vertices of the "
                                          "selected shape. Click on any vertex other than the "
                                          "red one and a line",
                                          0),
              0u);
    EXPECT_NE(view.homeIntroText.find("your current position. \n   The objective is"),
              std::string::npos);
    EXPECT_NE(view.homeIntroText.find("the game ends with no score. \n   When you are finished"),
              std::string::npos);
    EXPECT_NE(view.homeIntroText.find("(12 x 20) / (13 x 22) = .83916. When rounded and"),
              std::string::npos);
    EXPECT_EQ(view.homeIntroText.substr(view.homeIntroText.size() - 54),
              "instructions while you are playing, press the F1 key. ");
    EXPECT_EQ(view.homeIntroText.size(), 2243u);
    EXPECT_EQ(view.explanationText,
              "Check your score above. It is the product of your # of lines times your # of "
              "pieces (the red numbers) divided by the product of the maximum # of lines times "
              "the maximum # of pieces (the green numbers), multiplied by 100 and rounded to the "
              "nearest whole number. This is then multiplied by the difficulty factor: 1 "
              "(square), 2 (hexagon), 4 (octagon), or 7 (decagon). \nTo play again, press the "
              "Enter key. For the Home page, press the Home key.");
}

TEST(GameState, RandomGeneratorIsTheCRuntimeOne) {
    fake::FakePlatform platform;
    CMekkView view(platform);
    view.randomState = 1; // srand(1): the C runtime's first values are 41, 18467, 6334
    EXPECT_EQ(view.nextRandom(), 41);
    EXPECT_EQ(view.nextRandom(), 18467);
    EXPECT_EQ(view.nextRandom(), 6334);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        int v = view.nextRandom();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        seen.insert(v % 10 + 1);
    }
    EXPECT_EQ(seen.size(), 10u); // every Decagon vertex can start
}
