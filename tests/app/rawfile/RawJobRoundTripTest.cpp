// Generated jobs: random texts (with blanks, tabs, non-ASCII letters, empty values), every number kind,
// noisy lines (blanks and tabs around fields, empty fields, unknown keys, repeated keys, shuffled keys,
// unknown records and blank lines between groups) and many bases. Reading must give exactly the
// generated values; writing and reading again must give them back to the precision of the formats.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

namespace {

class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    // A text as a field value keeps it: no commas or line ends, no blank or tab at its end.
    std::string text() {
        static const char* const pieces[] = {"a", "Z", "7", "-",  "_",        ".",
                                             ":", "/", " ", "\t", "\xC3\xA9", "\xE6\xB5\x8B"};
        std::string s;
        const int length = chance(10) ? 0 : between(1, 12);
        for (int i = 0; i < length; ++i) s += pieces[between(0, 11)];
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
        return s;
    }

    // A decimal with at most `decimals` decimals, as text and as the double it denotes (an integer below
    // 2^53 divided by an exact power of ten is the correctly rounded value of the decimal).
    std::pair<std::string, double> real(int decimals, long long range = 1'000'000) {
        const int k = between(0, decimals);
        long long scale = 1;
        for (int i = 0; i < k; ++i) scale *= 10;
        const long long mantissa =
            std::uniform_int_distribution<long long>(-range * scale, range * scale)(random_);
        const long long whole = (mantissa < 0 ? -mantissa : mantissa) / scale;
        const long long fraction = (mantissa < 0 ? -mantissa : mantissa) % scale;
        std::string s = (mantissa < 0 ? "-" : "") + std::to_string(whole);
        if (k > 0) {
            std::string digits = std::to_string(fraction);
            s += "." + std::string(static_cast<std::size_t>(k) - digits.size(), '0') + digits;
        }
        return {s, static_cast<double>(mantissa) / static_cast<double>(scale)};
    }

    std::mt19937& engine() { return random_; }

  private:
    std::mt19937 random_;
};

// Builds one record line from its fields with noise around them, and records the expected values.
class LineBuilder {
  public:
    LineBuilder(Generator& gen, std::string tag, std::size_t keyWidth)
        : gen_(gen), tag_(std::move(tag)), width_(keyWidth) {}

    void text(const char* key, std::string& field) {
        field = gen_.text();
        add(key, field, "bogus");
    }
    void real(const char* key, double& field, int decimals = 9, long long range = 1'000'000) {
        auto [s, v] = gen_.real(decimals, range);
        field = v;
        add(key, s, "999");
    }
    template <typename Int>
    void integer(const char* key, Int& field, int lo, int hi) {
        const int v = gen_.between(lo, hi);
        field = static_cast<Int>(v);
        add(key, std::to_string(v), "77");
    }

    std::string line() {
        std::shuffle(fields_.begin(), fields_.end(), gen_.engine());
        fields_.insert(fields_.begin(), earlier_.begin(), earlier_.end());  // repeated keys come first
        std::string out = tag_;
        for (const std::string& f : fields_) {
            out += ",";
            if (gen_.chance(20)) out += gen_.chance(50) ? " " : "\t";
            out += f;
            if (gen_.chance(20)) out += gen_.chance(50) ? " \t" : ", ,";
        }
        if (gen_.chance(10)) out += ",";
        return out + (gen_.chance(20) ? "\r\n" : "\n");
    }

  private:
    void add(const char* key, const std::string& value, const char* bogus) {
        const std::string k(key, width_);
        // An earlier copy of the key that the real one must override (an empty value cannot: a padded
        // key such as "MC  " loses its blanks to the trimming), and an unknown key.
        if (!value.empty() && gen_.chance(15)) earlier_.push_back(k + bogus);
        if (gen_.chance(15)) fields_.push_back(std::string(width_, 'Z') + gen_.text());
        fields_.push_back(k + value);
    }

    Generator& gen_;
    std::string tag_;
    std::size_t width_;
    std::vector<std::string> fields_;
    std::vector<std::string> earlier_;
};

struct GeneratedJob {
    std::string text;
    JobHeader header;
    std::vector<PointRecordGroup> groups;
};

