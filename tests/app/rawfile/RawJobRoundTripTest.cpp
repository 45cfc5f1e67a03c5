// Save as of an opened job: unedited, the file comes back byte for byte; edited, only the lines of the
// edited records differ, the lines of deleted points are gone, and reading the file again gives the
// edited model. Over the bundled example jobs and generated ones with every oddity a controller's file
// may hold (descriptions, unknown records, keys and lines, odd number spellings, any line ends, a byte
// order mark, 8-bit texts that are not UTF-8, no final line end, groups lacking records).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "RawTestSupport.h"
#include "RoverFields.h"
#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

namespace {

struct Line {
    std::string text, end;
    int group = -1;   // index of the point group the line belongs to, -1 outside groups
    int record = -1;  // 0 = GS ... 7 = QZAD, -1 for a line the group does not interpret
};

std::string join(const std::vector<Line>& lines) {
    std::string out;
    for (const Line& l : lines) out += l.text + l.end;
    return out;
}

std::vector<Line> split(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', pos), bytes.find('\r', pos));
        Line l;
        l.text = bytes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (end != std::string::npos)
            l.end = bytes.compare(end, 2, "\r\n") == 0 ? "\r\n" : bytes.substr(end, 1);
        pos = end == std::string::npos ? bytes.size() : end + l.end.size();
        lines.push_back(l);
    }
    return lines;
}

// Well-formed files (the examples): a GS line and the seven lines after it form a group.
std::vector<Line> annotate(std::vector<Line> lines) {
    int group = -1, record = 8;
    for (Line& l : lines) {
        if (l.text.rfind("GS", 0) == 0) ++group, record = 0;
        if (record < 8) l.group = group, l.record = record++;
    }
    return lines;
}

class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed), style_(pick(4)), encoding_(pick(3)) {}

    std::vector<Line> job(int points) {
        const char* bases[][2] = {{"B1", "BSN 3519163.7023,BSE 516596.2372,BSH 21.1"},
                                  {"BASE-2", "BSN 100,BSE  2e2,BSH -3.5"},
                                  {"B3", "BSN 0x10,BSE 7.,BSH 1e-3"}};
        std::vector<Line> lines;
        auto add = [&](std::string text, int group = -1, int record = -1) {
            lines.push_back({std::move(text), end(), group, record});
        };
        if (chance(20)) add("\xEF\xBB\xBFQZVS,VS  V1.0");
        add("JB,NM" + text() + ",DT2024-05-14,TM08:02:11");
        add("CS,CO300,ZG,ZN,DN" + text());
        add("DT,DA1,RD6378137.000,IF298.257222101,OX-0.3921,LY130.2,LZ1e3,SP  5");
        if (chance(50)) add("XX,an unknown record,KEY1");
        add("PJ,TP32,LA0.0,LN2.0420352248333655,N 0.000,E 500000.000,SC1.0");
        for (int g = 0; g < points; ++g) {
            const int base = pick(3);
            const std::string records[8] = {
                "GS,PN" + text() + ",N " + number() + ",E " + number() + ",EL" + number() +
                    (chance(70) ? ",--" + text() : "") + (chance(20) ? ",QQunknown" : ""),
                "AH,DC0,MA" + number() + ",ME" + std::to_string(pick(3)) + ",RA0.000",
                "QZAT,AT  " + text(),
                "EP,TM" + text() + ",LA0.555,LN2.044,HT22.15,RH" + number() + ",RV0.0193,DH-0.36,GM300,CL0",
                "QZDP,DOP " + number() + ",DIF 9",
                "QZRV,QZTM2024-05-14 08:00:00,RVWB0.55509919132,RVWL2.04463655294,RVWH" + number() +
                    ",DRTM25,EPCH25,NGPS10,NGNS6,NALL25",
                std::string("QZBS,BSNM") + bases[base][0] + "," + bases[base][1] +
                    ",BSWB0.55488308673,BSWL2.045,BSWH18.2086,BSATHL-500,BSMA1.855,BSME2",
                "QZAD,CODE" + text() + ",ECHT0.000,XP  0.008,YP  0.008,HP  0.019,METHRTK" +
                    (chance(20) ? ",ZZZZkept" : ""),
            };
            bool lacks[8] = {};
            int last = 0;
            for (int r = 1; r < 8; ++r) (lacks[r] = chance(8)) ? void() : void(last = r);
            for (int r = 0; r < 8; ++r) {
                if (lacks[r]) continue;
                if (r > 1 && r <= last && chance(5)) add("NOTE,inside the group", g);
                add(records[r], g, r);
            }
            if (chance(10)) add("NOTE,between groups");
        }
        if (chance(20)) lines.back().end.clear();
        return lines;
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }

  private:
    std::string end() {
        const int style = style_ == 3 ? pick(3) : style_;
        return style == 0 ? "\n" : style == 1 ? "\r\n" : "\r";
    }
    std::string text() {
        static const char* const letters[3] = {"\xE9", "\xB2\xE2", "\xC3\xA9"};  // Latin-1, GBK, UTF-8
        std::string s = "P";
        for (int i = pick(6); i > 0; --i)
            s += chance(30) ? letters[encoding_] : std::string(1, "ab7-_. :/"[pick(9)]);
        return s + std::to_string(pick(1000));
    }
    std::string number() {
        static const char* const odd[] = {"130.2", "1e3", "  5", "+7.50", "-0.0", "12.", "3520536.8529"};
        return chance(30) ? odd[pick(7)] : std::to_string(pick(100000)) + "." + std::to_string(pick(10000));
    }

    std::mt19937 random_;
    int style_, encoding_;
};

