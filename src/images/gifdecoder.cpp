#include "images/gifdecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kMaxCodeWidth = 12;
constexpr std::uint32_t kMaxCodes = 1U << kMaxCodeWidth;

// A picture whose block is at most this size is always made, however little
// data it has, so a cut-short picture of any ordinary size keeps its rows.
constexpr std::uint64_t kAlwaysAllowedBlock = 4U << 20;

// The most pixels that `bytes` bytes of LZW data can give. A code read at
// width w names a string of fewer than 2^w pixels (the table below 2^w holds
// strings at most one pixel longer per entry), and 2^w / w is largest at
// w = 12: 4096 pixels per 12 bits. A picture claiming more pixels than its
// data can hold can never be completed, so refusing it loses no real picture.
constexpr std::uint64_t maxPixelsFrom(std::uint64_t bytes)
{
    return bytes * 8 * kMaxCodes / kMaxCodeWidth;
}

// Decoded pixels go into one buffer, one byte each: first the values of the
// literal codes (up to 512 for a minimum code size of 9, kept modulo 256),
// then a single 0, the string a stream that starts without a clear code
// continues from, then the picture's pixels. Every table entry is a copy of
// bytes already in the buffer, so a string is written with plain copies.
constexpr std::uint32_t kLiteralCount = 512;
constexpr std::uint32_t kStartPixel = kLiteralCount;
constexpr std::uint32_t kOutputStart = kStartPixel + 1;
// Room behind the last pixel for one whole string and the copy overrun.
constexpr std::size_t kSlack = kMaxCodes + 32;

struct Entry {
    std::uint32_t pos;
    std::uint32_t len;
};

// Copies len bytes in 16-byte chunks. The source ends before dst, so no
// byte of the string is overwritten before it is read; the chunk's bytes
// past the string land where later strings go.
inline void copyString(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t len)
{
    for (;;) {
        std::uint8_t chunk[16];
        std::memcpy(chunk, src, sizeof chunk);
        std::memcpy(dst, chunk, sizeof chunk);
        if (len <= sizeof chunk)
            return;
        len -= sizeof chunk;
        src += sizeof chunk;
        dst += sizeof chunk;
    }
}

inline std::uint64_t load64(const std::uint8_t *p)
{
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, p, sizeof word);
    } else {
        for (int i = 7; i >= 0; --i)
            word = word << 8 | p[i];
    }
    return word;
}

// LZW codes least significant bit first from the joined sub-blocks, which
// are followed by 8 zero bytes so a code is always read with one load.
class CodeReader
{
public:
    CodeReader(const std::uint8_t *data, std::uint64_t bytes)
        : m_data(data)
        , m_bits(bytes * 8)
    { }

    bool read(std::uint32_t width, std::uint32_t &code)
    {
        if (m_pos + width > m_bits)
            return false;
        const std::uint64_t word = load64(m_data + (m_pos >> 3)) >> (m_pos & 7);
        code = static_cast<std::uint32_t>(word) & ((1U << width) - 1);
        m_pos += width;
        return true;
    }

private:
    const std::uint8_t *m_data;
    std::uint64_t m_bits;
    std::uint64_t m_pos = 0;
};