GeneratedJob generate(unsigned seed, int points, int baseCount) {
    Generator gen(seed);
    GeneratedJob job;
    JobHeader& h = job.header;
    std::string out;
    {
        LineBuilder b(gen, "QZVS", 4);
        b.text("VS  ", h.version);
        out += b.line();
    }
    {
        LineBuilder b(gen, "JB", 2);
        b.text("NM", h.job.name);
        b.text("DT", h.job.date);
        b.text("TM", h.job.time);
        out += b.line();
    }
    {
        LineBuilder b(gen, "CS", 2);
        b.integer("CO", h.coordSystem.code, -128, 127);
        b.text("ZG", h.coordSystem.zg);
        b.text("ZN", h.coordSystem.zn);
        b.text("DN", h.coordSystem.datumName);
        out += b.line();
    }
    {
        LineBuilder b(gen, "ES", 2);
        b.real("RD", h.ellipsoid.semiMajorAxis);
        b.real("IF", h.ellipsoid.inverseFlattening);
        b.text("EM", h.ellipsoid.name);
        out += b.line();
    }
    {
        LineBuilder b(gen, "DT", 2);
        DatumRecord& d = h.datum;
        b.integer("DA", d.type, -128, 127);
        b.real("RD", d.semiMajorAxis);
        b.real("IF", d.inverseFlattening);
        b.real("OX", d.rotationX);
        b.real("OY", d.rotationY);
        b.real("OZ", d.rotationZ);
        b.real("LX", d.translationX);
        b.real("LY", d.translationY);
        b.real("LZ", d.translationZ);
        b.real("SP", d.scalePpm);
        out += b.line();
    }
    {
        LineBuilder b(gen, "QZAH", 4);
        HorizontalAdjustRecord& a = h.horizontalAdjust;
        b.integer("AHUS", a.inUse, -5, 5);
        b.real("ORGX", a.originNorth);
        b.real("ORGY", a.originEast);
        b.real("TRSX", a.translationNorth);
        b.real("TRSY", a.translationEast);
        b.real("CA  ", a.rotationDegrees);
        b.real("CK  ", a.scaleFactor);
        out += b.line();
    }
    {
        LineBuilder b(gen, "QZAV", 4);
        VerticalAdjustRecord& a = h.verticalAdjust;
        b.integer("AVUS", a.inUse, -5, 5);
        b.real("A0  ", a.a0);
        b.real("A1  ", a.a1);
        b.real("A2  ", a.a2);
        b.real("X0  ", a.x0);
        b.real("Y0  ", a.y0);
        out += b.line();
    }
    {
        LineBuilder b(gen, "PJ", 2);
        ProjectionRecord& p = h.projection;
        b.integer("TP", p.type, 0, 40);
        b.text("LA", p.originLatitude);
        b.real("LN", p.ln);
        b.real("HT", p.ht);
        b.real("N ", p.falseNorthing);
        b.real("E ", p.falseEasting);
        b.real("EL", p.el);
        b.real("SC", p.scaleFactor);
        b.real("OO", p.oo);
        b.real("OT", p.ot);
        out += b.line();
    }
    {
        LineBuilder b(gen, "QZMC", 4);
        b.text("MC  ", h.centralMeridian);
        out += b.line();
    }

    // Base stations: each name has one consistent set of values, as a controller writes them.
    std::vector<BaseInfoRecord> bases(static_cast<std::size_t>(baseCount));
    for (int i = 0; i < baseCount; ++i) {
        BaseInfoRecord& bi = bases[static_cast<std::size_t>(i)];
        bi.name = gen.text() + "#" + std::to_string(i);
        bi.north = gen.real(9).second;
        bi.east = gen.real(9).second;
        bi.height = gen.real(9).second;
        bi.wgsLatitude = gen.real(9, 2).second;
        bi.wgsLongitude = gen.real(9, 4).second;
        bi.wgsHeight = gen.real(9, 9000).second;
        bi.antennaType = gen.text();
        bi.antennaHeight = gen.real(4, 3).second;
        bi.antennaMethod = gen.between(0, 2);
    }

    for (int i = 0; i < points; ++i) {
        if (gen.chance(10)) out += gen.chance(50) ? "\n" : "XX,unknown record," + gen.text() + "\n";
        PointRecordGroup g;
        {
            LineBuilder b(gen, "GS", 2);
            b.text("PN", g.point.name);
            b.real("N ", g.point.north, 6, 10'000'000);
            b.real("E ", g.point.east, 6, 10'000'000);
            b.real("EL", g.point.height, 6, 10'000'000);
            b.text("--", g.point.description);
            out += b.line();
        }
        {
            LineBuilder b(gen, "AH", 2);
            b.text("DC", g.antenna.dc);
            b.real("MA", g.antenna.antennaHeight);
            b.integer("ME", g.antenna.method, 0, 2);
            b.real("RA", g.antenna.ra);
            out += b.line();
        }
        {
            LineBuilder b(gen, "QZAT", 4);
            b.text("AT  ", g.antennaType);
            out += b.line();
        }
        {
            LineBuilder b(gen, "EP", 2);
            EpochRecord& e = g.epoch;
            b.text("TM", e.time);
            b.real("LA", e.latitude);
            b.real("LN", e.longitude);
            b.real("HT", e.height);
            b.real("RH", e.hrms);
            b.real("RV", e.vrms);
            b.real("DH", e.dh);
            b.real("DV", e.dv);
            b.integer("GM", e.gm, -128, 127);
            b.integer("CL", e.cl, -128, 127);
            out += b.line();
        }
        {
            LineBuilder b(gen, "QZDP", 4);
            b.real("DOP ", g.dop.pdop);
            b.integer("DIF ", g.dop.solutionType, -1, 9);
            out += b.line();
        }
        {
            LineBuilder b(gen, "QZRV", 4);
            RoverInfoRecord& r = g.roverInfo;
            b.text("QZTM", r.time);
            b.real("RVWB", r.wgsLatitude);
            b.real("RVWL", r.wgsLongitude);
            b.real("RVWH", r.wgsHeight);
            b.integer("DRTM", r.duration, 0, 100000);
            b.integer("EPCH", r.epochs, 0, 1000);
            b.integer("NGPS", r.gpsSatellites, 0, 40);
            b.integer("NGNS", r.glonassSatellites, 0, 40);
            b.integer("NALL", r.gnssSatellites, -2147483647 - 1, 2147483647);
            out += b.line();
        }
        {
            // The base line names one of the stations and repeats its values.
            const BaseInfoRecord& bi = bases[static_cast<std::size_t>(gen.between(0, baseCount - 1))];
            g.baseInfo = bi;
            std::vector<std::string> fields = {"BSNM" + bi.name};
            auto num = [](const char* key, double v) {
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%s%.9f", key, v);
                return std::string(buffer);
            };
            fields.push_back(num("BSN ", bi.north));
            fields.push_back(num("BSE ", bi.east));
            fields.push_back(num("BSH ", bi.height));
            fields.push_back(num("BSWB", bi.wgsLatitude));
            fields.push_back(num("BSWL", bi.wgsLongitude));
            fields.push_back(num("BSWH", bi.wgsHeight));
            fields.push_back("BSAT" + bi.antennaType);
            fields.push_back(num("BSMA", bi.antennaHeight));
            fields.push_back("BSME" + std::to_string(bi.antennaMethod));
            fields.push_back("ZZZZ" + gen.text());
            std::shuffle(fields.begin(), fields.end(), gen.engine());
            out += "QZBS";
            for (const std::string& f : fields) out += (gen.chance(20) ? ", " : ",") + f;
            out += "\n";
        }
        {
            LineBuilder b(gen, "QZAD", 4);
            AttributeRecord& a = g.attributes;
            b.text("CODE", a.code);
            b.text("ECHT", a.echoHeight);
            b.real("XP  ", a.precisionX, 3);
            b.real("YP  ", a.precisionY, 3);
            b.real("HP  ", a.precisionH, 3);
            b.text("METH", a.method);
            out += b.line();
        }
        job.groups.push_back(g);
    }
    job.text = out;
    return job;
}

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Every field of each record, in key order, so that records compare (and print) as tuples.
auto fields(const JobRecord& r) { return std::tie(r.name, r.date, r.time); }
auto fields(const CoordSystemRecord& r) { return std::tie(r.code, r.zg, r.zn, r.datumName); }
auto fields(const EllipsoidRecord& r) { return std::tie(r.semiMajorAxis, r.inverseFlattening, r.name); }
auto fields(const DatumRecord& r) {
    return std::tie(r.type, r.semiMajorAxis, r.inverseFlattening, r.rotationX, r.rotationY, r.rotationZ,
                    r.translationX, r.translationY, r.translationZ, r.scalePpm);
}
auto fields(const HorizontalAdjustRecord& r) {
    return std::tie(r.inUse, r.originNorth, r.originEast, r.translationNorth, r.translationEast,
                    r.rotationDegrees, r.scaleFactor);
}
auto fields(const VerticalAdjustRecord& r) { return std::tie(r.inUse, r.a0, r.a1, r.a2, r.x0, r.y0); }
auto fields(const ProjectionRecord& r) {
    return std::tie(r.type, r.originLatitude, r.ln, r.ht, r.falseNorthing, r.falseEasting, r.el,
                    r.scaleFactor, r.oo, r.ot);
}
auto fields(const PointRecord& r) { return std::tie(r.name, r.north, r.east, r.height); }  // "--" apart
auto fields(const AntennaRecord& r) { return std::tie(r.dc, r.antennaHeight, r.method, r.ra); }
auto fields(const EpochRecord& r) {
    return std::tie(r.time, r.latitude, r.longitude, r.height, r.hrms, r.vrms, r.dh, r.dv, r.gm, r.cl);
}
auto fields(const DopRecord& r) { return std::tie(r.pdop, r.solutionType); }
auto fields(const RoverInfoRecord& r) {
    return std::tie(r.time, r.wgsLatitude, r.wgsLongitude, r.wgsHeight, r.duration, r.epochs, r.gpsSatellites,
                    r.glonassSatellites, r.gnssSatellites);
}
auto fields(const BaseInfoRecord& r) {
    return std::tie(r.name, r.north, r.east, r.height, r.wgsLatitude, r.wgsLongitude, r.wgsHeight,
                    r.antennaType, r.antennaHeight, r.antennaMethod);
}
auto fields(const AttributeRecord& r) {
    return std::tie(r.code, r.echoHeight, r.precisionX, r.precisionY, r.precisionH, r.method);
}

