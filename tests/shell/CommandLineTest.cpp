// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The command line: how arguments are taken, and what the program does with bad ones.
#include "app/CommandLine.h"
#include "QtApp.h"
#include "game/Solver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <utility>

#include <fcntl.h>
#include <unistd.h>

using tess::app::CommandLine;
using tess::app::parseCommandLine;

TEST(CommandLineParse, FileNamesAndFrameworkSwitches) {
    EXPECT_EQ(parseCommandLine({}).action, CommandLine::Action::NewDocument);

    auto cl = parseCommandLine({"/home/me/game.mek"}); // a path, not a switch
    EXPECT_EQ(cl.action, CommandLine::Action::OpenFile);
    EXPECT_EQ(cl.fileName, "/home/me/game.mek");

    cl = parseCommandLine({"/P", "doc"}); // switches are not case-sensitive
    EXPECT_EQ(cl.action, CommandLine::Action::Print);
    EXPECT_EQ(cl.fileName, "doc");

    cl = parseCommandLine({"doc", "/pt", "Office", "drv", "port"}); // in any order
    EXPECT_EQ(cl.action, CommandLine::Action::PrintTo);
    EXPECT_EQ(cl.fileName, "doc");
    EXPECT_EQ(cl.printerName, "Office");
    EXPECT_EQ(cl.driverName, "drv");
    EXPECT_EQ(cl.portName, "port");

    cl = parseCommandLine({"--", "-odd name"});
    EXPECT_EQ(cl.action, CommandLine::Action::OpenFile);
    EXPECT_EQ(cl.fileName, "-odd name");
}