// Decodes up to pixelLimit pixels into out (laid out as described above)
// and returns how many it produced.
std::uint32_t decodeLzw(CodeReader &codes, int minCodeSize, std::uint8_t *out, std::uint32_t pixelLimit)
{
    const std::uint32_t clearCode = 1U << minCodeSize;
    const std::uint32_t endCode = clearCode + 1;
    const std::uint32_t firstFree = clearCode + 2;
    const std::uint32_t firstWidth = static_cast<std::uint32_t>(minCodeSize) + 1;

    Entry table[kMaxCodes];
    for (std::uint32_t i = 0; i < clearCode; ++i)
        table[i] = { i, 1 };

    std::uint32_t width = firstWidth;
    std::uint32_t widthLimit = 1U << width;
    std::uint32_t nextFree = firstFree;
    std::uint32_t prevPos = kStartPixel;
    std::uint32_t prevLen = 1;
    std::uint32_t cur = kOutputStart;
    const std::uint32_t end = kOutputStart + pixelLimit;

    while (cur < end) {
        std::uint32_t code;
        if (!codes.read(width, code))
            break;
        if (code == clearCode) {
            width = firstWidth;
            widthLimit = 1U << width;
            nextFree = firstFree;
            do {
                if (!codes.read(width, code))
                    return cur - kOutputStart;
            } while (code == clearCode);
            if (code == endCode)
                break;
            if (code >= nextFree)
                code = 0;
            out[cur] = static_cast<std::uint8_t>(code);
            prevPos = cur;
            prevLen = 1;
            ++cur;
            continue;
        }
        if (code == endCode)
            break;
        std::uint32_t len;
        if (code < nextFree) {
            const Entry entry = table[code];
            copyString(out + cur, out + entry.pos, entry.len);
            len = entry.len;
        } else {
            // Not yet in the table (or beyond it): the previous string and its own first pixel.
            copyString(out + cur, out + prevPos, prevLen);
            out[cur + prevLen] = out[prevPos];
            len = prevLen + 1;
        }
        // The previous string is right before this one, so the new entry,
        // the previous string and this one's first pixel, is in the buffer too.
        if (nextFree < widthLimit) {
            table[nextFree] = { prevPos, prevLen + 1 };
            ++nextFree;
            if (nextFree == widthLimit && width < kMaxCodeWidth) {
                ++width;
                widthLimit <<= 1;
            }
            prevPos = cur;
            prevLen = len;
        }
        cur += len;
    }
    return std::min(cur, end) - kOutputStart;
}

void packRow(const std::uint8_t *src, std::uint8_t *dst, int width, int bitsPerPixel)
{
    const auto count = static_cast<std::size_t>(width);
    if (bitsPerPixel == 8) {
        std::memcpy(dst, src, count);
    } else if (bitsPerPixel == 4) {
        const std::size_t pairs = count / 2;
        for (std::size_t i = 0; i < pairs; ++i)
            dst[i] = static_cast<std::uint8_t>(src[2 * i] << 4 | (src[2 * i + 1] & 0x0F));
        if (count % 2)
            dst[pairs] = static_cast<std::uint8_t>(src[count - 1] << 4);
    } else {
        for (std::size_t x = 0; x < count; x += 8) {
            const std::size_t n = std::min<std::size_t>(8, count - x);
            unsigned byte = 0;
            for (std::size_t k = 0; k < n; ++k)
                byte |= (src[x + k] & 1U) << (7 - k);
            dst[x / 8] = static_cast<std::uint8_t>(byte);
        }
    }
}

// The image data's sub-blocks, up to the zero length that ends them or the
// end of the file, whichever comes first.
template<typename Visit> std::uint64_t forEachSubBlock(std::span<const std::uint8_t> file, std::size_t pos, Visit visit)
{
    std::uint64_t total = 0;
    while (pos < file.size()) {
        const std::size_t len = std::min<std::size_t>(file[pos], file.size() - pos - 1);
        if (len == 0)
            break;
        visit(file.data() + pos + 1, len);
        total += len;
        pos += 1 + len;
    }
    return total;
}

