#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <sys/resource.h>

#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

namespace {

std::string fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

// A job with a value in every field, the way Open would leave it.
RawJob handJob() {
    RawJob job;
    JobHeader& h = job.header;
    h.version = "V1.0";
    h.job = {"Harbour", "2024-05-01", "08:15:00"};
    h.coordSystem = {-56, "zg", "zn", "Local 2000"};
    h.ellipsoid = {6378137.0, 298.257222101, "CGCS2000"};
    h.datum = {1, 6378137.0, 298.257223563, 0.5, -1.25, 2.0, 10.5, -20.25, 30.0, 1.5};
    h.horizontalAdjust = {1, 4000000.0, 500000.0, 0.125, -0.25, 0.001, 1.0000021};
    h.verticalAdjust = {2, 0.05, 1.5, -2.5, 4000001.0, 500001.0};
    h.projection = {32, "0.0", 1.0, 2.0, 0.0, 500000.0, 3.0, 0.9999411765, 4.0, 5.0};
    h.centralMeridian = "2.0420352248333655";

    PointRecordGroup g;
    g.point = {"old name", 1.0, 2.0, 3.0, "stake"};
    g.antenna = {"dc", 9.0, 0, 0.25};
    g.antennaType = "OLD";
    g.epoch = {"e-time", 0.5, 1.5, 2.5, 9.0, 9.0, 2.6, -0.5, -3, 7};
    g.dop = {9.0, 0};
    g.roverInfo = {"old", 9.0, 9.0, 9.0, 9, 9, 9, 9, 9};
    g.baseInfo = {"B1", 9.0, 9.0, 9.0, 9.0, 9.0, 9.0, "OLDBASE", 9.0, 0};
    g.attributes = {"old", "old", 9.0, 9.0, 9.0, "old"};
    job.groups.push_back(g);

    RoverPoint r;
    r.name = "P 1";
    r.north = 4012345.1234567;
    r.east = 512345.5;
    r.height = 45.25;
    r.antennaHeight = 1.8;
    r.antennaMethod = 2;
    r.antennaType = "HX-CSX601A";
    r.hrms = 0.012;
    r.vrms = 0.0205;
    r.pdop = 1.5;
    r.solutionType = 9;
    r.time = "2024-05-01 10:00:00";
    r.wgsLatitude = 0.5;
    r.wgsLongitude = 1.75;
    r.wgsHeight = 60.5;
    r.duration = 5;
    r.epochs = 10;
    r.gpsSatellites = 8;
    r.glonassSatellites = 6;
    r.gnssSatellites = 21;
    r.baseName = "B1";
    r.baseWgsLatitude = 0.25;  // the rover's own copy, overridden by the station below
    r.code = "kerb";
    r.echoHeight = "0.5";
    r.precisionX = 0.0054;
    r.precisionY = 0.0056;
    r.precisionH = 0.0125;
    r.method = "RTK";
    job.rovers.push_back(r);

    BaseStation b;
    b.name = "B1";
    b.wgsLatitude = 0.52;
    b.wgsLongitude = 1.5;
    b.wgsHeight = 70.0;
    b.antennaType = "BASEANT";
    b.antennaHeight = 1.5;
    b.antennaMethod = 1;
    b.north = 4010000.0;
    b.east = 510000.0;
    b.height = 50.0;
    job.bases.push_back(b);
    return job;
}

const char* const kHandJobText =
    "QZVS,VS  V1.0\n"
    "JB,NMHarbour,DT2024-05-01,TM08:15:00\n"
    "CS,CO-56,ZGzg,ZNzn,DNLocal 2000\n"
    "ES,RD6378137.000000000000000,IF298.257222101000025,EMCGCS2000\n"
    "DT,DA1,RD6378137.000000000000000,IF298.257223563000025,OX0.500000000000000,OY-1.250000000000000,"
    "OZ2.000000000000000,LX10.500000000000000,LY-20.250000000000000,LZ30.000000000000000,SP1."
    "500000000000000\n"
    "QZAH,AHUS1,ORGX4000000.000000000000000,ORGY500000.000000000000000,TRSX0.125000000000000,"
    "TRSY-0.250000000000000,CA  0.001000000000000,CK  1.000002100000000\n"
    "QZAV,AVUS2,A0  0.050000000000000,A1  1.500000000000000,A2  -2.500000000000000,X0  "
    "4000001.000000000000000,"
    "Y0  500001.000000000000000\n"
    "PJ,TP32,LA0.0,LN1.000000000000000,HT2.000000000000000,N 0.000000000000000,E 500000.000000000000000,"
    "EL3.000000000000000,SC0.999941176500000,OO4.000000000000000,OT5.000000000000000\n"
    "QZMC,MC  2.0420352248333655\n"
    "GS,PNP 1,N 4012345.123457,E 512345.500000,EL45.250000\n"
    "AH,DCdc,MA1.800000000000000,ME2,RA0.250000000000000\n"
    "QZAT,AT  HX-CSX601A\n"
    "EP,TMe-time,LA0.500000000000000,LN1.500000000000000,HT2.500000000000000,RH0.012000000000000,"
    "RV0.020500000000000,DH2.600000000000000,DV-0.500000000000000,GM-3,CL7\n"
    "QZDP,DOP 1.500000000000000,DIF 9\n"
    "QZRV,QZTM2024-05-01 10:00:00,RVWB0.500000000000000,RVWL1.750000000000000,RVWH60.500000000000000,DRTM5,"
    "EPCH10,NGPS8,NGNS6,NALL21\n"
    "QZBS,BSNMB1,BSN 4010000.000000000000000,BSE 510000.000000000000000,BSH 50.000000000000000,"
    "BSWB0.520000000000000,BSWL1.500000000000000,BSWH70.000000000000000,BSATBASEANT,BSMA1.500000000000000,"
    "BSME1\n"
    "QZAD,CODEkerb,ECHT0.5,XP  0.005,YP  0.006,HP  0.013,METHRTK\n";

class RawJobWriterTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const char* name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(RawJobWriterTest, WritesEveryRecordInItsExactFormat) {
    const RawJob job = handJob();
    QString error = "untouched";
    ASSERT_TRUE(writeRawJob(path("out.Raw"), job, &error));
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(fileText(path("out.Raw")), kHandJobText);
    // The model is not changed by saving.
    EXPECT_EQ(job.groups[0].point.name, "old name");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"out.Raw"});  // no temporary left behind
}

