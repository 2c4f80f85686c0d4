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
// How far before the last pixel strings stop being copied in whole chunks:
// room for one whole string and the chunk's overrun.
constexpr std::uint32_t kSlack = kMaxCodes + 32;

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

// LZW codes least significant bit first from the image data's sub-blocks.
// The sub-blocks are joined a window at a time into a small buffer that
// stays in the cache, followed by 8 zero bytes, so a code is always read
// with one load and the file's data is never copied whole.
class CodeReader
{
public:
    // The sub-blocks start at pos in file and hold `bytes` bytes in all.
    CodeReader(std::span<const std::uint8_t> file, std::size_t pos, std::uint64_t bytes)
        : m_file(file)
        , m_next(pos)
        , m_left(bytes)
    {
        refill();
    }

    bool read(std::uint32_t width, std::uint32_t &code)
    {
        if (m_pos + width > m_bits) {
            refill();
            if (m_pos + width > m_bits)
                return false;
        }
        const std::uint64_t word = load64(m_buffer + (m_pos >> 3)) >> (m_pos & 7);
        code = static_cast<std::uint32_t>(word) & ((1U << width) - 1);
        m_pos += width;
        return true;
    }

private:
    static constexpr std::size_t kWindow = 8192;

    // Keeps the bytes not yet read whole and appends sub-blocks behind them.
    void refill()
    {
        const std::size_t keep = static_cast<std::size_t>((m_bits - (m_pos & ~std::uint64_t(7))) / 8);
        std::memmove(m_buffer, m_buffer + (m_pos >> 3), keep);
        std::size_t filled = keep;
        m_pos &= 7;
        while (m_left > 0 && filled + m_blockLeft <= kWindow) {
            if (m_blockLeft == 0) {
                // Within the sub-blocks counted before: the length byte is there.
                m_blockLeft = m_file[m_next];
                m_next += 1;
                continue;
            }
            const std::size_t len = std::min<std::uint64_t>(m_blockLeft, m_left);
            std::memcpy(m_buffer + filled, m_file.data() + m_next, len);
            filled += len;
            m_next += len;
            m_left -= len;
            m_blockLeft = 0;
        }
        std::memset(m_buffer + filled, 0, 8);
        m_bits = std::uint64_t(filled) * 8;
    }

    std::span<const std::uint8_t> m_file;
    std::size_t m_next; // the next length byte or data byte in the file
    std::uint64_t m_left; // data bytes not yet in the buffer
    std::size_t m_blockLeft = 0; // data bytes of the current sub-block not yet in the buffer
    std::uint8_t m_buffer[kWindow + 8];
    std::uint64_t m_bits = 0; // bits in the buffer
    std::uint64_t m_pos = 0; // bits of the buffer read
};

// The decoder's state between codes.
struct LzwState {
    std::uint32_t clearCode;
    std::uint32_t endCode;
    std::uint32_t firstFree;
    std::uint32_t firstWidth;
    std::uint32_t width;
    std::uint32_t widthLimit;
    std::uint32_t nextFree;
    std::uint32_t prevPos = kStartPixel;
    std::uint32_t prevLen = 1;
    std::uint32_t cur = kOutputStart;
    bool ended = false;
    Entry table[kMaxCodes];
};

// Decodes codes while fewer than `stop` bytes of out are written. Exact
// writes no byte at or past `end` and cuts the last string there; otherwise
// strings are copied in whole chunks, which needs kSlack bytes of room
// behind `stop`.
template<bool Exact>
void decodeCodes(LzwState &s, CodeReader &codes, std::uint8_t *out, std::uint32_t stop, std::uint32_t end)
{
    auto copy = [&](std::uint32_t from, std::uint32_t len) {
        if constexpr (Exact)
            std::memcpy(out + s.cur, out + from, std::min(len, end - s.cur));
        else
            copyString(out + s.cur, out + from, len);
    };
    while (s.cur < stop) {
        std::uint32_t code;
        if (!codes.read(s.width, code)) {
            s.ended = true;
            return;
        }
        if (code == s.clearCode) {
            s.width = s.firstWidth;
            s.widthLimit = 1U << s.width;
            s.nextFree = s.firstFree;
            do {
                if (!codes.read(s.width, code)) {
                    s.ended = true;
                    return;
                }
            } while (code == s.clearCode);
            if (code == s.endCode) {
                s.ended = true;
                return;
            }
            if (code >= s.nextFree)
                code = 0;
            out[s.cur] = static_cast<std::uint8_t>(code);
            s.prevPos = s.cur;
            s.prevLen = 1;
            ++s.cur;
            continue;
        }
        if (code == s.endCode) {
            s.ended = true;
            return;
        }
        std::uint32_t len;
        if (code < s.nextFree) {
            const Entry entry = s.table[code];
            copy(entry.pos, entry.len);
            len = entry.len;
        } else {
            // Not yet in the table (or beyond it): the previous string and its own first pixel.
            copy(s.prevPos, s.prevLen);
            if (!Exact || s.cur + s.prevLen < end)
                out[s.cur + s.prevLen] = out[s.prevPos];
            len = s.prevLen + 1;
        }
        // The previous string is right before this one, so the new entry,
        // the previous string and this one's first pixel, is in the buffer too.
        if (s.nextFree < s.widthLimit) {
            s.table[s.nextFree] = { s.prevPos, s.prevLen + 1 };
            ++s.nextFree;
            if (s.nextFree == s.widthLimit && s.width < kMaxCodeWidth) {
                ++s.width;
                s.widthLimit <<= 1;
            }
            s.prevPos = s.cur;
            s.prevLen = len;
        }
        s.cur += len;
    }
}

