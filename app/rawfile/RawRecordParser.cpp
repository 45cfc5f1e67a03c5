#include "rawfile/RawRecordParser.h"

#include "rawfile/RawNumbers.h"

namespace {

bool isFieldBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view piece) {
    std::size_t begin = 0;
    std::size_t end = piece.size();
    while (begin < end && isFieldBlank(piece[begin])) ++begin;
    while (end > begin && isFieldBlank(piece[end - 1])) --end;
    return piece.substr(begin, end - begin);
}

void assignText(std::string& field, std::string_view value) { field.assign(value.data(), value.size()); }

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

template <typename Assign>
bool RawRecordParser::parseFields(std::string_view line, std::size_t keyWidth, Assign assign) {
    if (!tokenize(line)) return false;
    for (std::size_t i = 1; i < tokens_.size(); ++i) {
        const std::string_view token = tokens_[i];
        const std::size_t width = token.size() < keyWidth ? token.size() : keyWidth;
        assign(token.substr(0, width), token.substr(width));
    }
    return true;
}

bool RawRecordParser::parseVersion(std::string_view line, std::string& version) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "VS  ") assignText(version, value);
    });
}

bool RawRecordParser::parseJob(std::string_view line, JobRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "NM")
            assignText(r.name, value);
        else if (key == "DT")
            assignText(r.date, value);
        else if (key == "TM")
            assignText(r.time, value);
    });
}

bool RawRecordParser::parseCoordSystem(std::string_view line, CoordSystemRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "CO")
            r.code = lowByte(lenientInt(value));
        else if (key == "ZG")
            assignText(r.zg, value);
        else if (key == "ZN")
            assignText(r.zn, value);
        else if (key == "DN")
            assignText(r.datumName, value);
    });
}

bool RawRecordParser::parseEllipsoid(std::string_view line, EllipsoidRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "RD")
            r.semiMajorAxis = lenientReal(value);
        else if (key == "IF")
            r.inverseFlattening = lenientReal(value);
        else if (key == "EM")
            assignText(r.name, value);
    });
}

bool RawRecordParser::parseDatum(std::string_view line, DatumRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "DA")
            r.type = lowByte(lenientInt(value));
        else if (key == "RD")
            r.semiMajorAxis = lenientReal(value);
        else if (key == "IF")
            r.inverseFlattening = lenientReal(value);
        else if (key == "OX")
            r.rotationX = lenientReal(value);
        else if (key == "OY")
            r.rotationY = lenientReal(value);
        else if (key == "OZ")
            r.rotationZ = lenientReal(value);
        else if (key == "LX")
            r.translationX = lenientReal(value);
        else if (key == "LY")
            r.translationY = lenientReal(value);
        else if (key == "LZ")
            r.translationZ = lenientReal(value);
        else if (key == "SP")
            r.scalePpm = lenientReal(value);
    });
}

bool RawRecordParser::parseHorizontalAdjust(std::string_view line, HorizontalAdjustRecord& r) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "AHUS")
            r.inUse = lenientInt(value);
        else if (key == "ORGX")
            r.originNorth = lenientReal(value);
        else if (key == "ORGY")
            r.originEast = lenientReal(value);
        else if (key == "TRSX")
            r.translationNorth = lenientReal(value);
        else if (key == "TRSY")
            r.translationEast = lenientReal(value);
        else if (key == "CA  ")
            r.rotationDegrees = lenientReal(value);
        else if (key == "CK  ")
            r.scaleFactor = lenientReal(value);
    });
}

bool RawRecordParser::parseVerticalAdjust(std::string_view line, VerticalAdjustRecord& r) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "AVUS")
            r.inUse = lenientInt(value);
        else if (key == "A0  ")
            r.a0 = lenientReal(value);
        else if (key == "A1  ")
            r.a1 = lenientReal(value);
        else if (key == "A2  ")
            r.a2 = lenientReal(value);
        else if (key == "X0  ")
            r.x0 = lenientReal(value);
        else if (key == "Y0  ")
            r.y0 = lenientReal(value);
    });
}

bool RawRecordParser::parseProjection(std::string_view line, ProjectionRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "TP")
            r.type = lenientInt(value);
        else if (key == "LA")
            assignText(r.originLatitude, value);
        else if (key == "LN")
            r.ln = lenientReal(value);
        else if (key == "HT")
            r.ht = lenientReal(value);
        else if (key == "N ")
            r.falseNorthing = lenientReal(value);
        else if (key == "E ")
            r.falseEasting = lenientReal(value);
        else if (key == "EL")
            r.el = lenientReal(value);
        else if (key == "SC")
            r.scaleFactor = lenientReal(value);
        else if (key == "OO")
            r.oo = lenientReal(value);
        else if (key == "OT")
            r.ot = lenientReal(value);
    });
}

