#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// A key sound: PCM samples read from a RIFF wave file, as 16-bit values.
struct WaveClip {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples; // interleaved

    // Reads 8- or 16-bit PCM; nothing for anything else or a damaged file.
    static std::optional<WaveClip> parse(std::string_view bytes);

    // The same sound at another rate and channel count (nearest sample; the
    // clips are short clicks, where that is inaudible).
    WaveClip converted(int rate, int channelCount) const;
};
