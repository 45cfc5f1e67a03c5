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

void expectHeader(const JobHeader& a, const JobHeader& e) {
    EXPECT_EQ(a.version, e.version);
    EXPECT_EQ(a.job.name, e.job.name);
    EXPECT_EQ(a.job.date, e.job.date);
    EXPECT_EQ(a.job.time, e.job.time);
    EXPECT_EQ(a.coordSystem.code, e.coordSystem.code);
    EXPECT_EQ(a.coordSystem.zg, e.coordSystem.zg);
    EXPECT_EQ(a.coordSystem.zn, e.coordSystem.zn);
    EXPECT_EQ(a.coordSystem.datumName, e.coordSystem.datumName);
    EXPECT_EQ(a.ellipsoid.semiMajorAxis, e.ellipsoid.semiMajorAxis);
    EXPECT_EQ(a.ellipsoid.inverseFlattening, e.ellipsoid.inverseFlattening);
    EXPECT_EQ(a.ellipsoid.name, e.ellipsoid.name);
    const DatumRecord& d = a.datum;
    const DatumRecord& f = e.datum;
    EXPECT_EQ(d.type, f.type);
    EXPECT_EQ(d.semiMajorAxis, f.semiMajorAxis);
    EXPECT_EQ(d.inverseFlattening, f.inverseFlattening);
    EXPECT_EQ(d.rotationX, f.rotationX);
    EXPECT_EQ(d.rotationY, f.rotationY);
    EXPECT_EQ(d.rotationZ, f.rotationZ);
    EXPECT_EQ(d.translationX, f.translationX);
    EXPECT_EQ(d.translationY, f.translationY);
    EXPECT_EQ(d.translationZ, f.translationZ);
    EXPECT_EQ(d.scalePpm, f.scalePpm);
    const HorizontalAdjustRecord& ha = a.horizontalAdjust;
    const HorizontalAdjustRecord& he = e.horizontalAdjust;
    EXPECT_EQ(ha.inUse, he.inUse);
    EXPECT_EQ(ha.originNorth, he.originNorth);
    EXPECT_EQ(ha.originEast, he.originEast);
    EXPECT_EQ(ha.translationNorth, he.translationNorth);
    EXPECT_EQ(ha.translationEast, he.translationEast);
    EXPECT_EQ(ha.rotationDegrees, he.rotationDegrees);
    EXPECT_EQ(ha.scaleFactor, he.scaleFactor);
    const VerticalAdjustRecord& va = a.verticalAdjust;
    const VerticalAdjustRecord& ve = e.verticalAdjust;
    EXPECT_EQ(va.inUse, ve.inUse);
    EXPECT_EQ(va.a0, ve.a0);
    EXPECT_EQ(va.a1, ve.a1);
    EXPECT_EQ(va.a2, ve.a2);
    EXPECT_EQ(va.x0, ve.x0);
    EXPECT_EQ(va.y0, ve.y0);
    const ProjectionRecord& p = a.projection;
    const ProjectionRecord& pe = e.projection;
    EXPECT_EQ(p.type, pe.type);
    EXPECT_EQ(p.originLatitude, pe.originLatitude);
    EXPECT_EQ(p.ln, pe.ln);
    EXPECT_EQ(p.ht, pe.ht);
    EXPECT_EQ(p.falseNorthing, pe.falseNorthing);
    EXPECT_EQ(p.falseEasting, pe.falseEasting);
    EXPECT_EQ(p.el, pe.el);
    EXPECT_EQ(p.scaleFactor, pe.scaleFactor);
    EXPECT_EQ(p.oo, pe.oo);
    EXPECT_EQ(p.ot, pe.ot);
    EXPECT_EQ(a.centralMeridian, e.centralMeridian);
}

