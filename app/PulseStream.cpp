// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The stream lives on libpulse's threaded main loop: its thread talks to the server and
// sleeps in between; the game's thread takes the loop's lock for each request. Requests are
// sent, never waited for, except at the start, while the stream is made.
//
// The stream's target of what the server holds is small (kTargetTime), which sets how far
// ahead of the sink's reading it plays; what the game writes beyond it (the rest of a sound)
// the server keeps and plays on, and asks nothing more for. It starts to play as soon as it
// has a sample (its prebuffer is one frame), and after it has run dry it waits for the next.
#include "app/PulseStream.h"

#include "app/Library.h"

#include <pulse/pulseaudio.h>

namespace tess {

namespace {

// The libpulse functions the stream uses, from the library loaded at its first use: each is
// named once here, and becomes a member of PulseLibrary.
#define TESSARIN_PULSE_FUNCTIONS(F)                                                                \
    F(pa_, threaded_mainloop_new)                                                                  \
    F(pa_, threaded_mainloop_free)                                                                 \
    F(pa_, threaded_mainloop_start)                                                                \
    F(pa_, threaded_mainloop_stop)                                                                 \
    F(pa_, threaded_mainloop_lock)                                                                 \
    F(pa_, threaded_mainloop_unlock)                                                               \
    F(pa_, threaded_mainloop_wait)                                                                 \
    F(pa_, threaded_mainloop_signal)                                                               \
    F(pa_, threaded_mainloop_get_api)                                                              \
    F(pa_, context_new)                                                                            \
    F(pa_, context_unref)                                                                          \
    F(pa_, context_connect)                                                                        \
    F(pa_, context_disconnect)                                                                     \
    F(pa_, context_get_state)                                                                      \
    F(pa_, context_set_state_callback)                                                             \
    F(pa_, stream_new)                                                                             \
    F(pa_, stream_unref)                                                                           \
    F(pa_, stream_connect_playback)                                                                \
    F(pa_, stream_disconnect)                                                                      \
    F(pa_, stream_get_state)                                                                       \
    F(pa_, stream_set_state_callback)                                                              \
    F(pa_, stream_write)                                                                           \
    F(pa_, stream_flush)                                                                           \
    F(pa_, stream_cork)                                                                            \
    F(pa_, operation_unref)

TESSARIN_LIBRARY(PulseLibrary, pulse, "libpulse.so.0", TESSARIN_PULSE_FUNCTIONS)

// What the server holds ahead of its sink: 10 ms, which PulseAudio turns into its sink's
// latency and PipeWire into its graph's period, here the least its pulse server grants (256
// frames at 48000 Hz, its pulse.min.quantum). A note never waits behind more; less brings it
// no sooner through PipeWire and breaks notes on a loaded machine, and since each sound is
// with the server whole, the stream runs dry only where the server itself falls behind.
constexpr std::uint32_t kTargetTime = 10000;

// Nothing waits for a request to the server to be done: its operation is dropped as it is sent
// (null where the stream could not send it).
void drop(pa_operation* operation) {
    if (operation) pulse().operation_unref(operation);
}

} // namespace

struct PulseStream::Impl {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;

    // Any change of the context's or the stream's state wakes the game's thread where it waits
    // for the stream to be made.
    static void changed(pa_context*, void* loop) {
        pulse().threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
    }
    static void streamChanged(pa_stream*, void* loop) { changed(nullptr, loop); }

    // Under the loop's lock: the context and stream are ready, or have failed.
    bool ready() const {
        return pulse().context_get_state(context) == PA_CONTEXT_READY &&
               pulse().stream_get_state(stream) == PA_STREAM_READY;
    }
    bool good() const {
        return PA_CONTEXT_IS_GOOD(pulse().context_get_state(context)) &&
               (!stream || PA_STREAM_IS_GOOD(pulse().stream_get_state(stream)));
    }

    // Connects and makes the stream, waiting until it is ready or has failed.
    bool begin(int rate) {
        const PulseLibrary& pa = pulse();
        loop = pa.threaded_mainloop_new();
        if (!loop) return false;
        context = pa.context_new(pa.threaded_mainloop_get_api(loop), "Tessarin");
        if (!context) return false;
        pa.context_set_state_callback(context, &changed, loop);
        // No server is started for the game where none runs: it plays through SDL instead.
        if (pa.context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa.threaded_mainloop_start(loop) < 0)
            return false;
        pa.threaded_mainloop_lock(loop);
        while (good() && pa.context_get_state(context) != PA_CONTEXT_READY)
            pa.threaded_mainloop_wait(loop);
        if (good()) {
            const pa_sample_spec format{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(rate), 1};
            stream = pa.stream_new(context, "Tessarin", &format, nullptr);
        }
        if (stream) {
            pa.stream_set_state_callback(stream, &streamChanged, loop);
            pa_buffer_attr attributes;
            attributes.maxlength = static_cast<std::uint32_t>(-1);
            attributes.tlength = static_cast<std::uint32_t>(rate * kTargetTime / 1000000 * 2);
            attributes.prebuf = sizeof(std::int16_t);
            attributes.minreq = static_cast<std::uint32_t>(-1);
            attributes.fragsize = static_cast<std::uint32_t>(-1);
            const auto flags =
                static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
            if (pa.stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) ==
                0)
                while (good() && !ready())
                    pa.threaded_mainloop_wait(loop);
        }
        const bool made = stream && ready();
        pa.threaded_mainloop_unlock(loop);
        return made;
    }

    ~Impl() {
        const PulseLibrary& pa = pulse();
        if (loop) pa.threaded_mainloop_stop(loop);
        if (stream) {
            pa.stream_disconnect(stream);
            pa.stream_unref(stream);
        }
        if (context) {
            pa.context_disconnect(context);
            pa.context_unref(context);
        }
        if (loop) pa.threaded_mainloop_free(loop);
    }

    // Runs `request` under the loop's lock.
    template <typename Request> void send(Request request) {
        pulse().threaded_mainloop_lock(loop);
        request();
        pulse().threaded_mainloop_unlock(loop);
    }
};

PulseStream::PulseStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PulseStream::~PulseStream() = default;

std::unique_ptr<PulseStream> PulseStream::open(int rate) {
    if (!pulse().loaded) return nullptr;
    auto impl = std::make_unique<Impl>();
    if (!impl->begin(rate)) return nullptr;
    return std::unique_ptr<PulseStream>(new PulseStream(std::move(impl)));
}

void PulseStream::play(const std::int16_t* samples, std::size_t count, bool follow) {
    const PulseLibrary& pa = pulse();
    pa_stream* stream = impl_->stream;
    const bool uncork = corked_;
    impl_->send([&] {
        if (!follow) drop(pa.stream_flush(stream, nullptr, nullptr));
        if (count)
            pa.stream_write(stream, samples, count * sizeof(std::int16_t), nullptr, 0,
                            PA_SEEK_RELATIVE);
        if (uncork) drop(pa.stream_cork(stream, 0, nullptr, nullptr));
    });
    corked_ = false;
}

void PulseStream::cork() {
    const PulseLibrary& pa = pulse();
    pa_stream* stream = impl_->stream;
    impl_->send([&] { drop(pa.stream_cork(stream, 1, nullptr, nullptr)); });
    corked_ = true;
}

bool PulseStream::lost() const {
    bool good = false;
    impl_->send([&] { good = impl_->good(); });
    return !good;
}

} // namespace tess
