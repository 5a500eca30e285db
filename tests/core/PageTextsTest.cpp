// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// What each page says, word for word: every text with the rectangle it stands in, its form,
// colour and font, as the drawing contexts drew it. The paints and the handlers both say it,
// so that a text drawn wrong by both alike, which a repaint compared with the handlers'
// picture cannot see, is seen here.
#include "support/PageTexts.h"
#include "game/ShapeTable.h"
#include "support/GameDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tess;
using tess::test::GameDriver;
using tess::test::pageTexts;
using tess::test::saidIn;
using Said = std::vector<std::string>;

namespace {

const std::string kConnect = "left black normal: Connect as many vertices as possible by "
                             "clicking inside the gray circles. When you are done, press the End "
                             "key.";
const std::string kColour = "left black normal: Now color each complete puzzle piece by clicking "
                            "inside its borders. When you are done, press the End key.";
const std::string kAborted = "left black normal: Game Aborted. Press the Enter key to try again "
                             "or the Home key to return to the Home page.";

Said operator+(Said a, const Said& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The two counters of the game page as they read.
Said linesCounter(int lines) {
    return {"right count largeBold: " + std::to_string(lines), "left label normal: # of lines:"};
}
Said piecesCounter(int pieces) {
    return {"right count largeBold: " + std::to_string(pieces), "left label normal: # of pieces:"};
}
Said maximum(int most) {
    return {"left label normal:  out of:", "right maximum largeBold: " + std::to_string(most)};
}

// A Square of five lines whose first triangle is coloured, and the tune 7 chosen.
struct SquareGame {
    GameDriver game;
    SquareGame() {
        game.view.tuneIndex = 6;
        game.startGame(4, 1);
        game.drawPath({2, 4, 3, 1, 4});
        game.end();
        game.click(firstTriangle());
    }
    Point firstTriangle() const {
        return game.inside(game.centre(1), game.centre(2), game.centre(4));
    }
    Point secondTriangle() const {
        return game.inside(game.centre(1), game.centre(3), game.centre(4));
    }
};

} // namespace

TEST(PageTexts, TheHomePageSaysItsTitleIntroductionAndTheTwentyTunes) {
    GameDriver game;
    const CMekkView& v = game.view;
    const Layout& l = v.layout;
    const std::vector<DrawnText> texts = pageTexts(game.view);
    EXPECT_EQ(saidIn(texts, l.introRect, v), Said{"wrapped black normal: " + v.homeIntroText});
    EXPECT_EQ(saidIn(texts, l.titleRect, v), Said{"centre title largeBold: Tessarin"});
    EXPECT_EQ(saidIn(texts, l.tuneTitleRect, v),
              Said{"centre black small: Select and Play a Tune"});
    // 1 to 10 down the left column, 11 to 20 down the right one.
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(saidIn(texts, l.tuneButton[k], v),
                  Said{"centre black small: " + std::to_string(k + 1)})
            << "button " << k;
    EXPECT_EQ(texts.size(), 23u) << "nothing else is written on the home page";
}

TEST(PageTexts, TheGamePageSaysItsCountersAndWhatToDoInEachPhase) {
    GameDriver game;
    const CMekkView& v = game.view;
    const Layout& l = v.layout;
    game.view.tuneIndex = 6;
    game.startGame(6, 2);
    game.drawPath({4, 6, 1});
    std::vector<DrawnText> texts = pageTexts(game.view);
    EXPECT_EQ(saidIn(texts, l.linesRect, v), linesCounter(3));
    EXPECT_EQ(saidIn(texts, l.maxLinesRect, v), maximum(13));
    EXPECT_EQ(saidIn(texts, l.messageRect[6], v), Said{kConnect});
    EXPECT_EQ(texts.size(), 5u);

    game.end();
    texts = pageTexts(game.view);
    EXPECT_EQ(saidIn(texts, l.messageRect[6], v), (Said{kConnect, kColour}));
    EXPECT_EQ(saidIn(texts, l.piecesRect, v), piecesCounter(0));
    EXPECT_EQ(saidIn(texts, l.maxPiecesRect, v), maximum(22));
    EXPECT_EQ(saidIn(texts, l.swatchRect[6], v), Said{"centre black normal: Next Color"});
    EXPECT_EQ(saidIn(texts, l.tuneBox[6], v), Said{"centre black normal: Current Tune: 7"});
    EXPECT_EQ(texts.size(), 12u);
}

TEST(PageTexts, AScoredGameSaysItsScoreNoteExplanationAndHistory) {
    SquareGame square;
    GameDriver& game = square.game;
    const CMekkView& v = game.view;
    const Layout& l = v.layout;
    game.end(); // 5 lines, 1 of 3 pieces: 100 x 5 x 1 / 15 = 33
    // A Hexagon ended at once, then the Square again with both triangles: 67.
    game.startGame(6, 1);
    game.end();
    game.end();
    game.startGame(4, 1);
    game.drawPath({2, 4, 3, 1, 4});
    game.end();
    game.click(square.firstTriangle());
    game.click(square.secondTriangle());
    game.end();

    const std::vector<DrawnText> texts = pageTexts(game.view);
    EXPECT_EQ(saidIn(texts, l.linesRect, v), linesCounter(5));
    EXPECT_EQ(saidIn(texts, l.piecesRect, v), piecesCounter(2));
    EXPECT_EQ(saidIn(texts, l.scoreRect, v),
              (Said{"right score largeBold: 67", "left label normal: Score:"}));
    EXPECT_EQ(saidIn(texts, l.explanationRect, v),
              Said{"wrapped note bold: The score shown above has been multiplied by 1, which is "
                   "the difficulty factor for the Square. \nTherefore, the maximum score for "
                   "this shape is 100."});
    const Said message = saidIn(texts, l.messageRect[4], v);
    ASSERT_EQ(message.size(), 3u);
    EXPECT_EQ(message[2], "wrapped black normal: " + v.explanationText);

    // The history: each shape's scores down its column, the totals below.
    const int totalRow = l.historyCapacity() + 1;
    const auto cell = [&](int shape, int row) {
        return saidIn(texts, l.historyCell[shape][row], v);
    };
    const char* heads[4] = {"Square", "Hexagon", "Octagon", "Decagon"};
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(cell(s, 0), Said{std::string("right black small: ") + heads[s]});
    EXPECT_EQ(cell(0, 1), Said{"right black small: 33"});
    EXPECT_EQ(cell(0, 2), Said{"right black small: 67"});
    EXPECT_EQ(cell(0, 3), Said{});
    EXPECT_EQ(cell(1, 1), Said{"right black small: 0"});
    EXPECT_EQ(cell(2, 1), Said{});
    EXPECT_EQ(cell(0, totalRow), Said{"right black small: 100"});
    EXPECT_EQ(cell(1, totalRow), Said{"right black small: 0"});
    EXPECT_EQ(cell(3, totalRow), Said{"right black small: 0"});
    // "  Tot:" at the left of the Square's total, in what the total leaves free.
    const auto tot = std::find_if(texts.begin(), texts.end(),
                                  [](const DrawnText& t) { return t.text == "  Tot:"; });
    ASSERT_NE(tot, texts.end());
    EXPECT_EQ(tot->form, TextForm::SingleLeft);
    EXPECT_EQ(tot->rect.left, l.historyCell[0][totalRow].left);
    EXPECT_EQ(tot->rect.top, l.historyCell[0][totalRow].top);
    EXPECT_LT(tot->rect.right, l.historyCell[0][totalRow].right);
}

TEST(PageTexts, AnAbortedGameSaysSoAndShowsNoScore) {
    SquareGame square;
    GameDriver& game = square.game;
    const CMekkView& v = game.view;
    const Layout& l = v.layout;
    game.click(40, 300); // the open space round the shape
    ASSERT_TRUE(v.gameAborted);
    const std::vector<DrawnText> texts = pageTexts(game.view);
    EXPECT_EQ(saidIn(texts, l.messageRect[4], v), (Said{kConnect, kColour, kAborted}));
    EXPECT_EQ(saidIn(texts, l.scoreRect, v), Said{});
    EXPECT_EQ(saidIn(texts, l.explanationRect, v), Said{});
    EXPECT_EQ(saidIn(texts, l.historyCell[0][0], v), Said{"right black small: Square"});
    EXPECT_EQ(saidIn(texts, l.historyCell[0][1], v), Said{});
}

// The handlers say what a paint says, and where only a handler draws (a tune button lit by a
// click, which a repaint lights in another colour) it says the button's own number.
TEST(PageTexts, TheHandlersSayWhatTheyChange) {
    GameDriver game;
    const CMekkView& v = game.view;
    const Layout& l = v.layout;
    game.platform.recordTexts = true;
    std::vector<DrawnText>& said = game.platform.texts;

    const Rect& tune15 = l.tuneButton[14];
    game.click((tune15.left + tune15.right) / 2, (tune15.top + tune15.bottom) / 2);
    ASSERT_EQ(v.tuneIndex, 14);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(saidIn(said, l.tuneButton[0], v), Said{"centre black small: 1"});
    EXPECT_EQ(saidIn(said, l.tuneButton[14], v), Said{"centre black small: 15"});

    game.startGame(8, 3);
    said.clear();
    game.drawPath({5, 1});
    EXPECT_EQ(saidIn(said, l.linesRect, v), linesCounter(1) + linesCounter(2));
    EXPECT_EQ(saidIn(said, l.maxLinesRect, v), maximum(25) + maximum(25));

    game.drawPath({3, 8, 5});
    game.end();
    said.clear();
    game.click(game.inside(game.centre(3), game.centre(5), game.centre(8)));
    ASSERT_EQ(v.pieceCount, 1);
    EXPECT_EQ(saidIn(said, l.swatchRect[8], v), Said{"centre black normal: Next Color"});
    EXPECT_EQ(saidIn(said, l.piecesRect, v), piecesCounter(1));
    EXPECT_EQ(saidIn(said, l.maxPiecesRect, v), maximum(77));
    EXPECT_EQ(saidIn(said, l.tuneBox[8], v), Said{"centre black normal: Current Tune: 15"});

    said.clear();
    game.end();
    EXPECT_EQ(saidIn(said, l.scoreRect, v), // 100 x 5 x 1 / (25 x 77) rounds to 0
              (Said{"right score largeBold: 0", "left label normal: Score:"}));
    EXPECT_EQ(saidIn(said, l.explanationRect, v),
              Said{"wrapped note bold: The score shown above has been multiplied by 4, which is "
                   "the difficulty factor for the Octagon. \nTherefore, the maximum score for "
                   "this shape is 400."});
    EXPECT_EQ(saidIn(said, l.historyCell[2][1], v), Said{"right black small: 0"});
}
