// The GIF decoder on any bytes: a picture it returns must be whole and usable.
#include "fuzzcheck.h"

#include "images/gifdecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<PackedDib> dib = decodeGif(std::span(data, size));
    if (!dib)
        return 0;
    FUZZ_CHECK(dib->width() >= 0 && dib->width() <= kGifMaxWidth && dib->height() >= 0);
    FUZZ_CHECK(dib->pixels().size() == dib->stride() * std::size_t(dib->height()));
    const int bits = dib->bitsPerPixel();
    FUZZ_CHECK(bits == 1 || bits == 4 || bits == 8);
    FUZZ_CHECK(dib->colourCount() == 1 << bits);
    FUZZ_CHECK(makePalette(*dib).has_value());
    FUZZ_CHECK(bmpFileBytes(*dib).size() == dib->size() + 14);
    return 0;
}
