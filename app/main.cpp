// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/CMekkApp.h"

int main(int argc, char** argv) {
    tess::app::CMekkApp app;
    return app.run(argc, argv);
}
