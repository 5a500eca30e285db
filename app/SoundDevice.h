// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's sound output, one voice: a stream on the desktop's sound server, or else an SDL2
// audio device. Either plays only while there is sound and a moment after: the stream is then
// corked, the device closed, and a game that sits silent wakes nothing.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tess {

class SoundDevice {
  public:
    // How long the stream or device stays awake after its last sound before it rests.
    static constexpr std::chrono::milliseconds kRest{1000};

    // Nothing is loaded or opened yet: prepare() or the first sound does that. Without a
    // device the game runs silent. The device rests on a Qt timer: its thread must run Qt's
    // event loop for the device ever to close before the end.
    explicit SoundDevice(std::chrono::milliseconds rest = kRest);
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Connects to the sound server, or loads SDL and looks for a device, now, so that the
    // first note comes as quickly as any other: done once the window shows the game. Where
    // there is neither, SDL's audio is shut at once, its threads with it.
    void prepare();

    // Whether a sound played now would be heard: opens the device if it is resting, or
    // connects again to a server that was lost.
    bool available();
    // Whether the stream is uncorked, or the device open, at this moment.
    bool awake() const;

    // Plays a RIFF WAVE image (PCM, mono, 22050 Hz, 8-bit unsigned or 16-bit). Starting a
    // sound stops an asynchronous one still playing. Synchronous: returns when the sound's
    // last 23 ms are left to play (the time the game has to start the next note of a tune;
    // on an SDL device, its last device buffer and 23 ms), never much later than its length
    // whatever the device does, and at once when the server or device is lost; a sound
    // started then follows it from its last sample, without a gap. A resting stream or device
    // wakes with the sound's first samples. An image that cannot be played plays nothing.
    void play(const std::uint8_t* wave, std::size_t size, bool synchronous);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tess
