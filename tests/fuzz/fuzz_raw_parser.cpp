// One line through every parse operation of the record parser.
#include <string>
#include <string_view>

#include "rawfile/RawRecordParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    RawRecordParser p;
    RawBytes text;
    JobRecord job;
    p.parseJob(line, job);
    CoordSystemRecord cs;
    p.parseCoordSystem(line, cs);
    EllipsoidRecord es;
    p.parseEllipsoid(line, es);
    DatumRecord dt;
    p.parseDatum(line, dt);
    HorizontalAdjustRecord ah;
    p.parseHorizontalAdjust(line, ah);
    VerticalAdjustRecord av;
    p.parseVerticalAdjust(line, av);
    ProjectionRecord pj;
    p.parseProjection(line, pj);
    p.parseVersion(line, text);
    p.parseCentralMeridian(line, text);
    PointRecord gs;
    p.parsePoint(line, gs);
    AntennaRecord ant;
    p.parseAntenna(line, ant);
    p.parseAntennaType(line, text);
    EpochRecord ep;
    p.parseEpoch(line, ep);
    DopRecord dp;
    p.parseDop(line, dp);
    RoverInfoRecord rv;
    p.parseRoverInfo(line, rv);
    BaseInfoRecord bs;
    p.parseBaseInfo(line, bs);
    AttributeRecord ad;
    p.parseAttributes(line, ad);
    return 0;
}
