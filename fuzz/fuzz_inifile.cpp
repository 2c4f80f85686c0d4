// The INI module on any bytes: reading keeps the file byte for byte, and a key
// written into it reads back while every other key keeps its value.
#include "fuzzcheck.h"

#include "settings/inifile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

std::string normalName(std::string_view name)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    std::string lower(name);
    std::transform(
        lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    return lower;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(16);
    const std::string key = provider.ConsumeRandomLengthString(16);
    const std::string value = provider.ConsumeRandomLengthString(32);
    const std::string other = provider.ConsumeRandomLengthString(16);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    IniFile file(text);
    FUZZ_CHECK(file.text() == text);
    const int number = file.getInt(section, key, -7);
    if (!file.value(section, key))
        FUZZ_CHECK(number == -7);
    FUZZ_CHECK(file.getString(section, key, "fallback", 5).size() <= 4);

    const std::optional<std::string> otherBefore = file.value(section, other);
    if (!file.writeString(section, key, value)) {
        FUZZ_CHECK(file.text() == text);
        return 0;
    }
    // Read back as the profile service reads: the value without its surrounding blanks.
    const std::optional<std::string> expected = IniFile("[s]\nk=" + value + "\n").value("s", "k");
    FUZZ_CHECK(expected.has_value());
    FUZZ_CHECK(file.value(section, key) == expected);
    const IniFile reread(file.text());
    FUZZ_CHECK(reread.value(section, key) == expected);
    FUZZ_CHECK(reread.text() == file.text());
    if (normalName(other) != normalName(key))
        FUZZ_CHECK(file.value(section, other) == otherBefore);
    return 0;
}
