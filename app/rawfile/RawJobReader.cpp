#include "rawfile/RawJobReader.h"

#include <QFile>
#include <QIODevice>
#include <QSet>
#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "geodex/AngleConstants.h"
#include "rawfile/RawLines.h"
#include "rawfile/RawRecordParser.h"
#include "rawfile/RawText.h"

namespace {

constexpr double kDegreesToRadians = Orvale::Geodex::kDegree;  // π/180

// Reads what is left of device into one buffer, which the job then keeps as its source bytes. Empty and
// false when the device fails.
bool readWholeDevice(QIODevice& device, QByteArray& bytes) {
    if (device.isSequential()) {
        bytes = device.readAll();
        return true;
    }
    const qint64 expected = device.size() - device.pos();
    // Not zero-filled: every byte kept is one the device gave.
    bytes = QByteArray(expected > 0 ? static_cast<qsizetype>(expected) : 0, Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const qint64 n = device.read(bytes.data() + got, bytes.size() - got);
        if (n < 0) return false;
        if (n == 0) break;
        got += n;
    }
    bytes.truncate(static_cast<qsizetype>(got));
    if (got == expected) bytes.append(device.readAll());  // the file grew meanwhile
    return true;
}

QString toText(std::string_view bytes) { return decodeRawText(bytes); }

// Converts the texts of one kind of field (antenna types, base names, codes...) and lets equal texts
// share one string: a large job repeats a few such values over and over.
class SharedTexts {
  public:
    struct Entry {
        QString text;
        bool seen = false;  // free for the caller: set once it has dealt with this value
    };

    Entry& entry(std::string_view bytes) {
        // A kind of text mostly takes a handful of values (four antenna types, a dozen bases): the entries
        // met last are compared first, which is cheaper than hashing.
        for (Node* node : recent_) {
            if (node && node->first == bytes) return node->second;
        }
        auto found = known_.find(bytes);
        if (found == known_.end()) {
            if (known_.size() >= kLimit) {  // many distinct values: keep the memory bounded
                recent_.fill(nullptr);
                known_.clear();
                keys_.clear();
            }
            const std::string& key = keys_.emplace_back(bytes);
            found = known_.emplace(std::string_view(key), Entry{toText(key)}).first;
        }
        recent_[next_++ % recent_.size()] = &*found;
        return found->second;
    }
    const QString& text(std::string_view bytes) { return entry(bytes).text; }

  private:
    using Node = std::pair<const std::string_view, Entry>;
    static constexpr std::size_t kLimit = 4096;
    std::deque<std::string> keys_;  // the bytes the keys of known_ view (a deque never moves them)
    std::unordered_map<std::string_view, Entry> known_;
    std::array<Node*, 8> recent_{};  // entries of known_ (nodes, which never move)
    std::size_t next_ = 0;
};

// Builds a job from the lines of one file.
class JobBuilder {
  public:
    explicit JobBuilder(RawJob& job) : job_(job) {}

