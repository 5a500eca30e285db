// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Pictures of the game for its documentation, drawn by the program itself off screen.
#pragma once
#include <QString>

namespace tess::app {

class CMainFrame;

// The size of the offscreen screen the pictures are drawn on.
constexpr int kPictureScreenWidth = 1280;
constexpr int kPictureScreenHeight = 800;

// Points Qt's offscreen platform at a screen of the pictures' size. Call before QApplication.
void useOffscreenScreenForPictures();

// Saves home.png, the home page, and finished.png, a Hexagon game played through to its
// score with every closed piece coloured, in dir. Returns the program's exit status.
int savePictures(CMainFrame& frame, const QString& dir);

} // namespace tess::app