// Decodes up to pixelLimit pixels into out (laid out as described above,
// ending at the last pixel: nothing is written behind it) and returns how
// many it produced.
std::uint32_t decodeLzw(CodeReader &codes, int minCodeSize, std::uint8_t *out, std::uint32_t pixelLimit)
{
    LzwState s;
    s.clearCode = 1U << minCodeSize;
    s.endCode = s.clearCode + 1;
    s.firstFree = s.clearCode + 2;
    s.firstWidth = static_cast<std::uint32_t>(minCodeSize) + 1;
    s.width = s.firstWidth;
    s.widthLimit = 1U << s.width;
    s.nextFree = s.firstFree;
    for (std::uint32_t i = 0; i < s.clearCode; ++i)
        s.table[i] = { i, 1 };

    const std::uint32_t end = kOutputStart + pixelLimit;
    // Most of the picture in whole chunks, the last strings exactly.
    const std::uint32_t fastEnd = end > kOutputStart + kSlack ? end - kSlack : kOutputStart;
    decodeCodes<false>(s, codes, out, fastEnd, end);
    if (!s.ended)
        decodeCodes<true>(s, codes, out, end, end);
    return std::min(s.cur, end) - kOutputStart;
}

// Turns the rows decoded one after another from the top at the start of a
// DIB's pixels into its rows: picture row r in memory row height - 1 - r,
// each followed by the padding up to the stride. Rows from `complete` on and
// the padding become 0.
void arrangeRows(std::uint8_t *pixels, std::size_t width, std::size_t stride, std::size_t height, std::size_t complete)
{
    std::uint8_t row[kGifMaxWidth];
    for (std::size_t top = 0, bottom = complete; top + 1 < bottom; ++top, --bottom) {
        std::uint8_t *a = pixels + top * width;
        std::uint8_t *b = pixels + (bottom - 1) * width;
        std::memcpy(row, a, width);
        std::memcpy(a, b, width);
        std::memcpy(b, row, width);
    }
    // Row i now goes to memory row height - complete + i, never before its
    // place, so moving the last first overwrites no row still to move.
    const std::size_t blank = height - complete;
    for (std::size_t i = complete; i-- > 0;) {
        std::uint8_t *to = pixels + (blank + i) * stride;
        if (stride != width || blank != 0)
            std::memmove(to, pixels + i * width, width);
        std::memset(to + width, 0, stride - width);
    }
    std::memset(pixels, 0, blank * stride);
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

        const auto pixelLimit = static_cast<std::uint32_t>(std::min(pixelCount, maxPixelsFrom(dataBytes)));
        CodeReader codes(file, dataPos, dataBytes);
        const std::span<std::uint8_t> rows = dib->pixels();
        const std::size_t stride = dib->stride();
        const auto rowWidth = static_cast<std::uint32_t>(width);

        // A picture of 8 bits per pixel is decoded straight into its rows,
        // with the literal values in the colour table before them, whose
        // colours are written afterwards; no second copy of the picture is
        // made and touched.
        const std::size_t before = std::size_t(rows.data() - dib->bytes().data());
        if (bitsPerPixel == 8 && before >= kOutputStart + std::size_t(dib->headerSize())) {
            std::uint8_t *out = rows.data() - kOutputStart;
            for (std::uint32_t i = 0; i < kLiteralCount; ++i)
                out[i] = static_cast<std::uint8_t>(i);
            out[kStartPixel] = 0;
            const std::uint32_t decoded = decodeLzw(codes, minCodeSize, out, pixelLimit);
            std::memset(out, 0, kOutputStart);
            for (int i = 0; i < tableSize; ++i)
                dib->setColour(i, gifColours[3 * i], gifColours[3 * i + 1], gifColours[3 * i + 2]);
            arrangeRows(rows.data(), std::size_t(width), stride, std::size_t(height), decoded / rowWidth);
            return dib;
        }

        const auto out = std::make_unique_for_overwrite<std::uint8_t[]>(kOutputStart + pixelLimit);
        for (std::uint32_t i = 0; i < kLiteralCount; ++i)
            out[i] = static_cast<std::uint8_t>(i);
        out[kStartPixel] = 0;
        const std::uint32_t decoded = decodeLzw(codes, minCodeSize, out.get(), pixelLimit);

        // Only whole rows are stored, picture row r in memory row height - 1 - r.
        const int completeRows = static_cast<int>(decoded / rowWidth);
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
