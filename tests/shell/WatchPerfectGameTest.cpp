// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Watching a perfect game in the main window: Help's submenu and F2 start it, a timer plays
// it to the score page, the player's clicks and keys leave it alone but Escape and Home,
// and the menus stay usable while it plays.
#include "QtApp.h"
#include "app/CMainFrame.h"
#include "app/SoundDevice.h"
#include "game/Solver.h"
#include "input/KeyCodes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using tess::app::CMainFrame;

namespace {

class WatchPerfectGameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tess::test::qtApp();
        // The test environment's dummy SDL driver: notes played to their end take their time.
        audio = std::make_unique<tess::SoundDevice>();
        frame = std::make_unique<CMainFrame>(audio.get());
        frame->showMaximisedOnScreen();
        tess::test::waitForFirstPaint(*frame->viewWidget());
        ASSERT_TRUE(frame->viewWidget()->firstPaintDone());
        QApplication::setActiveWindow(frame.get());
        frame->viewWidget()->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        frame.reset();
        QApplication::processEvents();
        audio.reset();
    }

    tess::CMekkView& view() { return frame->view(); }
    QWidget* widget() { return frame->viewWidget(); }

    // Runs the event loop for ms milliseconds: long enough for the game's timer to take a step
    // if it were free to, which a test of what holds it checks it did not.
    static void runFor(int ms) {
        tess::test::waitUntil([] { return false; }, ms);
    }

    // A left click on the canvas point, as the desktop delivers it.
    void clickCanvas(tess::Point p) {
        const QPointF pos(p.x / widget()->devicePixelRatioF(), p.y / widget()->devicePixelRatioF());
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            qt_handleMouseEvent(widget()->windowHandle(), widget()->mapTo(frame.get(), pos),
                                widget()->mapToGlobal(pos),
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::LeftButton, type, Qt::NoModifier, ++clickTime);
        QApplication::processEvents();
    }

    bool historyEmpty() {
        int count[4] = {};
        return std::memcmp(view().historyCount, count, sizeof count) == 0;
    }

    std::unique_ptr<tess::SoundDevice> audio;
    std::unique_ptr<CMainFrame> frame;
    int clickTime = 100000;
};

} // namespace

TEST_F(WatchPerfectGameTest, TheHelpMenuOffersEveryShapeAndTheCurrentOneOnF2) {
    ASSERT_NE(frame->watchMenu(), nullptr);
    EXPECT_EQ(frame->helpMenu()->actions().first()->menu(), frame->watchMenu());
    QStringList items;
    for (QAction* a : frame->watchMenu()->actions())
        items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, (QStringList{"&Current Shape\tF2", "-", "&Square", "&Hexagon", "&Octagon",
                                  "&Decagon"}));

    for (const int n : {4, 6, 8, 10}) {
        frame->watchAction(n)->trigger();
        EXPECT_TRUE(frame->watchingPerfectGame()) << n;
        EXPECT_EQ(view().currentPage, tess::kGamePage);
        EXPECT_EQ(view().vertexCount, n);
        EXPECT_EQ(view().pathLength, 1);
        EXPECT_EQ(view().path[1], tess::findPerfectPath(n).vertices.front());
    }

    // F2 on the home page watches the shape played last; on the game page, the shape shown.
    frame->stopWatching();
    ASSERT_EQ(view().currentPage, tess::kHomePage);
    ASSERT_EQ(view().vertexCount, 10);
    tess::test::pressKey(widget(), Qt::Key_F2);
    EXPECT_TRUE(frame->watchingPerfectGame());
    EXPECT_EQ(view().vertexCount, 10);
    frame->watchAction(6)->trigger();
    tess::test::pressKey(widget(), Qt::Key_F2);
    EXPECT_EQ(view().vertexCount, 6);
    EXPECT_EQ(view().pathLength, 1) << "F2 starts the watched game again";
}

// The timer plays the whole game, notes included, and ends on the score page with the history
// as it stood; then Enter is the player's own game of the shape and Home the home page.
TEST_F(WatchPerfectGameTest, TheTimerPlaysItToTheScorePage) {
    ASSERT_EQ(view().soundSwitch, "on");
    frame->watchAction(4)->trigger();
    ASSERT_TRUE(tess::test::waitUntil([&] { return !frame->watchingPerfectGame(); }));
    EXPECT_EQ(view().gamePhase, tess::kFinished);
    EXPECT_FALSE(view().gameAborted);
    EXPECT_EQ(view().pathLength - 1, 5);
    EXPECT_EQ(view().pieceCount, 3);
    EXPECT_EQ(view().score, 100);
    EXPECT_TRUE(historyEmpty());

    tess::test::pressKey(widget(), Qt::Key_Return);
    EXPECT_EQ(view().gamePhase, tess::kDrawing);
    EXPECT_EQ(view().vertexCount, 4);
    EXPECT_EQ(view().pathLength, 1);
    tess::test::pressKey(widget(), Qt::Key_End);
    tess::test::pressKey(widget(), Qt::Key_End);
    EXPECT_EQ(view().historyCount[0], 1) << "the player's own score goes into the history";
    tess::test::pressKey(widget(), Qt::Key_Home);
    EXPECT_EQ(view().currentPage, tess::kHomePage);
}

