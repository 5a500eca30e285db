// One SDL audio device, opened at the start and left running: the callback mixes the one voice that
// is playing, or silence. Starting a sound replaces the voice under the device's lock, except
// behind a synchronous sound whose last buffer is still to be mixed: the new sound then waits
// as the voice's follower and starts on the sample after that sound's last, so that the notes
// of a tune join without a gap. A synchronous play waits until all but the last buffer of its
// sound has been handed to the device, never much longer than the sound lasts.
//
// A device that SDL reports lost (its sound server went away) ends any wait at once, and one
// of SDL's PipeWire driver that stopped taking sound ends it at its deadline; the game plays
// silent, and the next sound opens the device again through the same driver, which works as
// soon as the server is back.
//
// SDL is loaded with the device, not with the program: the library and the many it stands on
// (the sound servers' clients, their codecs, Wayland's) take longer to load than the game's
// window takes to show, and the game needs none of them before its first note. Where SDL
// cannot be loaded the game runs silent, as without a device.
#include "app/SdlAudio.h"

#include "sound/WaveImage.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tess {

namespace {

// The SDL functions the device uses, from the library loaded at the first use.
struct SdlLibrary {
    decltype(&::SDL_SetHint) SetHint = nullptr;
    decltype(&::SDL_Init) Init = nullptr;
    decltype(&::SDL_Quit) Quit = nullptr;
    decltype(&::SDL_GetCurrentAudioDriver) GetCurrentAudioDriver = nullptr;
    decltype(&::SDL_AudioInit) AudioInit = nullptr;
    decltype(&::SDL_AudioQuit) AudioQuit = nullptr;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&::SDL_GetAudioDeviceStatus) GetAudioDeviceStatus = nullptr;
    decltype(&::SDL_LockAudioDevice) LockAudioDevice = nullptr;
    decltype(&::SDL_UnlockAudioDevice) UnlockAudioDevice = nullptr;
    decltype(&::SDL_Delay) Delay = nullptr;
    decltype(&::SDL_TLSCleanup) TLSCleanup = nullptr;
    bool loaded = false;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

SdlLibrary loadSdl() {
    SdlLibrary functions;
    // The library's own name, which every SDL 2 release keeps; it stays loaded for the run.
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        std::fprintf(stderr, "Tessarin plays no sound: %s\n", why ? why : "SDL2 was not found");
        std::fflush(stderr);
        return functions;
    }
    functions.loaded =
        resolve(library, "SDL_SetHint", functions.SetHint) &&
        resolve(library, "SDL_Init", functions.Init) &&
        resolve(library, "SDL_Quit", functions.Quit) &&
        resolve(library, "SDL_GetCurrentAudioDriver", functions.GetCurrentAudioDriver) &&
        resolve(library, "SDL_AudioInit", functions.AudioInit) &&
        resolve(library, "SDL_AudioQuit", functions.AudioQuit) &&
        resolve(library, "SDL_OpenAudioDevice", functions.OpenAudioDevice) &&
        resolve(library, "SDL_CloseAudioDevice", functions.CloseAudioDevice) &&
        resolve(library, "SDL_PauseAudioDevice", functions.PauseAudioDevice) &&
        resolve(library, "SDL_GetAudioDeviceStatus", functions.GetAudioDeviceStatus) &&
        resolve(library, "SDL_LockAudioDevice", functions.LockAudioDevice) &&
        resolve(library, "SDL_UnlockAudioDevice", functions.UnlockAudioDevice) &&
        resolve(library, "SDL_Delay", functions.Delay) &&
        resolve(library, "SDL_TLSCleanup", functions.TLSCleanup);
    if (!functions.loaded) {
        std::fputs("Tessarin plays no sound: the SDL2 library found lacks functions it needs\n",
                   stderr);
        std::fflush(stderr);
    }
    return functions;
}

// Loaded once, by whichever thread first opens a device.
const SdlLibrary& sdl() {
    static const SdlLibrary library = loadSdl();
    return library;
}

constexpr int kDeviceRate = 22050;
constexpr Uint16 kBufferFrames = 512;
constexpr std::chrono::microseconds kBufferTime{1000000LL * kBufferFrames / kDeviceRate};
// How long past a sound's own length a synchronous play waits for the device at most.
constexpr std::chrono::milliseconds kSyncMargin{150};
// How often a synchronous play looks whether the device has been lost while it waits.
constexpr std::chrono::milliseconds kLostPoll{10};

} // namespace

