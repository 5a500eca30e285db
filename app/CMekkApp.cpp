// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/CMekkApp.h"

#include "app/Pictures.h"

#include "app/CMainFrame.h"
#include "app/DirectPrint.h"
#include "app/QtPlatform.h"
#include "app/SoundDevice.h"
#include "game/ShapeTable.h"
#include "game/Solver.h"
#include "sound/SoundBank.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tess::app {

namespace {

std::vector<std::string> argumentsOf(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i] ? argv[i] : "");
    return args;
}

std::string programName(int argc, char** argv) {
    if (argc < 1 || !argv[0]) return "tessarin";
    std::string name = argv[0];
    const auto slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool hasDesktop() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Whether message boxes can be shown and answered: not on the platforms without a screen.
bool dialogsAllowed() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// Handles --help, --version and --perfect, which need no desktop. Returns the exit status, or
// nothing when the program goes on.
std::optional<int> answerAndEnd(const CommandLine& cl, const std::string& program) {
    if (cl.action == CommandLine::Action::Help) {
        std::fputs(usageText(program).c_str(), stdout);
        std::fflush(stdout);
        return kExitOk;
    }
    if (cl.action == CommandLine::Action::Version) {
        std::printf("Tessarin %s (Version %s)\n", TESSARIN_VERSION, versionText);
        std::fflush(stdout);
        return kExitOk;
    }
    if (cl.action == CommandLine::Action::Perfect) {
        const PerfectPath perfect = findPerfectPath(cl.perfectShape, cl.perfectStart);
        std::string line;
        for (int v : perfect.vertices)
            line += (line.empty() ? "" : " ") + std::to_string(v);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        return kExitOk;
    }
    return std::nullopt;
}

void reportCanvas(ViewWidget* view) {
    const Canvas* canvas = view->view().screen();
    if (!canvas) return;
    const QPoint origin = view->mapToGlobal(QPoint(0, 0));
    const double ratio = view->devicePixelRatioF();
    std::printf("canvas %ld %ld %d %d %g\n", std::lround(origin.x() * ratio),
                std::lround(origin.y() * ratio), canvas->width(), canvas->height(),
                view->view().pixelRatio);
    std::fflush(stdout);
}

// Drawing off screen, the platform says at every window it shows that it cannot do what only
// a desktop does (size hints, raising); the player need not read that.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    std::fputs(qFormatLogMessage(type, context, message).toLocal8Bit().append('\n').constData(),
               stderr);
}

// Without a desktop: the window as it would look, in a PNG.
int renderWithoutDesktop(CMainFrame& frame) {
    std::fputs("Tessarin needs a desktop: no display was found (neither DISPLAY nor "
               "WAYLAND_DISPLAY is set).\n",
               stderr);
    frame.waitForFirstPaint();
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::tempPath();
    const QString path =
        dir + QStringLiteral("/tessarin-window-%1.png").arg(QCoreApplication::applicationPid());
    if (frame.grab().save(path, "PNG"))
        std::fprintf(stderr, "The window as it would look is saved in %s\n",
                     QFile::encodeName(path).constData());
    else
        std::fprintf(stderr, "Could not save the window's picture to %s\n",
                     QFile::encodeName(path).constData());
    std::fflush(stderr);
    return kExitNoDesktop;
}

} // namespace

void CMekkApp::setNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessarin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSARIN_VERSION));
}

void CMekkApp::reportFailure(const QString& message, bool dialogs) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    if (dialogs) showMessage(nullptr, message);
}

int CMekkApp::run(int argc, char** argv) {
    const std::string program = programName(argc, argv);
    // --help, --version and --perfect answer before any desktop is needed.
    const CommandLine early = parseCommandLine(argumentsOf(argc, argv));
    if (auto status = answerAndEnd(early, program)) return *status;
    const bool pictures = early.action == CommandLine::Action::Pictures;
    const bool desktop = !pictures && hasDesktop();
    if (pictures)
        useOffscreenScreenForPictures();
    else if (!desktop)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (pictures || !desktop) qInstallMessageHandler(quietOffscreen);

    // The framework's set-up; Qt takes its own options out of argv.
    QApplication qtApp(argc, argv);
    setNames();
    // The profile settings: "PreviewPages" is read, nothing is written.
    QSettings().value(QStringLiteral("Settings/PreviewPages"), 0);

    const CommandLine cl = parseCommandLine(argumentsOf(argc, argv));
    if (auto status = answerAndEnd(cl, program)) return *status;
    if (cl.action == CommandLine::Action::Error) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                     cl.error.c_str(), program.c_str());
        return kExitUsage;
    }

    const bool printing =
        cl.action == CommandLine::Action::Print || cl.action == CommandLine::Action::PrintTo;
    // One sound device for the whole run; a run that prints, takes pictures or only shows
    // what it would look like without a desktop plays nothing.
    std::unique_ptr<SoundDevice> audio;
    if (!printing && !pictures && desktop) audio = std::make_unique<SoundDevice>();

    // The document, the frame and the view.
    auto frame = std::make_unique<CMainFrame>(audio.get());
    // The file or folder named on the command line, as Qt names files.
    const QString fileName = QFile::decodeName(QByteArray::fromStdString(cl.fileName));
    if (pictures) {
        frame->showMaximisedOnScreen();
        return savePictures(*frame, fileName);
    }
    if (cl.action != CommandLine::Action::NewDocument &&
        !frame->document().openDocument(cl.fileName)) {
        reportFailure(CMekkDoc::cannotFindMessage(fileName), dialogsAllowed());
        return kExitFailed;
    }
    if (printing) {
        // Only /pt names a printer: /p prints on the default one.
        return printDirect(*frame, QString::fromLocal8Bit(cl.printerName.c_str()),
                           desktop && dialogsAllowed());
    }

    if (qEnvironmentVariableIsSet("TESSARIN_REPORT_CANVAS")) {
        ViewWidget* view = frame->viewWidget();
        QObject::connect(view, &ViewWidget::firstPainted, view, [view] { reportCanvas(view); });
    }

    // Sound is needed only from the first note on: the sounds are made, SDL is loaded and the
    // device looked for once the window has shown the game (queued behind the first paint,
    // which reaches the screen first), so that none of it holds up that paint.
    if (audio)
        QObject::connect(
            frame->viewWidget(), &ViewWidget::firstPainted, frame.get(),
            [device = audio.get()] {
                findSound(kErrorSound);
                device->prepare();
            },
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));

    // Shown maximised, and painted once it stands at its final size.
    frame->showMaximisedOnScreen();
    if (!desktop) return renderWithoutDesktop(*frame);
    return QApplication::exec();
}

} // namespace tess::app
