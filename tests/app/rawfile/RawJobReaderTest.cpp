#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <random>
#include <string>

#include "rawfile/RawJobReader.h"

namespace {

RawJob readText(const std::string& text) {
    QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    RawJob job;
    EXPECT_TRUE(readRawJob(buffer, job));
    return job;
}

// One complete, well-formed point group.
std::string group(const std::string& name, const std::string& base, double north = 100.0) {
    return "GS,PN" + name + ",N " + std::to_string(north) + ",E 200.5,EL30.25,--stake\n" +
           "AH,DCdc,MA1.8,ME2,RA0.1\n"
           "QZAT,AT  ANT-" +
           name + "\n" +
           "EP,TMt,LA1,LN2,HT3,RH0.012,RV0.021,DH0,DV0,GM1,CL2\n"
           "QZDP,DOP 1.7,DIF 9\n"
           "QZRV,QZTM2024-05-01 10:00:00,RVWB0.53,RVWL1.98,RVWH45.5,DRTM5,EPCH10,NGPS8,NGNS6,NALL14\n"
           "QZBS,BSNM" +
           base + ",BSN 1000,BSE 2000,BSH 40,BSWB0.52,BSWL1.97,BSWH60,BSATBASEANT,BSMA1.5,BSME1\n" +
           "QZAD,CODEc" + name + ",ECHT0.5,XP  0.005,YP  0.006,HP  0.011,METHRTK\n";
}

}  // namespace

TEST(RawJobReader, FillsHeaderAndDerivesTheSummary) {
    const RawJob job = readText(
        "QZVS,VS  V1.0\n"
        "JB,NMRoad survey,DT2024-05-01,TM08:15:00\n"
        "CS,CO300,ZGg,ZNn,DNLocal 2000\n"
        "ES,RD6378137,IF298.257222101,EMCGCS2000\n"
        "DT,DA255,OX3600,OY-7200,OZ0,LX1,LY2,LZ3,SP4.5\n"
        "QZAH,AHUS2,ORGX10,ORGY20,TRSX0.5,TRSY-0.5,CA  180,CK  1.00001\n"
        "QZAV,AVUS0,A0  0.1,A1  0.2,A2  0.3,X0  4,Y0  5\n"
        "PJ,TP31,LA0.5,N 100,E 400000,SC0.9996\n"
        "QZMC,MC  2.0420352248333655\n");
    const JobHeader& h = job.header;
    const JobSummary& s = job.summary;
    EXPECT_EQ(h.version, "V1.0");
    EXPECT_EQ(s.version, "V1.0");
    EXPECT_EQ(s.jobName, "Road survey");
    EXPECT_EQ(s.jobDate, "2024-05-01");
    EXPECT_EQ(s.jobTime, "08:15:00");
    EXPECT_EQ(h.coordSystem.code, 44);  // 300 keeps its low byte
    EXPECT_EQ(s.datumName, "Local 2000");
    EXPECT_EQ(s.semiMajorAxis, 6378137.0);
    EXPECT_EQ(s.inverseFlattening, 298.257222101);
    EXPECT_EQ(s.ellipsoidName, "CGCS2000");
    EXPECT_EQ(h.datum.type, -1);
    EXPECT_EQ(s.transformType, -1);  // sign-extended
    EXPECT_EQ(h.datum.rotationX, 3600.0);
    EXPECT_EQ(s.rotationX, 0.017453292519943295);  // one degree in radians
    EXPECT_EQ(s.rotationY, -2 * 0.017453292519943295);
    EXPECT_EQ(s.translationZ, 3.0);
    EXPECT_EQ(s.scalePpm, 4.5);
    EXPECT_TRUE(s.horizontalAdjustInUse);
    EXPECT_EQ(s.rotation, 180 * 0.017453292519943295);
    EXPECT_EQ(h.horizontalAdjust.rotationDegrees, 180.0);
    EXPECT_EQ(s.translationEast, -0.5);
    EXPECT_EQ(s.scaleFactor, 1.00001);
    EXPECT_FALSE(s.verticalAdjustInUse);  // AVUS 0, whatever the other fields hold
    EXPECT_EQ(s.a1, 0.2);
    EXPECT_EQ(s.projectionType, 31);
    EXPECT_EQ(s.originLatitude, "0.5");
    EXPECT_EQ(s.falseNorthing, 100.0);
    EXPECT_EQ(s.falseEasting, 400000.0);
    EXPECT_EQ(s.projectionScaleFactor, 0.9996);
    EXPECT_EQ(s.centralMeridian, "2.0420352248333655");
}

