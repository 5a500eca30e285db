// One SDL audio device, opened once and left running: the callback mixes the one voice that
// is playing, or silence. Starting a sound replaces the voice under the device's lock; a
// synchronous play waits until the callback reports the sound's end, never much longer than
// the sound lasts.
#include "sound/sdl/SdlAudio.h"

#include "sound/sdl/WaveImage.h"

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

namespace tess {

namespace {

constexpr int kDeviceRate = 22050;
constexpr Uint16 kBufferFrames = 512;
// How long past a sound's own length a synchronous play waits for the device at most.
constexpr std::chrono::milliseconds kSyncMargin{150};

} // namespace

struct SdlAudio::Impl {
    bool sdlStarted = false;
    SDL_AudioDeviceID device = 0;

    // The voice, read by the callback and replaced under SDL's lock of the device.
    std::vector<std::int16_t> voice;
    std::size_t position = 0;
    bool playing = false;
    // Set when the callback has mixed the voice's last sample; the next callback means the
    // device has taken that buffer, and the sound has ended.
    bool lastMixed = false;
    std::uint64_t generation = 0;

    // The end of each sound, reported by the callback to a waiting synchronous play.
    std::mutex endMutex;
    std::condition_variable endSignal;
    std::uint64_t endedGeneration = 0;

    static void callback(void* self, Uint8* stream, int len) {
        static_cast<Impl*>(self)->mix(reinterpret_cast<std::int16_t*>(stream),
                                      static_cast<std::size_t>(len) / sizeof(std::int16_t));
    }

    void mix(std::int16_t* out, std::size_t frames) {
        std::size_t written = 0;
        if (playing && lastMixed) {
            playing = false;
            signalEnd(generation);
        }
        if (playing) {
            std::size_t left = voice.size() - position;
            written = left < frames ? left : frames;
            std::memcpy(out, voice.data() + position, written * sizeof(std::int16_t));
            position += written;
            if (position >= voice.size()) lastMixed = true;
        }
        std::memset(out + written, 0, (frames - written) * sizeof(std::int16_t));
    }

    void signalEnd(std::uint64_t ended) {
        {
            std::lock_guard<std::mutex> lock(endMutex);
            endedGeneration = ended;
        }
        endSignal.notify_all();
    }

    // Replaces whatever plays by the given samples; returns the new sound's generation.
    std::uint64_t start(std::vector<std::int16_t> samples) {
        SDL_LockAudioDevice(device);
        voice.swap(samples);
        position = 0;
        lastMixed = false;
        playing = !voice.empty();
        std::uint64_t mine = ++generation;
        SDL_UnlockAudioDevice(device);
        // The replaced samples are freed here, outside the device's lock.
        return mine;
    }

    void stop() {
        SDL_LockAudioDevice(device);
        playing = false;
        SDL_UnlockAudioDevice(device);
    }
};

SdlAudio::SdlAudio() : impl_(std::make_unique<Impl>()) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) return;
    impl_->sdlStarted = true;

    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = kBufferFrames;
    want.callback = &Impl::callback;
    want.userdata = impl_.get();
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware takes.
    impl_->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (impl_->device != 0) SDL_PauseAudioDevice(impl_->device, 0);
}

SdlAudio::~SdlAudio() {
    if (impl_->device != 0) SDL_CloseAudioDevice(impl_->device);
    if (impl_->sdlStarted) SDL_Quit();
}

bool SdlAudio::available() const {
    return impl_->device != 0;
}

void SdlAudio::play(const std::uint8_t* wave, std::size_t size, bool synchronous) {
    if (impl_->device == 0) return;
    std::vector<std::int16_t> samples;
    // An image that cannot be played plays nothing, and leaves what plays alone.
    if (!decodeWave(wave, size, kDeviceRate, samples)) return;
    const auto length = std::chrono::microseconds(static_cast<std::int64_t>(samples.size()) *
                                                  1000000 / kDeviceRate);
    const bool silent = samples.empty();
    const std::uint64_t mine = impl_->start(std::move(samples));
    if (!synchronous || silent) return;

    const auto deadline = std::chrono::steady_clock::now() + length + kSyncMargin;
    std::unique_lock<std::mutex> lock(impl_->endMutex);
    bool ended =
        impl_->endSignal.wait_until(lock, deadline, [&] { return impl_->endedGeneration >= mine; });
    lock.unlock();
    // A device that has fallen behind does not hold the game: the sound is stopped, so that
    // nothing plays once the synchronous call has returned.
    if (!ended) impl_->stop();
}

} // namespace tess
