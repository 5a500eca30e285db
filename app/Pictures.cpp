// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/Pictures.h"

#include "app/CMainFrame.h"
#include "game/Solver.h"
#include "game/WatchedGame.h"
#include "input/KeyCodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>
#include <vector>

namespace tess::app {

namespace {

// The window as it shows the page now, once its last change is painted.
bool save(CMainFrame& frame, const QString& path) {
    frame.viewWidget()->update();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (frame.grab().save(path, "PNG")) {
        std::printf("%s\n", QFile::encodeName(path).constData());
        return true;
    }
    std::fprintf(stderr, "Could not save %s\n", QFile::encodeName(path).constData());
    return false;
}

} // namespace

void useOffscreenScreenForPictures() {
    // With Qt's scale factor set (QT_SCALE_FACTOR=2), the screen has that many more pixels,
    // so that the window is the same size on the desktop and the pictures show it as a
    // high-density screen does.
    bool known = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&known);
    const double scale = known && factor >= 1.0 ? factor : 1.0;
    const QString path = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                             .filePath(QStringLiteral("tessarin-pictures-screen.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QStringLiteral("{\"screens\": [{\"name\": \"pictures\", \"x\": 0, \"y\": 0, "
                                  "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                  "\"logicalBaseDpi\": 96, \"dpr\": 1}]}\n")
                       .arg(std::lround(kPictureScreenWidth * scale))
                       .arg(std::lround(kPictureScreenHeight * scale))
                       .toUtf8());
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

int savePictures(CMainFrame& frame, const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "Could not make the folder %s\n", QFile::encodeName(dir).constData());
        return 1;
    }
    frame.waitForFirstPaint();
    CMekkView& view = frame.view();
    if (!view.screen()) return 1;
    if (!save(frame, QDir(dir).filePath(QStringLiteral("home.png")))) return 1;

    // A Hexagon game of the most lines from its first vertex, every closed piece coloured,
    // then scored, played through the game's own rules.
    const std::vector<int> path = findPerfectPath(6, 1).vertices;
    view.startShapeFrom(6, path.front());
    for (std::size_t k = 1; k < path.size(); ++k) {
        const Point c = view.layout.vertexCentre[6][path[k]];
        view.OnLButtonDown(c.x, c.y);
    }
    view.OnKeyDown(vk::End);
    for (Point piece : view.uncolouredPieces())
        view.OnLButtonDown(piece.x, piece.y);
    view.OnKeyDown(vk::End);
    if (!save(frame, QDir(dir).filePath(QStringLiteral("finished.png")))) return 1;

    // A perfect Decagon, as Help > Watch a Perfect Game plays it, on its score page.
    WatchedGame watched(view);
    for (int beat = watched.start(10); beat != WatchedGame::kEnded; beat = watched.step()) {
    }
    return save(frame, QDir(dir).filePath(QStringLiteral("perfect-decagon.png"))) ? 0 : 1;
}

} // namespace tess::app
