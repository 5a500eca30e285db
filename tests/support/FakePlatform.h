// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// A desktop that records what the game asked of it, for tests without a window.
#pragma once
#include "game/Platform.h"
#include "screen/canvas/Canvas.h"

#include <string>
#include <vector>

namespace tess::fake {

struct PlayedSound {
    int resource;
    bool synchronous;
    friend bool operator==(const PlayedSound&, const PlayedSound&) = default;
};

class FakePlatform : public Platform {
  public:
    explicit FakePlatform(Size client = {1016, 700}, double ratio = 1.0)
        : client_(client), ratio_(ratio) {}
    Size clientSize() override { return client_; }
    double pixelRatio() override { return ratio_; }
    void present() override { ++presents; }
    void playSound(int resource, const std::uint8_t*, std::size_t, bool synchronous) override {
        sounds.push_back({resource, synchronous});
        if (synchronous) presentsBeforeSyncSound.push_back(presents);
    }
    void messageBox(const std::string& text) override { messages.push_back(text); }
    void setWindowTitle(const std::string& title) override { titles.push_back(title); }
    std::vector<DrawnText>* textLog() override { return recordTexts ? &texts : nullptr; }

    void setClientSize(Size s) { client_ = s; }

    std::vector<PlayedSound> sounds;
    std::vector<int> presentsBeforeSyncSound;
    std::vector<std::string> messages;
    std::vector<std::string> titles;
    // Every text the view's drawing contexts drew while recordTexts was set.
    bool recordTexts = false;
    std::vector<DrawnText> texts;
    int presents = 0;

  private:
    Size client_;
    double ratio_;
};

} // namespace tess::fake