struct SdlAudio::Impl {
    // Whether the device has been asked for, and the thread that opens it beside the game.
    bool begun = false;
    std::thread opener;
    bool sdlStarted = false;
    // The driver SDL chose at the start; a lost device is opened again through it.
    std::string driver;
    SDL_AudioDeviceID device = 0;
    // The device was open and has been lost: the next sound tries to open it again.
    bool lost = false;

    // The voice and the sound that follows it, read by the callback and changed under SDL's
    // lock of the device.
    std::vector<std::int16_t> voice;
    std::size_t position = 0;
    bool playing = false;
    bool voiceSynchronous = false;
    std::uint64_t voiceGeneration = 0;
    std::vector<std::int16_t> follower;
    bool followerQueued = false;
    bool followerSynchronous = false;
    std::uint64_t followerGeneration = 0;
    std::uint64_t generation = 0;
    // How many buffers the callback has mixed: a device that takes none for the whole of a
    // synchronous sound's wait has stopped, whatever SDL says.
    std::atomic<std::uint64_t> buffersMixed{0};
    // The newest sound the callback has released, so that it takes the lock below only once
    // a sound.
    std::uint64_t releasedByMix = 0;

    // The sounds whose last buffer is all that is left to mix, reported by the callback to a
    // waiting synchronous play.
    std::mutex endMutex;
    std::condition_variable endSignal;
    std::uint64_t releasedGeneration = 0;

    static void callback(void* self, Uint8* stream, int len) {
        static_cast<Impl*>(self)->mix(reinterpret_cast<std::int16_t*>(stream),
                                      static_cast<std::size_t>(len) / sizeof(std::int16_t));
    }

    void mix(std::int16_t* out, std::size_t frames) {
        buffersMixed.fetch_add(1, std::memory_order_relaxed);
        std::size_t written = 0;
        while (playing && written < frames) {
            const std::size_t left = voice.size() - position;
            const std::size_t count = left < frames - written ? left : frames - written;
            std::memcpy(out + written, voice.data() + position, count * sizeof(std::int16_t));
            position += count;
            written += count;
            if (position < voice.size()) break;
            // The voice's last sample is mixed: its follower goes on from the next one.
            release(voiceGeneration);
            if (followerQueued) {
                // Swapped, not freed: the samples are freed by the game's thread, off the lock.
                voice.swap(follower);
                follower.clear();
                position = 0;
                voiceSynchronous = followerSynchronous;
                voiceGeneration = followerGeneration;
                followerQueued = false;
            } else {
                playing = false;
            }
        }
        std::memset(out + written, 0, (frames - written) * sizeof(std::int16_t));
        // What is left fits in the next buffer: the sound's play may return, and the sound
        // that the game starts then can follow it without a gap.
        if (playing && voice.size() - position <= frames) release(voiceGeneration);
    }

    void release(std::uint64_t released) {
        if (released <= releasedByMix) return;
        releasedByMix = released;
        {
            std::lock_guard<std::mutex> lock(endMutex);
            releasedGeneration = released;
        }
        endSignal.notify_all();
    }

    // Starts the given samples: at once, cutting off whatever plays, or, behind a synchronous
    // sound whose play has returned, straight after its last sample. Returns the new sound's
    // generation.
    std::uint64_t start(std::vector<std::int16_t> samples, bool synchronous) {
        sdl().LockAudioDevice(device);
        const std::uint64_t mine = ++generation;
        if (playing && voiceSynchronous) {
            follower.swap(samples);
            followerQueued = !follower.empty();
            followerSynchronous = synchronous;
            followerGeneration = mine;
        } else {
            voice.swap(samples);
            position = 0;
            playing = !voice.empty();
            voiceSynchronous = synchronous;
            voiceGeneration = mine;
            followerQueued = false;
        }
        sdl().UnlockAudioDevice(device);
        // The replaced samples are freed here, outside the device's lock.
        return mine;
    }

    void stop() {
        sdl().LockAudioDevice(device);
        playing = false;
        followerQueued = false;
        sdl().UnlockAudioDevice(device);
    }

    // Lets the last buffer of a synchronous sound whose play has returned be mixed, so that
    // the sound is heard whole; bounded, whatever the device does.
    void finishSynchronousTail() {
        const auto deadline = std::chrono::steady_clock::now() + 2 * kBufferTime + kSyncMargin;
        while (std::chrono::steady_clock::now() < deadline && !deviceLost()) {
            sdl().LockAudioDevice(device);
            const bool tail = playing && voiceSynchronous;
            sdl().UnlockAudioDevice(device);
            if (!tail) return;
            sdl().Delay(2);
        }
    }

