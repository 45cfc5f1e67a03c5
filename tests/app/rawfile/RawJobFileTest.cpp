// Reading a raw survey file into the job model and writing a job: header and summary, point groups found
// by their tags, the record formats of a job built in memory, refused separators, failed saves.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <sys/resource.h>

#include "RawTestSupport.h"
#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"
#include "rawfile/RawText.h"

namespace {

std::string fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

const char* const kGroupLines[] = {
    "GS,PNP1,N 100.5,E 200.5,EL30.25,--stake",
    "AH,DCdc,MA1.8,ME2,RA0.1",
    "QZAT,AT  ANT-1",
    "EP,TMt,LA1,LN2,HT3,RH0.012,RV0.021,DH0,DV0,GM-129,CL383",
    "QZDP,DOP 1.7,DIF 9",
    "QZRV,QZTM2024-05-01 10:00:00,RVWB0.53,RVWL1.98,RVWH45.5,DRTM5,EPCH10,NGPS8,NGNS6,NALL14",
    "QZBS,BSNMB1,BSN 1000,BSE 2000,BSH 40,BSWB0.52,BSWL1.97,BSWH60,BSATBASEANT,BSMA1.5,BSME1",
    "QZAD,CODEkerb,ECHT0.5,XP  0.005,YP  0.006,HP  0.011,METHRTK",
};

// The group above without the records whose bit is set in `without`, with `extra` inserted after line
// `at`.
std::string group(unsigned without = 0, const std::string& extra = "", int at = -1) {
    std::string text;
    for (int i = 0; i < 8; ++i) {
        if (!(without & (1u << i))) text += std::string(kGroupLines[i]) + "\n";
        if (i == at) text += extra;
    }
    return text;
}

}  // namespace

TEST(RawJobReader, FillsHeaderAndDerivesTheSummary) {
    const RawJob job = readRaw(
        "QZVS,VS  V1.0\nJB,NMRoad survey,DT2024-05-01,TM08:15:00\nCS,CO300,ZGg,ZNn,DNLocal 2000\n"
        "ES,RD6378137,IF298.257222101,EMCGCS2000\nDT,DA255,OX3600,OY-7200,OZ0,LX1,LY2,LZ3,SP4.5\n"
        "QZAH,AHUS2,ORGX10,ORGY20,TRSX0.5,TRSY-0.5,CA  180,CK  1.00001\n"
        "QZAV,AVUS0,A0  0.1,A1  0.2,A2  0.3,X0  4,Y0  5\nPJ,TP31,LA0.5,N 100,E 400000,SC0.9996\n"
        "QZMC,MC  2.0420352248333655\nJB,NMLater\n");
    const JobHeader& h = job.header;
    const JobSummary& s = job.summary;
    EXPECT_EQ(s.jobName, "Later");  // a later record replaces the whole record
    EXPECT_EQ(s.jobDate, "");
    EXPECT_EQ(h.coordSystem.code, 300);  // the whole code, not its low byte
    EXPECT_EQ(s.datumName, "Local 2000");
    EXPECT_EQ(s.transformType, -1);  // DA is 8-bit, sign-extended
    EXPECT_DOUBLE_EQ(s.rotationX, 3600 / 3600.0 * 0.017453292519943295);
    EXPECT_DOUBLE_EQ(s.rotationY, -2 * 0.017453292519943295);
    EXPECT_EQ(s.scalePpm, 4.5);
    EXPECT_TRUE(s.horizontalAdjustInUse);
    EXPECT_DOUBLE_EQ(s.rotation, 3.141592653589793);
    EXPECT_FALSE(s.verticalAdjustInUse);
    EXPECT_EQ(s.projectionType, 31);
    EXPECT_EQ(s.falseEasting, 400000.0);
    EXPECT_EQ(s.centralMeridian, "2.0420352248333655");

    const RawJob empty = readRaw("");  // absent records keep the summary defaults
    EXPECT_EQ(empty.summary.jobName, "----");
    EXPECT_EQ(empty.summary.projectionType, 32);
    EXPECT_EQ(empty.summary.falseEasting, 500000.0);
}

