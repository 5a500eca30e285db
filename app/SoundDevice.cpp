// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's sound goes to the desktop's sound server where one answers in the PulseAudio
// protocol (PulseAudio, or PipeWire's pulse server), through a stream of its own
// (PulseStream): each sound is handed to the server whole as it starts, and the stream is
// corked once it has rested a second after its last sound. Elsewhere, or where the player
// names one of SDL's drivers (SDL_AUDIODRIVER), it goes to an SDL audio device.
//
// The SDL device is open only while the game has something to play: the first sound opens
// it, and it closes once it has rested a second after its last sound. An open SDL device asks
// for samples all the time, silent or not (a paused one too), and wakes the game hundreds of
// times a second; a closed one wakes nothing, and the sound server may let its sink sleep.
//
// The callback mixes the one voice that is playing, or silence. Starting a sound replaces the
// voice under the device's lock, except behind a synchronous sound whose tail (its last buffer
// and 23 ms) is still to be mixed: the new sound then waits as the voice's follower and starts on
// the sample after that sound's last, so that the notes of a tune join without a gap. A synchronous
// play waits until the rest of its sound is that short, never much longer than the sound lasts.
//
// A server or device that is lost (its sound server went away) ends any wait at once, and one
// of SDL's PipeWire driver that stopped taking sound ends it at its deadline; the game plays
// silent, and the next sound connects again, which works as soon as the server is back; while
// it is not, the game looks again once a second.
//
// Where no server answers and SDL cannot be loaded, or no device opens when the game looks for
// one, the game runs silent with SDL's audio shut, so that none of its threads runs.
#include "app/SoundDevice.h"

#include "app/Library.h"
#include "app/PulseStream.h"

#include "sound/WaveImage.h"

#include <SDL.h>

#include <QTimer>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tess {

namespace {

// The SDL functions the device uses, from the library loaded at the first use, by the name
// every SDL 2 release keeps: each is named once here, and becomes a member of SdlLibrary.
#define TESSARIN_SDL_FUNCTIONS(F)                                                                  \
    F(SDL_, SetHint)                                                                               \
    F(SDL_, Init)                                                                                  \
    F(SDL_, Quit)                                                                                  \
    F(SDL_, GetCurrentAudioDriver)                                                                 \
    F(SDL_, AudioInit)                                                                             \
    F(SDL_, AudioQuit)                                                                             \
    F(SDL_, OpenAudioDevice)                                                                       \
    F(SDL_, CloseAudioDevice)                                                                      \
    F(SDL_, PauseAudioDevice)                                                                      \
    F(SDL_, GetAudioDeviceStatus)                                                                  \
    F(SDL_, LockAudioDevice)                                                                       \
    F(SDL_, UnlockAudioDevice)                                                                     \
    F(SDL_, GetDefaultAudioInfo)                                                                   \
    F(SDL_, BuildAudioCVT)                                                                         \
    F(SDL_, ConvertAudio)

TESSARIN_LIBRARY(SdlLibrary, sdl, "libSDL2-2.0.so.0", TESSARIN_SDL_FUNCTIONS)

// The rate of the game's sounds.
constexpr int kSoundRate = 22050;
// The device's buffer: the smallest power of two of frames that holds 10 ms (512 at 44100 or
// 48000 Hz). A note waits behind about one buffer; buffers of a few milliseconds bring it
// sooner, but on a busy two-core machine the server runs them dry and notes break off
// (bench/sound_delay.py counts both).
Uint16 bufferFrames(int rate) {
    Uint16 frames = 64;
    while (frames * 100 < rate)
        frames = static_cast<Uint16>(frames * 2);
    return frames;
}
// A synchronous play returns when its sound's last buffer and this much more are left: the
// time the game has to start the next note of a tune behind it, which then follows without a
// gap.
constexpr std::chrono::microseconds kTailTime{23220};
// How long past a sound's own length a synchronous play waits for the device at most.
constexpr std::chrono::milliseconds kSyncMargin{150};
// How long the game stays silent after it found no server or device where it had one.
constexpr std::chrono::seconds kRetry{1};
// How often a synchronous play looks whether the server or device has been lost while it
// waits.
constexpr std::chrono::milliseconds kLostPoll{10};

} // namespace

