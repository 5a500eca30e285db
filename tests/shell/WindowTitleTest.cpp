// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The window's title: the game's from the moment the window shows, and the title bar the window
// draws itself where a Wayland compositor leaves title bars to it: above the menu bar, showing
// the title as it changes, with nothing to click.
#include "QtApp.h"
#include "app/CMainFrame.h"
#include "app/TitleBar.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMenuBar>

namespace {

// How many pixels of the bar's middle third differ from its background colour.
int inkedPixels(QWidget& bar) {
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(1, 1);
    int inked = 0;
    for (int y = 0; y < image.height() - 1; ++y)
        for (int x = image.width() / 3; x < image.width() * 2 / 3; ++x)
            inked += image.pixel(x, y) != background;
    return inked;
}

// Notes the window's title when the window is first shown.
struct TitleAtShow : QObject {
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && title.isNull())
            title = static_cast<QWidget*>(object)->windowTitle();
        return false;
    }
    QString title;
};

} // namespace

TEST(WindowTitle, IsTheGamesFromTheMomentTheWindowShows) {
    tess::test::qtApp();
    tess::app::CMainFrame frame(nullptr);
    TitleAtShow seen;
    frame.installEventFilter(&seen);
    frame.showMaximisedOnScreen();
    // Not the frame's own "Mekk" until the first paint writes the game's.
    EXPECT_TRUE(seen.title.startsWith(QStringLiteral("Tessarin -- "))) << seen.title.toStdString();
    EXPECT_TRUE(seen.title.endsWith(QStringLiteral(" -- Version M610")));
}

TEST(TitleBar, StandsAboveTheMenuBarAndShowsTheTitleAsItChanges) {
    tess::test::qtApp();
    tess::app::CMainFrame frame(nullptr);
    auto* bar = new tess::app::TitleBar(&frame);
    frame.resize(800, 600);
    frame.show();
    QApplication::processEvents();
    // Across the whole window, and the menu bar and the view below it.
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 800, bar->height()));
    EXPECT_GT(bar->height(), 10);
    EXPECT_EQ(frame.menuBar()->geometry().top(), bar->height());
    EXPECT_GE(frame.viewWidget()->geometry().top(), frame.menuBar()->geometry().bottom());

    frame.setWindowTitle(QStringLiteral("Tessarin -- now -- Version M610"));
    QApplication::processEvents();
    const int titled = inkedPixels(*bar);
    EXPECT_GT(titled, 50);
    frame.setWindowTitle(QStringLiteral("Tessarin"));
    QApplication::processEvents();
    EXPECT_GT(inkedPixels(*bar), 10);
    EXPECT_LT(inkedPixels(*bar), titled);
    frame.setWindowTitle(QString(QLatin1Char(' ')));
    QApplication::processEvents();
    EXPECT_EQ(inkedPixels(*bar), 0);
}