void expectHeader(const JobHeader& a, const JobHeader& e) {
    EXPECT_EQ(a.version, e.version);
    EXPECT_EQ(fields(a.job), fields(e.job));
    EXPECT_EQ(fields(a.coordSystem), fields(e.coordSystem));
    EXPECT_EQ(fields(a.ellipsoid), fields(e.ellipsoid));
    EXPECT_EQ(fields(a.datum), fields(e.datum));
    EXPECT_EQ(fields(a.horizontalAdjust), fields(e.horizontalAdjust));
    EXPECT_EQ(fields(a.verticalAdjust), fields(e.verticalAdjust));
    EXPECT_EQ(fields(a.projection), fields(e.projection));
    EXPECT_EQ(a.centralMeridian, e.centralMeridian);
}

void expectGroup(const PointRecordGroup& a, const PointRecordGroup& e, bool withDescription) {
    EXPECT_EQ(fields(a.point), fields(e.point));
    EXPECT_EQ(a.point.description, withDescription ? e.point.description : std::string());
    EXPECT_EQ(fields(a.antenna), fields(e.antenna));
    EXPECT_EQ(a.antennaType, e.antennaType);
    EXPECT_EQ(fields(a.epoch), fields(e.epoch));
    EXPECT_EQ(fields(a.dop), fields(e.dop));
    EXPECT_EQ(fields(a.roverInfo), fields(e.roverInfo));
    EXPECT_EQ(fields(a.baseInfo), fields(e.baseInfo));
    EXPECT_EQ(fields(a.attributes), fields(e.attributes));
}

