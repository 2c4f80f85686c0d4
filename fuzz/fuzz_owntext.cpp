// An own text file of any bytes: whatever its encoding, it becomes at most 100
// exercise lines of at most 70 characters that a lesson can take.
#include "fuzzcheck.h"

#include "lessons/owntext.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkLines(const OwnText &own)
{
    FUZZ_CHECK(own.lineCount >= 0 && own.lineCount <= kOwnTextMaxLines);
    int lines = 0;
    std::size_t start = 0;
    while (start < own.body.size()) {
        const std::size_t end = own.body.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos);
        const std::string_view line = std::string_view(own.body).substr(start, end - start);
        FUZZ_CHECK(!line.empty() && line.size() <= kOwnTextLineLength);
        for (char c : line)
            FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        ++lines;
        start = end + 2;
    }
    FUZZ_CHECK(lines == own.lineCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    checkLines(cutOwnText(bytes));
    const std::optional<std::string> converted = ownTextToCp1250(bytes);
    if (converted) {
        FUZZ_CHECK(converted->find('\0') == std::string::npos);
        checkLines(cutOwnText(*converted));
    }
    return 0;
}
