#pragma once
// Lines of a raw survey file held in memory, and the tags that decide what a line is. Shared by the reader
// and the writer, which must agree on where every line belongs.
#include <cstddef>
#include <cstring>
#include <string_view>

// Hands out the lines of a buffer one by one. A line ends at LF, CR LF or a lone CR; the line end is not
// part of the line, and the last line may have none.
class RawLineCursor {
  public:
    RawLineCursor(const char* data, std::size_t size, std::size_t from = 0) : data_(data), size_(size) {
        seek(from);
    }

    // The next line and the length of its line end (0 to 2); false at the end of the buffer.
    bool next(std::string_view& line, std::size_t& endLength) {
        if (pos_ >= size_) return false;
        if (pos_ < crFrom_ || pos_ > nextCr_) findCr();
        // Most files have no CR at all, or only CR LF: the LF search stops at the next CR.
        const char* start = data_ + pos_;
        const void* lf = std::memchr(start, '\n', nextCr_ - pos_);
        std::size_t end;
        if (lf) {
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - data_);
            endLength = 1;
        } else if (nextCr_ < size_) {
            end = nextCr_;
            endLength = end + 1 < size_ && data_[end + 1] == '\n' ? 2 : 1;
        } else {
            end = size_;
            endLength = 0;
        }
        line = std::string_view(start, end - pos_);
        pos_ = end + endLength;
        return true;
    }

    std::size_t pos() const { return pos_; }  // offset of the next line

    void seek(std::size_t offset) { pos_ = offset < size_ ? offset : size_; }

  private:
    void findCr() {
        const void* cr = std::memchr(data_ + pos_, '\r', size_ - pos_);
        crFrom_ = pos_;
        nextCr_ = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data_) : size_;
    }

    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    // The buffer holds no CR from crFrom_ up to nextCr_ (a CR, or size_ when there is none): one search
    // serves every line in between.
    std::size_t crFrom_ = 1;
    std::size_t nextCr_ = 0;
};

// What a line is, by its leading characters (a line is tested against as many characters as the tag has).
enum class RawTag {
    Other,
    Version,           // QZVS
    Job,               // JB
    CoordSystem,       // CS
    Ellipsoid,         // ES
    Datum,             // DT
    HorizontalAdjust,  // QZAH
    VerticalAdjust,    // QZAV
    Projection,        // PJ
    CentralMeridian,   // QZMC
    Point,             // GS: the first line of a point group, then its seven records:
    Antenna,           // AH
    AntennaType,       // QZAT
    Epoch,             // EP
    Dop,               // QZDP
    RoverInfo,         // QZRV
    BaseInfo,          // QZBS
    Attributes,        // QZAD
};

constexpr int kGroupRecords = 8;  // GS and the seven records after it

// 0 for GS, 1..7 for the records of a group in their file order, -1 for any other tag.
inline int groupRecordIndex(RawTag tag) {
    return tag >= RawTag::Point ? static_cast<int>(tag) - static_cast<int>(RawTag::Point) : -1;
}

inline bool isHeaderTag(RawTag tag) { return tag != RawTag::Other && tag < RawTag::Point; }

inline RawTag rawTagOf(std::string_view line) {
    if (line.size() < 2) return RawTag::Other;
    const char a = line[0];
    const char b = line[1];
    if (a == 'Q') {
        if (line.size() < 4 || b != 'Z') return RawTag::Other;
        const char c = line[2];
        const char d = line[3];
        if (c == 'V' && d == 'S') return RawTag::Version;
        if (c == 'A' && d == 'H') return RawTag::HorizontalAdjust;
        if (c == 'A' && d == 'V') return RawTag::VerticalAdjust;
        if (c == 'M' && d == 'C') return RawTag::CentralMeridian;
        if (c == 'A' && d == 'T') return RawTag::AntennaType;
        if (c == 'D' && d == 'P') return RawTag::Dop;
        if (c == 'R' && d == 'V') return RawTag::RoverInfo;
        if (c == 'B' && d == 'S') return RawTag::BaseInfo;
        if (c == 'A' && d == 'D') return RawTag::Attributes;
        return RawTag::Other;
    }
    if (a == 'G' && b == 'S') return RawTag::Point;
    if (a == 'A' && b == 'H') return RawTag::Antenna;
    if (a == 'E' && b == 'P') return RawTag::Epoch;
    if (a == 'J' && b == 'B') return RawTag::Job;
    if (a == 'C' && b == 'S') return RawTag::CoordSystem;
    if (a == 'E' && b == 'S') return RawTag::Ellipsoid;
    if (a == 'D' && b == 'T') return RawTag::Datum;
    if (a == 'P' && b == 'J') return RawTag::Projection;
    return RawTag::Other;
}

// Reads the lines of one point group from the GS line at the cursor: calls record(index, line) for the GS
// line (index 0) and for the first line of each record tag after it (1..7). The group ends before the next
// GS line, a header line, a second line of a record it already has, or the end of the buffer, and after its
// seventh record. Unknown lines between its records belong to it; unknown lines after its last record do
// not: the cursor is left just after the last record line. Returns the offset where the group ends.
template <typename Record>
std::size_t readGroupLines(RawLineCursor& cursor, Record record) {
    std::string_view line;
    std::size_t endLength = 0;
    cursor.next(line, endLength);
    record(0, line);
    std::size_t groupEnd = cursor.pos();
    unsigned seen = 1;
    int found = 0;
    while (found < kGroupRecords - 1 && cursor.next(line, endLength)) {
        const RawTag tag = rawTagOf(line);
        const int index = groupRecordIndex(tag);
        if (index == 0 || isHeaderTag(tag) || (index > 0 && (seen & (1u << index)))) break;
        if (index > 0) {
            seen |= 1u << index;
            ++found;
            record(index, line);
            groupEnd = cursor.pos();
        }
    }
    cursor.seek(groupEnd);
    return groupEnd;
}
