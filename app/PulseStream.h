// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// One playback stream on the desktop's sound server, spoken to in the PulseAudio protocol:
// PulseAudio's own server, or PipeWire's (pipewire-pulse), which every PipeWire desktop runs.
// Each sound is handed to the server whole the moment it starts, so that its first sample
// waits behind nothing of the game's and no buffer of ours can run dry; the server keeps the
// time. Between sounds the stream is corked: the server asks nothing of the game, and its
// sink may sleep.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tess {

class PulseStream {
  public:
    // Connects to the server and makes a corked stream of mono 16-bit samples at `rate`; null
    // where there is no server, or no client library to reach it with.
    static std::unique_ptr<PulseStream> open(int rate);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Plays the samples: cutting off what the stream still holds, or straight after its last
    // sample where `follow` is set. Uncorks the stream.
    void play(const std::int16_t* samples, std::size_t count, bool follow);
    // Corks the stream; its next sound uncorks it.
    void cork();
    bool corked() const { return corked_; }
    // Whether the server has gone away, or the stream with it: nothing more plays through it.
    bool lost() const;

  private:
    struct Impl;
    explicit PulseStream(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
    bool corked_ = true;
};

} // namespace tess