    // Starts SDL's audio and opens the device.
    void start();

    bool deviceLost() const { return sdl().GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED; }

    void open() {
        SDL_AudioSpec want{};
        want.freq = kDeviceRate;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = kBufferFrames;
        want.callback = &Impl::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware takes.
        device = sdl().OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device != 0) sdl().PauseAudioDevice(device, 0);
    }

    // The device is gone: closed, and opened again through a fresh start of the driver, whose
    // connection to a sound server that went away is dead too. Where the server is not back
    // yet, the game stays silent and the next sound tries again.
    void reopen() {
        if (device != 0) sdl().CloseAudioDevice(device);
        device = 0;
        voice.clear();
        follower.clear();
        playing = false;
        followerQueued = false;
        sdl().AudioQuit();
        if (sdl().AudioInit(driver.c_str()) != 0) return;
        open();
        lost = device == 0;
    }
};

SdlAudio::SdlAudio() : impl_(std::make_unique<Impl>()) {}

void SdlAudio::Impl::start() {
    if (!sdl().loaded) return;
    sdl().SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl().Init(SDL_INIT_AUDIO) != 0) return;
    sdlStarted = true;
    if (const char* name = sdl().GetCurrentAudioDriver()) driver = name;
    open();
}

void SdlAudio::openInBackground() {
    // Starting a driver and opening its device talks to the sound server: done beside the
    // game, which touches SDL no more until settled() has seen the opener finish.
    if (impl_->begun) return;
    impl_->begun = true;
    impl_->opener = std::thread([a = impl_.get()] {
        a->start();
        // SDL keeps what it says about a failing driver in memory of the thread that asked;
        // a thread SDL did not make must hand it back itself.
        if (sdl().loaded) sdl().TLSCleanup();
    });
}

SdlAudio::Impl& SdlAudio::settled() const {
    if (!impl_->begun) {
        impl_->begun = true;
        impl_->start();
    }
    if (impl_->opener.joinable()) impl_->opener.join();
    return *impl_;
}

SdlAudio::~SdlAudio() {
    // A device never asked for is not opened just to be closed.
    if (!impl_->begun) return;
    settled();
    if (impl_->device != 0) {
        impl_->finishSynchronousTail();
        sdl().CloseAudioDevice(impl_->device);
    }
    if (impl_->sdlStarted) sdl().Quit();
}

bool SdlAudio::available() const {
    return settled().device != 0;
}

void SdlAudio::play(const std::uint8_t* wave, std::size_t size, bool synchronous) {
    Impl& a = settled();
    std::vector<std::int16_t> samples;
    // An image that cannot be played plays nothing, and leaves what plays alone.
    if (!decodeWave(wave, size, kDeviceRate, samples)) return;
    if (a.device != 0 && a.deviceLost()) a.lost = true;
    if (a.lost) a.reopen();
    if (a.device == 0) return;

    const auto length = std::chrono::microseconds(static_cast<std::int64_t>(samples.size()) *
                                                  1000000 / kDeviceRate);
    const bool silent = samples.empty();
    const std::uint64_t mine = a.start(std::move(samples), synchronous);
    if (!synchronous || silent) return;
    const std::uint64_t mixedBefore = a.buffersMixed.load(std::memory_order_relaxed);

    // The sound may wait behind the last buffer of the one before it.
    const auto deadline = std::chrono::steady_clock::now() + length + kBufferTime + kSyncMargin;
    std::unique_lock<std::mutex> lock(a.endMutex);
    while (a.releasedGeneration < mine) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        const auto until = now + kLostPoll < deadline ? now + kLostPoll : deadline;
        if (a.endSignal.wait_until(lock, until, [&] { return a.releasedGeneration >= mine; }))
            return;
        // A lost device plays nothing more: the game goes on at once, silent.
        if (a.deviceLost()) {
            a.lost = true;
            break;
        }
    }
    if (a.releasedGeneration >= mine) return;
    lock.unlock();
    // A device that has fallen behind, or is gone, does not hold the game: the sound is
    // stopped, so that nothing plays once the synchronous call has returned. SDL's own
    // PipeWire driver never reports a server that went away: its device just takes no more
    // sound, and one that took none at all in that time is opened again at the next sound.
    // Other drivers report the loss themselves, and closing one whose server hangs rather
    // than went away could hang the game with it.
    if (a.driver == "pipewire" && a.buffersMixed.load(std::memory_order_relaxed) == mixedBefore)
        a.lost = true;
    a.stop();
}

} // namespace tess
