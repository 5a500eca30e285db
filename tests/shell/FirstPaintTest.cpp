// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The window's first paint: the window's first picture is the game's, drawn in the first paint
// event of a window that stands at its final place, and said once; the keyboard's coming and
// going does not repaint the view.
#include "QtApp.h"
#include "app/CMainFrame.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPaintEvent>

#include <memory>

using tess::app::CMainFrame;
using tess::app::ViewWidget;

namespace {

// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    explicit PaintCounter(ViewWidget* watched) : view(watched) { view->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == view && event->type() == QEvent::Paint) ++paints;
        return false;
    }
    ViewWidget* view;
    int paints = 0;
};

class FirstPaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tess::test::qtApp();
        frame = std::make_unique<CMainFrame>(nullptr);
        counter = std::make_unique<PaintCounter>(frame->viewWidget());
        QObject::connect(frame->viewWidget(), &ViewWidget::firstPainted, frame.get(), [this] {
            ++saidPainted;
            paintsWhenSaid = counter->paints;
            canvasWhenSaid = frame->view().screen() != nullptr;
        });
    }
    void TearDown() override {
        counter.reset();
        frame.reset();
        QApplication::processEvents();
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<PaintCounter> counter;
    int saidPainted = 0;
    int paintsWhenSaid = -1;
    bool canvasWhenSaid = false;
};

TEST_F(FirstPaintTest, TheWindowsFirstPictureIsTheGamesAndIsSaidOnce) {
    frame->showMaximisedOnScreen();
    tess::test::waitForFirstPaint(*frame->viewWidget());
    ASSERT_TRUE(frame->viewWidget()->firstPaintDone());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    // The window stood at its final place when it was exposed: its first paint event drew
    // the game, with no white picture before it, and the game said so once, at that event.
    EXPECT_EQ(saidPainted, 1);
    EXPECT_EQ(paintsWhenSaid, 1);
    EXPECT_TRUE(canvasWhenSaid);
    // The canvas is the view's size, and the window shows it pixel for pixel.
    const tess::Canvas* canvas = frame->view().screen();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(QSize(canvas->width(), canvas->height()), frame->viewWidget()->size());
    const QImage shown =
        frame->viewWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn(reinterpret_cast<const uchar*>(canvas->data()), canvas->width(),
                       canvas->height(), qsizetype(canvas->width()) * 4, QImage::Format_RGB32);
    EXPECT_TRUE(shown == drawn);
}

TEST_F(FirstPaintTest, GainingAndLosingTheKeyboardDoesNotRepaintTheView) {
    frame->showMaximisedOnScreen();
    tess::test::waitForFirstPaint(*frame->viewWidget());
    ASSERT_TRUE(frame->viewWidget()->firstPaintDone());
    QApplication::setActiveWindow(frame.get());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const int before = counter->paints;
    frame->viewWidget()->clearFocus();
    QApplication::processEvents();
    frame->viewWidget()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(frame->viewWidget()->hasFocus());
    EXPECT_EQ(counter->paints, before);
}

TEST_F(FirstPaintTest, AViewShownOnItsOwnStillPaintsOnceShown) {
    // Without a frame that knows the window's place, the first paint waits for the show.
    ViewWidget view(nullptr);
    PaintCounter own(&view);
    int said = 0;
    QObject::connect(&view, &ViewWidget::firstPainted, &view, [&said] { ++said; });
    view.resize(300, 200);
    view.show();
    tess::test::waitForFirstPaint(view);
    ASSERT_TRUE(view.firstPaintDone());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(said, 1);
    ASSERT_NE(view.view().screen(), nullptr);
    EXPECT_EQ(view.view().screen()->width(), 300);
    EXPECT_EQ(view.view().screen()->height(), 200);
}

} // namespace