struct SoundDevice::Impl {
    explicit Impl(std::chrono::milliseconds restTime) {
        rest.setSingleShot(true);
        rest.setInterval(restTime);
        QObject::connect(&rest, &QTimer::timeout, [this] { restOrWait(); });
    }

    // Whether the game has looked for a sound server or SDL's device yet, and what it found.
    bool begun = false;
    // The game plays through the desktop's sound server: `server` is its stream, null while
    // the server is away. The sounds it was handed end at `soundEnds` by the game's clock, and
    // the last was synchronous if `lastSynchronous`.
    bool throughServer = false;
    std::unique_ptr<PulseStream> server;
    std::chrono::steady_clock::time_point soundEnds;
    bool lastSynchronous = false;
    bool sdlStarted = false;
    // The driver SDL chose at the start; empty where no device opened then, and the game
    // plays silent. The device is opened again through it after it has rested or been lost.
    std::string driver;
    bool driverStarted = false;
    // When a server or device that could not be reached again is next looked for.
    std::chrono::steady_clock::time_point nextTry;
    SDL_AudioDeviceID device = 0;
    // The open device's rate, and how many of its frames make a sound's tail.
    int rate = kSoundRate;
    std::size_t tailFrames = 0;
    // Corks the stream, or closes the device, once it has rested after its last sound.
    QTimer rest;

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
    std::uint64_t buffersMixed = 0;
    // The newest sound the callback has released, so that it takes the lock below only once
    // a sound.
    std::uint64_t releasedByMix = 0;

    // The sounds whose tail is all that is left to mix, reported by the callback to a waiting
    // synchronous play.
    std::mutex endMutex;
    std::condition_variable endSignal;
    std::uint64_t releasedGeneration = 0;

    static void callback(void* self, Uint8* stream, int len) {
        static_cast<Impl*>(self)->mix(reinterpret_cast<std::int16_t*>(stream),
                                      static_cast<std::size_t>(len) / sizeof(std::int16_t));
    }

    void mix(std::int16_t* out, std::size_t frames) {
        ++buffersMixed;
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
        // What is left is the sound's tail: its play may return, and the sound that the game
        // starts then can follow it without a gap.
        if (playing && voice.size() - position <= tailFrames) release(voiceGeneration);
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

    // A value of the voice read under the device's lock, as the callback leaves it.
    template <typename Read> auto locked(Read read) {
        sdl().LockAudioDevice(device);
        const auto value = read();
        sdl().UnlockAudioDevice(device);
        return value;
    }
    std::uint64_t mixed() {
        return locked([this] { return buffersMixed; });
    }

    bool deviceLost() const { return sdl().GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED; }

    // The desktop's sound server, or else SDL and its driver, and a first look for the device.
    // SDL is used where the player asks for one of its drivers by name.
    void begin() {
        begun = true;
        const char* asked = std::getenv("SDL_AUDIODRIVER");
        if (!asked || !*asked) {
            server = PulseStream::open(kSoundRate);
            if (server) {
                throughServer = true;
                rest.start();
                return;
            }
        }
        if (!sdl().loaded) return;
        sdl().SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sdl().Init(0) != 0) return;
        sdlStarted = true;
        if (startDriver(nullptr) && open()) {
            rest.start();
            return;
        }
        // No device: SDL's audio is shut, and its threads (such as ALSA's, which looks for new
        // devices ten times a second) with it. The game plays silent.
        quitDriver();
        driver.clear();
    }

    bool startDriver(const char* name) {
        if (sdl().AudioInit(name) != 0) return false;
        driverStarted = true;
        const char* chosen = sdl().GetCurrentAudioDriver();
        driver = chosen ? chosen : "";
        return true;
    }

    // The rate of the server's sink where SDL knows it (its PulseAudio driver's), so that
    // nothing converts the sound on its way; elsewhere (ALSA, PipeWire, SDL's test drivers) the
    // rate SDL picks, by default the sounds' own.
    int wantedRate() const {
        SDL_AudioSpec sink{};
        if (sdl().GetDefaultAudioInfo(nullptr, &sink, 0) == 0 && sink.freq > 0) return sink.freq;
        return 0;
    }

