#include "rawfile/RawRecordParser.h"

#include <cstdint>
#include <cstring>

#include "rawfile/RawNumbers.h"

namespace {

// Keys are compared as one packed integer: a 2-character key in the low 16 bits, a 4-character key in all
// 32. A field shorter than the key width gives 0, which no key equals.
constexpr std::uint32_t key(const char (&k)[3]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(k[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(k[1])) << 8;
}
constexpr std::uint32_t key(const char (&k)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(k[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(k[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(k[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(k[3])) << 24;
}

std::uint32_t packedKey(std::string_view token, std::size_t width) {
    if (token.size() < width) return 0;
    unsigned char bytes[4] = {0, 0, 0, 0};
    std::memcpy(bytes, token.data(), width);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool isFieldBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

[[gnu::always_inline]] inline std::string_view trimmed(std::string_view piece) {
    std::size_t begin = 0;
    std::size_t end = piece.size();
    while (begin < end && isFieldBlank(piece[begin])) ++begin;
    while (end > begin && isFieldBlank(piece[end - 1])) --end;
    return piece.substr(begin, end - begin);
}

void assignText(RawBytes& field, std::string_view value) { field = value; }

}  // namespace

bool RawRecordParser::tokenize(std::string_view line) {
    tokens_.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            tokens_.push_back(trimmed(line.substr(start)));  // the last piece is kept even when empty
            break;
        }
        const std::string_view piece = trimmed(line.substr(start, comma - start));
        if (!piece.empty()) tokens_.push_back(piece);
        start = comma + 1;
    }
    return !tokens_.empty();
}

// The same fields as tokenize() gives, walked in place: empty fields can be passed over because no key
// matches them, and the first non-empty field is the tag.
template <typename Assign>
bool RawRecordParser::parseFields(std::string_view line, std::size_t keyWidth, Assign assign) {
    const char* p = line.data();
    const char* const end = p + line.size();
    bool tagSeen = false;
    for (;;) {
        const char* comma =
            p < end ? static_cast<const char*>(std::memchr(p, ',', static_cast<std::size_t>(end - p)))
                    : nullptr;
        const char* pieceEnd = comma ? comma : end;
        const std::string_view token = trimmed(std::string_view(p, static_cast<std::size_t>(pieceEnd - p)));
        if (!token.empty()) {
            if (tagSeen) {
                const std::uint32_t k = packedKey(token, keyWidth);
                if (k != 0) assign(k, token.substr(keyWidth));
            }
            tagSeen = true;
        }
        if (!comma) break;
        p = comma + 1;
    }
    return true;
}

bool RawRecordParser::parseVersion(std::string_view line, RawBytes& version) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("VS  ")) assignText(version, value);
    });
}

bool RawRecordParser::parseJob(std::string_view line, JobRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("NM"))
            assignText(r.name, value);
        else if (k == key("DT"))
            assignText(r.date, value);
        else if (k == key("TM"))
            assignText(r.time, value);
    });
}

bool RawRecordParser::parseCoordSystem(std::string_view line, CoordSystemRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("CO"))
            r.code = lenientInt(value);
        else if (k == key("ZG"))
            assignText(r.zg, value);
        else if (k == key("ZN"))
            assignText(r.zn, value);
        else if (k == key("DN"))
            assignText(r.datumName, value);
    });
}

bool RawRecordParser::parseEllipsoid(std::string_view line, EllipsoidRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("RD"))
            r.semiMajorAxis = lenientReal(value);
        else if (k == key("IF"))
            r.inverseFlattening = lenientReal(value);
        else if (k == key("EM"))
            assignText(r.name, value);
    });
}

bool RawRecordParser::parseDatum(std::string_view line, DatumRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("DA"))
            r.type = lowByte(lenientInt(value));
        else if (k == key("RD"))
            r.semiMajorAxis = lenientReal(value);
        else if (k == key("IF"))
            r.inverseFlattening = lenientReal(value);
        else if (k == key("OX"))
            r.rotationX = lenientReal(value);
        else if (k == key("OY"))
            r.rotationY = lenientReal(value);
        else if (k == key("OZ"))
            r.rotationZ = lenientReal(value);
        else if (k == key("LX"))
            r.translationX = lenientReal(value);
        else if (k == key("LY"))
            r.translationY = lenientReal(value);
        else if (k == key("LZ"))
            r.translationZ = lenientReal(value);
        else if (k == key("SP"))
            r.scalePpm = lenientReal(value);
    });
}

bool RawRecordParser::parseHorizontalAdjust(std::string_view line, HorizontalAdjustRecord& r) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("AHUS"))
            r.inUse = lenientInt(value);
        else if (k == key("ORGX"))
            r.originNorth = lenientReal(value);
        else if (k == key("ORGY"))
            r.originEast = lenientReal(value);
        else if (k == key("TRSX"))
            r.translationNorth = lenientReal(value);
        else if (k == key("TRSY"))
            r.translationEast = lenientReal(value);
        else if (k == key("CA  "))
            r.rotationDegrees = lenientReal(value);
        else if (k == key("CK  "))
            r.scaleFactor = lenientReal(value);
    });
}

bool RawRecordParser::parseVerticalAdjust(std::string_view line, VerticalAdjustRecord& r) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("AVUS"))
            r.inUse = lenientInt(value);
        else if (k == key("A0  "))
            r.a0 = lenientReal(value);
        else if (k == key("A1  "))
            r.a1 = lenientReal(value);
        else if (k == key("A2  "))
            r.a2 = lenientReal(value);
        else if (k == key("X0  "))
            r.x0 = lenientReal(value);
        else if (k == key("Y0  "))
            r.y0 = lenientReal(value);
    });
}

