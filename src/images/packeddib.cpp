#include "images/packeddib.h"

#include <limits>
#include <utility>

namespace {

void put16(std::uint8_t *at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t *at, std::uint32_t value)
{
    put16(at, value);
    put16(at + 2, value >> 16);
}

int coloursForDepth(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

std::size_t strideFor(std::uint64_t width, std::uint64_t bitsPerPixel)
{
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

} // namespace

std::optional<PackedDib> PackedDib::blank(int width, int height, int bitsPerPixel)
{
    const int colours = coloursForDepth(bitsPerPixel);
    if (colours == 0 || width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF)
        return std::nullopt;
    const std::size_t stride = strideFor(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(bitsPerPixel));
    const std::size_t imageSize = stride * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> block(kInfoHeaderSize + 4 * static_cast<std::size_t>(colours) + imageSize);
    std::uint8_t *h = block.data();
    put32(h, kInfoHeaderSize);
    put32(h + 4, static_cast<std::uint32_t>(width));
    put32(h + 8, static_cast<std::uint32_t>(height));
    put16(h + 12, 1);
    put16(h + 14, static_cast<std::uint32_t>(bitsPerPixel));
    put32(h + 20, static_cast<std::uint32_t>(imageSize));
    put32(h + 32, static_cast<std::uint32_t>(colours));
    put32(h + 36, static_cast<std::uint32_t>(colours));
    return PackedDib(std::move(block));
}

std::uint32_t PackedDib::field32(std::size_t offset) const
{
    if (offset + 4 > m_block.size())
        return 0;
    const std::uint8_t *p = m_block.data() + offset;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t PackedDib::field16(std::size_t offset) const
{
    if (offset + 2 > m_block.size())
        return 0;
    return static_cast<std::uint16_t>(m_block[offset] | m_block[offset + 1] << 8);
}

std::uint32_t PackedDib::headerSize() const
{
    return field32(0);
}

// The fields are read only from a block that holds the whole header: a core
// header's 12 bytes, or an information header up to its colours-used field.
bool PackedDib::headerReadable() const
{
    const std::uint32_t header = headerSize();
    const std::size_t needed = header == kCoreHeaderSize ? kCoreHeaderSize : 36;
    return header != 0 && m_block.size() >= header && m_block.size() >= needed;
}

int PackedDib::width() const
{
    if (!headerReadable())
        return 0;
    return isCoreHeader() ? field16(4) : static_cast<std::uint16_t>(field32(4));
}

int PackedDib::height() const
{
    if (!headerReadable())
        return 0;
    return isCoreHeader() ? field16(6) : static_cast<std::uint16_t>(field32(8));
}

int PackedDib::bitsPerPixel() const
{
    if (!headerReadable())
        return 0;
    return field16(isCoreHeader() ? 10 : 14);
}

std::size_t PackedDib::entrySize() const
{
    return isCoreHeader() ? 3 : 4;
}

std::uint64_t PackedDib::claimedColours() const
{
    if (!headerReadable())
        return 0;
    const std::uint32_t used = isCoreHeader() ? 0 : field32(32);
    return used != 0 ? used : static_cast<std::uint64_t>(coloursForDepth(bitsPerPixel()));
}

// The end of the colour table, or 0 when the block is too short for it.
std::size_t PackedDib::pixelDataOffset() const
{
    if (!headerReadable())
        return 0;
    const std::uint64_t end = headerSize() + claimedColours() * entrySize();
    return end <= m_block.size() ? static_cast<std::size_t>(end) : 0;
}

int PackedDib::colourCount() const
{
    return pixelDataOffset() != 0 ? static_cast<int>(claimedColours()) : 0;
}

std::size_t PackedDib::stride() const
{
    return strideFor(static_cast<std::uint64_t>(width()), static_cast<std::uint64_t>(bitsPerPixel()));
}

std::span<const std::uint8_t> PackedDib::pixels() const
{
    const std::size_t offset = pixelDataOffset();
    const std::uint64_t size = static_cast<std::uint64_t>(stride()) * static_cast<std::uint64_t>(height());
    if (offset == 0 || offset + size > m_block.size())
        return {};
    return std::span<const std::uint8_t>(m_block).subspan(offset, static_cast<std::size_t>(size));
}

std::span<std::uint8_t> PackedDib::pixels()
{
    const std::span<const std::uint8_t> view = std::as_const(*this).pixels();
    if (view.empty())
        return {};
    return std::span<std::uint8_t>(m_block).subspan(
        static_cast<std::size_t>(view.data() - m_block.data()), view.size());
}

void PackedDib::setColour(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    if (isCoreHeader() || index < 0 || index >= colourCount())
        return;
    std::uint8_t *entry = m_block.data() + headerSize() + 4 * static_cast<std::size_t>(index);
    entry[0] = blue;
    entry[1] = green;
    entry[2] = red;
    entry[3] = 0;
}

std::optional<LogicalPalette> makePalette(const PackedDib &dib)
{
    const int colours = dib.colourCount();
    if (colours == 0)
        return std::nullopt;
    // The table follows the header whatever its size, where pixelDataOffset() also puts it.
    const std::size_t entrySize = dib.isCoreHeader() ? 3 : 4;
    const std::uint8_t *entry = dib.bytes().data() + dib.headerSize();
    LogicalPalette palette;
    palette.entries.resize(static_cast<std::size_t>(colours));
    for (PaletteEntry &out : palette.entries) {
        out.red = entry[2];
        out.green = entry[1];
        out.blue = entry[0];
        entry += entrySize;
    }
    return palette;
}

std::vector<std::uint8_t> bmpFileBytes(const PackedDib &dib)
{
    constexpr std::size_t kFileHeaderSize = 14;
    const std::size_t offset = dib.pixelDataOffset();
    const std::uint64_t fileSize = kFileHeaderSize + dib.size();
    if (offset == 0 || fileSize > std::numeric_limits<std::uint32_t>::max())
        return {};
    std::vector<std::uint8_t> file(kFileHeaderSize);
    file[0] = 'B';
    file[1] = 'M';
    put32(file.data() + 2, static_cast<std::uint32_t>(fileSize));
    put32(file.data() + 10, static_cast<std::uint32_t>(kFileHeaderSize + offset));
    file.insert(file.end(), dib.bytes().begin(), dib.bytes().end());
    return file;
}
