// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The main window, its menus and accelerators, the About box and the file commands.
#include "QtApp.h"
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

using tess::app::CAboutDlg;
using tess::app::CMainFrame;

namespace {

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tess::test::qtApp();
        frame = std::make_unique<CMainFrame>(nullptr);
        frame->showMaximisedOnScreen();
        tess::test::waitForFirstPaint(*frame->viewWidget());
        QApplication::setActiveWindow(frame.get());
        frame->viewWidget()->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        frame.reset();
        QApplication::processEvents();
    }

    QStringList texts(QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            list << (a->isSeparator() ? "-" : a->text());
        return list;
    }
    // What the player sees as the menu opens.
    void open(QMenu* menu) { emit menu->aboutToShow(); }

    // Runs `act`, which opens a modal file dialog, and answers the dialog with `answer`. A
    // dialog that has not shown within the limit a hang reaches counts as missing.
    void withFileDialog(const std::function<void()>& act,
                        const std::function<void(QFileDialog*)>& answer) {
        bool seen = false;
        QElapsedTimer clock;
        clock.start();
        // Whatever is still open long after the answer (or the lack of a dialog) is closed, so
        // that a wrong answer fails the test instead of hanging it.
        QTimer guard;
        guard.setInterval(tess::test::kHangMs);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) {
                    poll.stop();
                    seen = true;
                    guard.start();
                    answer(d);
                    return;
                }
            if (clock.elapsed() > tess::test::kHangMs) {
                poll.stop();
                guard.start(0);
            }
        });
        poll.start();
        act();
        poll.stop();
        guard.stop();
        EXPECT_TRUE(seen) << "no file dialog was shown";
    }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, OpensMaximisedWithoutCloseButtonsOrSizingBorder) {
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize()); // cannot be resized
    EXPECT_EQ(frame->frameGeometry(), frame->screen()->availableGeometry());
    EXPECT_EQ(frame->size(), frame->minimumSize());
    EXPECT_EQ(frame->findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(frame->findChild<QToolBar*>(), nullptr);
    EXPECT_FALSE(frame->windowIcon().isNull());
}

TEST_F(MainFrameTest, TheFirstPaintSeesTheWindowsFinalClientArea) {
    ASSERT_TRUE(frame->viewWidget()->firstPaintDone());
    const tess::Canvas* canvas = frame->view().screen();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->width(), frame->viewWidget()->width());
    EXPECT_EQ(canvas->height(), frame->viewWidget()->height());
    EXPECT_GT(canvas->height(), 100);
}

TEST_F(MainFrameTest, MenuTextsAreExact) {
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "Sound", "&Help"}));
    EXPECT_EQ(texts(frame->fileMenu()),
              (QStringList{"-", "&Print...\tCtrl+P", "P&rint Setup...", "-", "E&xit"}));
    EXPECT_FALSE(frame->fileMenu()->separatorsCollapsible()); // the leading line shows
    EXPECT_EQ(texts(frame->soundMenu()), (QStringList{"Turn Sound On", "Turn Sound Off",
                                                      "Play Notes To End", "Cut Notes Short"}));
    EXPECT_EQ(texts(frame->helpMenu()),
              (QStringList{"&Watch a Perfect Game", "-", "&About Tessarin..."}));
    for (QMenu* menu :
         {frame->fileMenu(), frame->soundMenu(), frame->helpMenu(), frame->watchMenu()})
        for (QAction* a : menu->actions())
            EXPECT_FALSE(a->isCheckable());
}

