// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Sound output through SDL2's audio subsystem: one device, one voice. The device is open only
// while there is sound to play and a moment after: a game that sits silent wakes nothing.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tess {

class SdlAudio {
  public:
    // How long the device stays open after its last sound before it closes.
    static constexpr std::chrono::milliseconds kRest{1000};

    // Nothing is loaded or opened yet: prepare() or the first sound does that. Without a
    // device the game runs silent. The device rests on a Qt timer: its thread must run Qt's
    // event loop for the device ever to close before the end.
    explicit SdlAudio(std::chrono::milliseconds rest = kRest);
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Loads SDL and looks for a device now, so that the first note comes as quickly as any
    // other: done once the window shows the game. Where there is no device, SDL's audio is
    // shut at once, its threads with it.
    void prepare();

    // Whether a sound played now would be heard: opens the device if it is resting.
    bool available();
    // Whether the device is open at this moment.
    bool awake() const;

    // Plays a RIFF WAVE image (PCM, mono, 22050 Hz, 8-bit unsigned or 16-bit). Starting a
    // sound stops an asynchronous one still playing. Synchronous: returns when all but the
    // sound's last device buffer and 23 ms have been handed to the device (the time the game
    // has to start the next note of a tune), never much later than its length whatever the
    // device does, and at once when the device is lost; a sound started then follows it from
    // its last sample, without a gap. A resting device is opened again, the sound's first
    // samples its very first. An image that cannot be played plays nothing.
    void play(const std::uint8_t* wave, std::size_t size, bool synchronous);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tess
