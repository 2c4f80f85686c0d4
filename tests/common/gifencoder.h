#pragma once

// A small GIF writer for the tests and benchmarks, standard C++ only. Besides
// ordinary files it writes the unusual streams a decoder meets: no initial
// clear code, a table kept full instead of cleared, literal codes only, a
// damaged header, data cut short.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct GifColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct GifOptions {
    std::string signature = "GIF89a"; // the first six bytes
    bool globalTable = true;
    // The global table's size field k (2^(k+1) entries); -1: the smallest that holds the colours.
    int tableSizeField = -1;
    std::vector<GifColour> colours = { { 0, 0, 0 }, { 255, 255, 255 } };
    std::vector<std::uint8_t> beforeImage; // extensions between the table and the image
    bool localTable = false; // a local table, a copy of the global one, after the descriptor
    int codeSize = -1; // the minimum code size the data is coded with; -1: the smallest for the table
    int codeSizeByte = -1; // the minimum code size written; -1: codeSize
    bool initialClear = true;
    bool clearWhenFull = true; // false: keep the full table at width 12 to the end
    bool literalsOnly = false; // every pixel its own code
    bool endCode = true;
    bool trailer = true; // the zero-length sub-block and the trailer byte
};

namespace gifencoder_detail {

class BitWriter
{
public:
    void put(std::uint32_t code, int width)
    {
        m_acc |= std::uint64_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            bytes.push_back(static_cast<std::uint8_t>(m_acc));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    void flush()
    {
        if (m_bits > 0)
            bytes.push_back(static_cast<std::uint8_t>(m_acc));
        m_acc = 0;
        m_bits = 0;
    }
    std::vector<std::uint8_t> bytes;

private:
    std::uint64_t m_acc = 0;
    int m_bits = 0;
};

// The LZW codes of the pixels. The width of each code follows the decoder's
// table, which runs one entry behind the encoder's.
inline std::vector<std::uint8_t> lzw(const std::vector<std::uint8_t> &pixels, int codeSize, const GifOptions &options)
{
    const std::uint32_t clearCode = 1U << codeSize;
    const std::uint32_t endCode = clearCode + 1;
    const std::uint32_t firstFree = clearCode + 2;
    // (prefix code, pixel) -> code, valid while its generation is the current one.
    std::vector<std::uint32_t> dict(4096 * 256, 0);
    std::uint32_t generation = 1;
    std::uint32_t nextCode = firstFree;
    // The decoder's next free code, and whether its next code adds no entry.
    std::uint32_t decoderNext = firstFree;
    bool decoderFresh = false;
    BitWriter out;

    auto emit = [&](std::uint32_t code) {
        out.put(code, std::min(12, std::max(codeSize + 1, int(std::bit_width(decoderNext)))));
        if (code == clearCode) {
            decoderNext = firstFree;
            decoderFresh = true;
        } else if (code != endCode) {
            if (!decoderFresh && decoderNext < 4096)
                ++decoderNext;
            decoderFresh = false;
        }
    };
    auto add = [&](std::uint32_t prefix, std::uint8_t pixel) {
        if (nextCode < 4096)
            dict[prefix << 8 | pixel] = generation << 12 | nextCode++;
    };

    if (options.initialClear)
        emit(clearCode);
    else if (!pixels.empty())
        add(0, pixels[0]); // the decoder starts from a previous string of one 0
    if (!pixels.empty()) {
        std::uint32_t prefix = pixels[0];
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const std::uint8_t pixel = pixels[i];
            const std::uint32_t found = options.literalsOnly ? 0 : dict[prefix << 8 | pixel];
            if (found >> 12 == generation) {
                prefix = found & 0xFFF;
                continue;
            }
            emit(prefix);
            add(prefix, pixel);
            if (nextCode == 4096 && options.clearWhenFull) {
                emit(clearCode);
                ++generation;
                nextCode = firstFree;
            }
            prefix = pixel;
        }
        emit(prefix);
    }
    if (options.endCode)
        emit(endCode);
    out.flush();
    return out.bytes;
}

} // namespace gifencoder_detail