TEST(CommandLineParse, MistakesAreErrorsWithAReason) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--frobnicate"}, {"-x", "file"}, {"/p"}, {"/pt", "file", "printer"}, {"a", "b"}}) {
        const auto cl = parseCommandLine(args);
        EXPECT_EQ(cl.action, CommandLine::Action::Error) << args[0];
        EXPECT_FALSE(cl.error.empty());
    }
    EXPECT_NE(parseCommandLine({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
    EXPECT_EQ(parseCommandLine({"file", "--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, CommandLine::Action::Version);
    // A huge argument is cut short in the message.
    EXPECT_LT(parseCommandLine({"-" + std::string(100000, 'y')}).error.size(), 300u);
}

TEST(CommandLineParse, PerfectTakesAShapeByNameOrVertexCount) {
    const std::pair<std::vector<std::string>, int> shapes[] = {
        {{"--perfect", "square"}, 4},   {{"--perfect", "HeXaGoN"}, 6}, {{"--PERFECT", "8"}, 8},
        {{"--perfect", "Decagon"}, 10}, {{"--perfect", "10"}, 10},
    };
    for (const auto& [args, vertices] : shapes) {
        const auto cl = parseCommandLine(args);
        EXPECT_EQ(cl.action, CommandLine::Action::Perfect) << args[1];
        EXPECT_EQ(cl.perfectShape, vertices) << args[1];
    }
    // A number after the shape is the vertex to start from.
    const auto fromThree = parseCommandLine({"--perfect", "octagon", "3"});
    EXPECT_EQ(fromThree.action, CommandLine::Action::Perfect);
    EXPECT_EQ(fromThree.perfectShape, 8);
    EXPECT_EQ(fromThree.perfectStart, 3);
    EXPECT_EQ(parseCommandLine({"--perfect", "square", "004"}).perfectStart, 4);
    EXPECT_EQ(parseCommandLine({"--perfect", "square"}).perfectStart, 0);
    // No shape, a shape the game does not have, a vertex it does not have, or anything besides.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--perfect"},
                                               {"--perfect", "triangle"},
                                               {"--perfect", "5"},
                                               {"--perfect", ""},
                                               {"--perfect", "square", "5"},
                                               {"--perfect", "square", "0"},
                                               {"--perfect", "decagon", "99999999999999999999"},
                                               {"--perfect", "square", "-1"},
                                               {"--perfect", "square", "2", "3"},
                                               {"--perfect", "square", "file"},
                                               {"/p", "file", "--perfect", "square"},
                                               {"--pictures", "dir", "--perfect", "octagon"}}) {
        const auto cl = parseCommandLine(args);
        EXPECT_EQ(cl.action, CommandLine::Action::Error) << ::testing::PrintToString(args);
        EXPECT_FALSE(cl.error.empty());
    }
    EXPECT_NE(parseCommandLine({"--perfect", "triangle"}).error.find("'triangle'"),
              std::string::npos);
    // The word after --perfect is its shape, even one that looks like an option.
    EXPECT_EQ(parseCommandLine({"--perfect", "--help"}).action, CommandLine::Action::Error);
    EXPECT_EQ(parseCommandLine({"--", "--perfect"}).action, CommandLine::Action::OpenFile);
}

namespace {

struct Outcome {
    int exitCode = -1;
    bool crashed = true;
    QString out, err;
};

QProcessEnvironment offscreenEnv() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    return env;
}

Outcome run(const QString& program, const QStringList& args,
            const QProcessEnvironment& env = offscreenEnv()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Outcome r;
    if (!p.waitForFinished(tess::test::kHangMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

Outcome runGame(const QStringList& args) {
    return run(TESSARIN_BINARY, args);
}

const QString kCannotFind =
    "\nCannot find this file.\nPlease verify that the correct path and file name are given.";

} // namespace

TEST(CommandLineProgram, HelpAndVersionAnswerWithoutADesktop) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    Outcome help = run(TESSARIN_BINARY, {"--help"}, env);
    EXPECT_FALSE(help.crashed);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Usage:"));
    EXPECT_TRUE(help.out.contains("/pt FILE PRINTER DRIVER PORT"));
    Outcome version = run(TESSARIN_BINARY, {"--version"}, env);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("Tessarin "));
}

TEST(CommandLineProgram, PerfectPrintsTheSolversPathWithoutADesktop) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    const std::pair<QString, int> shapes[] = {
        {"square", 4}, {"Hexagon", 6}, {"8", 8}, {"DECAGON", 10}};
    for (const auto& [shape, n] : shapes) {
        Outcome r = run(TESSARIN_BINARY, {"--perfect", shape}, env);
        EXPECT_FALSE(r.crashed) << shape.toStdString();
        EXPECT_EQ(r.exitCode, 0) << shape.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        // The solver's path, as vertex numbers on one line.
        QStringList words;
        for (int v : tess::findPerfectPath(n).vertices)
            words << QString::number(v);
        EXPECT_EQ(r.out, words.join(' ') + '\n');
    }
    // From each start vertex a path of the most lines that starts there: one a player whose
    // red vertex it is can follow.
    for (int start = 1; start <= 6; ++start) {
        Outcome r = run(TESSARIN_BINARY, {"--perfect", "hexagon", QString::number(start)}, env);
        EXPECT_EQ(r.exitCode, 0) << start;
        const QStringList words = r.out.trimmed().split(' ');
        ASSERT_EQ(words.size(), 14) << r.out.toStdString();
        EXPECT_EQ(words.first(), QString::number(start));
        std::vector<int> path;
        for (const QString& w : words)
            path.push_back(w.toInt());
        EXPECT_EQ(tess::countExactPieces(6, path), 22) << r.out.toStdString();
    }
    EXPECT_EQ(run(TESSARIN_BINARY, {"--perfect", "hexagon", "7"}, env).exitCode, 2);
}

TEST(CommandLineProgram, UnknownOptionsAndMissingFieldsEndWithStatusTwo) {
    for (const QStringList& args :
         {QStringList{"--frobnicate"}, QStringList{"/p"}, QStringList{"/pt", "f", "printer"},
          QStringList{"--perfect", "triangle"}, QStringList{"--perfect"}}) {
        Outcome r = runGame(args);
        EXPECT_FALSE(r.crashed) << args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
    }
    EXPECT_TRUE(runGame({"--frobnicate"}).err.contains("unknown option '--frobnicate'"));
    EXPECT_TRUE(runGame({"--perfect", "triangle"}).err.contains("unknown shape 'triangle'"));
}

TEST(CommandLineProgram, AFileThatCannotBeOpenedEndsWithoutAWindow) {
    QTemporaryDir dir;
    const QString missing = dir.path() + "/no such file";
    Outcome r = runGame({missing});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing + kCannotFind)) << r.err.toStdString();

    // A directory is no document either, nor is an unreadable file when not root.
    r = runGame({dir.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(dir.path() + kCannotFind));

    // Nor is printing one.
    r = runGame({"/p", missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(kCannotFind));

    // A name far beyond the system's limits.
    r = runGame({dir.path() + "/" + QString(20000, 'n')});
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(kCannotFind));
}

TEST(CommandLineProgram, ANameThatIsNotUtf8StillOpens) {
    QTemporaryDir dir;
    const QByteArray raw = QFile::encodeName(dir.path()) + "/caf\xe9\xff.mek";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // Printing to a printer that does not exist: the file opens, the job is refused.
    QProcess p;
    p.setProcessEnvironment(offscreenEnv());
    p.start("/bin/sh", {"-c",
                        "exec \"$0\" /pt \"$(printf '%s/caf\\351\\377.mek' \"$1\")\" "
                        "NoSuchPrinterHere drv port",
                        TESSARIN_BINARY, dir.path()});
    ASSERT_TRUE(p.waitForFinished(tess::test::kHangMs));
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_FALSE(err.contains("Cannot find this file")) << err.toStdString();
    EXPECT_TRUE(err.contains("Could not start print job.")) << err.toStdString();
}

TEST(CommandLineProgram, WithoutADesktopTheWindowIsSavedAsAPicture) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("SDL_AUDIODRIVER", "dummy");
    Outcome r = run(TESSARIN_BINARY, {}, env);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("needs a desktop"));
    const auto files = QDir(dir.path()).entryList({"tessarin-window-*.png"});
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(r.err.contains(dir.path() + "/" + files[0]));
}
