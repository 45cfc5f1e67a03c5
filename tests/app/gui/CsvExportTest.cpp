// Export: the text of the file, checked field by field after parsing it with Python's csv module.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include "CsvExport.h"
#include "EditingTestSupport.h"

namespace {

using Rows = QList<QStringList>;

// Parses a CSV file with Python's csv module (RFC 4180 dialect: quotes, doubled quotes, embedded line
// breaks); returns every record as its list of fields.
Rows parseCsv(const QString& path) {
    const char* script =
        "import csv, json, sys\n"
        "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
        "    print(json.dumps(list(csv.reader(f, strict=True))))\n";
    QProcess python;
    python.start(QStringLiteral(RAWBENCH_PYTHON), {"-c", QString::fromLatin1(script), path});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    Rows rows;
    for (const QJsonValue& record : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : record.toArray()) fields << field.toString();
        rows << fields;
    }
    return rows;
}

const QStringList kHeaderV10 = {"Name",
                                "Code",
                                "X",
                                "Y",
                                "H",
                                "EchoHeight",
                                "precisionX",
                                "precisionY",
                                "precisionH",
                                "RMS",
                                "PDOP",
                                "(Number Of Satellite)GPS\\GLONASS",
                                "Satellites used\\Satellites Tracked",
                                "Elevation mask",
                                "TIME",
                                "84Lat",
                                "84Lon",
                                "84Height",
                                "2BaseX",
                                "2BaseY",
                                "2BaseH",
                                "2Base",
                                "Antenna Height",
                                "Survery Time",
                                "Method",
                                "Ambiguity Solution Type",
                                "Number Of Epoch"};

RoverPoint exampleRover() {
    RoverPoint r;
    r.name = "P1";
    r.code = "c1";
    r.echoHeight = "0";
    r.north = 1000.5;
    r.east = 2000.25;
    r.height = 50.0;
    r.baseNorth = 1000.0;
    r.baseEast = 2000.0;
    r.baseHeight = 48.0;
    r.precisionX = 0.008;
    r.precisionY = 0.009;
    r.precisionH = -0.035;
    r.hrms = 0.0081;
    r.pdop = 1.25;
    r.gpsSatellites = 8;
    r.glonassSatellites = 6;
    r.gnssSatellites = 14;
    r.time = "08:15:02";
    r.antennaHeight = 2.0;
    r.duration = 12;
    r.method = "RTK";
    r.solutionType = 9;
    r.epochs = 30;
    return r;
}

TEST(CsvExport, HeaderLinesAreExact) {
    EXPECT_EQ(csvHeaderLine(true),
              "Name,Code,X,Y,H,EchoHeight,precisionX,precisionY,precisionH,RMS,PDOP,"
              "(Number Of Satellite)GPS\\GLONASS,Satellites used\\Satellites Tracked,Elevation mask,TIME,"
              "84Lat,84Lon,84Height,2BaseX,2BaseY,2BaseH,2Base,Antenna Height,Survery Time,Method,"
              "Ambiguity Solution Type,Number Of Epoch\n");
    EXPECT_EQ(csvHeaderLine(false),
              "Name,Code,X,Y,H,EchoHeight,precisionX,precisionY,precisionH,RMS,PDOP,"
              "(Number of Satellite)GNSS,Satellites used\\Satellites Tracked,Elevation mask,TIME,"
              "84Lat,84Lon,84Height,2BaseX,2BaseY,2BaseH,2Base,Antenna Height,Survery Time,Method,"
              "Ambiguity Solution Type,Number Of Epoch\n");
}

TEST(CsvExport, OrdinaryLineIsWrittenUnquoted) {
    EXPECT_EQ(csvRoverLine(exampleRover(), true),
              "P1,c1,1000.500000,2000.250000,50.000000,0,0.008000,0.009000,-0.035000,0.008100,1.250000,8\\6,"
              "?\\?,?,08:15:02,?,?,?,0.500000,0.250000,2.000000,2.076656,2.000000,12,RTK,rtk fix,30\n");
}

TEST(CsvExport, QuotesOnlyFieldsThatNeedIt) {
    const struct {
        QString field, written;
    } cases[] = {{"plain", "plain"},
                 {"", ""},
                 {"a,b", "\"a,b\""},
                 {"say \"hi\"", "\"say \"\"hi\"\"\""},
                 {"two\nlines", "\"two\nlines\""},
                 {"cr\rhere", "\"cr\rhere\""},
                 {"back\\slash ?", "back\\slash ?"}};
    for (const auto& c : cases) EXPECT_EQ(csvField(c.field), c.written) << c.field.toStdString();
}

// A job in the window, exported through the &Export command, parsed back by Python's csv module.
struct ExportedJob {
    EditWindow w;
    Rows rows;
    QString path;

    explicit ExportedJob(const QByteArray& raw, const QString& name = "out.csv") {
        w.open("job.raw", raw);
        path = w.scratch.path(name);
        w.prompter.saveAnswers.push_back(path);
        w.action("action_Export")->trigger();
        rows = parseCsv(path);
    }
};

TEST(ExportCommand, AsksWithItsCaptionAndFilterAndWritesSilently) {
    ExportedJob e(editJob());
    ASSERT_EQ(e.w.prompter.saveQuestions.size(), 1);
    EXPECT_EQ(e.w.prompter.saveQuestions[0].caption, "export");
    EXPECT_EQ(e.w.prompter.saveQuestions[0].dir, "");
    EXPECT_EQ(e.w.prompter.saveQuestions[0].filter, "eport(*.csv)");
    EXPECT_TRUE(e.w.prompter.messages.isEmpty());
    ASSERT_EQ(e.rows.size(), 4);
    EXPECT_EQ(e.rows[0], kHeaderV10);
    for (const QStringList& row : e.rows) EXPECT_EQ(row.size(), 27);
}