void expectGroup(const PointRecordGroup& a, const PointRecordGroup& e, bool withDescription) {
    EXPECT_EQ(a.point.name, e.point.name);
    EXPECT_EQ(a.point.north, e.point.north);
    EXPECT_EQ(a.point.east, e.point.east);
    EXPECT_EQ(a.point.height, e.point.height);
    EXPECT_EQ(a.point.description, withDescription ? e.point.description : std::string());
    EXPECT_EQ(a.antenna.dc, e.antenna.dc);
    EXPECT_EQ(a.antenna.antennaHeight, e.antenna.antennaHeight);
    EXPECT_EQ(a.antenna.method, e.antenna.method);
    EXPECT_EQ(a.antenna.ra, e.antenna.ra);
    EXPECT_EQ(a.antennaType, e.antennaType);
    const EpochRecord& ep = a.epoch;
    const EpochRecord& ee = e.epoch;
    EXPECT_EQ(ep.time, ee.time);
    EXPECT_EQ(ep.latitude, ee.latitude);
    EXPECT_EQ(ep.longitude, ee.longitude);
    EXPECT_EQ(ep.height, ee.height);
    EXPECT_EQ(ep.hrms, ee.hrms);
    EXPECT_EQ(ep.vrms, ee.vrms);
    EXPECT_EQ(ep.dh, ee.dh);
    EXPECT_EQ(ep.dv, ee.dv);
    EXPECT_EQ(ep.gm, ee.gm);
    EXPECT_EQ(ep.cl, ee.cl);
    EXPECT_EQ(a.dop.pdop, e.dop.pdop);
    EXPECT_EQ(a.dop.solutionType, e.dop.solutionType);
    const RoverInfoRecord& r = a.roverInfo;
    const RoverInfoRecord& re = e.roverInfo;
    EXPECT_EQ(r.time, re.time);
    EXPECT_EQ(r.wgsLatitude, re.wgsLatitude);
    EXPECT_EQ(r.wgsLongitude, re.wgsLongitude);
    EXPECT_EQ(r.wgsHeight, re.wgsHeight);
    EXPECT_EQ(r.duration, re.duration);
    EXPECT_EQ(r.epochs, re.epochs);
    EXPECT_EQ(r.gpsSatellites, re.gpsSatellites);
    EXPECT_EQ(r.glonassSatellites, re.glonassSatellites);
    EXPECT_EQ(r.gnssSatellites, re.gnssSatellites);
    const BaseInfoRecord& b = a.baseInfo;
    const BaseInfoRecord& be = e.baseInfo;
    EXPECT_EQ(b.name, be.name);
    EXPECT_EQ(b.north, be.north);
    EXPECT_EQ(b.east, be.east);
    EXPECT_EQ(b.height, be.height);
    EXPECT_EQ(b.wgsLatitude, be.wgsLatitude);
    EXPECT_EQ(b.wgsLongitude, be.wgsLongitude);
    EXPECT_EQ(b.wgsHeight, be.wgsHeight);
    EXPECT_EQ(b.antennaType, be.antennaType);
    EXPECT_EQ(b.antennaHeight, be.antennaHeight);
    EXPECT_EQ(b.antennaMethod, be.antennaMethod);
    const AttributeRecord& at = a.attributes;
    const AttributeRecord& ae = e.attributes;
    EXPECT_EQ(at.code, ae.code);
    EXPECT_EQ(at.echoHeight, ae.echoHeight);
    EXPECT_EQ(at.precisionX, ae.precisionX);
    EXPECT_EQ(at.precisionY, ae.precisionY);
    EXPECT_EQ(at.precisionH, ae.precisionH);
    EXPECT_EQ(at.method, ae.method);
}