TEST_F(WatchPerfectGameTest, ClicksAndKeysLeaveItAloneButEscapeAndHomeStopIt) {
    for (const int stopKey : {Qt::Key_Escape, Qt::Key_Home}) {
        frame->watchAction(6)->trigger();
        ASSERT_TRUE(tess::test::waitUntil([&] { return view().pathLength >= 3; }));
        // A click on another vertex, End, Enter, a letter and F1 change nothing. (Should F1
        // get through, its box is closed again rather than left to hang the test.)
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        guard.start(200);
        const int current = view().path[view().pathLength];
        clickCanvas(view().layout.vertexCentre[6][current == 1 ? 2 : 1]);
        for (const int key : {Qt::Key_End, Qt::Key_Return, Qt::Key_A, Qt::Key_F1})
            tess::test::pressKey(widget(), key);
        guard.stop();
        EXPECT_EQ(view().gamePhase, tess::kDrawing);
        const std::vector<int>& perfect = tess::findPerfectPath(6).vertices;
        for (int k = 1; k <= view().pathLength; ++k)
            EXPECT_EQ(view().path[k], perfect[std::size_t(k - 1)]) << "line " << k;

        tess::test::pressKey(widget(), stopKey);
        EXPECT_FALSE(frame->watchingPerfectGame());
        EXPECT_EQ(view().currentPage, tess::kHomePage);
        runFor(400);
        EXPECT_EQ(view().currentPage, tess::kHomePage) << "no step after the stop";
    }
    EXPECT_TRUE(historyEmpty());
}

// An open menu holds the game; File > Exit closes the window at once, and nothing plays on.
TEST_F(WatchPerfectGameTest, AnOpenMenuHoldsItAndExitEndsIt) {
    frame->watchAction(10)->trigger();
    ASSERT_TRUE(tess::test::waitUntil([&] { return view().pathLength >= 2; }));
    frame->helpMenu()->popup(frame->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(tess::test::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    const int held = view().pathLength;
    runFor(700);
    EXPECT_EQ(view().pathLength, held);
    frame->helpMenu()->close();
    ASSERT_TRUE(tess::test::waitUntil([&] { return view().pathLength > held; }));

    frame->exitAction()->trigger();
    EXPECT_FALSE(frame->isVisible());
    const int lines = view().pathLength;
    runFor(600);
    EXPECT_EQ(view().pathLength, lines);
}

// A game of the player's own is never lost to a watched one: while it is drawn or coloured,
// F2 does nothing and every Watch a Perfect Game item is greyed; on the home page, on a
// finished game and during a watched game they work.
TEST_F(WatchPerfectGameTest, NoneStartsWhileThePlayersGameIsUnderWay) {
    const auto offered = [&] {
        frame->updateActions();
        bool all = true, none = true;
        for (const int n : {0, 4, 6, 8, 10}) {
            all = all && frame->watchAction(n)->isEnabled();
            none = none && !frame->watchAction(n)->isEnabled();
        }
        EXPECT_TRUE(all || none) << "the items are greyed together";
        return all;
    };
    EXPECT_TRUE(offered()) << "on the home page";

    view().startShape(6);
    view().addLine(view().layout.vertexCentre[6][view().path[1] % 6 + 1].x,
                   view().layout.vertexCentre[6][view().path[1] % 6 + 1].y);
    ASSERT_EQ(view().pathLength, 2);
    for (const int phase : {tess::kDrawing, tess::kColouring}) {
        SCOPED_TRACE(phase);
        if (phase == tess::kColouring) tess::test::pressKey(widget(), Qt::Key_End);
        ASSERT_EQ(view().gamePhase, phase);
        EXPECT_FALSE(offered());
        tess::test::pressKey(widget(), Qt::Key_F2);
        frame->watchAction(4)->trigger();
        frame->watchPerfectGame(8);
        EXPECT_FALSE(frame->watchingPerfectGame());
        EXPECT_EQ(view().vertexCount, 6);
        EXPECT_EQ(view().pathLength, 2) << "the player's lines are kept";
        EXPECT_EQ(view().gamePhase, phase);
    }

    tess::test::pressKey(widget(), Qt::Key_End);
    ASSERT_EQ(view().gamePhase, tess::kFinished);
    EXPECT_TRUE(offered()) << "on a finished game";
    tess::test::pressKey(widget(), Qt::Key_F2);
    EXPECT_TRUE(frame->watchingPerfectGame());
    EXPECT_EQ(view().vertexCount, 6);
    EXPECT_TRUE(offered()) << "during a watched game";
    tess::test::pressKey(widget(), Qt::Key_F2);
    EXPECT_TRUE(frame->watchingPerfectGame());
}

// The watched game's pages look like the player's own: the title says what it is, how to
// leave it and that its score is not kept, until the player leaves its pages.
TEST_F(WatchPerfectGameTest, TheTitleSaysWhileAWatchedGameIsShown) {
    const auto says = [&] { return frame->windowTitle().contains("A perfect game to watch"); };
    EXPECT_FALSE(says());
    frame->watchAction(4)->trigger();
    EXPECT_TRUE(says());
    EXPECT_TRUE(frame->windowTitle().contains("Home stops it"));
    EXPECT_TRUE(frame->windowTitle().contains("its score is not kept"));
    ASSERT_TRUE(tess::test::waitUntil([&] { return !frame->watchingPerfectGame(); }));
    EXPECT_TRUE(says()) << "on its score page";
    tess::test::pressKey(widget(), Qt::Key_Return);
    EXPECT_FALSE(says()) << "the player's own game";
    EXPECT_TRUE(frame->windowTitle().startsWith("Tessarin -- "));

    frame->watchAction(6)->trigger();
    EXPECT_FALSE(frame->watchingPerfectGame()) << "the player's game is under way";
    tess::test::pressKey(widget(), Qt::Key_End);
    tess::test::pressKey(widget(), Qt::Key_End);
    frame->watchAction(6)->trigger();
    ASSERT_TRUE(says());
    tess::test::pressKey(widget(), Qt::Key_Escape);
    EXPECT_FALSE(says()) << "the home page";
}