    // Reads job_.source. A UTF-8 byte order mark is not part of the first line (but stays in the source).
    void readAll() {
        const QByteArray& bytes = job_.source;
        const auto size = static_cast<std::size_t>(bytes.size());
        const std::size_t bom = size >= 3 && std::memcmp(bytes.constData(), "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
        RawLineCursor cursor(bytes.constData(), size, bom);
        std::string_view line;
        std::size_t endLength = 0;
        for (;;) {
            const std::size_t lineStart = cursor.pos();
            if (!cursor.next(line, endLength)) break;
            const RawTag tag = rawTagOf(line);
            if (tag == RawTag::Point) {
                cursor.seek(lineStart);
                readPointGroup(cursor);
            } else if (tag != RawTag::Other) {
                readHeaderLine(tag, line);
            }
        }
        job_.readFromFile = true;
    }

  private:
    void readHeaderLine(RawTag tag, std::string_view line) {
        JobHeader& h = job_.header;
        JobSummary& s = job_.summary;
        if (tag == RawTag::Version) {
            RawBytes version;
            parser_.parseVersion(line, version);
            h.version = std::move(version);
            s.version = toText(h.version);
        } else if (tag == RawTag::Job) {
            JobRecord r;
            parser_.parseJob(line, r);
            h.job = std::move(r);
            s.jobName = toText(h.job.name);
            s.jobDate = toText(h.job.date);
            s.jobTime = toText(h.job.time);
        } else if (tag == RawTag::CoordSystem) {
            CoordSystemRecord r;
            parser_.parseCoordSystem(line, r);
            h.coordSystem = std::move(r);
            s.datumName = toText(h.coordSystem.datumName);
        } else if (tag == RawTag::Ellipsoid) {
            EllipsoidRecord r;
            parser_.parseEllipsoid(line, r);
            h.ellipsoid = std::move(r);
            s.semiMajorAxis = h.ellipsoid.semiMajorAxis;
            s.inverseFlattening = h.ellipsoid.inverseFlattening;
            s.ellipsoidName = toText(h.ellipsoid.name);
        } else if (tag == RawTag::Datum) {
            DatumRecord r;
            parser_.parseDatum(line, r);
            h.datum = r;
            s.transformType = r.type;
            s.rotationX = r.rotationX / 3600 * kDegreesToRadians;
            s.rotationY = r.rotationY / 3600 * kDegreesToRadians;
            s.rotationZ = r.rotationZ / 3600 * kDegreesToRadians;
            s.translationX = r.translationX;
            s.translationY = r.translationY;
            s.translationZ = r.translationZ;
            s.scalePpm = r.scalePpm;
        } else if (tag == RawTag::HorizontalAdjust) {
            HorizontalAdjustRecord r;
            parser_.parseHorizontalAdjust(line, r);
            h.horizontalAdjust = r;
            s.horizontalAdjustInUse = r.inUse != 0;
            s.originNorth = r.originNorth;
            s.originEast = r.originEast;
            s.translationNorth = r.translationNorth;
            s.translationEast = r.translationEast;
            s.rotation = r.rotationDegrees * kDegreesToRadians;
            s.scaleFactor = r.scaleFactor;
        } else if (tag == RawTag::VerticalAdjust) {
            VerticalAdjustRecord r;
            parser_.parseVerticalAdjust(line, r);
            h.verticalAdjust = r;
            s.verticalAdjustInUse = r.inUse != 0;
            s.a0 = r.a0;
            s.a1 = r.a1;
            s.a2 = r.a2;
            s.x0 = r.x0;
            s.y0 = r.y0;
        } else if (tag == RawTag::Projection) {
            ProjectionRecord r;
            parser_.parseProjection(line, r);
            h.projection = std::move(r);
            s.projectionType = h.projection.type;
            s.originLatitude = toText(h.projection.originLatitude);
            s.falseNorthing = h.projection.falseNorthing;
            s.falseEasting = h.projection.falseEasting;
            s.projectionScaleFactor = h.projection.scaleFactor;
        } else if (tag == RawTag::CentralMeridian) {
            RawBytes text;
            parser_.parseCentralMeridian(line, text);
            h.centralMeridian = std::move(text);
            s.centralMeridian = toText(h.centralMeridian);
        }
    }

    // One point group, its records found by their tags (RawLines.h: readGroupLines). A record the group
    // lacks keeps its defaults; the point is added all the same.
    void readPointGroup(RawLineCursor& cursor) {
        PointRecordGroup& g = job_.groups.emplace_back();
        const auto begin = static_cast<qint64>(cursor.pos());
        const std::size_t end = readGroupLines(cursor, [&](int index, std::string_view line) {
            switch (index) {
                case 0:
                    parser_.parsePoint(line, g.point);
                    break;
                case 1:
                    parser_.parseAntenna(line, g.antenna);
                    break;
                case 2:
                    parser_.parseAntennaType(line, g.antennaType);
                    break;
                case 3:
                    parser_.parseEpoch(line, g.epoch);
                    break;
                case 4:
                    parser_.parseDop(line, g.dop);
                    break;
                case 5:
                    parser_.parseRoverInfo(line, g.roverInfo);
                    break;
                case 6:
                    parser_.parseBaseInfo(line, g.baseInfo);
                    break;
                default:
                    parser_.parseAttributes(line, g.attributes);
                    break;
            }
        });
        g.sourceIndex = job_.sourceGroups.size();
        job_.sourceGroups.push_back(RawSpan{begin, static_cast<qint64>(end)});

        RoverPoint& r = job_.rovers.emplace_back();
        r.name = toText(g.point.name);
        r.north = g.point.north;
        r.east = g.point.east;
        r.height = g.point.height;
        r.antennaHeight = g.antenna.antennaHeight;
        r.antennaMethod = g.antenna.method;
        r.antennaType = antennaTypes_.text(g.antennaType);
        r.hrms = g.epoch.hrms;
        r.vrms = g.epoch.vrms;
        r.pdop = g.dop.pdop;
        r.solutionType = g.dop.solutionType;
        const RoverInfoRecord& ri = g.roverInfo;
        r.time = toText(ri.time);
        r.wgsLatitude = ri.wgsLatitude;
        r.wgsLongitude = ri.wgsLongitude;
        r.wgsHeight = ri.wgsHeight;
        r.duration = ri.duration;
        r.epochs = ri.epochs;
        r.gpsSatellites = ri.gpsSatellites;
        r.glonassSatellites = ri.glonassSatellites;
        r.gnssSatellites = ri.gnssSatellites;
        const BaseInfoRecord& bi = g.baseInfo;
        SharedTexts::Entry& name = baseNameTexts_.entry(bi.name);
        r.baseName = name.text;
        r.baseWgsLatitude = bi.wgsLatitude;
        r.baseWgsLongitude = bi.wgsLongitude;
        r.baseWgsHeight = bi.wgsHeight;
        r.baseAntennaType = baseAntennaTypes_.text(bi.antennaType);
        r.baseAntennaHeight = bi.antennaHeight;
        r.baseAntennaMethod = bi.antennaMethod;
        r.baseNorth = bi.north;
        r.baseEast = bi.east;
        r.baseHeight = bi.height;
        const AttributeRecord& a = g.attributes;
        r.code = codes_.text(a.code);
        r.echoHeight = echoHeights_.text(a.echoHeight);
        r.precisionX = a.precisionX;
        r.precisionY = a.precisionY;
        r.precisionH = a.precisionH;
        r.method = methods_.text(a.method);

        // A name met before (the usual case) needs no look-up in the base list's names.
        if (!name.seen && !baseNames_.contains(name.text)) {
            baseNames_.insert(name.text);
            BaseStation b;
            b.name = r.baseName;
            b.wgsLatitude = bi.wgsLatitude;
            b.wgsLongitude = bi.wgsLongitude;
            b.wgsHeight = bi.wgsHeight;
            b.antennaType = r.baseAntennaType;
            b.antennaHeight = bi.antennaHeight;
            b.antennaMethod = bi.antennaMethod;
            b.north = bi.north;
            b.east = bi.east;
            b.height = bi.height;
            job_.bases.push_back(std::move(b));
        }
        name.seen = true;
        if (job_.groups.size() == kGroupsBeforeReserve) reserveForWholeFile(end);
    }

    // Once the first groups show how long a group is, room for all the file's groups saves the lists
    // from growing step by step (a file of 100 000 points would move its groups several times).
    void reserveForWholeFile(std::size_t used) {
        if (used == 0) return;
        const double perGroup = static_cast<double>(used) / static_cast<double>(kGroupsBeforeReserve);
        const double expected = static_cast<double>(job_.source.size()) / perGroup * 1.05 + 16;
        // The first groups may not be typical of the rest of a file (a few short groups, then one long
        // line): never set aside more than a modest amount up front; beyond it the lists grow as usual.
        const qsizetype count = static_cast<qsizetype>(expected < kMostReserved ? expected : kMostReserved);
        job_.rovers.reserve(count);
        job_.groups.reserve(count);
        job_.sourceGroups.reserve(count);
    }

    static constexpr qsizetype kGroupsBeforeReserve = 256;
    static constexpr double kMostReserved = 250'000;  // about 250 MB of rovers and groups

    RawJob& job_;
    RawRecordParser parser_;
    QSet<QString> baseNames_;  // names already in job_.bases
    SharedTexts antennaTypes_, baseNameTexts_, baseAntennaTypes_, codes_, echoHeights_, methods_;
};

}  // namespace

bool readRawJob(QIODevice& device, RawJob& job) {
    if (!device.isOpen() || !device.isReadable()) return false;
    RawJob fresh;
    try {
        if (!readWholeDevice(device, fresh.source)) return false;
        JobBuilder(fresh).readAll();
    } catch (const std::bad_alloc&) {
        return false;  // a file too large for the memory leaves the open job as it was
    }
    fresh.path = std::move(job.path);
    job = std::move(fresh);
    return true;
}

bool readRawJob(const QString& path, RawJob& job) {
    QFile file(path);
    // The whole file is read into the job's own buffer at once: a second buffer in the device would only
    // copy.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    return readRawJob(file, job);
}