TEST(RawJobReader, KeepsSummaryDefaultsForAbsentRecords) {
    const RawJob job = readText(group("P1", "B1"));
    EXPECT_EQ(job.summary.jobName, "----");
    EXPECT_EQ(job.summary.datumName, "----");
    EXPECT_EQ(job.summary.projectionType, 32);
    EXPECT_EQ(job.summary.falseEasting, 500000.0);
    EXPECT_EQ(job.header.projection.falseEasting, 0.0);
    EXPECT_EQ(job.header.version, "");
}

TEST(RawJobReader, ALaterHeaderRecordReplacesTheWholeRecord) {
    const RawJob job = readText("JB,NMfirst,DTd,TMt\n" + group("P1", "B") + "JB,NMsecond\n");
    EXPECT_EQ(job.header.job.name, "second");
    EXPECT_EQ(job.header.job.date, "");
    EXPECT_EQ(job.summary.jobDate, "");
    ASSERT_EQ(job.rovers.size(), 1);
}

TEST(RawJobReader, ReadsAPointGroupIntoRoverGroupAndBase) {
    const RawJob job = readText(group("P1", "B1"));
    ASSERT_EQ(job.rovers.size(), 1);
    ASSERT_EQ(job.groups.size(), 1);
    ASSERT_EQ(job.bases.size(), 1);
    const RoverPoint& r = job.rovers[0];
    EXPECT_EQ(r.name, "P1");
    EXPECT_EQ(r.north, 100.0);
    EXPECT_EQ(r.east, 200.5);
    EXPECT_EQ(r.height, 30.25);
    EXPECT_EQ(r.antennaHeight, 1.8);
    EXPECT_EQ(r.antennaMethod, 2);
    EXPECT_EQ(r.antennaType, "ANT-P1");
    EXPECT_EQ(r.hrms, 0.012);
    EXPECT_EQ(r.vrms, 0.021);
    EXPECT_EQ(r.pdop, 1.7);
    EXPECT_EQ(r.solutionType, 9);
    EXPECT_EQ(r.time, "2024-05-01 10:00:00");
    EXPECT_EQ(r.wgsLatitude, 0.53);
    EXPECT_EQ(r.wgsHeight, 45.5);
    EXPECT_EQ(r.duration, 5);
    EXPECT_EQ(r.epochs, 10);
    EXPECT_EQ(r.gpsSatellites, 8);
    EXPECT_EQ(r.glonassSatellites, 6);
    EXPECT_EQ(r.gnssSatellites, 14);
    EXPECT_EQ(r.baseName, "B1");
    EXPECT_EQ(r.baseWgsLongitude, 1.97);
    EXPECT_EQ(r.baseAntennaType, "BASEANT");
    EXPECT_EQ(r.baseAntennaHeight, 1.5);
    EXPECT_EQ(r.baseAntennaMethod, 1);
    EXPECT_EQ(r.baseNorth, 1000.0);
    EXPECT_EQ(r.baseHeight, 40.0);
    EXPECT_EQ(r.code, "cP1");
    EXPECT_EQ(r.echoHeight, "0.5");
    EXPECT_EQ(r.precisionY, 0.006);
    EXPECT_EQ(r.method, "RTK");

    const PointRecordGroup& g = job.groups[0];
    EXPECT_EQ(g.point.description, "stake");
    EXPECT_EQ(g.antenna.dc, "dc");
    EXPECT_EQ(g.antenna.ra, 0.1);
    EXPECT_EQ(g.epoch.gm, 1);
    EXPECT_EQ(g.epoch.cl, 2);
    EXPECT_EQ(g.epoch.latitude, 1.0);

    const BaseStation& b = job.bases[0];
    EXPECT_EQ(b.name, "B1");
    EXPECT_EQ(b.wgsLatitude, 0.52);
    EXPECT_EQ(b.wgsHeight, 60.0);
    EXPECT_EQ(b.antennaType, "BASEANT");
    EXPECT_EQ(b.antennaHeight, 1.5);
    EXPECT_EQ(b.antennaMethod, 1);
    EXPECT_EQ(b.east, 2000.0);
}