TEST_F(MainFrameTest, TheFileMenusLeadingSeparatorIsDrawnAsTheSecondIs) {
    QMenu* menu = frame->fileMenu();
    menu->popup(frame->mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    const QImage shot = menu->grab().toImage();
    menu->hide();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 5);
    const int x = shot.width() / 2;
    // The menu's background, above the last item's text; the second separator's line is the
    // one row of its rectangle in another colour.
    const QRgb background = shot.pixel(x, menu->actionGeometry(items[4]).top());
    const QRect second = menu->actionGeometry(items[3]);
    int line = -1;
    for (int y = second.top(); y <= second.bottom(); ++y)
        if (shot.pixel(x, y) != background) line = y;
    ASSERT_GE(line, 0) << "the second separator draws no line";
    const QRgb lineColour = shot.pixel(x, line);

    // The first separator draws the same line across the menu, with the menu's background
    // between it and the frame above.
    const QRect first = menu->actionGeometry(items[0]);
    int firstLine = -1;
    for (int y = first.top(); y <= first.bottom() && firstLine < 0; ++y)
        if (shot.pixel(x, y) == lineColour) firstLine = y;
    ASSERT_GE(firstLine, 1) << "the first separator's line is not drawn";
    for (int px = first.left() + 10; px < first.right() - 10; ++px)
        EXPECT_EQ(shot.pixel(px, firstLine), lineColour) << px;
    EXPECT_EQ(shot.pixel(x, firstLine - 1), background);
}

TEST_F(MainFrameTest, PrintIsAlwaysGreyedAndTheSoundItemsFollowTheGame) {
    auto enabled = [&] {
        std::vector<bool> e;
        for (int id :
             {tess::kCmdSoundOn, tess::kCmdSoundOff, tess::kCmdNotesToEnd, tess::kCmdCutNotesShort})
            e.push_back(frame->soundAction(id)->isEnabled());
        return e;
    };
    open(frame->soundMenu());
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false, true}));

    // The menu's commands reach the view, and the next opening shows their effect.
    frame->soundAction(tess::kCmdSoundOff)->trigger();
    frame->soundAction(tess::kCmdCutNotesShort)->trigger();
    EXPECT_EQ(frame->view().soundSwitch, "off");
    EXPECT_EQ(frame->view().noteMode, "cut");
    open(frame->soundMenu());
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, true, false}));

    // The game changed behind the menu's back: the next opening follows it.
    frame->view().soundSwitch = "on";
    open(frame->soundMenu());
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true, false}));

    for (const char* page : {"home", "game"}) {
        frame->view().currentPage = std::string(page) == "home" ? tess::kHomePage : tess::kGamePage;
        open(frame->fileMenu());
        EXPECT_FALSE(frame->printAction()->isEnabled()) << page;
        EXPECT_FALSE(frame->printSetupAction()->isEnabled()) << page;
        EXPECT_TRUE(frame->exitAction()->isEnabled()) << page;
    }
}