bool RawRecordParser::parseProjection(std::string_view line, ProjectionRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("TP"))
            r.type = lenientInt(value);
        else if (k == key("LA"))
            assignText(r.originLatitude, value);
        else if (k == key("LN"))
            r.ln = lenientReal(value);
        else if (k == key("HT"))
            r.ht = lenientReal(value);
        else if (k == key("N "))
            r.falseNorthing = lenientReal(value);
        else if (k == key("E "))
            r.falseEasting = lenientReal(value);
        else if (k == key("EL"))
            r.el = lenientReal(value);
        else if (k == key("SC"))
            r.scaleFactor = lenientReal(value);
        else if (k == key("OO"))
            r.oo = lenientReal(value);
        else if (k == key("OT"))
            r.ot = lenientReal(value);
    });
}

bool RawRecordParser::parseCentralMeridian(std::string_view line, RawBytes& centralMeridian) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("MC  ")) assignText(centralMeridian, value);
    });
}

bool RawRecordParser::parsePoint(std::string_view line, PointRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("PN"))
            assignText(r.name, value);
        else if (k == key("N "))
            r.north = lenientReal(value);
        else if (k == key("E "))
            r.east = lenientReal(value);
        else if (k == key("EL"))
            r.height = lenientReal(value);
        else if (k == key("--"))
            assignText(r.description, value);
    });
}

bool RawRecordParser::parseAntenna(std::string_view line, AntennaRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("DC"))
            assignText(r.dc, value);
        else if (k == key("MA"))
            r.antennaHeight = lenientReal(value);
        else if (k == key("ME"))
            r.method = lenientInt(value);
        else if (k == key("RA"))
            r.ra = lenientReal(value);
    });
}

bool RawRecordParser::parseAntennaType(std::string_view line, RawBytes& antennaType) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("AT  ")) assignText(antennaType, value);
    });
}

bool RawRecordParser::parseEpoch(std::string_view line, EpochRecord& r) {
    return parseFields(line, 2, [&](std::uint32_t k, std::string_view value) {
        if (k == key("TM"))
            assignText(r.time, value);
        else if (k == key("LA"))
            r.latitude = lenientReal(value);
        else if (k == key("LN"))
            r.longitude = lenientReal(value);
        else if (k == key("HT"))
            r.height = lenientReal(value);
        else if (k == key("RH"))
            r.hrms = lenientReal(value);
        else if (k == key("RV"))
            r.vrms = lenientReal(value);
        else if (k == key("DH"))
            r.dh = lenientReal(value);
        else if (k == key("DV"))
            r.dv = lenientReal(value);
        else if (k == key("GM"))
            r.gm = lenientInt(value);
        else if (k == key("CL"))
            r.cl = lenientInt(value);
    });
}

bool RawRecordParser::parseDop(std::string_view line, DopRecord& r) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("DOP "))
            r.pdop = lenientReal(value);
        else if (k == key("DIF "))
            r.solutionType = lenientInt(value);
    });
}

bool RawRecordParser::parseRoverInfo(std::string_view line, RoverInfoRecord& r) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("QZTM"))
            assignText(r.time, value);
        else if (k == key("RVWB"))
            r.wgsLatitude = lenientReal(value);
        else if (k == key("RVWL"))
            r.wgsLongitude = lenientReal(value);
        else if (k == key("RVWH"))
            r.wgsHeight = lenientReal(value);
        else if (k == key("DRTM"))
            r.duration = lenientInt(value);
        else if (k == key("EPCH"))
            r.epochs = lenientInt(value);
        else if (k == key("NGPS"))
            r.gpsSatellites = lenientInt(value);
        else if (k == key("NGNS"))
            r.glonassSatellites = lenientInt(value);
        else if (k == key("NALL"))
            r.gnssSatellites = lenientInt(value);
    });
}

bool RawRecordParser::parseBaseInfo(std::string_view line, BaseInfoRecord& r) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("BSNM"))
            assignText(r.name, value);
        else if (k == key("BSN "))
            r.north = lenientReal(value);
        else if (k == key("BSE "))
            r.east = lenientReal(value);
        else if (k == key("BSH "))
            r.height = lenientReal(value);
        else if (k == key("BSWB"))
            r.wgsLatitude = lenientReal(value);
        else if (k == key("BSWL"))
            r.wgsLongitude = lenientReal(value);
        else if (k == key("BSWH"))
            r.wgsHeight = lenientReal(value);
        else if (k == key("BSAT"))
            assignText(r.antennaType, value);
        else if (k == key("BSMA"))
            r.antennaHeight = lenientReal(value);
        else if (k == key("BSME"))
            r.antennaMethod = lenientInt(value);
    });
}

bool RawRecordParser::parseAttributes(std::string_view line, AttributeRecord& r) {
    return parseFields(line, 4, [&](std::uint32_t k, std::string_view value) {
        if (k == key("CODE"))
            assignText(r.code, value);
        else if (k == key("ECHT"))
            assignText(r.echoHeight, value);
        else if (k == key("XP  "))
            r.precisionX = lenientReal(value);
        else if (k == key("YP  "))
            r.precisionY = lenientReal(value);
        else if (k == key("HP  "))
            r.precisionH = lenientReal(value);
        else if (k == key("METH"))
            assignText(r.method, value);
    });
}