TEST(RawJobReader, BuildsOneBasePerDistinctNameFromItsFirstGroup) {
    std::string text = group("P1", "B1") + group("P2", "b1") + group("P3", "B1");
    // P3 names B1 again with other coordinates: the station keeps the first group's values.
    text.replace(text.rfind("BSN 1000"), 8, "BSN 1111");
    const RawJob job = readText(text);
    ASSERT_EQ(job.bases.size(), 2);  // names differ in letter case: two stations
    EXPECT_EQ(job.bases[0].name, "B1");
    EXPECT_EQ(job.bases[1].name, "b1");
    EXPECT_EQ(job.bases[0].north, 1000.0);
    EXPECT_EQ(job.rovers[2].baseNorth, 1111.0);  // the rover keeps its own copy
}

TEST(RawJobReader, GivesBaseRecordsWithoutANameOneNamelessStation) {
    std::string text = group("P1", "") + group("P2", "");
    const RawJob job = readText(text);
    ASSERT_EQ(job.bases.size(), 1);
    EXPECT_EQ(job.bases[0].name, "");
    EXPECT_EQ(job.rovers[1].baseName, "");
}

TEST(RawJobReader, KeepsEveryPointWhenAGroupLacksARecord) {
    // P1 lacks its QZAD line, P2 its QZRV..QZAD lines: each group ends at the next GS line.
    std::string p1 = group("P1", "B1");
    p1.erase(p1.find("QZAD"));
    std::string p2 = group("P2", "B2");
    p2.erase(p2.find("QZRV"));
    const RawJob job = readText(p1 + p2 + group("P3", "B3"));
    ASSERT_EQ(job.rovers.size(), 3);
    ASSERT_EQ(job.groups.size(), 3);
    EXPECT_EQ(job.rovers[0].name, "P1");
    EXPECT_EQ(job.rovers[0].baseName, "B1");
    EXPECT_EQ(job.rovers[0].code, "");
    EXPECT_EQ(job.rovers[1].name, "P2");
    EXPECT_EQ(job.rovers[1].pdop, 1.7);
    EXPECT_EQ(job.rovers[1].baseName, "");
    EXPECT_EQ(job.rovers[1].time, "");
    EXPECT_EQ(job.rovers[2].name, "P3");
    EXPECT_EQ(job.rovers[2].code, "cP3");
    ASSERT_EQ(job.bases.size(), 3);
    EXPECT_EQ(job.bases[1].name, "");
}

TEST(RawJobReader, CompletesAGroupCutShortByTheEndOfTheFile) {
    const struct {
        std::string text;
        double antennaHeight;
    } cases[] = {
        {"GS", 0.0},
        {"GS\n", 0.0},
        {"GS,PNlast,N 5\nAH,MA1.25", 1.25},
        {"GS,PNlast,N 5\nAH,MA1.25\nQZAT,AT  X\n", 1.25},
    };
    for (const auto& c : cases) {
        const RawJob job = readText(c.text);
        ASSERT_EQ(job.rovers.size(), 1) << c.text;
        ASSERT_EQ(job.groups.size(), 1);
        ASSERT_EQ(job.bases.size(), 1);
        EXPECT_EQ(job.rovers[0].antennaHeight, c.antennaHeight);
        EXPECT_EQ(job.rovers[0].baseName, "");
        EXPECT_EQ(job.groups[0].baseInfo.north, 0.0);
    }
    const RawJob alone = readText("GS");
    EXPECT_EQ(alone.rovers[0].name, "");
    EXPECT_EQ(alone.rovers[0].north, 0.0);
}