TEST_F(MainFrameTest, AcceleratorsNeverReachTheView) {
    QWidget* view = frame->viewWidget();
    tess::test::Forwarded seen(frame->viewWidget());
    const std::pair<int, Qt::KeyboardModifiers> table[] = {
        {Qt::Key_P, Qt::ControlModifier},      {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier},      {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},      {Qt::Key_N, Qt::ControlModifier},
        {Qt::Key_Backspace, Qt::AltModifier},  {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_F6, Qt::NoModifier},          {Qt::Key_F6, Qt::ShiftModifier},
    };
    for (auto [key, mods] : table)
        tess::test::pressKey(view, key, mods);
    EXPECT_TRUE(seen.keys.empty());

    // Ctrl with another letter is that letter; Alt with a letter is nothing.
    tess::test::pressKey(view, Qt::Key_Q, Qt::ControlModifier);
    tess::test::pressKey(view, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(seen.keys, std::vector<int>{'Q'});
}

TEST_F(MainFrameTest, AcceleratorsAndMenusWorkUnderALayoutWithoutLatinLetters) {
    // A Russian layout alone: Qt's shortcuts find no Latin letter, so the view passes the
    // combinations on by the keys' places.
    auto* view = frame->viewWidget();
    view->setLettersByPosition(true);
    tess::test::Forwarded seen(view);
    constexpr int kZe = 0x0417, kShcha = 0x0429, kA = 0x0410, kChe = 0x0427, kShortI = 0x0419;

    tess::test::pressPlacedKey(view, kZe, 33, Qt::ControlModifier);     // Ctrl+P, greyed
    tess::test::pressPlacedKey(view, kShortI, 24, Qt::ControlModifier); // Ctrl+Q: a note
    EXPECT_EQ(seen.keys, std::vector<int>{'Q'});

    withFileDialog([&] { tess::test::pressPlacedKey(view, kShcha, 32, Qt::ControlModifier); },
                   [](QFileDialog* d) {
                       EXPECT_EQ(d->windowTitle(), "Open");
                       d->reject();
                   });

    // Alt with the key at the place of F opens the File menu, whose items take the keys at
    // the places of their underlined letters: X is Exit.
    int exits = 0;
    QObject::connect(frame->exitAction(), &QAction::triggered, [&] { ++exits; });
    tess::test::pressPlacedKey(view, kA, 41, Qt::AltModifier);
    EXPECT_EQ(frame->menuBar()->activeAction(), frame->fileMenu()->menuAction());
    EXPECT_TRUE(frame->fileMenu()->isVisible());
    QKeyEvent x(QEvent::KeyPress, kChe, Qt::NoModifier, 53, 0, 0, QString(QChar(0x0447)));
    QApplication::sendEvent(frame->fileMenu(), &x);
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameTest, NewAndOpenKeepTheGameAndSaveWritesAnEmptyFile) {
    QTemporaryDir dir;
    const QString kept = dir.path() + "/kept.txt";
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the player's own words");
    }
    frame->view().vertexCount = 8;
    QWidget* view = frame->viewWidget();

    withFileDialog([&] { tess::test::pressKey(view, Qt::Key_O, Qt::ControlModifier); },
                   [&](QFileDialog* d) {
                       EXPECT_EQ(d->windowTitle(), "Open");
                       EXPECT_EQ(d->nameFilters(), QStringList{"All Files (*)"});
                       // Typed, not selected: the dialog lists its folder in the background.
                       auto* name = d->findChild<QLineEdit*>("fileNameEdit");
                       ASSERT_NE(name, nullptr);
                       name->setText(kept);
                       QMetaObject::invokeMethod(d, "accept");
                   });
    EXPECT_EQ(frame->document().pathName(), kept);
    EXPECT_EQ(frame->view().vertexCount, 8);
    EXPECT_EQ(frame->view().currentPage, tess::kHomePage);

    // Save after Open asks where to save instead of emptying the opened file.
    withFileDialog([&] { tess::test::pressKey(view, Qt::Key_S, Qt::ControlModifier); },
                   [&](QFileDialog* d) {
                       EXPECT_EQ(d->windowTitle(), "Save As");
                       d->reject();
                   });
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "the player's own words");

    tess::test::pressKey(view, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(frame->document().pathName().isEmpty());
    EXPECT_EQ(frame->view().vertexCount, 8);

    const QString saved = dir.path() + "/saved.mek";
    withFileDialog([&] { tess::test::pressKey(view, Qt::Key_S, Qt::ControlModifier); },
                   [&](QFileDialog* d) {
                       // Typed as the player would type it.
                       auto* name = d->findChild<QLineEdit*>("fileNameEdit");
                       ASSERT_NE(name, nullptr);
                       name->setText(saved);
                       QMetaObject::invokeMethod(d, "accept");
                   });
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(QFile(saved).size(), 0);
    EXPECT_EQ(frame->document().pathName(), saved);
}

TEST(AboutBox, ShowsTheVersionAndClosesWithOkOrEscape) {
    tess::test::qtApp();
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Tessarin");
    EXPECT_EQ(about.textLabel()->text(),
              "Tessarin Version M609 \nPress F1 to see the instructions.");
    EXPECT_EQ(about.textLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(about.okButton()->text(), "OK");
    EXPECT_TRUE(about.okButton()->isDefault());

    QTimer::singleShot(0, &about, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&about, &escape);
    });
    EXPECT_EQ(about.exec(), QDialog::Rejected);
    QTimer::singleShot(0, about.okButton(), &QPushButton::click);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

} // namespace
