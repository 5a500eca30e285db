// Sound output through SDL2's audio subsystem: one device, one voice. A device that is lost
// (its sound server went away) is opened again at the next sound.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tess {

class SdlAudio {
  public:
    // The device (22050 Hz, mono), opened at the first call below or by openInBackground.
    // Without a device the game runs silent.
    SdlAudio();
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Opens the device on a thread of its own, so that the game need not wait for the sound
    // system; every call below waits until it is open (or found missing).
    void openInBackground();

    bool available() const;
    // Plays a RIFF WAVE image (PCM, mono, 8-bit unsigned or 16-bit). Starting a sound stops
    // an asynchronous one still playing. Synchronous: returns when all but the last device
    // buffer of the sound (about 23 ms) has been handed to the device, never much later than
    // its length whatever the device does, and at once when the device is lost; a sound
    // started then follows it from its last sample, without a gap. An image that cannot be
    // played plays nothing.
    void play(const std::uint8_t* wave, std::size_t size, bool synchronous);

  private:
    struct Impl;
    // The device once the opener has finished.
    Impl& settled() const;
    std::unique_ptr<Impl> impl_;
};

} // namespace tess