inline int tableSizeField(const GifOptions &options)
{
    if (options.tableSizeField >= 0)
        return options.tableSizeField;
    int field = 0;
    while ((2U << field) < options.colours.size())
        ++field;
    return field;
}

inline int codeSizeFor(const GifOptions &options)
{
    return options.codeSize >= 0 ? options.codeSize : std::max(2, tableSizeField(options) + 1);
}

// LZW data from codes given with the width each is written at.
inline std::vector<std::uint8_t> packCodes(const std::vector<std::pair<std::uint32_t, int>> &codes)
{
    gifencoder_detail::BitWriter out;
    for (const auto &[code, width] : codes)
        out.put(code, width);
    out.flush();
    return out.bytes;
}

// A GIF file of a width x height picture around ready-made LZW data.
inline std::vector<std::uint8_t> gifFile(
    int width, int height, const std::vector<std::uint8_t> &data, const GifOptions &options = {})
{
    std::vector<std::uint8_t> file(options.signature.begin(), options.signature.end());
    file.resize(6, ' ');
    auto put16 = [&file](int v) {
        file.push_back(static_cast<std::uint8_t>(v));
        file.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const int sizeField = tableSizeField(options);
    const std::size_t tableSize = 2U << sizeField;
    put16(width);
    put16(height);
    file.push_back(static_cast<std::uint8_t>((options.globalTable ? 0x80 : 0) | 0x70 | sizeField));
    file.push_back(0); // background colour
    file.push_back(0); // aspect ratio
    std::vector<std::uint8_t> table;
    for (std::size_t i = 0; i < tableSize; ++i) {
        const GifColour c = i < options.colours.size() ? options.colours[i] : GifColour {};
        table.insert(table.end(), { c.red, c.green, c.blue });
    }
    if (options.globalTable)
        file.insert(file.end(), table.begin(), table.end());
    file.insert(file.end(), options.beforeImage.begin(), options.beforeImage.end());

    file.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    file.push_back(static_cast<std::uint8_t>(options.localTable ? 0x80 | sizeField : 0));
    if (options.localTable)
        file.insert(file.end(), table.begin(), table.end());

    file.push_back(static_cast<std::uint8_t>(options.codeSizeByte >= 0 ? options.codeSizeByte : codeSizeFor(options)));
    for (std::size_t pos = 0; pos < data.size(); pos += 255) {
        const std::size_t len = std::min<std::size_t>(255, data.size() - pos);
        file.push_back(static_cast<std::uint8_t>(len));
        file.insert(file.end(), data.begin() + std::ptrdiff_t(pos), data.begin() + std::ptrdiff_t(pos + len));
    }
    if (options.trailer) {
        file.push_back(0);
        file.push_back(0x3B);
    }
    return file;
}

// A GIF file of a width x height picture (pixel values row by row, top row
// first). Fewer pixels than width x height make data that ends early.
inline std::vector<std::uint8_t> encodeGif(
    int width, int height, const std::vector<std::uint8_t> &pixels, const GifOptions &options = {})
{
    return gifFile(width, height, gifencoder_detail::lzw(pixels, codeSizeFor(options), options), options);
}

// Colours for test tables: entry i is (i, 255 - i, 7i).
inline std::vector<GifColour> gifColours(int count)
{
    std::vector<GifColour> table;
    for (int i = 0; i < count; ++i)
        table.push_back({ std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7) });
    return table;
}

inline GifOptions gifOptions(int colours)
{
    GifOptions options;
    options.colours = gifColours(colours);
    return options;
}

// Pixel values below `values`: runs of one value between stretches of
// noise, so strings grow long and codes not yet in the table turn up.
inline std::vector<std::uint8_t> gifPattern(int width, int height, int values, unsigned seed = 1)
{
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height));
    unsigned state = seed;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        state = state * 1103515245U + 12345U;
        const unsigned noise = state >> 16;
        pixels[i] = std::uint8_t((i / 97) % 3 == 0 ? (i / 500) % unsigned(values) : noise % unsigned(values));
    }
    return pixels;
}