    bool open() {
        SDL_AudioSpec want{};
        want.freq = wantedRate();
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = bufferFrames(want.freq ? want.freq : kSoundRate);
        want.callback = &Impl::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware takes.
        device = sdl().OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device == 0) return false;
        rate = have.freq;
        tailFrames = static_cast<std::size_t>(rate * kTailTime.count() / 1000000) + have.samples;
        sdl().PauseAudioDevice(device, 0);
        return true;
    }

    // The sound's samples at the device's rate, converted by SDL; false where it cannot.
    bool toDeviceRate(std::vector<std::int16_t>& samples) const {
        if (rate == kSoundRate || samples.empty()) return true;
        SDL_AudioCVT cvt;
        if (sdl().BuildAudioCVT(&cvt, AUDIO_S16SYS, 1, kSoundRate, AUDIO_S16SYS, 1, rate) < 0)
            return false;
        cvt.len = static_cast<int>(samples.size() * sizeof(std::int16_t));
        // SDL converts in place, in a buffer that holds the longest step.
        std::vector<std::int16_t> converted(samples.size() *
                                            static_cast<std::size_t>(cvt.len_mult));
        std::memcpy(converted.data(), samples.data(), static_cast<std::size_t>(cvt.len));
        cvt.buf = reinterpret_cast<Uint8*>(converted.data());
        if (sdl().ConvertAudio(&cvt) != 0) return false;
        converted.resize(static_cast<std::size_t>(cvt.len_cvt) / sizeof(std::int16_t));
        samples.swap(converted);
        return true;
    }

    // Opens the device if it is resting or was lost, or the server's stream if it was lost;
    // false where there is none.
    bool wake() {
        if (!begun) begin();
        if (device != 0 || server) return true;
        if (std::chrono::steady_clock::now() < nextTry) return false;
        if (throughServer) {
            server = PulseStream::open(kSoundRate);
            if (server) return true;
            nextTry = std::chrono::steady_clock::now() + kRetry;
            return false;
        }
        if (driver.empty()) return false;
        if (!driverStarted) driverStarted = sdl().AudioInit(driver.c_str()) == 0;
        if (driverStarted && open()) return true;
        // The server is not back yet: the game stays silent, and tries again at the first
        // sound a second later. Starting a driver whose server is gone costs SDL's PipeWire
        // driver tens of milliseconds, which every note of a tune would pay.
        quitDriver();
        nextTry = std::chrono::steady_clock::now() + kRetry;
        return false;
    }

    void close() {
        rest.stop();
        if (device != 0) sdl().CloseAudioDevice(device);
        device = 0;
        voice.clear();
        follower.clear();
        playing = false;
        followerQueued = false;
    }

    void quitDriver() {
        if (driverStarted) sdl().AudioQuit();
        driverStarted = false;
    }

    // Whether the server's stream has been lost with its server: it is let go, and the next
    // sound connects again.
    bool serverLost() {
        if (!server || !server->lost()) return false;
        server.reset();
        return true;
    }

    // The device is gone: closed, and the driver shut, whose connection to a sound server
    // that went away is dead too.
    void lose() {
        close();
        quitDriver();
    }

    // The rest is over: the device closes, unless a sound still plays. The driver stays
    // started where its own threads sleep without a device (PulseAudio's and PipeWire's only
    // wait for news of the server), which spares the next sound connecting to the server
    // again; any other is shut too (ALSA's looks for new devices ten times a second).
    void restOrWait() {
        if (serverLost()) return;
        if (server) {
            if (std::chrono::steady_clock::now() < soundEnds)
                rest.start();
            else
                server->cork();
            return;
        }
        if (device == 0) return;
        if (deviceLost()) {
            lose();
            return;
        }
        if (locked([this] { return playing; })) {
            rest.start();
            return;
        }
        close();
        if (driver != "pulseaudio" && driver != "pipewire") quitDriver();
    }

    // Hands the samples to the server's stream whole: a sound behind a synchronous one follows
    // it from its last sample, any other cuts off what plays. A synchronous play returns when
    // the sound's last 23 ms are left (by the game's clock, which the server's sink keeps up
    // with), at once where the server is lost.
    void playThroughServer(const std::vector<std::int16_t>& samples, bool synchronous) {
        const auto now = std::chrono::steady_clock::now();
        const auto length = std::chrono::microseconds(static_cast<std::int64_t>(samples.size()) *
                                                      1000000 / kSoundRate);
        server->play(samples.data(), samples.size(), lastSynchronous);
        soundEnds = (lastSynchronous && soundEnds > now ? soundEnds : now) + length;
        lastSynchronous = synchronous;
        if (!synchronous) return;
        for (auto left = soundEnds - kTailTime - now; left.count() > 0;
             left = soundEnds - kTailTime - std::chrono::steady_clock::now()) {
            if (serverLost()) return;
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(left, kLostPoll));
        }
    }

    // Lets the tail of a synchronous sound whose play has returned be mixed, so that the
    // sound is heard whole; bounded, whatever the device does.
    void finishSynchronousTail() {
        if (server) {
            if (lastSynchronous) std::this_thread::sleep_until(soundEnds + kTailTime);
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + 3 * kTailTime + kSyncMargin;
        while (std::chrono::steady_clock::now() < deadline && !deviceLost()) {
            if (!locked([this] { return playing && voiceSynchronous; })) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

SoundDevice::SoundDevice(std::chrono::milliseconds rest) : impl_(std::make_unique<Impl>(rest)) {}

SoundDevice::~SoundDevice() {
    Impl& a = *impl_;
    if (a.device != 0 || a.server) {
        a.finishSynchronousTail();
        a.close();
    }
    a.quitDriver();
    if (a.sdlStarted) sdl().Quit();
}

void SoundDevice::prepare() {
    if (!impl_->begun) impl_->begin();
}

bool SoundDevice::available() {
    return impl_->wake();
}

bool SoundDevice::awake() const {
    return impl_->device != 0 || (impl_->server && !impl_->server->corked());
}

void SoundDevice::play(const std::uint8_t* wave, std::size_t size, bool synchronous) {
    Impl& a = *impl_;
    std::vector<std::int16_t> samples;
    // An image that cannot be played plays nothing, and leaves what plays alone.
    if (!decodeWave(wave, size, kSoundRate, samples)) return;
    a.serverLost();
    if (a.device != 0 && a.deviceLost()) a.lose();
    if (!a.wake()) return;
    a.rest.start();
    if (a.server) {
        a.playThroughServer(samples, synchronous);
        return;
    }
    if (!a.toDeviceRate(samples)) return;

    const auto length =
        std::chrono::microseconds(static_cast<std::int64_t>(samples.size()) * 1000000 / a.rate);
    const bool silent = samples.empty();
    const std::uint64_t mine = a.start(std::move(samples), synchronous);
    if (!synchronous || silent) return;
    const std::uint64_t mixedBefore = a.mixed();

    // The sound may wait behind the tail of the one before it.
    const auto deadline = std::chrono::steady_clock::now() + length + 2 * kTailTime + kSyncMargin;
    std::unique_lock<std::mutex> lock(a.endMutex);
    const auto released = [&] { return a.releasedGeneration >= mine; };
    while (!released() && std::chrono::steady_clock::now() < deadline) {
        const auto until = std::chrono::steady_clock::now() + kLostPoll;
        if (a.endSignal.wait_until(lock, until < deadline ? until : deadline, released)) return;
        // A lost device plays nothing more: the game goes on at once, silent.
        if (a.deviceLost()) break;
    }
    if (released()) return;
    lock.unlock();
    // A device that has fallen behind, or is gone, does not hold the game: the sound is
    // stopped, so that nothing plays once the synchronous call has returned. SDL's own
    // PipeWire driver never reports a server that went away: its device just takes no more
    // sound, and one that took none at all in that time is opened again at the next sound.
    // Other drivers report the loss themselves, and closing one whose server hangs rather
    // than went away could hang the game with it.
    if (a.deviceLost() || (a.driver == "pipewire" && a.mixed() == mixedBefore)) {
        a.lose();
        return;
    }
    a.stop();
}

} // namespace tess
