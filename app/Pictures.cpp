#include "app/Pictures.h"

#include "app/CMainFrame.h"
#include "game/WatchedGame.h"
#include "input/KeyCodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>
#include <set>
#include <utility>
#include <vector>

namespace tess::app {

namespace {

void settle(CMainFrame& frame) {
    frame.viewWidget()->update();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(CMainFrame& frame, const QString& path) {
    settle(frame);
    if (frame.grab().save(path, "PNG")) {
        std::printf("%s\n", QFile::encodeName(path).constData());
        return true;
    }
    std::fprintf(stderr, "Could not save %s\n", QFile::encodeName(path).constData());
    return false;
}

// The longest walk from `start` over the shape's vertices that repeats no line.
std::vector<int> longestTrail(int vertexCount, int start) {
    std::vector<int> best{start}, path{start};
    std::set<std::pair<int, int>> used;
    auto search = [&](auto&& self) -> void {
        if (path.size() > best.size()) best = path;
        for (int v = 1; v <= vertexCount; ++v) {
            int a = path.back();
            std::pair<int, int> line{std::min(a, v), std::max(a, v)};
            if (v == a || used.count(line)) continue;
            used.insert(line);
            path.push_back(v);
            self(self);
            path.pop_back();
            used.erase(line);
            if (static_cast<int>(best.size()) - 1 == vertexCount * (vertexCount - 2) / 2 + 1)
                return;
        }
    };
    search(search);
    return best;
}

// Clicks inside every closed piece of the board: every white pixel that the open space round
// the shape does not reach, as a player would colour them one by one.
void colourEveryPiece(CMekkView& view) {
    const Layout& l = view.layout;
    const int n = view.vertexCount;
    Canvas outside = *view.screen();
    DrawingContext dc(outside);
    const Colour mark(1, 2, 3);
    dc.selectBrush(Brush{mark});
    dc.floodFill(l.outsidePoint[n].x, l.outsidePoint[n].y, kBlack);
    const Rect frame = l.frameRect[n];
    for (int y = frame.top + 1; y < frame.bottom && view.gamePhase == kColouring; ++y)
        for (int x = frame.left + 1; x < frame.right && view.gamePhase == kColouring; ++x)
            if (view.screen()->pixel(x, y) == kWhite && outside.pixel(x, y) != mark)
                view.OnLButtonDown(x, y);
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
    QElapsedTimer timer;
    timer.start();
    while (!frame.viewWidget()->firstPaintDone() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    CMekkView& view = frame.view();
    if (!view.screen()) return 1;
    if (!save(frame, QDir(dir).filePath(QStringLiteral("home.png")))) return 1;

    // A Hexagon game with the longest path, every closed piece coloured, then scored.
    view.randomState = 3;
    const Rect hexagon = view.layout.shapeButton[1];
    view.OnLButtonDown((hexagon.left + hexagon.right) / 2, (hexagon.top + hexagon.bottom) / 2);
    const std::vector<int> trail = longestTrail(view.vertexCount, view.path[1]);
    for (std::size_t k = 1; k < trail.size(); ++k) {
        const Point c = view.layout.vertexCentre[view.vertexCount][trail[k]];
        view.OnLButtonDown(c.x, c.y);
    }
    view.OnKeyDown(vk::End);
    colourEveryPiece(view);
    view.OnKeyDown(vk::End);
    if (!save(frame, QDir(dir).filePath(QStringLiteral("finished.png")))) return 1;

    // A perfect Decagon, as Help > Watch a Perfect Game plays it, on its score page.
    WatchedGame watched(view);
    for (int beat = watched.start(10); beat != WatchedGame::kEnded; beat = watched.step()) {
    }
    return save(frame, QDir(dir).filePath(QStringLiteral("perfect-decagon.png"))) ? 0 : 1;
}

} // namespace tess::app
