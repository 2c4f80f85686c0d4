// The lesson library archive of any bytes: refused with a message, or read
// into a library that saves and reads back the same, whose groups, titles and
// word list the program can use.
#include "fuzzcheck.h"

#include "lessons/lessongroups.h"
#include "lessons/lessonlibrary.h"
#include "lessons/lessontext.h"
#include "lessons/letterexercise.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string error;
    const std::optional<LessonLibrary> library
        = LessonLibrary::parse(std::string_view(reinterpret_cast<const char *>(data), size), &error);
    if (!library) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    const std::string saved = library->serialize();
    const std::optional<LessonLibrary> again = LessonLibrary::parse(saved);
    FUZZ_CHECK(again && again->serialize() == saved);

    using namespace lessongroups;
    for (const int first : { kFirstLetterLesson, kFirstBasicLesson, kFirstPracticalText, kFirstKeypadDrill }) {
        const int count = library->countGroup(first);
        FUZZ_CHECK(count >= 0 && std::size_t(count) <= size);
        for (int number = first; number < first + count; ++number) {
            LessonText text;
            loadStoredText(*library, number, text);
            if (const auto title = library->title(number))
                FUZZ_CHECK(!title->empty() && title->size() <= LessonLibrary::kMaxTitleLength);
        }
    }
    if (const auto words = library->text(kWordList)) {
        const std::optional<std::string> body = wordsBody("aeiouy\xB9\xEA\xF3\xB3\xBF\x9F\xE6\xF1\x9C", 3, *words);
        if (body)
            FUZZ_CHECK(exerciseText(*body, 3).lineCount >= 3);
    }
    return 0;
}
