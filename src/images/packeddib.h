#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A picture as one block of memory, laid out as a Windows device-independent
// bitmap: a header (the 40-byte information header, or the 12-byte core
// header), the colour table and the pixel rows, bottom row first, each padded
// to a multiple of four bytes. All values are little-endian.
//
// The block may come from anywhere, so every accessor checks that what it
// reads lies inside the block: a field or table that the block is too short
// for reads as 0 (or an empty span), never past the end.
class PackedDib
{
public:
    static constexpr std::size_t kInfoHeaderSize = 40;
    static constexpr std::size_t kCoreHeaderSize = 12;

    explicit PackedDib(std::vector<std::uint8_t> block)
        : m_block(std::move(block))
    { }

    // A zero-filled picture with the information header, bitsPerPixel 1, 4
    // or 8 and its full colour table (2, 16 or 256 entries, all black).
    // Nothing for other depths or sizes outside 0..65535.
    static std::optional<PackedDib> blank(int width, int height, int bitsPerPixel);

    std::span<const std::uint8_t> bytes() const { return m_block; }
    std::size_t size() const { return m_block.size(); }

    std::uint32_t headerSize() const;
    bool isCoreHeader() const { return headerSize() == kCoreHeaderSize; }
    int width() const;
    int height() const;
    int bitsPerPixel() const;
    // 2, 16 or 256 for 1, 4 or 8 bits per pixel unless an information
    // header's colours-used field says otherwise; 0 when the colour table
    // would not fit in the block.
    int colourCount() const;
    // Where the pixel rows begin: after the header and the colour table;
    // 0 when the block is too short for either.
    std::size_t pixelDataOffset() const;
    // Bytes per pixel row.
    std::size_t stride() const;
    // The pixel rows, or nothing when the block is too short for them.
    std::span<const std::uint8_t> pixels() const;
    std::span<std::uint8_t> pixels();

    // The colour table entry of an information header; entries outside the table are ignored.
    void setColour(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

private:
    std::uint32_t field32(std::size_t offset) const;
    std::uint16_t field16(std::size_t offset) const;
    bool headerReadable() const;
    std::size_t entrySize() const;
    std::uint64_t claimedColours() const;

    std::vector<std::uint8_t> m_block;
};

struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;

    friend bool operator==(const PaletteEntry &, const PaletteEntry &) = default;
};

// A logical palette: one entry per colour of a picture, in colour-table order.
struct LogicalPalette {
    static constexpr std::uint16_t kVersion = 0x300;
    std::uint16_t version = kVersion;
    std::vector<PaletteEntry> entries;
};

// The palette of a picture's colour table; nothing when it has no colours.
std::optional<LogicalPalette> makePalette(const PackedDib &dib);

// The picture as a .bmp file: the 14-byte file header followed by the block.
std::vector<std::uint8_t> bmpFileBytes(const PackedDib &dib);
