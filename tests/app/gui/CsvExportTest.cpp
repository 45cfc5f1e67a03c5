// Export: the header and line texts, and files written by the Export command.
#include <gtest/gtest.h>

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include "CsvExport.h"
#include "GeoJsonExport.h"
#include "GuiTestSupport.h"
#include "RawBench.h"

namespace {

// The fields of each line of an export whose texts hold no comma (a quote is quoted, and stays in its
// field).
QList<QStringList> csvRows(const QString& path) {
    QList<QStringList> rows;
    for (const QByteArray& line : readFile(path).split('\n'))
        if (!line.isEmpty()) rows << QString::fromUtf8(line).split(',');
    return rows;
}

RoverPoint exampleRover() {
    RoverPoint r;
    r.name = "P1", r.code = "c1", r.echoHeight = "0", r.time = "08:15:02", r.method = "RTK";
    r.north = 1000.5, r.east = 2000.25, r.height = 50.0, r.baseNorth = 1000.0, r.baseEast = 2000.0;
    r.baseHeight = 48.0, r.precisionX = 0.008, r.precisionY = 0.009, r.precisionH = -0.035, r.hrms = 0.0081;
    r.pdop = 1.25, r.gpsSatellites = 8, r.glonassSatellites = 6, r.gnssSatellites = 14, r.antennaHeight = 2.0;
    r.duration = 12, r.solutionType = 9, r.epochs = 30;
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

// Jobs exported through the &Export command, read back field by field.
TEST(ExportCommand, WritesTwentySevenColumnsPerRoverWhateverTheNamesHold) {
    ScratchDir scratch;
    ScriptedPrompter prompter;
    writeFile("Antenna.ini", twoAntennaCatalogue());
    RawBench window;
    window.setPrompter(&prompter);
    const struct {
        QByteArray version;
        const char* satellites;
    } versions[] = {{"V1.0", "8\\6"}, {"V2.0", "14"}, {"", "14"}};
    for (const auto& v : versions) {
        RawPoint vector{"V \"q\"", 1000.5, 2000.25, 50.0, "B", 1000.0, 2000.0, 48.0};
        vector.solution = 4;
        writeFile("job.raw", rawHeader(v.version) + rawGroup(vector));
        ASSERT_TRUE(window.openFile(scratch.path("job.raw")));
        const QString path = scratch.path("out.csv");
        prompter.saveAnswers.push_back(path);
        window.findChild<QAction*>("action_Export")->trigger();
        const QList<QStringList> rows = csvRows(path);
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[0][11],
                  v.version == "V1.0" ? "(Number Of Satellite)GPS\\GLONASS" : "(Number of Satellite)GNSS");
        ASSERT_EQ(rows[1].size(), 27);
        EXPECT_EQ(rows[1][0], "\"V \"\"q\"\"\"");
        EXPECT_EQ(rows[1][11], v.satellites);
        EXPECT_EQ(rows[1].mid(15, 3), (QStringList{"0.6", "2", "40"}));  // WGS 84 as stored
        EXPECT_EQ(rows[1].mid(18, 4), (QStringList{"0.500000", "0.250000", "2.000000", "2.076656"}));
        EXPECT_EQ(rows[1][25], "unfix");
    }
    ASSERT_EQ(prompter.saveQuestions.size(), 3);
    EXPECT_EQ(prompter.saveQuestions[0].caption, "export");
    EXPECT_EQ(prompter.saveQuestions[0].filter, "eport(*.csv)");
    EXPECT_TRUE(prompter.messages.isEmpty());

    // File > Export GeoJSON suggests the job's name; one feature per base and rover.
    prompter.saveAnswers.push_back(scratch.path("out.geojson"));
    window.findChild<QAction*>("action_Export_GeoJSON")->trigger();
    EXPECT_TRUE(prompter.saveQuestions.last().dir.endsWith("job.geojson"));
    EXPECT_EQ(QJsonDocument::fromJson(readFile(scratch.path("out.geojson")))["features"].toArray().size(), 2);
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Cancelled: silent; a file that cannot be written: named in a warning.
    window.findChild<QAction*>("action_Export")->trigger();
    EXPECT_TRUE(prompter.messages.isEmpty());
    prompter.saveAnswers.push_back(scratch.path("missing-folder/out.csv"));
    window.findChild<QAction*>("action_Export")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].text.contains("out.csv"));
}

// Python's json module reads the export: an independent parser, and the RFC 7946 shape checked on its side.
TEST(GeoJsonExport, IsValidGeoJsonWithLongitudeFirstInDegreesOfTheStoredPositions) {
    RawJob job;
    BaseStation b;
    b.name = "B \"1\"", b.wgsLatitude = 0.55488308673, b.wgsLongitude = 2.04508286776, b.wgsHeight = 18.2086;
    job.bases << b;
    RoverPoint fixed, unknown;
    fixed.name = "P1", fixed.code = "kerb", fixed.solutionType = 9, fixed.wgsLatitude = -0.7;
    fixed.wgsLongitude = -3.0, fixed.wgsHeight = 22.1524, fixed.antennaMethod = 2, fixed.antennaHeight = 1.8;
    unknown.name = "P2", unknown.solutionType = 4;  // no WGS 84 position in the file
    job.rovers << fixed << unknown;

    ScratchDir scratch;
    const QString path = scratch.path("job.geojson");
    ASSERT_TRUE(writeGeoJson(path, job, {"m0", "m1", "m2"}));
    QProcess python;
    python.start("/usr/bin/python3", {"-c", R"(
import json, sys
doc = json.load(open(sys.argv[1], encoding='utf-8'))
assert doc['type'] == 'FeatureCollection'
for f in doc['features']:
    assert f['type'] == 'Feature'
    p, g = f['properties'], f['geometry']
    if g is None:
        print(p['name'], p['kind'], p.get('solution'), 'null')
        continue
    assert g['type'] == 'Point' and len(g['coordinates']) == 3
    lon, lat, h = g['coordinates']
    assert -180 <= lon <= 180 and -90 <= lat <= 90
    print(p['name'], p['kind'], p.get('solution'), p['antenna']['method'], repr(lon), repr(lat), repr(h))
)",
                                      path});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList lines =
        QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    const double degree = 180.0 / 3.141592653589793;
    const QStringList base = lines[0].split(' ');
    EXPECT_EQ(base.mid(0, 4), (QStringList{"B", "\"1\"", "base", "None"}));
    EXPECT_DOUBLE_EQ(base[5].toDouble(), b.wgsLongitude * degree);
    EXPECT_DOUBLE_EQ(base[6].toDouble(), b.wgsLatitude * degree);
    EXPECT_EQ(base[7].toDouble(), 18.2086);
    const QStringList rover = lines[1].split(' ');
    EXPECT_EQ(rover.mid(0, 3), (QStringList{"P1", "rover", "fixed"}));
    EXPECT_EQ(rover[3] + ' ' + rover[4], "m2 -171.88733853924697");  // the method name, then -3 rad
    EXPECT_DOUBLE_EQ(rover[5].toDouble(), -0.7 * degree);
    EXPECT_EQ(lines[2], "P2 rover unfixed null");
}

}  // namespace
