#include <gtest/gtest.h>

#include <string>
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

TEST(RawRecordParser, TakesKeysOfTwoOrFourCharacters) {
    RawRecordParser parser;
    PointRecord point;
    // "N 1.5" matches "N "; "N2" does not; a short field yields a shorter key that matches nothing.
    parser.parsePoint("GS,PN P1 ,N 1.5,E2,EL 7,--x,N", point);
    EXPECT_EQ(point.name, " P1");  // the field is trimmed, the value after the key is not
    EXPECT_EQ(point.north, 1.5);
    EXPECT_EQ(point.east, 0.0);
    EXPECT_EQ(point.height, 7.0);
    EXPECT_EQ(point.description, "x");

    BaseInfoRecord base;
    parser.parseBaseInfo("QZBS,BSNMB 1,BSN 10.5,BSE20,BSH -3,BSATAnt X,BSME2,BS", base);
    EXPECT_EQ(base.name, "B 1");
    EXPECT_EQ(base.north, 10.5);
    EXPECT_EQ(base.east, 0.0);  // "BSE2" is a key of its own, unknown
    EXPECT_EQ(base.height, -3.0);
    EXPECT_EQ(base.antennaType, "Ant X");
    EXPECT_EQ(base.antennaMethod, 2);
}

TEST(RawRecordParser, LaterKeyWinsAndUnknownOrMisspelledKeysAreIgnored) {
    RawRecordParser parser;
    JobRecord job;
    parser.parseJob("JB,NMfirst,XXunknown,nmlower,NMsecond,TM12:00", job);
    EXPECT_EQ(job.name, "second");
    EXPECT_EQ(job.time, "12:00");
    EXPECT_EQ(job.date, "");

    DopRecord dop;
    parser.parseDop("QZDP,DOP 2.5,DOP 3.25abc,DIF 9,DIF", dop);
    EXPECT_EQ(dop.pdop, 3.25);
    EXPECT_EQ(dop.solutionType, 9);  // "DIF" is three characters and not the key "DIF "
}

TEST(RawRecordParser, DoesNotLookAtTheTag) {
    RawRecordParser parser;
    JobRecord job;
    EXPECT_TRUE(parser.parseJob("anything,NMx", job));
    EXPECT_EQ(job.name, "x");
    EXPECT_TRUE(parser.parseJob("", job));  // an empty line is one empty token: true, nothing filled
    EXPECT_EQ(job.name, "x");
}

TEST(RawRecordParser, ConvertsEveryFieldKindOfEveryRecord) {
    RawRecordParser parser;
    CoordSystemRecord cs;
    parser.parseCoordSystem("CS,CO300,ZGzg,ZNzn,DNBeijing 1954", cs);
    EXPECT_EQ(cs.code, 44);
    EXPECT_EQ(cs.zg, "zg");
    EXPECT_EQ(cs.zn, "zn");
    EXPECT_EQ(cs.datumName, "Beijing 1954");

    DatumRecord dt;
    parser.parseDatum("DT,DA257,RD1,IF2,OX3600,OY-1.5,OZ2e1,LX4,LY5,LZ6,SP-0.5", dt);
    EXPECT_EQ(dt.type, 1);
    EXPECT_EQ(dt.semiMajorAxis, 1.0);
    EXPECT_EQ(dt.inverseFlattening, 2.0);
    EXPECT_EQ(dt.rotationX, 3600.0);
    EXPECT_EQ(dt.rotationY, -1.5);
    EXPECT_EQ(dt.rotationZ, 20.0);
    EXPECT_EQ(dt.translationX + dt.translationY + dt.translationZ, 15.0);
    EXPECT_EQ(dt.scalePpm, -0.5);

    EpochRecord ep;
    parser.parseEpoch("EP,TMt,LA1,LN2,HT3,RH0.01,RV0.02,DH2.6,DV-1,GM-129,CL383", ep);
    EXPECT_EQ(ep.time, "t");
    EXPECT_EQ(ep.dh, 2.6);
    EXPECT_EQ(ep.gm, 127);
    EXPECT_EQ(ep.cl, 127);
    EXPECT_EQ(ep.hrms, 0.01);

    RoverInfoRecord rv;
    parser.parseRoverInfo(
        "QZRV,QZTM2024-05-01 10:00:00,RVWB0.5,RVWL1.9,RVWH33,DRTM5,EPCH10,NGPS8,NGNS6,NALL20", rv);
    EXPECT_EQ(rv.time, "2024-05-01 10:00:00");
    EXPECT_EQ(rv.wgsLongitude, 1.9);
    EXPECT_EQ(rv.duration + rv.epochs + rv.gpsSatellites + rv.glonassSatellites + rv.gnssSatellites, 49);

    AttributeRecord ad;
    parser.parseAttributes("QZAD,CODEtree,ECHT1.2m,XP  0.005,YP  0.006,HP  0.011,METHRTK", ad);
    EXPECT_EQ(ad.code, "tree");
    EXPECT_EQ(ad.echoHeight, "1.2m");
    EXPECT_EQ(ad.precisionH, 0.011);
    EXPECT_EQ(ad.method, "RTK");

    HorizontalAdjustRecord ah;
    parser.parseHorizontalAdjust("QZAH,AHUS2,ORGX1,ORGY2,TRSX3,TRSY4,CA  0.5,CK  1.0000021", ah);
    EXPECT_EQ(ah.inUse, 2);
    EXPECT_EQ(ah.rotationDegrees, 0.5);
    EXPECT_EQ(ah.scaleFactor, 1.0000021);

    VerticalAdjustRecord av;
    parser.parseVerticalAdjust("QZAV,AVUS1,A0  0.1,A1  0.2,A2  0.3,X0  4,Y0  5", av);
    EXPECT_EQ(av.a2, 0.3);
    EXPECT_EQ(av.y0, 5.0);

    ProjectionRecord pj;
    parser.parseProjection("PJ,TP32,LA0.0,LN1,HT2,N 0,E 500000,EL3,SC0.9999411765,OO4,OT5", pj);
    EXPECT_EQ(pj.type, 32);
    EXPECT_EQ(pj.originLatitude, "0.0");
    EXPECT_EQ(pj.falseEasting, 500000.0);
    EXPECT_EQ(pj.scaleFactor, 0.9999411765);
    EXPECT_EQ(pj.ot, 5.0);

    std::string text;
    parser.parseVersion("QZVS,VS  V1.0", text);
    EXPECT_EQ(text, "V1.0");
    parser.parseCentralMeridian("QZMC,MC  2.0420352248333655", text);
    EXPECT_EQ(text, "2.0420352248333655");
    parser.parseAntennaType("QZAT,AT  HX-CSX601A", text);
    EXPECT_EQ(text, "HX-CSX601A");
}