// The rover and base lists must hold exactly what the generated records say.
void expectRoversAndBases(const RawJob& job, const GeneratedJob& gen) {
    ASSERT_EQ(job.rovers.size(), static_cast<qsizetype>(gen.groups.size()));
    std::vector<std::string> baseOrder;
    for (std::size_t i = 0; i < gen.groups.size(); ++i) {
        const PointRecordGroup& g = gen.groups[i];
        const RoverPoint& r = job.rovers[static_cast<qsizetype>(i)];
        const RoverInfoRecord& ri = g.roverInfo;
        const BaseInfoRecord& bi = g.baseInfo;
        const AttributeRecord& at = g.attributes;
        EXPECT_EQ(
            std::tie(r.name, r.north, r.east, r.height, r.antennaHeight, r.antennaMethod, r.antennaType),
            std::make_tuple(q(g.point.name), g.point.north, g.point.east, g.point.height,
                            g.antenna.antennaHeight, g.antenna.method, q(g.antennaType)));
        EXPECT_EQ(std::tie(r.hrms, r.vrms, r.pdop, r.solutionType),
                  std::tie(g.epoch.hrms, g.epoch.vrms, g.dop.pdop, g.dop.solutionType));
        EXPECT_EQ(std::tie(r.time, r.wgsLatitude, r.wgsLongitude, r.wgsHeight, r.duration, r.epochs,
                           r.gpsSatellites, r.glonassSatellites, r.gnssSatellites),
                  std::make_tuple(q(ri.time), ri.wgsLatitude, ri.wgsLongitude, ri.wgsHeight, ri.duration,
                                  ri.epochs, ri.gpsSatellites, ri.glonassSatellites, ri.gnssSatellites));
        EXPECT_EQ(
            std::tie(r.baseName, r.baseNorth, r.baseEast, r.baseHeight, r.baseWgsLatitude, r.baseWgsLongitude,
                     r.baseWgsHeight, r.baseAntennaType, r.baseAntennaHeight, r.baseAntennaMethod),
            std::make_tuple(q(bi.name), bi.north, bi.east, bi.height, bi.wgsLatitude, bi.wgsLongitude,
                            bi.wgsHeight, q(bi.antennaType), bi.antennaHeight, bi.antennaMethod));
        EXPECT_EQ(std::tie(r.code, r.echoHeight, r.precisionX, r.precisionY, r.precisionH, r.method),
                  std::make_tuple(q(at.code), q(at.echoHeight), at.precisionX, at.precisionY, at.precisionH,
                                  q(at.method)));
        if (std::find(baseOrder.begin(), baseOrder.end(), bi.name) != baseOrder.end()) continue;
        baseOrder.push_back(bi.name);
        const qsizetype k = static_cast<qsizetype>(baseOrder.size() - 1);
        ASSERT_LT(k, job.bases.size());
        const BaseStation& b = job.bases[k];
        EXPECT_EQ(std::tie(b.name, b.north, b.east, b.height, b.wgsLatitude, b.wgsLongitude, b.wgsHeight,
                           b.antennaType, b.antennaHeight, b.antennaMethod),
                  std::make_tuple(q(bi.name), bi.north, bi.east, bi.height, bi.wgsLatitude, bi.wgsLongitude,
                                  bi.wgsHeight, q(bi.antennaType), bi.antennaHeight, bi.antennaMethod));
    }
    EXPECT_EQ(job.bases.size(), static_cast<qsizetype>(baseOrder.size()));
}

}  // namespace

