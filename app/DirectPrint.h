// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Direct printing, "/p" and "/pt": the home page as one page on a printer.
#pragma once
#include <QString>

#include <string>

namespace tess::app {

class CMainFrame;

// Prints the home page of the frame's view, which must never have been shown, on the
// named printer (empty: the default printer). Returns an exit status; a job that cannot
// start is reported with "Could not start print job.".
int printDirect(CMainFrame& frame, const QString& printerName, bool dialogsAllowed);

} // namespace tess::app