// Records are found by their tags: a missing record or an unknown line shifts nothing into the wrong
// fields, and the points around it survive.
TEST(RawJobReader, TakesTheRecordsOfAGroupByTheirTags) {
    const struct {
        std::string text;
        qsizetype rovers;
        const char* antennaType;  // of the first rover
        double pdop;
        const char* code;
    } cases[] = {
        {group(), 1, "ANT-1", 1.7, "kerb"},
        {group(1u << 7) + group(), 2, "ANT-1", 1.7, ""},      // no QZAD: the next GS is not swallowed
        {group(1u << 1) + group(), 2, "ANT-1", 1.7, "kerb"},  // no AH
        {group(0, "XX,unknown\n\n", 2) + group(), 2, "ANT-1", 1.7, "kerb"},  // unknown and blank lines
        {group(0x1Eu), 1, "", 0.0, "kerb"},                                  // AH, QZAT, EP, QZDP missing
        {group(0xF0u, "JB,NMx\nQZDP,DOP 9\n", 3), 1, "ANT-1", 0.0, ""},      // a header line ends the group
        {group(0, "AH,MA9\n", 1), 1, "", 0.0, ""},    // a second AH ends the group early
        {std::string("GS\nAH,MA1"), 1, "", 0.0, ""},  // cut short by the end of the file
    };
    for (const auto& c : cases) {
        const RawJob job = readRaw(c.text);
        ASSERT_EQ(job.rovers.size(), c.rovers) << c.text;
        EXPECT_EQ(job.groups.size(), c.rovers);
        EXPECT_EQ(job.rovers[0].antennaType, c.antennaType) << c.text;
        EXPECT_EQ(job.rovers[0].pdop, c.pdop) << c.text;
        EXPECT_EQ(job.rovers[0].code, c.code) << c.text;
    }
    EXPECT_EQ(readRaw(group(0, "AH,MA9\n", 1)).rovers[0].antennaHeight, 1.8);
}

TEST(RawJobReader, FillsRoverGroupAndOneBasePerDistinctName) {
    std::string text = group();
    for (const char* base : {"B2", "B1", "", ""}) {
        std::string g = group();
        g.replace(g.find("BSNMB1"), 6, std::string("BSNM") + base);
        g.replace(g.find("BSN 1000"), 8, "BSN 7");
        text += g;
    }
    const RawJob job = readRaw(text);
    ASSERT_EQ(job.rovers.size(), 5);
    ASSERT_EQ(job.bases.size(), 3);
    EXPECT_EQ(job.bases[0].name, "B1");
    EXPECT_EQ(job.bases[0].north, 1000.0);  // from the first group naming it
    EXPECT_EQ(job.bases[2].name, "");
    const RoverPoint& r = job.rovers[0];
    EXPECT_EQ(r.name, "P1");
    EXPECT_EQ(r.north, 100.5);
    EXPECT_EQ(r.baseAntennaType, "BASEANT");
    EXPECT_EQ(r.baseNorth, 1000.0);
    EXPECT_EQ(job.groups[0].point.description, "stake");
    EXPECT_EQ(job.groups[0].epoch.cl, 383);  // written back only: the whole value
    EXPECT_EQ(job.rovers[1].baseNorth, 7.0);
}

TEST(RawJobReader, DecodesTextsAndAcceptsEveryLineEnd) {
    const RawJob job = readRaw("\xEF\xBB\xBFJB,NMR\xC3\xA9gua\r\nGS,PNR\xE9gua-2\rAH,MA2\n");
    EXPECT_EQ(job.summary.jobName, QStringLiteral("R\u00e9gua"));  // valid UTF-8
    ASSERT_EQ(job.rovers.size(), 1);
    EXPECT_EQ(job.rovers[0].name, decodeRawText("R\xE9gua-2"));  // not UTF-8: no U+FFFD
    EXPECT_FALSE(job.rovers[0].name.contains(QChar(0xFFFD)));
    EXPECT_EQ(job.rovers[0].antennaHeight, 2.0);
    for (const char* text : {"abc", "R\xE9gua", "\xB2\xE2\xC1\xBF", "\xE6\xB5\x8B"})
        EXPECT_EQ(decodeRawText(encodeRawText(decodeRawText(text))), decodeRawText(text)) << text;
}

