// The view widget: Qt's keys and clicks as the game's, and the canvas shown on resizing.
#include "app/ViewWidget.h"
#include "QtApp.h"

#include <gtest/gtest.h>

using tess::app::ViewWidget;

namespace {

int codeOf(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    // A key event needs the application: it names the keyboard the key came from.
    tess::test::qtApp();
    return ViewWidget::gameKey(QKeyEvent(QEvent::KeyPress, key, mods, text));
}

TEST(ViewWidgetKeys, GameKeysByKeyNotByText) {
    EXPECT_EQ(codeOf(Qt::Key_Return), 13);
    EXPECT_EQ(codeOf(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(codeOf(Qt::Key_Home), 36);
    EXPECT_EQ(codeOf(Qt::Key_End), 35);
    EXPECT_EQ(codeOf(Qt::Key_F1), 112);
    EXPECT_EQ(codeOf(Qt::Key_A, Qt::NoModifier, "a"), 65);
    EXPECT_EQ(codeOf(Qt::Key_Z, Qt::ShiftModifier, "Z"), 90);
    EXPECT_EQ(codeOf(Qt::Key_Q, Qt::NoModifier, "Q"), 81); // Caps Lock gives "Q" as text
    EXPECT_EQ(codeOf(Qt::Key_W, Qt::ControlModifier), 87);
}

TEST(ViewWidgetKeys, KeysTheGameNeverSees) {
    for (int key : {Qt::Key_1, Qt::Key_Left, Qt::Key_Escape, Qt::Key_F2, Qt::Key_Space, Qt::Key_Tab,
                    Qt::Key_Eacute})
        EXPECT_EQ(codeOf(key), -1) << key;
    EXPECT_EQ(codeOf(Qt::Key_Q, Qt::AltModifier), -1);
    EXPECT_EQ(codeOf(Qt::Key_Return, Qt::AltModifier), -1);
    for (int key :
         {Qt::Key_N, Qt::Key_O, Qt::Key_S, Qt::Key_P, Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V})
        EXPECT_EQ(codeOf(key, Qt::ControlModifier), -1) << key;
    // Only the table's exact combinations are taken: Ctrl+Shift+P is the letter P.
    EXPECT_EQ(codeOf(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier), 80);
}

class ViewWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tess::test::qtApp();
        widget = std::make_unique<ViewWidget>(nullptr);
        widget->resize(400, 300);
        widget->show();
        for (int i = 0; i < 20 && !widget->firstPaintDone(); ++i)
            QApplication::processEvents();
        ASSERT_TRUE(widget->firstPaintDone());
    }
    void TearDown() override {
        widget.reset();
        QApplication::processEvents();
    }

    void mouse(QEvent::Type type, QPoint pos, int time) {
        const Qt::MouseButtons state =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        qt_handleMouseEvent(widget->windowHandle(), pos, widget->mapToGlobal(pos), state,
                            Qt::LeftButton, type, Qt::NoModifier, time);
        QApplication::processEvents();
    }
    void click(QPoint pos, int time) {
        mouse(QEvent::MouseButtonPress, pos, time);
        mouse(QEvent::MouseButtonRelease, pos, time + 5);
    }

    std::unique_ptr<ViewWidget> widget;
};

TEST_F(ViewWidgetTest, TheSecondPressOfADoubleClickDoesNothing) {
    tess::test::Forwarded seen(widget.get());
    click({100, 100}, 10000);
    click({100, 100}, 10100); // a double click
    EXPECT_EQ(seen.clicks.size(), 1u);
    click({100, 100}, 10200); // a third press starts afresh
    EXPECT_EQ(seen.clicks.size(), 2u);
    click({100, 100}, 20000); // far apart in time
    click({300, 200}, 20050); // far apart in place
    EXPECT_EQ(seen.clicks.size(), 4u);
    EXPECT_EQ(seen.clicks.back(), std::make_pair(300, 200));
}

TEST_F(ViewWidgetTest, AutoRepeatOfAHeldLetterReachesTheView) {
    tess::test::Forwarded seen(widget.get());
    widget->setFocus();
    tess::test::pressKey(widget.get(), Qt::Key_G);
    tess::test::pressKey(widget.get(), Qt::Key_G, Qt::NoModifier, true);
    tess::test::pressKey(widget.get(), Qt::Key_G, Qt::NoModifier, true);
    EXPECT_EQ(seen.keys, (std::vector<int>{71, 71, 71}));
}

TEST_F(ViewWidgetTest, AResizedWindowShowsTheFirstCanvasScaledAndMapsClicksBack) {
    const tess::Canvas* canvas = widget->view().screen();
    ASSERT_EQ(canvas->width(), 400);
    ASSERT_EQ(canvas->height(), 300);
    EXPECT_EQ(widget->canvasRect(), QRectF(0, 0, 400, 300));

    widget->resize(800, 300); // twice as wide: the canvas stands in the middle, unscaled
    QApplication::processEvents();
    EXPECT_EQ(widget->view().screen(), canvas); // nothing made again, the game goes on
    EXPECT_EQ(widget->canvasRect(), QRectF(200, 0, 400, 300));

    widget->resize(800, 600); // twice the size: scaled by two
    QApplication::processEvents();
    EXPECT_EQ(widget->canvasRect(), QRectF(0, 0, 800, 600));
    int x = -1, y = -1;
    ASSERT_TRUE(widget->toCanvas({799.5, 599.5}, x, y));
    EXPECT_EQ(x, 399);
    EXPECT_EQ(y, 299);

    widget->resize(200, 300); // half as wide: letterboxed top and bottom
    QApplication::processEvents();
    EXPECT_EQ(widget->canvasRect(), QRectF(0, 75, 200, 150));
    ASSERT_TRUE(widget->toCanvas({100, 150}, x, y));
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 150);
    EXPECT_FALSE(widget->toCanvas({100, 20}, x, y)); // on the white bar

    // The white bars are painted, the canvas shows between them.
    const QImage shot = widget->grab().toImage();
    EXPECT_EQ(shot.pixel(100, 10), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(100, 290), qRgb(255, 255, 255));

    tess::test::Forwarded seen(widget.get());
    click({100, 20}, 50000);  // the bar: no click
    click({100, 150}, 60000); // the canvas's centre
    EXPECT_EQ(seen.clicks, (std::vector<std::pair<int, int>>{{200, 150}}));
}

} // namespace
