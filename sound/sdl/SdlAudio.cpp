#include "sound/sdl/SdlAudio.h"

namespace tess {

struct SdlAudio::Impl {};

SdlAudio::SdlAudio() = default;

SdlAudio::~SdlAudio() = default;

bool SdlAudio::available() const { return false; }

void SdlAudio::play(const std::uint8_t*, std::size_t, bool) {}

} // namespace tess
