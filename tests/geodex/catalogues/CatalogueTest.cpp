#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {

// Writes a catalogue file of its own for the running test and returns its path in 16-bit characters.
std::u16string writeFile(const std::string& bytes, const std::string& suffix = ".txt") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path =
        ::testing::TempDir() + "cat_" + info->test_suite_name() + "_" + info->name() + suffix;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return std::u16string(path.begin(), path.end());
}

const char kEllipsoids[] =
    "WGS 84,6378137.0,0.0033528106647474805\n"
    "Krassowsky 1940,6378245,0.0033523298692591\n"
    "WGS 84,1,0.5\n";

const char kTwoRecords[] =
    "[crs]\n"
    "Beijing 54 / GK 20\n"
    "Krassowsky 1940\n"
    "1 15.8 -154.4 -82.3 0.000002 -0.0000015 0.0000035 -0.0000012\n"
    "0 2.0943951023931953 0.1 0.2 0.3 500000 -100 1.0 20 7\n"
    "1 2 1\n"
    "[crs]\n"
    "Local WGS\n"
    "WGS 84\n"
    "2 1 2 3 0 0 0 0\n"
    "14 0.5 0.6 0 0 100 200 0.9996 30 0\n"
    "3 4 0\n";

void loadEllipsoids() {
    ASSERT_TRUE(EllipsoidDB::GetInstance()->LoadEllipsoids(writeFile(kEllipsoids, ".ell")));
}

}  // namespace

TEST(EllipsoidDB, LinesBecomeRecordsOfNameAxisAndFlattening) {
    struct Case {
        const char* line;
        const char* name;
        double a, f;
    } cases[] = {
        {"WGS 84,6378137.0,0.0033528106647474805", "WGS 84", 6378137.0, 0.0033528106647474805},
        {"", "", 0, 0},
        {"Clarke 1866,6378206.4,0.0033900753039287634\r", "Clarke 1866", 6378206.4, 0.0033900753039287634},
        {" spaced , 6378000 m ,0.003 flattening", " spaced ", 6378000, 0.003},
        {"no commas", "no commas", 0, 0},
        {"6378137", "6378137", 6378137, 6378137},    // no comma: the whole line is name and both numbers
        {"name,6378137", "name", 6378137, 6378137},  // no second comma: both numbers from the same text
        {"name,,", "name", 0, 0},
        {"a,1,2,3", "a", 1, 2},
        {"huge,1e999,-1e999", "huge", HUGE_VAL, -HUGE_VAL},
    };
    std::string file;
    for (const Case& c : cases) file += std::string(c.line) + "\n";
    file += "last line without end,1,0.25";
    ASSERT_TRUE(EllipsoidDB::GetInstance()->LoadEllipsoids(writeFile(file)));
    const std::vector<Ellipsoid> list = EllipsoidDB::GetInstance()->GetEllipsoids();
    ASSERT_EQ(list.size(), std::size(cases) + 1);
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        EXPECT_EQ(list[k].GetName(), cases[k].name) << k;
        EXPECT_EQ(list[k].GetSemiMajorAxis(), cases[k].a) << k;
        EXPECT_EQ(list[k].GetFlattening(), cases[k].f) << k;
    }
    EXPECT_EQ(list.back().GetName(), "last line without end");
    EXPECT_EQ(list.back().GetFlattening(), 0.25);
}