TEST(RawJobReader, IgnoresUnknownTagsAndBlankLinesAndMatchesTagsByLeadingCharacters) {
    const RawJob job = readText(
        "\n"
        "XX,NMnothing\n"
        "J\n"
        "QZ\n"
        "jb,NMlower\n"
        "JBX,NMjob\n"
        "  JB,NMindented\n"
        "QZVSV,VS  V2.1\n" +
        group("P1", "B1") + "\n\nQZXX,unknown\n" + group("P2", "B1"));
    EXPECT_EQ(job.summary.jobName, "job");
    EXPECT_EQ(job.summary.version, "V2.1");
    EXPECT_EQ(job.rovers.size(), 2);
    EXPECT_EQ(job.bases.size(), 1);
}

TEST(RawJobReader, AcceptsEveryLineEnd) {
    const std::string lf = "QZVS,VS  V1.0\nJB,NMa\n" + group("P1", "B1") + group("P2", "B2") + "QZMC,MC  1.5";
    std::string crlf;
    std::string cr;
    for (char c : lf) {
        if (c == '\n') {
            crlf += "\r\n";
            cr += '\r';
        } else {
            crlf += c;
            cr += c;
        }
    }
    const std::string bom = "\xEF\xBB\xBF" + crlf;
    for (const std::string& text : {lf, crlf, cr, bom}) {
        const RawJob job = readText(text);
        ASSERT_EQ(job.rovers.size(), 2);
        EXPECT_EQ(job.summary.version, "V1.0");
        EXPECT_EQ(job.summary.jobName, "a");
        EXPECT_EQ(job.rovers[1].name, "P2");
        EXPECT_EQ(job.rovers[1].code, "cP2");
        EXPECT_EQ(job.summary.centralMeridian, "1.5");
    }
}

TEST(RawJobReader, JoinsLinesAcrossReadChunks) {
    // Lines of every length around the reader's chunk size (1 MiB), with CR LF ends placed on the seam.
    for (const std::size_t seam :
         {std::size_t{1} << 20, (std::size_t{1} << 20) + 1, (std::size_t{1} << 20) - 1}) {
        std::string text = "GS,PNP1,--";
        text.append(seam - 1 - text.size(), 'x');  // the CR of this line's end is the chunk's last byte
        text += "\r\nAH,MA1.5\r\nQZAT,AT  A\r";
        const RawJob job = readText(text + "\nEP,RH0.5\r\n");
        ASSERT_EQ(job.rovers.size(), 1);
        EXPECT_EQ(job.rovers[0].antennaHeight, 1.5) << seam;
        EXPECT_EQ(job.rovers[0].antennaType, "A") << seam;
        EXPECT_EQ(job.rovers[0].hrms, 0.5) << seam;
        EXPECT_EQ(job.groups[0].point.description.size(), seam - 11);
    }
}

