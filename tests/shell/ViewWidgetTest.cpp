// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The view widget: Qt's keys and clicks as the game's, and the canvas shown on resizing.
#include "app/ViewWidget.h"
#include "QtApp.h"
#include "game/ShapeTable.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <array>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <iterator>
#include <string>
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
        tess::test::waitForFirstPaint(*widget);
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

// Whether the widget shows the canvas exactly in target (device pixels), each canvas pixel as a
// k x k block of its own colour, with white everywhere else.
::testing::AssertionResult showsCanvasInBlocks(ViewWidget& w, QRect target, int k) {
    const tess::Canvas& canvas = *w.view().screen();
    const QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb want =
                target.contains(x, y)
                    ? QRgb(canvas.pixel((x - target.left()) / k, (y - target.top()) / k).argb)
                    : qRgb(255, 255, 255);
            if (shot.pixel(x, y) != want)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << shot.pixel(x, y)
                       << ", not " << want;
        }
    return ::testing::AssertionSuccess();
}

// After a window-size change the first paint's canvas is shown with whole pixels wherever the
// window holds it at least once over: each pixel k x k, nearest, centred between white bars,
// and a click maps back to exactly the pixel under it.
TEST_F(ViewWidgetTest, AWindowWholeTimesTheCanvasShowsItsPixelsAsWholeBlocks) {
    ASSERT_EQ(widget->view().screen()->width(), 400);
    ASSERT_EQ(widget->view().screen()->height(), 300);
    const struct {
        QSize window;
        int k;
        QRect target;
    } cases[] = {
        {{1000, 700}, 2, {100, 50, 800, 600}},  // twice, with bars on every side
        {{800, 600}, 2, {0, 0, 800, 600}},      // exactly twice: no bars
        {{1300, 950}, 3, {50, 25, 1200, 900}},  // three times
        {{500, 400}, 1, {50, 50, 400, 300}},    // less than twice: whole pixels, unscaled
        {{1201, 899}, 2, {200, 149, 800, 600}}, // three times as wide, not as high
    };
    for (const auto& c : cases) {
        widget->resize(c.window);
        QApplication::processEvents();
        const QRectF shown = widget->canvasRect();
        EXPECT_EQ(shown, QRectF(c.target)) << c.window.width();
        const QRect target = shown.toRect();
        EXPECT_TRUE(showsCanvasInBlocks(*widget, target, c.k)) << c.window.width();
        EXPECT_EQ(widget->grab().toImage().pixel(target.topLeft()),
                  QRgb(widget->view().screen()->pixel(0, 0).argb));
        // Every canvas pixel's block maps back to that pixel, at its corners and its middle.
        for (const QPoint p : {QPoint(0, 0), QPoint(399, 299), QPoint(123, 45), QPoint(7, 288)})
            for (const double d : {0.0, c.k / 2.0, c.k - 0.01}) {
                int x = -1, y = -1;
                ASSERT_TRUE(widget->toCanvas(
                    QPointF(target.left() + p.x() * c.k + d, target.top() + p.y() * c.k + d), x,
                    y));
                EXPECT_EQ(QPoint(x, y), p) << c.window.width() << " " << d;
            }
        int x = -1, y = -1;
        EXPECT_FALSE(widget->toCanvas(QPointF(target.left() - 0.5, target.center().y()), x, y));
        EXPECT_FALSE(widget->toCanvas(QPointF(target.right() + 1.5, target.center().y()), x, y));
    }
}

// On a screen of pixel ratio 2 the blocks are whole device pixels too. The ratio is the
// application's, so this test starts itself again with the desktop scaled to 200 %.
TEST(ViewWidgetHighDensity, AWindowWholeTimesTheCanvasShowsWholeDevicePixelBlocks) {
    if (qEnvironmentVariableIsSet("TESSARIN_RATIO_CHILD")) {
        tess::test::qtApp();
        ViewWidget w(nullptr);
        w.resize(200, 150);
        w.show();
        tess::test::waitForFirstPaint(w);
        ASSERT_EQ(w.devicePixelRatioF(), 2.0);
        ASSERT_EQ(w.view().screen()->width(), 400);
        w.resize(450, 320); // 900 x 640 device pixels: twice the canvas, bars of 50 and 20
        QApplication::processEvents();
        EXPECT_EQ(w.canvasRect(), QRectF(25, 10, 400, 300));
        EXPECT_TRUE(showsCanvasInBlocks(w, QRect(50, 20, 800, 600), 2));
        int x = -1, y = -1;
        ASSERT_TRUE(w.toCanvas(QPointF(25 + 123.75, 10 + 45.25), x, y)); // device (297, 110)
        EXPECT_EQ(QPoint(x, y), QPoint(123, 45));
        return;
    }
    tess::test::qtApp();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_SCALE_FACTOR", "2");
    env.insert("TESSARIN_RATIO_CHILD", "1");
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=ViewWidgetHighDensity.*"});
    ASSERT_TRUE(child.waitForFinished(tess::test::kHangMs));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
}