// Lookups find the first exact name and otherwise write nothing; a file that cannot be opened empties the
// catalogue, after which lookups give zero; paths beyond ASCII open.
TEST(EllipsoidDB, LookupFindsTheFirstExactNameAndUnopenableFilesEmptyTheCatalogue) {
    EllipsoidDB* db = EllipsoidDB::GetInstance();
    const std::u16string ascii = writeFile(kEllipsoids);
    const std::string narrow(ascii.begin(), ascii.end());
    std::ofstream(narrow + "-\xC3\xA9\xE6\xA4\xAD\xE7\x90\x83", std::ios::binary) << kEllipsoids;  // "-é椭球"
    ASSERT_TRUE(db->LoadEllipsoids(ascii + u"-\u00E9\u692D\u7403"));
    EXPECT_EQ(db->GetEllipsoids().size(), 3u);
    for (const char* name : {"WGS 84", "wgs 84", "WGS84", "WGS 84 ", ""}) {
        double a = -1, f = -1;
        db->GetEllipsoidParams(name, &a, &f);
        EXPECT_EQ(a, std::string(name) == "WGS 84" ? 6378137.0 : -1) << name;
        EXPECT_EQ(f, std::string(name) == "WGS 84" ? 0.0033528106647474805 : -1) << name;
    }
    for (const std::u16string& path : {std::u16string(u"/nonexistent/dir/ellipsoids.txt"), std::u16string(),
                                       std::u16string(u"/tmp"), std::u16string(1, char16_t(0xD800))}) {
        loadEllipsoids();
        EXPECT_FALSE(db->LoadEllipsoids(path));
        EXPECT_TRUE(db->GetEllipsoids().empty());
        double a = -1, f = -1;
        db->GetEllipsoidParams("WGS 84", &a, &f);
        EXPECT_EQ(a + f, 0);
    }
}

TEST(CRSDB, RecordsLoadInFileOrderAreFoundByExactNameAndGoWithAnUnopenableFile) {
    loadEllipsoids();
    // (The order of the records is the short-record table's.)
    ASSERT_TRUE(CRSDB::GetInstance()->LoadCRSs(writeFile(kTwoRecords)));

    CRS out("untouched");
    CRSDB::GetInstance()->GetCRS("local wgs", out);
    EXPECT_EQ(out.GetName(), "untouched");
    CRSDB::GetInstance()->GetCRS("Beijing 54 / GK 20", out);
    EXPECT_EQ(out.GetName(), "Beijing 54 / GK 20");
    EXPECT_EQ(out.GetEllipsoid().GetName(), "Krassowsky 1940");
    EXPECT_EQ(out.GetEllipsoid().GetSemiMajorAxis(), 6378245);
    EXPECT_EQ(out.GetEllipsoid().GetFlattening(), 0.0033523298692591);

    // Every number lands in its own field; fields the file does not carry keep the defaults of a new record.
    const ParamSeven t = out.GetTransformParams();
    const ProjectParam p = out.GetProjectParams();
    // clang-format off
    EXPECT_EQ(std::vector<double>({double(out.GetTransformMethod()), t.deltaX, t.deltaY, t.deltaZ, t.rotX, t.rotY, t.rotZ, t.scale,
                                   double(out.GetProjectMethod()), p.centralMeridian, p.originLatitude, p.standardParallel1,
                                   p.standardParallel2, p.falseEasting, p.falseNorthing, p.scaleFactor, double(p.zone),
                                   double(p.zoneOverride), double(p.hemisphere), p.coneAxisColatitude, double(out.GetDirection1()),
                                   double(out.GetDirection2()), double(out.GetSouthAzimuth()), out.GetPlaneAdjustParam().planeScale,
                                   out.GetPlaneAdjustParam().shiftX, out.GetEleAdjustParamTGO().constant}),
              std::vector<double>({1, 15.8, -154.4, -82.3, 0.000002, -0.0000015, 0.0000035, -0.0000012, 0, 2.0943951023931953,
                                   0.1, 0.2, 0.3, 500000, -100, 1.0, 20, 7, 0, 1.04216856380474, 1, 2, 1, 1, 0, 0}));
    // clang-format on
    EXPECT_EQ(out.GetGeoidFilePath(), "");
    CRSDB::GetInstance()->GetCRS("Local WGS", out);
    EXPECT_EQ(out.GetTransformMethod(), 2);
    EXPECT_EQ(out.GetProjectParams().zone, 30);
    EXPECT_EQ(out.GetEllipsoid().GetSemiMajorAxis(), 6378137.0);  // the first "WGS 84" of the catalogue
    EXPECT_FALSE(out.GetSouthAzimuth());
    // A file that cannot be opened empties the catalogue.
    EXPECT_FALSE(CRSDB::GetInstance()->LoadCRSs(u"/nonexistent/dir/crs.txt"));
    EXPECT_TRUE(CRSDB::GetInstance()->GetCRSs().empty());
}