std::optional<PackedDib> buildImage(std::span<const std::uint8_t> file, std::size_t pos, const std::uint8_t *gifColours,
    int tableSize, int width, int height)
{
    if (width > kGifMaxWidth)
        return std::nullopt;
    const int bitsPerPixel = tableSize == 2 ? 1 : tableSize <= 16 ? 4 : 8;

    const bool hasCodeSize = pos < file.size();
    const int minCodeSize = hasCodeSize ? file[pos] : 0;
    const std::size_t dataPos = pos + 1;
    const std::uint64_t dataBytes
        = hasCodeSize ? forEachSubBlock(file, dataPos, [](const std::uint8_t *, std::size_t) {}) : 0;

    const std::uint64_t pixelCount = std::uint64_t(width) * std::uint64_t(height);
    const std::uint64_t rowBytes = (std::uint64_t(width) * std::uint64_t(bitsPerPixel) + 31) / 32 * 4;
    if (rowBytes * std::uint64_t(height) > kAlwaysAllowedBlock && pixelCount > maxPixelsFrom(dataBytes))
        return std::nullopt;

    try {
        std::optional<PackedDib> dib = PackedDib::blank(width, height, bitsPerPixel);
        if (!dib)
            return std::nullopt;
        for (int i = 0; i < tableSize; ++i)
            dib->setColour(i, gifColours[3 * i], gifColours[3 * i + 1], gifColours[3 * i + 2]);
        if (pixelCount == 0 || !hasCodeSize || minCodeSize < 2 || minCodeSize > 9)
            return dib;

        std::vector<std::uint8_t> data;
        data.reserve(static_cast<std::size_t>(dataBytes) + 8);
        forEachSubBlock(file, dataPos,
            [&data](const std::uint8_t *bytes, std::size_t len) { data.insert(data.end(), bytes, bytes + len); });
        data.resize(data.size() + 8);

        const auto pixelLimit = static_cast<std::uint32_t>(std::min(pixelCount, maxPixelsFrom(dataBytes)));
        const auto out = std::make_unique_for_overwrite<std::uint8_t[]>(kOutputStart + pixelLimit + kSlack);
        for (std::uint32_t i = 0; i < kLiteralCount; ++i)
            out[i] = static_cast<std::uint8_t>(i);
        out[kStartPixel] = 0;

        CodeReader codes(data.data(), dataBytes);
        const std::uint32_t decoded = decodeLzw(codes, minCodeSize, out.get(), pixelLimit);

        // Only whole rows are stored, picture row r in memory row height - 1 - r.
        const std::span<std::uint8_t> rows = dib->pixels();
        const std::size_t stride = dib->stride();
        const int completeRows = static_cast<int>(decoded / static_cast<std::uint32_t>(width));
        for (int r = 0; r < completeRows; ++r)
            packRow(out.get() + kOutputStart + std::size_t(r) * std::size_t(width),
                rows.data() + std::size_t(height - 1 - r) * stride, width, bitsPerPixel);
        return dib;
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

bool isDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<PackedDib> decodeGif(std::span<const std::uint8_t> file)
{
    constexpr std::size_t kHeaderSize = 13;
    if (file.size() < kHeaderSize)
        return std::nullopt;
    const std::uint8_t *h = file.data();
    if (h[0] != 'G' || h[1] != 'I' || h[2] != 'F' || !isDigit(h[3]) || !isDigit(h[4]) || h[5] < 0x41 || h[5] > 0x7A)
        return std::nullopt;
    if (!(h[10] & 0x80))
        return std::nullopt;
    const int tableSize = 2 << (h[10] & 7);
    std::size_t pos = kHeaderSize;
    if (file.size() - pos < 3 * std::size_t(tableSize))
        return std::nullopt;
    const std::uint8_t *gifColours = h + pos;
    pos += 3 * std::size_t(tableSize);

    while (pos < file.size()) {
        const std::uint8_t introducer = file[pos++];
        if (introducer == 0x21) {
            // An extension: its label, then sub-blocks up to a zero length; none is used.
            if (pos++ >= file.size())
                return std::nullopt;
            for (;;) {
                if (pos >= file.size())
                    return std::nullopt;
                const std::size_t len = file[pos++];
                if (len == 0)
                    break;
                if (file.size() - pos < len)
                    return std::nullopt;
                pos += len;
            }
        } else if (introducer == 0x2C) {
            constexpr std::size_t kDescriptorSize = 9;
            if (file.size() - pos < kDescriptorSize)
                return std::nullopt;
            const int width = file[pos + 4] | file[pos + 5] << 8;
            const int height = file[pos + 6] | file[pos + 7] << 8;
            return buildImage(file, pos + kDescriptorSize, gifColours, tableSize, width, height);
        } else {
            // The trailer, or anything else, before an image.
            return std::nullopt;
        }
    }
    return std::nullopt;
}