std::string save(const RawJob& job, const QTemporaryDir& dir) {
    const QString path = dir.filePath("saved.Raw");
    QString error;
    EXPECT_TRUE(writeRawJob(path, job, &error)) << error.toStdString();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// Random edits of the kinds the window makes; returns the (group, record) lines they may change and
// fills `deleted` with the groups whose lines must go.
std::set<std::pair<int, int>> edit(RawJob& job, std::vector<int>& groupOf, const std::vector<Line>& lines,
                                   Generator& random, std::set<int>& deleted) {
    auto has = [&](int group, int record) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const Line& l) { return l.group == group && l.record == record; });
    };
    std::set<std::pair<int, int>> changes;
    for (qsizetype i = 0; i < job.rovers.size(); ++i) {
        RoverPoint& r = job.rovers[i];
        const int g = groupOf[static_cast<std::size_t>(i)];
        switch (random.pick(8)) {
            case 0:
                r.north = 3520000.25 + i, r.east = -0.5, r.height = 12.125;
                changes.insert({g, 0});
                break;
            case 1:
                r.name = QStringLiteral("R\u00e9gua-%1").arg(i);
                changes.insert({g, 0});
                break;
            case 2:
                if (!has(g, 1) || !has(g, 2)) break;
                r.antennaType = QStringLiteral("ANT \u6d4b %1").arg(i), r.antennaHeight = 2.5,
                r.antennaMethod = 1;
                changes.insert({g, 1}), changes.insert({g, 2});
                break;
            default:
                break;
        }
    }
    for (BaseStation& b : job.bases) {
        if (b.name.isEmpty() || random.pick(3) != 0) continue;
        b.north = 4000000.5, b.antennaHeight = 1.25, b.antennaType = QStringLiteral("NEW");
        for (qsizetype i = 0; i < job.rovers.size(); ++i) {
            RoverPoint& r = job.rovers[i];
            if (r.baseName != b.name) continue;
            r.baseNorth = b.north, r.baseAntennaHeight = b.antennaHeight, r.baseAntennaType = b.antennaType;
            r.baseEast = b.east, r.baseHeight = b.height, r.baseAntennaMethod = b.antennaMethod;
            r.baseWgsLatitude = b.wgsLatitude, r.baseWgsLongitude = b.wgsLongitude,
            r.baseWgsHeight = b.wgsHeight;
            changes.insert({groupOf[static_cast<std::size_t>(i)], 6});
        }
    }
    const QString deletedBase = random.chance(30) && !job.bases.isEmpty() ? job.bases.takeLast().name : "-";
    for (qsizetype i = job.rovers.size(); i-- > 0;) {
        if (job.rovers[i].baseName != deletedBase && !random.chance(10)) continue;
        deleted.insert(groupOf[static_cast<std::size_t>(i)]);
        job.rovers.removeAt(i), job.groups.removeAt(i);
        groupOf.erase(groupOf.begin() + i);
    }
    return changes;
}

void checkRoundTrip(const std::string& original, const std::vector<Line>& lines, unsigned seed) {
    SCOPED_TRACE(seed);
    QTemporaryDir dir;
    const RawJob opened = readRaw(original);
    ASSERT_EQ(save(opened, dir), original);  // unedited: byte for byte

    RawJob job = opened;
    std::vector<int> groupOf;
    for (int i = 0; i < job.rovers.size(); ++i) groupOf.push_back(i);
    Generator random(seed);
    std::set<int> deleted;
    const auto changes = edit(job, groupOf, lines, random, deleted);
    const std::vector<Line> saved = split(save(job, dir));
    std::vector<Line> expected;
    for (const Line& l : lines)
        if (!deleted.count(l.group)) expected.push_back(l);
    ASSERT_EQ(saved.size(), expected.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        const Line& e = expected[i];
        if (saved[i].text == e.text && saved[i].end == e.end) continue;
        EXPECT_TRUE(changes.count({e.group, e.record})) << "line " << i << " changed: " << saved[i].text;
        EXPECT_EQ(saved[i].end, e.end);
    }
    const RawJob back = readRaw(join(saved));
    ASSERT_EQ(back.rovers.size(), job.rovers.size());
    for (qsizetype i = 0; i < job.rovers.size(); ++i) {
        EXPECT_TRUE(sameRoverFields(back.rovers[i], job.rovers[i])) << job.rovers[i].name.toStdString();
        EXPECT_EQ(back.groups[i].point.description, job.groups[i].point.description);
        EXPECT_EQ(back.groups[i].attributes.code, job.groups[i].attributes.code);
    }
    for (const BaseStation& b : back.bases) {
        const BaseStation* e = findLastBase(job.bases, b.name);
        ASSERT_TRUE(e) << b.name.toStdString();
        EXPECT_TRUE(e->north == b.north && e->antennaType == b.antennaType &&
                    e->antennaHeight == b.antennaHeight);
    }
}

}  // namespace

TEST(RawJobRoundTrip, JobsComeBackByteForByteAndEditedOnlyWhereEdited) {
    const QDir examples = QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../../examples");
    const QStringList names = examples.entryList({"*.raw"}, QDir::Files);
    ASSERT_GE(names.size(), 2);
    for (const QString& name : names) {
        QFile file(examples.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const std::string bytes = file.readAll().toStdString();
        for (unsigned seed = 1; seed <= 5; ++seed) checkRoundTrip(bytes, annotate(split(bytes)), seed);
    }
    for (unsigned seed = 1; seed <= 60; ++seed) {
        Generator generator(seed);
        const std::vector<Line> lines = generator.job(1 + generator.pick(25));
        checkRoundTrip(join(lines), lines, seed * 7919);
    }
}
