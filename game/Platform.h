// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The one seam between the game and the desktop it runs on. The Qt shell implements it for
// the real window, tests implement it with fakes that record what was asked.
#pragma once
#include "screen/canvas/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tess {

struct DrawnText;

class Platform {
  public:
    virtual ~Platform() = default;
    // The view's client area in device pixels, read by the first paint.
    virtual Size clientSize() = 0;
    // Device pixels per desktop pixel of the screen the view is on (2 on a desktop scaled to
    // 200 %, 1 where the desktop does not scale). Read by the first paint with the client size.
    virtual double pixelRatio() { return 1.0; }
    // Put the view's canvas on the screen now. Called before every synchronous sound, so
    // the player sees the filled piece or the highlighted tune button before the note.
    virtual void present() = 0;
    // Play a complete RIFF WAVE image. Synchronous: return when all of it but the sound
    // device's last buffer has played (a few hundredths of a second before its end, so that a
    // sound started then follows without a gap), never much after its length, and at once when
    // the sound device is lost. Asynchronous: return at once. Starting any sound stops an
    // asynchronous one still playing. A sound that cannot be played plays nothing and reports
    // nothing.
    virtual void playSound(int resource, const std::uint8_t* wave, std::size_t size,
                           bool synchronous) = 0;
    // A modal message box captioned "Tessarin" with one OK button and no icon.
    virtual void messageBox(const std::string& text) = 0;
    // The main window's title.
    virtual void setWindowTitle(const std::string& title) = 0;
    // Where the view's drawing contexts note every text they draw, for a test to read what the
    // page says; none on a desktop.
    virtual std::vector<DrawnText>* textLog() { return nullptr; }
};

// A desktop that gives the view its size and pixel ratio and nothing else: nothing is seen or
// heard. For views that play or draw out of sight: the solver's games, the first page drawn
// ahead for its glyphs, the benchmarks.
class SilentPlatform : public Platform {
  public:
    explicit SilentPlatform(Size client, double ratio = 1.0) : client_(client), ratio_(ratio) {}
    Size clientSize() override { return client_; }
    double pixelRatio() override { return ratio_; }
    void present() override {}
    void playSound(int, const std::uint8_t*, std::size_t, bool) override {}
    void messageBox(const std::string&) override {}
    void setWindowTitle(const std::string&) override {}

  private:
    Size client_;
    double ratio_;
};

} // namespace tess
