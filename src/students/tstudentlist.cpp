#include "students/tstudentlist.h"

#include <bit>
#include <optional>

namespace {

constexpr char kVersionMarker = ':';
constexpr std::uint32_t kAbsentLong = 0xFFFFFFFF;
constexpr std::uint8_t kAbsentShort = 0xFF;
constexpr std::uint32_t kLastShortStringVersion = 256;

void putU32(std::string &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putString(std::string &out, std::string_view s)
{
    putU32(out, static_cast<std::uint32_t>(s.size()));
    out += s;
}

// Reads the fields of one file; every read checks what is left first, so a
// damaged length or count never makes it allocate more than the file holds.
class Reader
{
public:
    explicit Reader(std::string_view bytes)
        : m_bytes(bytes)
    { }

    bool atEnd() const { return m_pos == m_bytes.size(); }
    std::size_t left() const { return m_bytes.size() - m_pos; }

    bool peekVersionMarker() const { return !atEnd() && m_bytes[m_pos] == kVersionMarker; }
    void skip(std::size_t n) { m_pos += n; }

    std::optional<std::uint32_t> unsignedOf(std::size_t size)
    {
        if (left() < size)
            return std::nullopt;
        std::uint32_t v = 0;
        for (std::size_t i = size; i-- > 0;)
            v = (v << 8) | static_cast<unsigned char>(m_bytes[m_pos + i]);
        m_pos += size;
        return v;
    }

    void setVersion(std::uint32_t version) { m_version = version; }

    // Counts, Age, Male and NextLesson: 16 bits in version 0, 32 bits after it.
    std::optional<std::uint32_t> integer() { return unsignedOf(m_version == 0 ? 2 : 4); }

    enum class StringStatus { Ok, Absent, Cut };

    // A string's length field, then its bytes when the file holds them. The
    // length read is left in *lengthRead (0 when even that is cut).
    StringStatus string(std::string &out, std::uint32_t *lengthRead = nullptr)
    {
        const bool shortLength = m_version <= kLastShortStringVersion;
        const auto length = unsignedOf(shortLength ? 1 : 4);
        if (lengthRead)
            *lengthRead = length.value_or(0);
        if (!length)
            return StringStatus::Cut;
        if ((shortLength && *length == kAbsentShort) || (!shortLength && *length == kAbsentLong)) {
            out.clear();
            return StringStatus::Absent;
        }
        if (*length > left())
            return StringStatus::Cut;
        out.assign(m_bytes.substr(m_pos, *length));
        m_pos += *length;
        return StringStatus::Ok;
    }

    std::optional<float> float32()
    {
        const auto bits = unsignedOf(4);
        if (!bits)
            return std::nullopt;
        return std::bit_cast<float>(*bits);
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::uint32_t m_version = 0;
};

std::optional<TStudent> readStudent(Reader &in)
{
    TStudent student;
    if (in.string(student.Name) == Reader::StringStatus::Cut)
        return std::nullopt;
    const auto age = in.integer();
    const auto male = in.integer();
    const auto nextLesson = in.integer();
    if (!age || !male || !nextLesson)
        return std::nullopt;
    student.Age = static_cast<std::int32_t>(*age);
    student.Male = static_cast<std::int32_t>(*male);
    student.NextLesson = static_cast<std::int32_t>(*nextLesson);
    for (TCharStat &stat : student.CharStats) {
        const auto speed = in.float32();
        const auto accuracy = in.float32();
        if (!speed || !accuracy)
            return std::nullopt;
        stat.Speed = *speed;
        stat.Accuracy = *accuracy;
    }
    return student;
}

} // namespace

void TStudentList::add(const TStudent &student)
{
    m_students.push_back(std::make_unique<TStudent>(student));
}

void TStudentList::remove(int index)
{
    m_students.erase(m_students.begin() + index);
}

std::string TStudentList::serialize() const
{
    std::string out;
    out += kVersionMarker;
    putU32(out, kVersion);
    putString(out, kHeader);
    putU32(out, static_cast<std::uint32_t>(m_students.size()));
    for (const auto &student : m_students)
        out += serializeRecord(*student);
    putU32(out, static_cast<std::uint32_t>(m_students.size()));
    putString(out, kHeader);
    return out;
}

std::string TStudentList::serializeRecord(const TStudent &student)
{
    std::string out;
    putString(out, student.Name);
    putU32(out, static_cast<std::uint32_t>(student.Age));
    putU32(out, static_cast<std::uint32_t>(student.Male));
    putU32(out, static_cast<std::uint32_t>(student.NextLesson));
    for (const TCharStat &stat : student.CharStats) {
        putU32(out, std::bit_cast<std::uint32_t>(stat.Speed));
        putU32(out, std::bit_cast<std::uint32_t>(stat.Accuracy));
    }
    return out;
}

TStudentList::ReadResult TStudentList::parse(std::string_view bytes)
{
    ReadResult result;
    if (bytes.empty())
        return result;
    result.outcome = ReadOutcome::Truncated;

    Reader in(bytes);
    if (in.peekVersionMarker()) {
        in.skip(1);
        const auto version = in.unsignedOf(4);
        if (!version)
            return result;
        in.setVersion(*version);
    }

    std::string header;
    std::uint32_t headerLength = 0;
    const Reader::StringStatus headerStatus = in.string(header, &headerLength);
    if (headerStatus == Reader::StringStatus::Cut && (headerLength == 0 || headerLength == kHeader.size()))
        return result; // cut short inside the header
    if (headerStatus != Reader::StringStatus::Ok || header != kHeader) {
        result.outcome = ReadOutcome::WrongHeader;
        return result;
    }

    const auto count = in.integer();
    if (!count)
        return result;
    // No room is reserved for the count: a damaged one only makes the reading
    // stop at the end of the file.
    for (std::uint32_t i = 0; i < *count; ++i) {
        std::optional<TStudent> student = readStudent(in);
        if (!student)
            return result;
        result.list.add(*student);
    }

    const auto trailerCount = in.integer();
    if (!trailerCount)
        return result;
    if (*trailerCount != *count) {
        result.list = TStudentList();
        result.outcome = ReadOutcome::TrailerMismatch;
        return result;
    }
    // The old reader took the trailer into a 50-byte buffer and let one it
    // could not read pass; such a trailer keeps the students here too, but the
    // file still counts as damaged.
    constexpr std::uint32_t kLongestReadableTrailer = 49;
    std::string trailer;
    std::uint32_t trailerLength = 0;
    if (in.string(trailer, &trailerLength) != Reader::StringStatus::Ok || trailerLength > kLongestReadableTrailer)
        return result;
    if (trailer != kHeader) {
        result.list = TStudentList();
        result.outcome = ReadOutcome::TrailerMismatch;
        return result;
    }
    result.outcome = ReadOutcome::Complete;
    return result;
}

int validStudentNo(int studentNo, int count)
{
    return static_cast<unsigned>(studentNo) < static_cast<unsigned>(count) ? studentNo : -1;
}

int studentNoAfterRemoval(int studentNo, int removed)
{
    if (studentNo == removed)
        return -1;
    if (studentNo > removed)
        return studentNo - 1;
    return studentNo;
}