bool RawRecordParser::parseCentralMeridian(std::string_view line, std::string& centralMeridian) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "MC  ") assignText(centralMeridian, value);
    });
}

bool RawRecordParser::parsePoint(std::string_view line, PointRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "PN")
            assignText(r.name, value);
        else if (key == "N ")
            r.north = lenientReal(value);
        else if (key == "E ")
            r.east = lenientReal(value);
        else if (key == "EL")
            r.height = lenientReal(value);
        else if (key == "--")
            assignText(r.description, value);
    });
}

bool RawRecordParser::parseAntenna(std::string_view line, AntennaRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "DC")
            assignText(r.dc, value);
        else if (key == "MA")
            r.antennaHeight = lenientReal(value);
        else if (key == "ME")
            r.method = lenientInt(value);
        else if (key == "RA")
            r.ra = lenientReal(value);
    });
}

bool RawRecordParser::parseAntennaType(std::string_view line, std::string& antennaType) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "AT  ") assignText(antennaType, value);
    });
}

bool RawRecordParser::parseEpoch(std::string_view line, EpochRecord& r) {
    return parseFields(line, 2, [&](std::string_view key, std::string_view value) {
        if (key == "TM")
            assignText(r.time, value);
        else if (key == "LA")
            r.latitude = lenientReal(value);
        else if (key == "LN")
            r.longitude = lenientReal(value);
        else if (key == "HT")
            r.height = lenientReal(value);
        else if (key == "RH")
            r.hrms = lenientReal(value);
        else if (key == "RV")
            r.vrms = lenientReal(value);
        else if (key == "DH")
            r.dh = lenientReal(value);
        else if (key == "DV")
            r.dv = lenientReal(value);
        else if (key == "GM")
            r.gm = lowByte(lenientInt(value));
        else if (key == "CL")
            r.cl = lowByte(lenientInt(value));
    });
}

bool RawRecordParser::parseDop(std::string_view line, DopRecord& r) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "DOP ")
            r.pdop = lenientReal(value);
        else if (key == "DIF ")
            r.solutionType = lenientInt(value);
    });
}

bool RawRecordParser::parseRoverInfo(std::string_view line, RoverInfoRecord& r) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "QZTM")
            assignText(r.time, value);
        else if (key == "RVWB")
            r.wgsLatitude = lenientReal(value);
        else if (key == "RVWL")
            r.wgsLongitude = lenientReal(value);
        else if (key == "RVWH")
            r.wgsHeight = lenientReal(value);
        else if (key == "DRTM")
            r.duration = lenientInt(value);
        else if (key == "EPCH")
            r.epochs = lenientInt(value);
        else if (key == "NGPS")
            r.gpsSatellites = lenientInt(value);
        else if (key == "NGNS")
            r.glonassSatellites = lenientInt(value);
        else if (key == "NALL")
            r.gnssSatellites = lenientInt(value);
    });
}

bool RawRecordParser::parseBaseInfo(std::string_view line, BaseInfoRecord& r) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "BSNM")
            assignText(r.name, value);
        else if (key == "BSN ")
            r.north = lenientReal(value);
        else if (key == "BSE ")
            r.east = lenientReal(value);
        else if (key == "BSH ")
            r.height = lenientReal(value);
        else if (key == "BSWB")
            r.wgsLatitude = lenientReal(value);
        else if (key == "BSWL")
            r.wgsLongitude = lenientReal(value);
        else if (key == "BSWH")
            r.wgsHeight = lenientReal(value);
        else if (key == "BSAT")
            assignText(r.antennaType, value);
        else if (key == "BSMA")
            r.antennaHeight = lenientReal(value);
        else if (key == "BSME")
            r.antennaMethod = lenientInt(value);
    });
}

bool RawRecordParser::parseAttributes(std::string_view line, AttributeRecord& r) {
    return parseFields(line, 4, [&](std::string_view key, std::string_view value) {
        if (key == "CODE")
            assignText(r.code, value);
        else if (key == "ECHT")
            assignText(r.echoHeight, value);
        else if (key == "XP  ")
            r.precisionX = lenientReal(value);
        else if (key == "YP  ")
            r.precisionY = lenientReal(value);
        else if (key == "HP  ")
            r.precisionH = lenientReal(value);
        else if (key == "METH")
            assignText(r.method, value);
    });
}
