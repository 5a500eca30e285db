// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The application: starts the program in the order the original framework does, carries
// out the command line and runs the message loop.
#pragma once
#include "app/CommandLine.h"

#include <QString>

namespace tess::app {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;    // a file that cannot be opened, a print job that fails
constexpr int kExitUsage = 2;     // a wrong command line
constexpr int kExitNoDesktop = 3; // no display to show the window on

class CMekkApp {
  public:
    // The whole run: returns the exit status.
    int run(int argc, char** argv);

    // Sets the names the profile settings and message boxes go by.
    static void setNames();
    // A file that cannot be opened or a print job that cannot start: told on standard error
    // always, and in a message box where `dialogs` says one can be shown and answered.
    static void reportFailure(const QString& message, bool dialogs);
};

} // namespace tess::app
