#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "rawfile/RawRecordParser.h"

namespace {

std::vector<std::string> tokensOf(const std::string& line) {
    RawRecordParser parser;
    EXPECT_TRUE(parser.tokenize(line));
    return std::vector<std::string>(parser.tokens().begin(), parser.tokens().end());
}

using Tokens = std::vector<std::string>;

}  // namespace

TEST(RawRecordParser, TokenizesWithTrimmingAndDropsEmptyFieldsButTheLast) {
    const struct {
        std::string line;
        Tokens expected;
    } cases[] = {
        {"", {""}},
        {"GS", {"GS"}},
        {"  GS \t", {"GS"}},
        {"JB,NMa,DTb", {"JB", "NMa", "DTb"}},
        {"JB, NMjob ,\tDTd\t", {"JB", "NMjob", "DTd"}},
        {"JB,,NMa,  ,DTb", {"JB", "NMa", "DTb"}},
        {"JB,NMa,", {"JB", "NMa", ""}},
        {"JB,NMa, \r\n", {"JB", "NMa", ""}},
        {",", {""}},
        {",,", {""}},
        {" , x", {"x"}},
        {"GS,PNa b,N 1", {"GS", "PNa b", "N 1"}},
        {std::string("A,B\0C,D", 7), {"A", std::string("B\0C", 3), "D"}},
    };
    for (const auto& c : cases) EXPECT_EQ(tokensOf(c.line), c.expected) << '"' << c.line << '"';
}

// Keys of 2 or 4 characters ("N 1.5" is "N "; "N2", "BSE20" and the short "DIF" are unknown keys); the
// field is trimmed but the value after the key is not; a later key wins.
TEST(RawRecordParser, TakesKeysOfTwoOrFourCharactersAndTheLaterValue) {
    RawRecordParser parser;
    PointRecord point;
    parser.parsePoint("GS,PN P1 ,N 1.5,E2,EL 7,--x,N,nmlower,EL8", point);
    EXPECT_EQ(std::tie(point.name, point.north, point.east, point.height, point.description),
              std::make_tuple(" P1", 1.5, 0.0, 8.0, "x"));
    BaseInfoRecord base;
    parser.parseBaseInfo("QZBS,BSNMB 1,BSN 10.5,BSE20,BSATAnt X,BSME2,BS", base);
    EXPECT_EQ(std::tie(base.name, base.north, base.east, base.antennaType, base.antennaMethod),
              std::make_tuple("B 1", 10.5, 0.0, "Ant X", 2));
    DopRecord dop;
    parser.parseDop("QZDP,DOP 2.5,DOP 3.25abc,DIF 9,DIF", dop);
    EXPECT_EQ(std::tie(dop.pdop, dop.solutionType), std::make_tuple(3.25, 9));
}

// One line of each kind with every field kind: texts as they stand, reals like atof, integers like atoi
// (the 8-bit DA keeps its low byte; CO, GM and CL keep the whole value so that nothing is lost).
TEST(RawRecordParser, ConvertsEveryFieldKind) {
    RawRecordParser parser;
    CoordSystemRecord cs;
    parser.parseCoordSystem("CS,CO300,ZGzg,ZNzn,DNBeijing 1954", cs);
    EXPECT_EQ(std::tie(cs.code, cs.zg, cs.zn, cs.datumName),
              std::make_tuple(300, "zg", "zn", "Beijing 1954"));
    DatumRecord dt;
    parser.parseDatum("anything,DA257,RD1,IF2,OX3600,OY-1.5,OZ2e1,LX4,LY5,LZ6,SP-0.5", dt);
    EXPECT_EQ(std::tie(dt.type, dt.rotationY, dt.rotationZ, dt.translationZ, dt.scalePpm),
              std::make_tuple(std::int8_t{1}, -1.5, 20.0, 6.0, -0.5));
    EpochRecord ep;
    parser.parseEpoch("EP,TMt,LA1,LN2,HT3,RH0.01,RV0.02,DH2.6,DV-1,GM-129,CL383", ep);
    EXPECT_EQ(std::tie(ep.time, ep.hrms, ep.dh, ep.gm, ep.cl), std::make_tuple("t", 0.01, 2.6, -129, 383));
    RoverInfoRecord rv;
    parser.parseRoverInfo("QZRV,QZTM2024-05-01 10:00:00,RVWL1.9,DRTM5,EPCH10,NGPS8,NGNS6,NALL20", rv);
    EXPECT_EQ(std::tie(rv.time, rv.wgsLongitude, rv.epochs, rv.gnssSatellites),
              std::make_tuple("2024-05-01 10:00:00", 1.9, 10, 20));
    ProjectionRecord pj;
    parser.parseProjection("PJ,TP32,LA0.0,E 500000,SC0.9999411765,OT5", pj);
    EXPECT_EQ(std::tie(pj.type, pj.originLatitude, pj.falseEasting, pj.scaleFactor, pj.ot),
              std::make_tuple(32, "0.0", 500000.0, 0.9999411765, 5.0));
    RawBytes text;
    parser.parseCentralMeridian("QZMC,MC  2.0420352248333655", text);
    EXPECT_EQ(text, "2.0420352248333655");
}
