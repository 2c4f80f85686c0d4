// The options read from any settings file: saving them and reading them back
// gives the same options, and saving them again changes nothing.
#include "fuzzcheck.h"

#include "settings/inifile.h"
#include "settings/optionsprofile.h"

#include <cstddef>
#include <cstdint>

namespace {

bool same(const TOptions &a, const TOptions &b)
{
    return a.ShowAfaterStart == b.ShowAfaterStart && a.Click == b.Click && a.ShowKeyb == b.ShowKeyb
        && a.ShowNext == b.ShowNext && a.ShowHands == b.ShowHands && a.StudentNo == b.StudentNo && a.Type == b.Type
        && a.ErrorType == b.ErrorType;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    IniFile file(text);
    const TOptions loaded = loadOptions(file);
    FUZZ_CHECK(loaded.Type == 0 || loaded.Type == 1);
    FUZZ_CHECK(loaded.ErrorType == 0 || loaded.ErrorType == 1);
    FUZZ_CHECK(loaded.StudentNo >= -1);

    FUZZ_CHECK(saveOptions(loaded, file));
    const IniFile saved(file.text());
    FUZZ_CHECK(same(loadOptions(saved), loaded));
    // A second save of the same options changes nothing.
    IniFile twice(file.text());
    FUZZ_CHECK(saveOptions(loaded, twice));
    FUZZ_CHECK(twice.text() == file.text());
    return 0;
}
