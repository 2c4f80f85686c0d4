// A wave clip of any bytes, read and converted to the sound output's formats.
#include "fuzzcheck.h"

#include "lessons/waveclip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<WaveClip> clip = WaveClip::parse(std::string_view(reinterpret_cast<const char *>(data), size));
    if (!clip)
        return 0;
    FUZZ_CHECK(clip->channels >= 1 && clip->channels <= 8 && clip->sampleRate > 0);
    FUZZ_CHECK(clip->samples.size() % std::size_t(clip->channels) == 0);
    FUZZ_CHECK(clip->samples.size() <= size);
    for (const auto &[rate, channels] : { std::pair(48000, 2), std::pair(44100, 1), std::pair(8000, 6) }) {
        const WaveClip out = clip->converted(rate, channels);
        FUZZ_CHECK(out.sampleRate == rate && out.channels == channels);
        FUZZ_CHECK(out.samples.size() % std::size_t(channels) == 0);
    }
    return 0;
}
