// The student list reader on any bytes: what it keeps must save and read back unchanged.
#include "fuzzcheck.h"

#include "students/tstudentlist.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using Outcome = TStudentList::ReadOutcome;
    const TStudentList::ReadResult read
        = TStudentList::parse(std::string_view(reinterpret_cast<const char *>(data), size));
    if (read.outcome == Outcome::Empty)
        FUZZ_CHECK(size == 0);
    if (read.outcome == Outcome::WrongHeader || read.outcome == Outcome::TrailerMismatch)
        FUZZ_CHECK(read.list.count() == 0);
    const std::string saved = read.list.serialize();
    const TStudentList::ReadResult again = TStudentList::parse(saved);
    FUZZ_CHECK(again.outcome == Outcome::Complete);
    FUZZ_CHECK(again.list.count() == read.list.count());
    FUZZ_CHECK(again.list.serialize() == saved);
    return 0;
}