TEST(ExportCommand, FieldsOfTheExampleRovers) {
    ExportedJob e(editJob());
    ASSERT_EQ(e.rows.size(), 4);
    // P1: (4000100.5, 500200.25, 100) from base copy (4000000, 500000, 48):
    // vector (100.5, 200.25, 52), length sqrt(100.5² + 200.25² + 52²) = 230.009375...
    EXPECT_EQ(e.rows[1], (QStringList{"P1",
                                      "c1",
                                      "4000100.500000",
                                      "500200.250000",
                                      "100.000000",
                                      "0",
                                      "0.008000",
                                      "0.009000",
                                      "0.014000",
                                      "0.008100",
                                      "1.250000",
                                      "8\\6",
                                      "?\\?",
                                      "?",
                                      "08:15:02",
                                      "?",
                                      "?",
                                      "?",
                                      "100.500000",
                                      "200.250000",
                                      "52.000000",
                                      "230.009375",
                                      "1.800000",
                                      "12",
                                      "RTK",
                                      "rtk fix",
                                      "30"}));
    EXPECT_EQ(e.rows[2][25], "unfix");  // P2 has solution type 4
    EXPECT_EQ(e.rows[2][22], "2.000000");
}

TEST(ExportCommand, VectorExampleGives2076656) {
    RawPoint p{"V", 1000.5, 2000.25, 50.0, "B", 1000.0, 2000.0, 48.0};
    ExportedJob e(rawHeader() + rawGroup(p));
    ASSERT_EQ(e.rows.size(), 2);
    EXPECT_EQ(e.rows[1].mid(18, 4), (QStringList{"0.500000", "0.250000", "2.000000", "2.076656"}));
}

TEST(ExportCommand, SatelliteFieldFollowsTheVersion) {
    for (const QByteArray& version :
         {QByteArray("V1.0"), QByteArray("V2.0"), QByteArray("v1.0"), QByteArray()}) {
        ExportedJob e(rawHeader(version) + rawGroup(editRoverP1()));
        ASSERT_EQ(e.rows.size(), 2) << version.constData();
        const bool separate = version == "V1.0";
        EXPECT_EQ(e.rows[0][11],
                  separate ? "(Number Of Satellite)GPS\\GLONASS" : "(Number of Satellite)GNSS");
        EXPECT_EQ(e.rows[1][11], separate ? "8\\6" : "14") << version.constData();
    }
}

TEST(ExportCommand, JobWithoutRoversGivesTheHeaderOnly) {
    ExportedJob e(rawHeader("V2.0"));
    EXPECT_EQ(readFile(e.path), csvHeaderLine(false).toLatin1());
}

TEST(ExportCommand, NameWithCommaOrQuoteStaysInItsColumn) {
    RawPoint p = editRoverP1();
    ExportedJob e(rawHeader() + rawGroup(p));
    // Names edited in the table may hold anything a raw file field cannot.
    e.w.type(e.w.rovers(), 0, 0, "P1, \"east\" corner");
    e.w.calculate();
    e.w.prompter.saveAnswers.push_back(e.path);
    e.w.action("action_Export")->trigger();
    const Rows rows = parseCsv(e.path);
    ASSERT_EQ(rows.size(), 2);
    ASSERT_EQ(rows[1].size(), 27);
    EXPECT_EQ(rows[1][0], "P1, \"east\" corner");
    EXPECT_EQ(rows[1][1], "c1");
    EXPECT_EQ(rows[1][2], "4000100.500000");
    EXPECT_EQ(rows[1][26], "30");
}

TEST(ExportCommand, SecondExportToTheSameNameOverwrites) {
    ExportedJob e(editJob());
    e.w.type(e.w.rovers(), 0, 0, "Q1");
    e.w.calculate();
    e.w.prompter.saveAnswers.push_back(e.path);
    e.w.action("action_Export")->trigger();
    const Rows rows = parseCsv(e.path);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[1][0], "Q1");
}

TEST(ExportCommand, CancelIsSilentAndWritesNothing) {
    EditWindow w;
    w.open("job.raw", editJob());
    w.action("action_Export")->trigger();  // no answer queued: cancelled
    EXPECT_EQ(w.prompter.saveQuestions.size(), 1);
    EXPECT_TRUE(w.prompter.messages.isEmpty());
}

TEST(ExportCommand, FileThatCannotBeOpenedIsNamedInAWarning) {
    EditWindow w;
    w.open("job.raw", editJob());
    const QString path = w.scratch.path("missing-folder/out.csv");
    w.prompter.saveAnswers.push_back(path);
    w.action("action_Export")->trigger();
    ASSERT_EQ(w.prompter.messages.size(), 1);
    EXPECT_EQ(w.prompter.messages[0].title, "Warning");
    EXPECT_TRUE(w.prompter.messages[0].text.contains(QFileInfo(path).fileName()))
        << w.prompter.messages[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ExportCommand, WriteFailureIsReportedToo) {
    if (!QFileInfo::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    EditWindow w;
    w.open("job.raw", editJob());
    w.prompter.saveAnswers.push_back("/dev/full");
    w.action("action_Export")->trigger();
    ASSERT_EQ(w.prompter.messages.size(), 1);
    EXPECT_TRUE(w.prompter.messages[0].text.contains("/dev/full"));
}

}  // namespace
