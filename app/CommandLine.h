// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The command line, taken as the original desktop framework's standard parser takes it:
// no argument starts a new document, a file name opens that file as the document, "/p" and
// "/pt" print it directly. Arguments are kept as raw bytes, so that any file name the system
// allows, UTF-8 or not, can be opened.
#pragma once
#include <string>
#include <vector>

namespace tess::app {

struct CommandLine {
    enum class Action {
        NewDocument,
        OpenFile,
        Print,
        PrintTo,
        Pictures,
        Perfect,
        Help,
        Version,
        Error
    };
    Action action = Action::NewDocument;
    std::string fileName; // raw bytes, as given; for Pictures, the folder
    std::string printerName, driverName, portName;
    std::string error;    // for Action::Error: what was wrong, one line
    int perfectShape = 0; // for Action::Perfect: the shape's vertex count, 4, 6, 8 or 10
    int perfectStart = 0; // and the vertex its path starts from, 1 to the count; 0: any
};

// Parses the arguments after the program's name (Qt's own options already removed).
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The text of --help, for a program called `program`.
std::string usageText(const std::string& program);

} // namespace tess::app