TEST(CRSDB, ShortRecordsAreSkippedAndTheRestIsRead) {
    loadEllipsoids();
    const std::string two = kTwoRecords;
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> names;
    };
    // clang-format off
    const Case cases[] = {
        {"projection line with 9 numbers", "[crs]\nshort\nWGS 84\n1 0 0 0 0 0 0 0\n0 1 0 0 0 0 0 1 20\n1 2 0\n" + two, {"Beijing 54 / GK 20", "Local WGS"}},
        {"datum line with 7 numbers", "[crs]\nshort\nWGS 84\n1 0 0 0 0 0 0\n" + two, {"Beijing 54 / GK 20", "Local WGS"}},
        {"no [crs] line", "WGS 84\n1 0 0 0 0 0 0 0\n", {}},
        {"header differing in case or spacing", "[CRS]\na\nWGS 84\n1 0 0 0 0 0 0 0\n0 1 0 0 0 0 0 1 2 3\n0 0 0\n[crs] \nb\nWGS 84\n1 0 0 0 0 0 0 0\n0 1 0 0 0 0 0 1 2 3\n0 0 0\n", {}},
        {"lines ended by CR LF", "[crs]\r\ncrlf\r\nWGS 84\r\n1 0 0 0 0 0 0 0\r\n0 1 0 0 0 0 0 1 2 3\r\n1 2\r\n", {"crlf"}},
        {"file ends inside a record", "[crs]\ncut\nWGS 84\n1 0 0 0 0 0 0 0\n", {}},
        {"empty file", "", {}}};
    // clang-format on
    for (const Case& c : cases) {
        ASSERT_TRUE(CRSDB::GetInstance()->LoadCRSs(writeFile(c.file))) << c.what;
        std::vector<std::string> names;
        for (const CRS& r : CRSDB::GetInstance()->GetCRSs()) names.push_back(r.GetName());
        EXPECT_EQ(names, c.names) << c.what;
    }
}

// An axes line with two numbers gives no south azimuth, one without numbers zeros; an unknown ellipsoid
// in the first record gets zero axis and flattening, in a later one those of the record before it.
TEST(CRSDB, AxesLinesAndUnknownEllipsoids) {
    loadEllipsoids();
    const std::string rest = "\n1 0 0 0 0 0 0 0\n0 1 0 0 0 0 0 1 2 3\n";
    ASSERT_TRUE(CRSDB::GetInstance()->LoadCRSs(
        writeFile("[crs]\nfirst\nBessel 1841" + rest + "1 2\n[crs]\nknown\nKrassowsky 1940" + rest +
                  "not numbers\n[crs]\nlater unknown\nBessel 1841" + rest + "0 0 0\n")));
    const std::vector<CRS> list = CRSDB::GetInstance()->GetCRSs();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(int(list[0].GetDirection2()), 2);
    EXPECT_EQ(int(list[1].GetDirection1()), 0);
    EXPECT_FALSE(list[0].GetSouthAzimuth() || list[1].GetSouthAzimuth());
    EXPECT_EQ(list[0].GetEllipsoid().GetName(), "Bessel 1841");
    EXPECT_EQ(list[0].GetEllipsoid().GetSemiMajorAxis() + list[0].GetEllipsoid().GetFlattening(), 0);
    EXPECT_EQ(list[2].GetEllipsoid().GetSemiMajorAxis(), 6378245);
    EXPECT_EQ(list[2].GetEllipsoid().GetFlattening(), 0.0033523298692591);
}