// The rover and base lists must hold exactly what the generated records say.
void expectRoversAndBases(const RawJob& job, const GeneratedJob& gen) {
    ASSERT_EQ(job.rovers.size(), static_cast<qsizetype>(gen.groups.size()));
    std::vector<std::string> baseOrder;
    for (std::size_t i = 0; i < gen.groups.size(); ++i) {
        const PointRecordGroup& g = gen.groups[i];
        const RoverPoint& r = job.rovers[static_cast<qsizetype>(i)];
        EXPECT_EQ(r.name, q(g.point.name));
        EXPECT_EQ(r.north, g.point.north);
        EXPECT_EQ(r.east, g.point.east);
        EXPECT_EQ(r.height, g.point.height);
        EXPECT_EQ(r.antennaHeight, g.antenna.antennaHeight);
        EXPECT_EQ(r.antennaMethod, g.antenna.method);
        EXPECT_EQ(r.antennaType, q(g.antennaType));
        EXPECT_EQ(r.hrms, g.epoch.hrms);
        EXPECT_EQ(r.vrms, g.epoch.vrms);
        EXPECT_EQ(r.pdop, g.dop.pdop);
        EXPECT_EQ(r.solutionType, g.dop.solutionType);
        EXPECT_EQ(r.time, q(g.roverInfo.time));
        EXPECT_EQ(r.wgsLatitude, g.roverInfo.wgsLatitude);
        EXPECT_EQ(r.wgsLongitude, g.roverInfo.wgsLongitude);
        EXPECT_EQ(r.wgsHeight, g.roverInfo.wgsHeight);
        EXPECT_EQ(r.duration, g.roverInfo.duration);
        EXPECT_EQ(r.epochs, g.roverInfo.epochs);
        EXPECT_EQ(r.gpsSatellites, g.roverInfo.gpsSatellites);
        EXPECT_EQ(r.glonassSatellites, g.roverInfo.glonassSatellites);
        EXPECT_EQ(r.gnssSatellites, g.roverInfo.gnssSatellites);
        EXPECT_EQ(r.baseName, q(g.baseInfo.name));
        EXPECT_EQ(r.baseWgsLatitude, g.baseInfo.wgsLatitude);
        EXPECT_EQ(r.baseWgsLongitude, g.baseInfo.wgsLongitude);
        EXPECT_EQ(r.baseWgsHeight, g.baseInfo.wgsHeight);
        EXPECT_EQ(r.baseAntennaType, q(g.baseInfo.antennaType));
        EXPECT_EQ(r.baseAntennaHeight, g.baseInfo.antennaHeight);
        EXPECT_EQ(r.baseAntennaMethod, g.baseInfo.antennaMethod);
        EXPECT_EQ(r.baseNorth, g.baseInfo.north);
        EXPECT_EQ(r.baseEast, g.baseInfo.east);
        EXPECT_EQ(r.baseHeight, g.baseInfo.height);
        EXPECT_EQ(r.code, q(g.attributes.code));
        EXPECT_EQ(r.echoHeight, q(g.attributes.echoHeight));
        EXPECT_EQ(r.precisionX, g.attributes.precisionX);
        EXPECT_EQ(r.precisionY, g.attributes.precisionY);
        EXPECT_EQ(r.precisionH, g.attributes.precisionH);
        EXPECT_EQ(r.method, q(g.attributes.method));
        if (std::find(baseOrder.begin(), baseOrder.end(), g.baseInfo.name) == baseOrder.end()) {
            baseOrder.push_back(g.baseInfo.name);
            const qsizetype k = static_cast<qsizetype>(baseOrder.size() - 1);
            ASSERT_LT(k, job.bases.size());
            const BaseStation& b = job.bases[k];
            EXPECT_EQ(b.name, q(g.baseInfo.name));
            EXPECT_EQ(b.north, g.baseInfo.north);
            EXPECT_EQ(b.east, g.baseInfo.east);
            EXPECT_EQ(b.height, g.baseInfo.height);
            EXPECT_EQ(b.wgsLatitude, g.baseInfo.wgsLatitude);
            EXPECT_EQ(b.wgsLongitude, g.baseInfo.wgsLongitude);
            EXPECT_EQ(b.wgsHeight, g.baseInfo.wgsHeight);
            EXPECT_EQ(b.antennaType, q(g.baseInfo.antennaType));
            EXPECT_EQ(b.antennaHeight, g.baseInfo.antennaHeight);
            EXPECT_EQ(b.antennaMethod, g.baseInfo.antennaMethod);
        }
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
