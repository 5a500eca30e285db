// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace tess::app {

namespace {

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A printable form of an argument for an error message: at most 200 bytes.
std::string shown(const std::string& arg) {
    return arg.size() <= 200 ? arg : arg.substr(0, 200).append("...");
}

// A command line that cannot be carried out, with what was wrong.
CommandLine wrong(std::string error) {
    CommandLine cl;
    cl.action = CommandLine::Action::Error;
    cl.error = std::move(error);
    return cl;
}

// Whether an argument is a whole number written in decimal digits only.
bool isNumber(const std::string& arg) {
    return !arg.empty() && std::all_of(arg.begin(), arg.end(),
                                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The vertex count of a shape named by --perfect: its name in any letter case, or the count.
int shapeNamed(const std::string& arg) {
    const std::string name = lowered(arg);
    if (name == "square" || name == "4") return 4;
    if (name == "hexagon" || name == "6") return 6;
    if (name == "octagon" || name == "8") return 8;
    if (name == "decagon" || name == "10") return 10;
    return 0;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    bool print = false, printTo = false, pictures = false, optionsEnded = false;
    std::vector<std::string> plain; // file name, then printer, driver and port for /pt
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && !arg.empty() && (arg[0] == '-' || arg[0] == '/')) {
            const std::string flag = lowered(arg);
            if (flag == "--help" || flag == "-h") {
                cl.action = CommandLine::Action::Help;
                return cl;
            }
            if (flag == "--version") {
                cl.action = CommandLine::Action::Version;
                return cl;
            }
            if (flag == "--pictures") {
                pictures = true;
                continue;
            }
            if (flag == "--perfect") {
                if (i + 1 == args.size()) {
                    return wrong("--perfect needs a shape: square, hexagon, octagon or decagon");
                }
                cl.perfectShape = shapeNamed(args[++i]);
                if (cl.perfectShape == 0) {
                    return wrong("unknown shape '" + shown(args[i]) +
                                 "' for --perfect (square, hexagon, octagon, decagon, or 4, 6, "
                                 "8, 10)");
                }
                // A number after the shape is the vertex the path starts from.
                if (i + 1 < args.size() && isNumber(args[i + 1])) {
                    const std::string& start = args[++i];
                    // Too large a number, like any number past the count, is no vertex.
                    if (std::from_chars(start.data(), start.data() + start.size(), cl.perfectStart)
                            .ec != std::errc())
                        cl.perfectStart = 0;
                    if (cl.perfectStart < 1 || cl.perfectStart > cl.perfectShape) {
                        return wrong("no vertex '" + shown(start) +
                                     "' to start from: the shape's vertices are 1 to " +
                                     std::to_string(cl.perfectShape));
                    }
                }
                continue;
            }
            if (flag == "--") {
                optionsEnded = true;
                continue;
            }
            // The framework's switches, with either of its two leading characters.
            if (flag == "/p" || flag == "-p") {
                print = true;
                continue;
            }
            if (flag == "/pt" || flag == "-pt") {
                printTo = true;
                continue;
            }
            // Any other word beginning with '/' is an absolute path on this system.
            if (arg[0] == '-') {
                return wrong("unknown option '" + shown(arg) + "'");
            }
        }
        plain.push_back(arg);
    }

    if (cl.perfectShape != 0) {
        if (!plain.empty() || print || printTo || pictures) {
            return wrong("--perfect needs one shape and nothing else");
        }
        cl.action = CommandLine::Action::Perfect;
        return cl;
    }
    if (pictures) {
        if (plain.size() != 1 || print || printTo) {
            return wrong("--pictures needs one folder and nothing else");
        }
        cl.action = CommandLine::Action::Pictures;
        cl.fileName = plain[0];
        return cl;
    }
    const std::size_t wanted = printTo ? 4 : 1;
    if (plain.size() > wanted) {
        return wrong("unexpected argument '" + shown(plain[wanted]) + "'");
    }
    if (printTo) {
        if (plain.size() < 4) {
            return wrong("/pt needs a file name, a printer name, a driver and a port");
        }
        cl.action = CommandLine::Action::PrintTo;
        cl.fileName = plain[0];
        cl.printerName = plain[1];
        cl.driverName = plain[2];
        cl.portName = plain[3];
        return cl;
    }
    if (print) {
        if (plain.empty()) {
            return wrong("/p needs a file name");
        }
        cl.action = CommandLine::Action::Print;
        cl.fileName = plain[0];
        return cl;
    }
    if (!plain.empty()) {
        cl.action = CommandLine::Action::OpenFile;
        cl.fileName = plain[0];
    }
    return cl;
}

std::string usageText(const std::string& program) {
    return "Usage: " + program +
           " [FILE]\n"
           "       " +
           program +
           " /p FILE\n"
           "       " +
           program +
           " /pt FILE PRINTER DRIVER PORT\n"
           "\n"
           "Tessarin, a puzzle game: draw one continuous path between the vertices of a shape,\n"
           "then colour every piece it cuts.\n"
           "\n"
           "  FILE            open FILE as the game's document (nothing is read from it)\n"
           "  /p FILE         print the home page on the default printer and end\n"
           "  /pt FILE PRINTER DRIVER PORT\n"
           "                  print the home page on PRINTER and end\n"
           "      --pictures DIR\n"
           "                  save pictures of the home page, a finished game and a perfect\n"
           "                  Decagon in DIR\n"
           "                  (home.png, finished.png, perfect-decagon.png), drawn off screen,\n"
           "                  and end\n"
           "      --perfect SHAPE [START]\n"
           "                  print a path of the most lines that cuts SHAPE (square, hexagon,\n"
           "                  octagon or decagon; or 4, 6, 8, 10) into the most pieces, as\n"
           "                  vertex numbers on one line, and end; with START, the path\n"
           "                  starts from that vertex (the game's red vertex), numbered\n"
           "                  clockwise from 1 at the top left\n"
           "  -h, --help      show this help and end\n"
           "      --version   show the version and end\n"
           "  --              end of options: what follows is a file name\n"
           "\n"
           "In the game, F2 or Help > Watch a Perfect Game plays a perfect game of a shape\n"
           "for you to watch, line by line and piece by piece, to its score page; its score\n"
           "is not added to your scores. F2 watches the shape on the game page, or the shape\n"
           "played last on the home page; it cannot be started while a game of yours is under\n"
           "way. Escape or Home stops it.\n"
           "\n"
           "Qt's own options (for instance -platform NAME) are accepted too.\n"
           "Exit status: 0 on success, 1 when the file or the print job fails, 2 for a wrong\n"
           "command line, 3 when no desktop is available.\n";
}

} // namespace tess::app