TEST(RawJobReader, SurvivesHostileInput) {
    std::mt19937 random(20240501);
    // Random bytes mixed with pieces of records, so that groups, bases and stray line ends all occur.
    const std::string pieces[] = {
        "GS", "QZBS,BSNM", "QZBS,BSN 1",        "AH,MA1", "JB,NM", "\n", "\r", "\r\n", ",", " ",
        "\t", "9",         std::string(1, '\0')};
    std::string garbage;
    while (garbage.size() < 3'000'000) {
        const unsigned pick = random() % 20;
        if (pick < 13)
            garbage += pieces[pick];
        else
            garbage += static_cast<char>(random() & 0xFF);
    }
    std::string nuls = group("P\0Q", "B1");
    nuls += std::string("GS,PN\0\0,N 1\0 2\n", 16);
    nuls += std::string(1000, '\0');
    std::string longLine = "JB,NM" + std::string(10'000'000, 'n') + ",DTd\n" + group("P1", "B1");
    std::string manyFields = "GS";
    for (int i = 0; i < 200000; ++i) manyFields += ",N 1";
    std::string commas(1'000'000, ',');
    std::string gsOnly;
    for (int i = 0; i < 50000; ++i) gsOnly += "GS\n";

    // Whatever garbage gives, the lists keep their invariants: parallel rovers and groups, one base per
    // distinct name of the rovers.
    const RawJob g = readText(garbage);
    EXPECT_EQ(g.rovers.size(), g.groups.size());
    QSet<QString> names;
    for (const RoverPoint& rover : g.rovers) names.insert(rover.baseName);
    EXPECT_EQ(g.bases.size(), names.size());
    EXPECT_GT(g.rovers.size(), 1000);
    const RawJob n = readText(nuls);
    EXPECT_EQ(n.rovers.size(), 2);
    const RawJob l = readText(longLine);
    EXPECT_EQ(l.header.job.name.size(), 10'000'000u);
    EXPECT_EQ(l.summary.jobDate, "d");
    EXPECT_EQ(l.rovers.size(), 1);
    EXPECT_EQ(readText(manyFields).rovers[0].north, 1.0);
    EXPECT_EQ(readText(commas).rovers.size(), 0);
    EXPECT_EQ(readText(gsOnly).rovers.size(), 50000);
}

TEST(RawJobReader, HandlesTenThousandDistinctBases) {
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += group("P" + std::to_string(i), "BASE" + std::to_string(i % 10000));
    const RawJob job = readText(text);
    ASSERT_EQ(job.rovers.size(), 20000);
    ASSERT_EQ(job.bases.size(), 10000);
    EXPECT_EQ(job.bases[9999].name, "BASE9999");
    EXPECT_EQ(job.rovers[19999].baseName, "BASE9999");
}

TEST(RawJobReader, StartsASuccessfulOpenFromAFreshModel) {
    RawJob job;
    job.path = "/somewhere/b.raw";
    {
        QByteArray first("QZVS,VS  V1.0\nJB,NMjob A\nCS,DNdatum A\nDT,DA1,LX5\n" +
                         QByteArray::fromStdString(group("A1", "BA")));
        QBuffer buffer(&first);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(readRawJob(buffer, job));
    }
    QByteArray second(QByteArray::fromStdString("JB,NMjob B\n" + group("B1", "BB") + group("B2", "BB")));
    QBuffer buffer(&second);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(readRawJob(buffer, job));
    EXPECT_EQ(job.summary.jobName, "job B");
    EXPECT_EQ(job.summary.datumName, "----");  // nothing of job A survives
    EXPECT_EQ(job.header.coordSystem.datumName, "");
    EXPECT_EQ(job.header.version, "");
    EXPECT_EQ(job.summary.transformType, 0);
    EXPECT_EQ(job.header.datum.translationX, 0.0);
    ASSERT_EQ(job.rovers.size(), 2);
    EXPECT_EQ(job.groups.size(), 2);
    ASSERT_EQ(job.bases.size(), 1);
    EXPECT_EQ(job.bases[0].name, "BB");
    EXPECT_EQ(job.path, "/somewhere/b.raw");  // the path belongs to the caller
}

TEST(RawJobReader, LeavesTheModelAloneWhenTheFileCannotBeOpened) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("good.raw");
    {
        QFile file(good);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString("JB,NMkept\n" + group("P1", "B1")));
    }
    RawJob job;
    ASSERT_TRUE(readRawJob(good, job));
    for (const QString& path : {QString(), dir.filePath("missing.raw"), dir.path()}) {
        EXPECT_FALSE(readRawJob(path, job)) << path.toStdString();
        EXPECT_EQ(job.summary.jobName, "kept");
        EXPECT_EQ(job.rovers.size(), 1);
        EXPECT_EQ(job.bases.size(), 1);
    }
    QBuffer closed;
    EXPECT_FALSE(readRawJob(closed, job));
    EXPECT_EQ(job.rovers.size(), 1);
}
