// Sound output through SDL2's audio subsystem: one device opened once, one voice.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tess {

class SdlAudio {
  public:
    // Opens the device (22050 Hz, mono). Without a device the game runs silent.
    SdlAudio();
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool available() const;
    // Plays a RIFF WAVE image (PCM, mono, 8-bit unsigned or 16-bit). Starting any sound
    // stops the one still playing. Synchronous: returns when the sound has ended, and never
    // much later than its length, whatever the device does. An image that cannot be played
    // plays nothing.
    void play(const std::uint8_t* wave, std::size_t size, bool synchronous);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tess