TEST(RawJobReader, LeavesTheModelAloneWhenTheFileCannotBeOpened) {
    RawJob job = readRaw(group());
    job.path = "kept";
    EXPECT_FALSE(readRawJob(QStringLiteral("/no/such/file.raw"), job));
    EXPECT_EQ(job.rovers.size(), 1);
    EXPECT_TRUE(readRawJob(QStringLiteral("/dev/null"), job));  // a successful open starts afresh
    EXPECT_TRUE(job.rovers.isEmpty());
    EXPECT_EQ(job.path, "kept");
}

namespace {

const char* const kHeader =
    "QZVS,VS  V1.0\nJB,NMHarbour,DT2024-05-01,TM08:15:00\nCS,CO300,ZGzg,ZNzn,DNLocal 2000\n"
    "ES,RD6378137,IF298.257222101,EMCGCS2000\n"
    "DT,DA257,RD6378137,IF298.257223563,OX0.5,OY-1.25,OZ2,LX10.5,LY-20.25,LZ30,SP1.5\n"
    "QZAH,AHUS1,ORGX4000000,ORGY500000,TRSX0.125,TRSY-0.25,CA  0.001,CK  1.0000021\n"
    "QZAV,AVUS2,A0  0.05,A1  1.5,A2  -2.5,X0  4000001,Y0  500001\n"
    "PJ,TP32,LA0.0,LN1,HT2,N 0,E 500000,EL3,SC0.9999411765,OO4,OT5\nQZMC,MC  2.0420352248333655\n";

// A job built in memory (not read from a file: written entirely in the record formats).
RawJob handJob() {
    RawJob job = readRaw(kHeader + group());
    job.readFromFile = false;
    job.source.clear();
    job.sourceGroups.clear();
    job.rovers[0].north = 4012345.1234567;
    job.rovers[0].baseNorth = 7.0;   // the rover's own copy of its base...
    job.bases[0].north = 4010000.0;  // ...gives way to the station
    return job;
}

// The point group of handJob() in the record formats: 6 decimals for GS coordinates, 3 for the QZAD
// precisions, 15 for every other real; the station's coordinates, not the rover's own copy.
const char* const kHandGroupText =
    "GS,PNP1,N 4012345.123457,E 200.500000,EL30.250000\n"
    "AH,DCdc,MA1.800000000000000,ME2,RA0.100000000000000\nQZAT,AT  ANT-1\n"
    "EP,TMt,LA1.000000000000000,LN2.000000000000000,HT3.000000000000000,RH0.012000000000000,"
    "RV0.021000000000000,DH0.000000000000000,DV0.000000000000000,GM-129,CL383\n"
    "QZDP,DOP 1.700000000000000,DIF 9\n"
    "QZRV,QZTM2024-05-01 10:00:00,RVWB0.530000000000000,RVWL1.980000000000000,RVWH45.500000000000000,DRTM5,"
    "EPCH10,NGPS8,NGNS6,NALL14\n"
    "QZBS,BSNMB1,BSN 4010000.000000000000000,BSE 2000.000000000000000,BSH 40.000000000000000,"
    "BSWB0.520000000000000,BSWL1.970000000000000,BSWH60.000000000000000,BSATBASEANT,BSMA1.500000000000000,"
    "BSME1\nQZAD,CODEkerb,ECHT0.5,XP  0.005,YP  0.006,HP  0.011,METHRTK\n";

class RawJobWriterTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const char* name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(RawJobWriterTest, WritesAJobBuiltInMemoryInTheRecordFormats) {
    ASSERT_TRUE(writeRawJob(path("a.Raw"), handJob()));
    const std::string text = fileText(path("a.Raw"));
    EXPECT_EQ(text.substr(text.find("GS,")), kHandGroupText);
    EXPECT_NE(
        text.find("\nCS,CO300,ZGzg,ZNzn,DNLocal 2000\nES,RD6378137.000000000000000,IF298.257222101000025"),
        std::string::npos);  // the whole coordinate-system code
    RawJob none = handJob();
    none.rovers.clear();
    ASSERT_TRUE(writeRawJob(path("b.Raw"), none));
    EXPECT_EQ(fileText(path("b.Raw")), text.substr(0, text.find("GS,")));
}

// A comma or a line break in a text would split its record: the save fails, names the point and the field,
// and leaves the target as it was, for a job built in memory and for an edited job read from a file.
// An edited record is rewritten in its format with the fields the format does not write kept at its end
// and the line's own line end; a record the group lacked appears only when an edit gave it a value.
TEST_F(RawJobWriterTest, RewritesOnlyEditedRecordsOfAJobReadFromAFile) {
    const std::string text =
        "NOTE,x\r\nGS,PNP1,QQy,N 1e3,--kerb\r\nQZAD,CODEc,ZZZZz\r\nQZBS,BSNMB1,BSN 5\r\nGS,PNP2";
    RawJob job = readRaw(text);
    ASSERT_EQ(job.rovers.size(), 2);
    job.rovers[0].name = "P1b";
    job.rovers[0].antennaType = "NEW";
    job.rovers[0].baseNorth = 6.5;  // the rover's copy of its base, as a Calculate that moves B1 leaves it
    ASSERT_TRUE(writeRawJob(path("a.Raw"), job));
    EXPECT_EQ(
        fileText(path("a.Raw")),
        "NOTE,x\r\nGS,PNP1b,N 1000.000000,E 0.000000,EL0.000000,QQy,--kerb\r\nQZAT,AT  NEW\r\n"
        "QZAD,CODEc,ZZZZz\r\nQZBS,BSNMB1,BSN 6.500000000000000,BSE 0.000000000000000,BSH 0.000000000000000,"
        "BSWB0.000000000000000,BSWL0.000000000000000,BSWH0.000000000000000,BSAT,BSMA0.000000000000000,"
        "BSME0\r\nGS,PNP2");
    job.rovers[0].name = "P1";  // an edit undone gives the bytes read
    job.rovers[0].antennaType = "";
    job.rovers[0].baseNorth = 5;
    ASSERT_TRUE(writeRawJob(path("b.Raw"), job));
    EXPECT_EQ(fileText(path("b.Raw")), text);
}

TEST_F(RawJobWriterTest, RefusesSeparatorsInTexts) {
    const struct {
        void (*edit)(RawJob&);
        const char* error;
    } cases[] = {
        {[](RawJob& j) { j.rovers[0].name = "P1,x"; }, "Point \"P1,x\": the name contains"},
        {[](RawJob& j) { j.rovers[0].antennaType = "A\nB"; }, "Point \"P1\": the antenna type contains"},
        {[](RawJob& j) { j.rovers[0].code = "a\rb"; }, "Point \"P1\": the code contains"},
        {[](RawJob& j) { j.bases[0].name = j.rovers[0].baseName = "B,1"; }, "the base name contains"},
        {[](RawJob& j) { j.bases[0].antennaType = j.rovers[0].baseAntennaType = "T,1"; },
         "the base antenna type contains"},
        {[](RawJob& j) { j.header.job.name = "J,1"; }, "Header: the job name contains"},
    };
    const QString target = path("job.Raw");
    for (const bool fromFile : {false, true}) {
        for (const auto& c : cases) {
            RawJob job = fromFile ? readRaw(group()) : handJob();
            job.rovers[0].name = "P1";
            c.edit(job);
            if (fromFile && !job.header.job.name.empty()) continue;  // header lines of a file are copied
            QFile::remove(target);
            QFile(target).open(QIODevice::WriteOnly);
            QString error;
            EXPECT_FALSE(writeRawJob(target, job, &error)) << c.error;
            EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
            EXPECT_TRUE(error.endsWith("contains a comma or a line break")) << error.toStdString();
            EXPECT_EQ(fileText(target), "");
        }
    }
}

TEST_F(RawJobWriterTest, FailsWithoutTouchingTheTarget) {
    for (const QString& target : {QString(), path("no/such/folder/out.Raw")}) {
        QString error;
        EXPECT_FALSE(writeRawJob(target, handJob(), &error)) << target.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    const QString target = path("job.Raw");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the user's earlier file\n");
    file.close();
    RawJob big = readRaw(group());
    for (int i = 0; i < 2000; ++i) big.rovers.push_back(big.rovers[0]);
    // A full disk, played by a limit on file size: writing fails after the first 64 KiB.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 64 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool written = writeRawJob(target, big, &error);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fileText(target), "the user's earlier file\n");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"job.Raw"});
}

TEST(RawJobWriter, SuggestsTheSaveName) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {{"", ""}, {"a.ra", ""}, {"a.raw", "a_new.Raw"}, {"/data/job.RAW", "/data/job_new.Raw"}};
    for (const auto& c : cases) EXPECT_EQ(suggestedSaveName(c.path), c.expected) << c.path;
}
