// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The yardstick of the game's key-to-note delay (bench/sound_delay.py): a bare X window that
// plays the note of the game's Q key through SDL the moment any key is pressed in it, on a
// device opened at the start and left running, as small as asked. Nothing else happens
// between the key and the note: the X event is read, the note is handed to the callback.
// Prints "ready DRIVER RATE FRAMES" once the window has the keyboard and the device plays,
// then waits to be ended.
// Usage: reference_note [--rate HZ] [--frames N]
#include "sound/SoundBank.h"
#include "sound/WaveImage.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kNote = 102; // C6, the note of the top-left letter key
constexpr int kSoundRate = 22050;

struct Voice {
    std::vector<Uint8> samples; // in the device's format
    std::size_t position = 0;
    bool playing = false;
};

void mix(void* userdata, Uint8* stream, int len) {
    Voice& voice = *static_cast<Voice*>(userdata);
    const std::size_t wanted = static_cast<std::size_t>(len);
    std::size_t written = 0;
    if (voice.playing) {
        const std::size_t left = voice.samples.size() - voice.position;
        written = left < wanted ? left : wanted;
        std::memcpy(stream, voice.samples.data() + voice.position, written);
        voice.position += written;
        voice.playing = voice.position < voice.samples.size();
    }
    std::memset(stream + written, 0, wanted - written);
}

// The note's samples at the device's rate, converted by SDL.
bool noteFor(const SDL_AudioSpec& device, std::vector<Uint8>& out) {
    const std::vector<std::uint8_t>& image = *tess::findSound(kNote);
    std::vector<std::int16_t> samples;
    if (!tess::decodeWave(image.data(), image.size(), kSoundRate, samples)) return false;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, 1, kSoundRate, device.format, device.channels,
                          device.freq) < 0)
        return false;
    cvt.len = static_cast<int>(samples.size() * sizeof(std::int16_t));
    out.resize(static_cast<std::size_t>(cvt.len) * static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(out.data(), samples.data(), static_cast<std::size_t>(cvt.len));
    cvt.buf = out.data();
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) return false;
    out.resize(static_cast<std::size_t>(cvt.len_cvt));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int rate = 48000, frames = 128;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rate") == 0) rate = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--frames") == 0) frames = std::atoi(argv[i + 1]);
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("reference_note: no X display\n", stderr);
        return 1;
    }
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 200,
                                              0, 0, WhitePixel(display, 0));
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify) break;
    }
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);

    Voice voice;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "reference_note: %s\n", SDL_GetError());
        return 1;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = static_cast<Uint16>(frames);
    want.callback = mix;
    want.userdata = &voice;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0 || !noteFor(have, voice.samples)) {
        std::fprintf(stderr, "reference_note: %s\n", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);
    std::printf("ready %s %d %d\n", SDL_GetCurrentAudioDriver(), have.freq, have.samples);
    std::fflush(stdout);

    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type != KeyPress) continue;
        SDL_LockAudioDevice(device);
        voice.position = 0;
        voice.playing = true;
        SDL_UnlockAudioDevice(device);
    }
}
