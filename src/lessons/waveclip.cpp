#include "lessons/waveclip.h"

namespace {

std::uint32_t u32(std::string_view b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]))
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

} // namespace

std::optional<WaveClip> WaveClip::parse(std::string_view bytes)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return std::nullopt;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::optional<std::string_view> data;
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = u32(bytes, at + 4);
        at += 8;
        if (size > bytes.size() - at)
            return std::nullopt;
        if (id == "fmt ") {
            if (size < 16)
                return std::nullopt;
            format = u16(bytes, at);
            channels = u16(bytes, at + 2);
            rate = static_cast<int>(u32(bytes, at + 4));
            bits = u16(bytes, at + 14);
        } else if (id == "data") {
            data = bytes.substr(at, size);
        }
        at += size + (size & 1); // chunks are padded to an even size
        if (at > bytes.size())
            break;
    }
    if (format != 1 || !data || channels < 1 || channels > 8 || rate < 1000 || rate > 384000
        || (bits != 8 && bits != 16))
        return std::nullopt;

    WaveClip clip;
    clip.sampleRate = rate;
    clip.channels = channels;
    const std::size_t frameBytes = static_cast<std::size_t>(channels) * (bits / 8);
    const std::size_t count = data->size() / frameBytes * channels;
    clip.samples.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (bits == 16)
            clip.samples.push_back(static_cast<std::int16_t>(u16(*data, i * 2)));
        else
            clip.samples.push_back(static_cast<std::int16_t>((static_cast<unsigned char>((*data)[i]) - 128) * 256));
    }
    return clip;
}

WaveClip WaveClip::converted(int rate, int channelCount) const
{
    WaveClip out;
    out.sampleRate = rate;
    out.channels = channelCount;
    if (channels <= 0 || sampleRate <= 0 || rate <= 0 || channelCount <= 0)
        return out;
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    const std::size_t outFrames = frames * static_cast<std::size_t>(rate) / static_cast<std::size_t>(sampleRate);
    out.samples.reserve(outFrames * static_cast<std::size_t>(channelCount));
    for (std::size_t f = 0; f < outFrames; ++f) {
        const std::size_t source = f * static_cast<std::size_t>(sampleRate) / static_cast<std::size_t>(rate);
        for (int c = 0; c < channelCount; ++c) {
            const int from = c < channels ? c : channels - 1;
            out.samples.push_back(samples[source * static_cast<std::size_t>(channels) + from]);
        }
    }
    return out;
}