TEST_F(RawJobWriterTest, WritesOnlyTheNineHeaderLinesForAJobWithoutPoints) {
    ASSERT_TRUE(writeRawJob(path("empty.Raw"), RawJob()));
    const std::string text = fileText(path("empty.Raw"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
    EXPECT_EQ(text.substr(0, 24), "QZVS,VS  \nJB,NM,DT,TM\nCS");
    EXPECT_EQ(text.substr(text.size() - 10), "QZMC,MC  \n");
}

TEST_F(RawJobWriterTest, TakesBaseValuesFromTheLastStationOfTheRoversBaseOrElseFromTheRoversCopy) {
    RawJob job = handJob();
    BaseStation moved = job.bases[0];
    moved.north = 4010000.5;
    moved.antennaType = "NEWANT";
    job.bases.push_back(moved);  // a second station with the same name: the last one counts
    job.rovers.push_back(job.rovers[0]);
    job.groups.push_back(job.groups[0]);
    job.rovers[1].baseName = "gone";  // no station of that name: the rover's own copy is written
    job.rovers[1].baseNorth = 123.5;
    job.rovers[1].baseAntennaType = "OWN";
    job.rovers.push_back(job.rovers[0]);  // a rover without stored records is written from fresh ones

    ASSERT_TRUE(writeRawJob(path("bases.Raw"), job));
    RawJob back;
    ASSERT_TRUE(readRawJob(path("bases.Raw"), back));
    ASSERT_EQ(back.rovers.size(), 3);
    EXPECT_EQ(back.rovers[0].baseNorth, 4010000.5);
    EXPECT_EQ(back.rovers[0].baseAntennaType, "NEWANT");
    EXPECT_EQ(back.rovers[1].baseName, "gone");
    EXPECT_EQ(back.rovers[1].baseNorth, 123.5);
    EXPECT_EQ(back.rovers[1].baseAntennaType, "OWN");
    EXPECT_EQ(back.groups[1].epoch.dh, 2.6);
    EXPECT_EQ(back.groups[2].epoch.dh, 0.0);
    EXPECT_EQ(back.rovers[2].name, "P 1");
    EXPECT_EQ(back.rovers[2].baseNorth, 4010000.5);
}

TEST_F(RawJobWriterTest, KeepsStoredOnlyValuesThatTheFormatsUsedToCut) {
    RawJob job = handJob();
    job.groups[0].epoch.dh = 2.6;
    job.header.projection.scaleFactor = 0.9999411765;
    ASSERT_TRUE(writeRawJob(path("keep.Raw"), job));
    RawJob back;
    ASSERT_TRUE(readRawJob(path("keep.Raw"), back));
    EXPECT_EQ(back.groups[0].epoch.dh, 2.6);
    EXPECT_EQ(back.header.projection.scaleFactor, 0.9999411765);
    EXPECT_EQ(back.summary.projectionScaleFactor, 0.9999411765);
}

TEST_F(RawJobWriterTest, KeepsTheGroupStructureWhenATextHoldsALineEnd) {
    RawJob job = handJob();
    job.rovers[0].name = "P\n1";
    job.rovers[0].code = "a\r\nb";
    job.rovers.push_back(job.rovers[0]);
    job.groups.push_back(job.groups[0]);
    ASSERT_TRUE(writeRawJob(path("lines.Raw"), job));
    RawJob back;
    ASSERT_TRUE(readRawJob(path("lines.Raw"), back));
    ASSERT_EQ(back.rovers.size(), 2);
    EXPECT_EQ(back.rovers[1].name, "P 1");
    EXPECT_EQ(back.rovers[1].code, "a  b");
    EXPECT_EQ(back.rovers[1].method, "RTK");
}

TEST_F(RawJobWriterTest, ReportsAFileThatCannotBeCreatedAndCreatesNothing) {
    for (const QString& target : {QString(), path("no/such/folder/out.Raw"), dir_.path()}) {
        QString error;
        EXPECT_FALSE(writeRawJob(target, handJob(), &error)) << target.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(RawJobWriterTest, LeavesTheExistingFileWhenASaveFailsPartWay) {
    const QString target = path("job.Raw");
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the user's earlier file\n");
    }
    RawJob big = handJob();
    for (int i = 0; i < 2000; ++i) {
        big.rovers.push_back(big.rovers[0]);
        big.groups.push_back(big.groups[0]);
    }
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

    ASSERT_TRUE(writeRawJob(target, big, &error));  // without the limit the same save succeeds
    RawJob back;
    ASSERT_TRUE(readRawJob(target, back));
    EXPECT_EQ(back.rovers.size(), big.rovers.size());
}

TEST_F(RawJobWriterTest, ReplacesAnExistingFileOnSuccess) {
    const QString target = path("again.Raw");
    ASSERT_TRUE(writeRawJob(target, handJob()));
    RawJob other = handJob();
    other.header.job.name = "Second";
    ASSERT_TRUE(writeRawJob(target, other));
    RawJob back;
    ASSERT_TRUE(readRawJob(target, back));
    EXPECT_EQ(back.summary.jobName, "Second");
}

TEST(RawRecordWriter, FailsEveryWriteWhenNotOpenAndStopsAfterClose) {
    RawRecordWriter closedWriter{QString()};
    EXPECT_FALSE(closedWriter.isOpen());
    EXPECT_FALSE(closedWriter.writeVersion("V1.0"));
    EXPECT_FALSE(closedWriter.writePoint(PointRecord{}));
    EXPECT_FALSE(closedWriter.close());

    QTemporaryDir dir;
    RawRecordWriter writer(dir.filePath("a.Raw"));
    EXPECT_TRUE(writer.writeVersion("V2"));
    EXPECT_TRUE(writer.close());
    EXPECT_FALSE(writer.writeVersion("V3"));
    EXPECT_EQ(fileText(dir.filePath("a.Raw")), "QZVS,VS  V2\n");
}

TEST(RawRecordWriter, LeavesNoFileWhenDroppedWithoutClose) {
    QTemporaryDir dir;
    {
        RawRecordWriter writer(dir.filePath("a.Raw"));
        EXPECT_TRUE(writer.writeVersion("V2"));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(RawJobWriter, SuggestsTheSaveName) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"a.ra", ""},
        {"a.raw", "a_new.Raw"},
        {"/data/job.raw", "/data/job_new.Raw"},
        {"/data/job.RAW", "/data/job_new.Raw"},
        {"C:/jobs/site 7.raw", "C:/jobs/site 7_new.Raw"},
    };
    for (const auto& c : cases) EXPECT_EQ(suggestedSaveName(c.path), c.expected) << c.path;
}
