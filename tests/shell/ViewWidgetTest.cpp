// The view widget: Qt's keys and clicks as the game's, and the canvas shown on resizing.
#include "app/ViewWidget.h"
#include "QtApp.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

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

// A key press as X11 or Wayland delivers it: `place` is the key's XKB keycode.
QKeyEvent placedKey(int key, quint32 place, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    tess::test::qtApp();
    return QKeyEvent(QEvent::KeyPress, key, mods, place, 0, 0);
}

int placedCode(int key, quint32 place, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return ViewWidget::gameKey(placedKey(key, place, mods), true);
}

// Qt's keys for Cyrillic letters are their upper-case characters.
constexpr int kShortI = 0x0419, kEf = 0x0424, kYa = 0x042F, kZe = 0x0417, kEs = 0x0421;
constexpr int kZhe = 0x0416;

TEST(ViewWidgetKeys, TheLetterRowsByPlace) {
    const std::pair<quint32, const char*> rows[] = {
        {24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};
    for (auto [first, letters] : rows) {
        const quint32 n = static_cast<quint32>(std::strlen(letters));
        for (quint32 i = 0; i < n; ++i)
            EXPECT_EQ(ViewWidget::letterAt(first + i), Qt::Key_A + (letters[i] - 'A')) << first + i;
        // The keys either side of a row are no letters: Tab, [, Caps Lock, ;, Shift, comma.
        EXPECT_EQ(ViewWidget::letterAt(first - 1), 0) << first - 1;
        EXPECT_EQ(ViewWidget::letterAt(first + n), 0) << first + n;
    }
    EXPECT_EQ(ViewWidget::letterAt(0), 0);
    EXPECT_EQ(ViewWidget::letterAt(10), 0); // the digit 1
}

TEST(ViewWidgetKeys, LettersByPlaceUnderEveryLayout) {
    // US, French and Russian layouts: the keys at the places of Q, A and Z.
    for (auto [q, a, z] : {std::array<int, 3>{Qt::Key_Q, Qt::Key_A, Qt::Key_Z},
                           std::array<int, 3>{Qt::Key_A, Qt::Key_Q, Qt::Key_W},
                           std::array<int, 3>{kShortI, kEf, kYa}}) {
        EXPECT_EQ(placedCode(q, 24), 'Q');
        EXPECT_EQ(placedCode(a, 38, Qt::ShiftModifier), 'A');
        EXPECT_EQ(placedCode(z, 52), 'Z');
    }
    // A letter the layout puts where a US keyboard has none (the French M, right of L) is
    // no note key; a key with no place (a synthetic one) is read by Qt's key.
    EXPECT_EQ(placedCode(Qt::Key_M, 47), -1);
    EXPECT_EQ(placedCode(kZhe, 47), -1);
    EXPECT_EQ(placedCode(Qt::Key_M, 0), 'M');
    EXPECT_EQ(placedCode(kShortI, 0), -1);
    // Other keys are read by Qt's key as before.
    EXPECT_EQ(placedCode(Qt::Key_Return, 36), 13);
    EXPECT_EQ(placedCode(Qt::Key_F1, 67), 112);
    // Where the platform gives no places the scan code means nothing.
    EXPECT_EQ(ViewWidget::gameKey(placedKey(Qt::Key_A, 24), false), 'A');
}

TEST(ViewWidgetKeys, AcceleratorsByTheLayoutsLetterElseByPlace) {
    // Under a Russian layout Ctrl+P and Ctrl+C are the table's, by place; Ctrl with another
    // letter is that letter's note, and Alt with any is nothing.
    EXPECT_EQ(placedCode(kZe, 33, Qt::ControlModifier), -1);
    EXPECT_EQ(placedCode(kEs, 54, Qt::ControlModifier), -1);
    EXPECT_EQ(placedCode(kShortI, 24, Qt::ControlModifier), 'Q');
    EXPECT_EQ(placedCode(kShortI, 24, Qt::AltModifier), -1);
    // A Latin layout's own letter is the shortcut, as Qt's shortcuts read it: on a French
    // keyboard Ctrl+Z is the key at the place of W, and the key at the place of Z (printed
    // W) with Ctrl plays the note of its place.
    EXPECT_EQ(placedCode(Qt::Key_Z, 25, Qt::ControlModifier), -1);
    EXPECT_EQ(placedCode(Qt::Key_W, 52, Qt::ControlModifier), 'Z');
    EXPECT_EQ(ViewWidget::shortcutKey(placedKey(kZe, 33), true), Qt::Key_P);
    EXPECT_EQ(ViewWidget::shortcutKey(placedKey(kZe, 33), false), kZe);
    EXPECT_EQ(ViewWidget::shortcutKey(placedKey(Qt::Key_Z, 25), true), Qt::Key_Z);
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

TEST_F(ViewWidgetTest, CtrlAndAltCombinationsOfOtherLettersArePassedOnByPlace) {
    widget->setLettersByPosition(true);
    std::vector<QKeyCombination> passed;
    QObject::connect(widget.get(), &ViewWidget::shortcutByPosition,
                     [&](QKeyCombination keys) { passed.push_back(keys); });
    tess::test::Forwarded seen(widget.get());
    for (auto [key, place, mods] :
         {std::tuple{kZe, 33u, Qt::KeyboardModifiers(Qt::ControlModifier)},
          std::tuple{0x0410, 41u, Qt::KeyboardModifiers(Qt::AltModifier)}, // Cyrillic A: F
          std::tuple{kShortI, 24u, Qt::KeyboardModifiers(Qt::NoModifier)},
          std::tuple{int(Qt::Key_Q), 24u, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
        QKeyEvent press = placedKey(key, place, mods);
        QApplication::sendEvent(widget.get(), &press);
    }
    // Only the combinations whose letter Qt's shortcuts cannot read are passed on; Latin
    // ones went to Qt's shortcuts already.
    EXPECT_EQ(passed, (std::vector<QKeyCombination>{Qt::CTRL | Qt::Key_P, Qt::ALT | Qt::Key_F}));
    EXPECT_EQ(seen.keys, (std::vector<int>{'Q', 'Q'}));
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
