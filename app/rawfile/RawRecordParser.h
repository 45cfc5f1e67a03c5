#pragma once
// Splits one line of a raw survey file into fields and fills one record structure from them.
//
// Field rules: fields are separated by commas and trimmed of blanks, tabs, CR and LF; an empty field is
// dropped except the last one of the line, which is always kept. The first field is the tag and is not
// looked at: the caller picks the parse operation. Every other field is a key (2 characters for standard
// records, 4 for QZ records, fewer when the field is shorter) directly followed by its value. Keys are
// compared exactly; unknown keys are ignored; a key given twice keeps the later value; an absent key
// leaves its field untouched (callers pass a fresh record). Reals convert like atof and integers like
// atoi, in every locale; 8-bit fields keep the low byte of the integer.
//
// Every parse operation returns true when the line gave at least one token (always, for any line).
#include <string>
#include <string_view>
#include <vector>

#include "rawfile/RawRecords.h"

class RawRecordParser {
  public:
    // Splits line into the token list; true when it holds at least one token. The tokens view the
    // caller's line and stay valid while that line does. (The parse operations walk the same fields in
    // place and leave the list alone.)
    bool tokenize(std::string_view line);
    const std::vector<std::string_view>& tokens() const { return tokens_; }

    bool parseVersion(std::string_view line, RawBytes& version);                        // QZVS "VS  "
    bool parseJob(std::string_view line, JobRecord& record);                            // JB
    bool parseCoordSystem(std::string_view line, CoordSystemRecord& record);            // CS
    bool parseEllipsoid(std::string_view line, EllipsoidRecord& record);                // ES
    bool parseDatum(std::string_view line, DatumRecord& record);                        // DT
    bool parseHorizontalAdjust(std::string_view line, HorizontalAdjustRecord& record);  // QZAH
    bool parseVerticalAdjust(std::string_view line, VerticalAdjustRecord& record);      // QZAV
    bool parseProjection(std::string_view line, ProjectionRecord& record);              // PJ
    bool parseCentralMeridian(std::string_view line, RawBytes& centralMeridian);        // QZMC "MC  "
    bool parsePoint(std::string_view line, PointRecord& record);                        // GS
    bool parseAntenna(std::string_view line, AntennaRecord& record);                    // AH
    bool parseAntennaType(std::string_view line, RawBytes& antennaType);                // QZAT "AT  "
    bool parseEpoch(std::string_view line, EpochRecord& record);                        // EP
    bool parseDop(std::string_view line, DopRecord& record);                            // QZDP
    bool parseRoverInfo(std::string_view line, RoverInfoRecord& record);                // QZRV
    bool parseBaseInfo(std::string_view line, BaseInfoRecord& record);                  // QZBS
    bool parseAttributes(std::string_view line, AttributeRecord& record);               // QZAD

  private:
    // Tokenizes line and calls assign(key, value) for every field after the tag.
    template <typename Assign>
    bool parseFields(std::string_view line, std::size_t keyWidth, Assign assign);

    std::vector<std::string_view> tokens_;
};