TEST(RawJobRoundTrip, GeneratedJobsReadExactlyAndSurviveWritingAndReadingBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        unsigned seed;
        int points;
        int bases;
    } cases[] = {{1, 0, 1}, {2, 1, 1}, {3, 40, 3}, {4, 300, 60}, {5, 2000, 1500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        const GeneratedJob gen = generate(c.seed, c.points, c.bases);
        QByteArray bytes = QByteArray::fromStdString(gen.text);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        RawJob read;
        ASSERT_TRUE(readRawJob(buffer, read));
        expectHeader(read.header, gen.header);
        ASSERT_EQ(read.groups.size(), static_cast<qsizetype>(gen.groups.size()));
        for (std::size_t i = 0; i < gen.groups.size(); ++i)
            expectGroup(read.groups[static_cast<qsizetype>(i)], gen.groups[i], true);
        expectRoversAndBases(read, gen);

        const QString path = dir.filePath(QString("job%1.Raw").arg(c.seed));
        ASSERT_TRUE(writeRawJob(path, read));
        RawJob back;
        ASSERT_TRUE(readRawJob(path, back));
        expectHeader(back.header, gen.header);
        ASSERT_EQ(back.groups.size(), static_cast<qsizetype>(gen.groups.size()));
        for (std::size_t i = 0; i < gen.groups.size(); ++i)
            expectGroup(back.groups[static_cast<qsizetype>(i)], gen.groups[i], false);
        expectRoversAndBases(back, gen);
    }
}