// The date and time in the window title follow the desktop's locale, which Qt applies to the
// C library when the program starts, and reach the title in their own words whatever the
// locale's character set. Each locale needs a process of its own: this test, started again
// with the locale in its environment, shows a view and prints the title it was given.
TEST(WindowTitle, FollowsTheDesktopsLocale) {
    if (qEnvironmentVariableIsSet("TESSARIN_TITLE_CHILD")) {
        tess::test::qtApp();
        ViewWidget w(nullptr);
        w.resize(300, 200);
        w.show();
        tess::test::waitForFirstPaint(w);
        std::printf("\ntitle: %s\n", w.windowTitle().toUtf8().constData());
        std::fflush(stdout);
        return;
    }
    tess::test::qtApp();
    const QString localedef = QStandardPaths::findExecutable("localedef");
    if (localedef.isEmpty()) GTEST_SKIP() << "no localedef to make the locales with";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Locale {
        const char* source;
        const char* charset;
        const char* name;
    };
    // German in UTF-8, and Russian in KOI8-R, whose every day and month name is non-ASCII.
    const Locale locales[] = {{"de_DE", "UTF-8", "de_DE.UTF-8"},
                              {"ru_RU", "KOI8-R", "ru_RU.KOI8-R"}};
    for (const Locale& l : locales) {
        QProcess::execute(localedef, {"-i", l.source, "-f", l.charset, dir.filePath(l.name)});
        if (!QFileInfo::exists(dir.filePath(l.name) + "/LC_TIME"))
            GTEST_SKIP() << "localedef could not make " << l.name;
    }

    // The title this process forms for a moment in a locale, in UTC, with the C library's wide
    // "%c" read through Qt: what the window must show.
    const QByteArray oldLocPath = qgetenv("LOCPATH"), oldTz = qgetenv("TZ");
    qputenv("LOCPATH", dir.path().toLocal8Bit());
    qputenv("TZ", "UTC");
    tzset();
    const auto expected = [&](const char* name, std::time_t t) {
        const std::string before = std::setlocale(LC_TIME, nullptr);
        if (!std::setlocale(LC_TIME, name)) return QString();
        std::tm tm{};
        localtime_r(&t, &tm);
        wchar_t wide[128];
        const std::size_t n = std::wcsftime(wide, std::size(wide), L"%c", &tm);
        std::setlocale(LC_TIME, before.c_str());
        return QStringLiteral("Tessarin -- ") + QString::fromWCharArray(wide, qsizetype(n)) +
               QStringLiteral(" -- Version ") + QString::fromLatin1(tess::versionText);
    };

    QStringList titles;
    for (const Locale& l : locales) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TESSARIN_TITLE_CHILD", "1");
        env.insert("LOCPATH", dir.path());
        env.insert("LC_ALL", l.name);
        env.insert("TZ", "UTC");
        QProcess child;
        child.setProcessEnvironment(env);
        const std::time_t before = std::time(nullptr);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=WindowTitle.FollowsTheDesktopsLocale"});
        ASSERT_TRUE(child.waitForFinished(tess::test::kHangMs)) << l.name;
        const std::time_t after = std::time(nullptr);
        EXPECT_EQ(child.exitCode(), 0) << l.name;
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        const QRegularExpressionMatch m =
            QRegularExpression("^title: (.*)$", QRegularExpression::MultilineOption).match(out);
        ASSERT_TRUE(m.hasMatch()) << l.name << "\n" << out.toStdString();
        const QString title = m.captured(1);
        titles << title;
        EXPECT_FALSE(title.contains(QChar(0xFFFD))) << l.name << ": " << title.toStdString();
        bool matched = false;
        for (std::time_t t = before; t <= after && !matched; ++t)
            matched = title == expected(l.name, t);
        EXPECT_TRUE(matched) << l.name << ": " << title.toStdString() << " is not "
                             << expected(l.name, before).toStdString();
    }
    qputenv("LOCPATH", oldLocPath);
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();
    if (oldLocPath.isNull()) qunsetenv("LOCPATH");

    ASSERT_EQ(titles.size(), 2);
    // German: "Tessarin -- Sa 02 Mär 2024 14:05:09 UTC -- Version M610".
    EXPECT_TRUE(
        QRegularExpression("^Tessarin -- \\S+ \\d\\d \\S+ \\d{4} \\d\\d:\\d\\d:\\d\\d UTC -- "
                           "Version ")
            .match(titles[0])
            .hasMatch())
        << titles[0].toStdString();
    // Russian: its day and month names in Cyrillic, not the bytes of KOI8-R.
    EXPECT_TRUE(titles[1].contains(QRegularExpression("[\\x{0400}-\\x{04FF}]")))
        << titles[1].toStdString();
}

} // namespace
