#include "rawfile/RawJobReader.h"

#include <QFile>
#include <QIODevice>
#include <QSet>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "rawfile/RawRecordParser.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;  // π/180
constexpr qint64 kChunkSize = 1 << 20;

// Hands out the lines of a device one by one, reading it in large chunks. A line ends at LF, CR LF or a
// lone CR; the line end is not part of the line. The view returned by next() stays valid until the next
// call of next().
class LineSource {
  public:
    explicit LineSource(QIODevice& device) : device_(device) {}

    bool next(std::string_view& line) {
        for (;;) {
            const char* data = buffer_.get();
            const std::size_t size = size_;
            const char* from = data + begin_ + searched_;
            const std::size_t left = size - begin_ - searched_;
            const char* lf = left ? static_cast<const char*>(std::memchr(from, '\n', left)) : nullptr;
            const std::size_t scanLength = lf ? static_cast<std::size_t>(lf - from) : left;
            const char* cr = from + scanLength <= data + crFreeEnd_ ? nullptr
                             : scanLength ? static_cast<const char*>(std::memchr(from, '\r', scanLength))
                                          : nullptr;
            if (cr && (cr + 1 < data + size || atEnd_)) {
                // CR LF or a lone CR (a CR at the very end of the buffer waits for the next chunk).
                const bool crlf = cr + 1 < data + size && cr[1] == '\n';
                return take(line, static_cast<std::size_t>(cr - data), crlf ? 2 : 1);
            }
            if (lf && !cr) return take(line, static_cast<std::size_t>(lf - data), 1);
            if (atEnd_) {
                if (begin_ == size) return false;
                return take(line, size, 0);
            }
            searched_ = cr ? static_cast<std::size_t>(cr - (data + begin_)) : size - begin_;
            fill();
        }
    }

    // Makes the line returned last the next one again.
    void unread() {
        begin_ = lastBegin_;
        searched_ = 0;
    }

    bool failed() const { return failed_; }

    // Bytes of the device handed out so far, line ends included.
    qint64 consumed() const { return readTotal_ - static_cast<qint64>(size_ - begin_); }

  private:
    bool take(std::string_view& line, std::size_t end, std::size_t endLength) {
        line = std::string_view(buffer_.get() + begin_, end - begin_);
        lastBegin_ = begin_;
        begin_ = end + endLength;
        searched_ = 0;
        return true;
    }

    // Keeps the unread part and appends the next chunk of the device (the buffer grows only for a line
    // longer than a chunk).
    void fill() {
        const std::size_t kept = size_ - begin_;
        const std::size_t needed = kept + static_cast<std::size_t>(kChunkSize);
        if (needed > capacity_) {
            std::size_t capacity = capacity_ ? capacity_ : static_cast<std::size_t>(kChunkSize);
            while (capacity < needed) capacity *= 2;
            std::unique_ptr<char[]> bigger(new char[capacity]);
            if (kept) std::memcpy(bigger.get(), buffer_.get() + begin_, kept);
            buffer_ = std::move(bigger);
            capacity_ = capacity;
        } else if (kept) {
            std::memmove(buffer_.get(), buffer_.get() + begin_, kept);
        }
        lastBegin_ = 0;
        begin_ = 0;
        size_ = kept;
        const qint64 got = device_.read(buffer_.get() + kept, kChunkSize);
        if (got < 0) failed_ = true;
        if (got > 0) {
            readTotal_ += got;
            size_ += static_cast<std::size_t>(got);
        } else {
            atEnd_ = true;
        }
        // Most files have no CR at all: one scan of the chunk spares a scan of each of its lines.
        const void* firstCr = std::memchr(buffer_.get(), '\r', size_);
        crFreeEnd_ =
            firstCr ? static_cast<std::size_t>(static_cast<const char*>(firstCr) - buffer_.get()) : size_;
        if (firstFill_) {
            // A UTF-8 byte order mark is not part of the first line.
            firstFill_ = false;
            if (size_ >= 3 && std::memcmp(buffer_.get(), "\xEF\xBB\xBF", 3) == 0) begin_ = 3;
        }
    }

    QIODevice& device_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;       // bytes of buffer_ in use
    std::size_t begin_ = 0;      // start of the unread part of buffer_
    std::size_t searched_ = 0;   // bytes after begin_ known to hold no line end
    std::size_t lastBegin_ = 0;  // start of the line returned last
    bool atEnd_ = false;
    bool failed_ = false;
    bool firstFill_ = true;
    qint64 readTotal_ = 0;
    std::size_t crFreeEnd_ = 0;  // buffer_ holds no CR before this offset
};

template <std::size_t N>
bool startsWith(std::string_view line, const char (&tag)[N]) {
    return line.size() >= N - 1 && std::memcmp(line.data(), tag, N - 1) == 0;
}

// The local 8-bit encoding is a superset of ASCII, so pure ASCII text (nearly every text of a raw file)
// takes the cheaper Latin-1 widening with the same result.
QString toText(const std::string& bytes) {
    const qsizetype size = static_cast<qsizetype>(bytes.size());
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return QString::fromLocal8Bit(bytes.data(), size);
    }
    return QString::fromLatin1(bytes.data(), size);
}

// Converts the texts of one kind of field (antenna types, base names, codes...) and lets equal texts
// share one string: a large job repeats a few such values over and over.
class SharedTexts {
  public:
    const QString& text(const std::string& bytes) {
        if (last_ && bytes == last_->first) return last_->second;
        auto found = known_.find(bytes);
        if (found == known_.end()) {
            if (known_.size() >= kLimit) known_.clear();  // many distinct values: keep the memory bounded
            found = known_.emplace(bytes, toText(bytes)).first;
        }
        last_ = &*found;
        return found->second;
    }

  private:
    static constexpr std::size_t kLimit = 4096;
    std::unordered_map<std::string, QString> known_;
    const std::pair<const std::string, QString>* last_ = nullptr;  // the entry returned last
};

// Builds a job from the lines of one file.
class JobBuilder {
  public:
    JobBuilder(RawJob& job, qint64 deviceSize) : job_(job), deviceSize_(deviceSize) {}

    void readAll(LineSource& source) {
        std::string_view line;
        while (source.next(line)) readLine(line, source);
    }

  private:
    void readLine(std::string_view line, LineSource& source) {
        JobHeader& h = job_.header;
        JobSummary& s = job_.summary;
        if (startsWith(line, "QZVS")) {
            std::string version;
            parser_.parseVersion(line, version);
            h.version = std::move(version);
            s.version = toText(h.version);
        } else if (startsWith(line, "JB")) {
            JobRecord r;
            parser_.parseJob(line, r);
            h.job = std::move(r);
            s.jobName = toText(h.job.name);
            s.jobDate = toText(h.job.date);
            s.jobTime = toText(h.job.time);
        } else if (startsWith(line, "CS")) {
            CoordSystemRecord r;
            parser_.parseCoordSystem(line, r);
            h.coordSystem = std::move(r);
            s.datumName = toText(h.coordSystem.datumName);
        } else if (startsWith(line, "ES")) {
            EllipsoidRecord r;
            parser_.parseEllipsoid(line, r);
            h.ellipsoid = std::move(r);
            s.semiMajorAxis = h.ellipsoid.semiMajorAxis;
            s.inverseFlattening = h.ellipsoid.inverseFlattening;
            s.ellipsoidName = toText(h.ellipsoid.name);
        } else if (startsWith(line, "DT")) {
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
        } else if (startsWith(line, "QZAH")) {
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
        } else if (startsWith(line, "QZAV")) {
            VerticalAdjustRecord r;
            parser_.parseVerticalAdjust(line, r);
            h.verticalAdjust = r;
            s.verticalAdjustInUse = r.inUse != 0;
            s.a0 = r.a0;
            s.a1 = r.a1;
            s.a2 = r.a2;
            s.x0 = r.x0;
            s.y0 = r.y0;
        } else if (startsWith(line, "PJ")) {
            ProjectionRecord r;
            parser_.parseProjection(line, r);
            h.projection = std::move(r);
            s.projectionType = h.projection.type;
            s.originLatitude = toText(h.projection.originLatitude);
            s.falseNorthing = h.projection.falseNorthing;
            s.falseEasting = h.projection.falseEasting;
            s.projectionScaleFactor = h.projection.scaleFactor;
        } else if (startsWith(line, "QZMC")) {
            std::string text;
            parser_.parseCentralMeridian(line, text);
            h.centralMeridian = std::move(text);
            s.centralMeridian = toText(h.centralMeridian);
        } else if (startsWith(line, "GS")) {
            readPointGroup(line, source);
        }
    }

    // The GS line and the seven lines after it, taken by position. A line beginning with "GS" among them
    // is the next point's and ends this group early; so does the end of the file. The missing records keep
    // their defaults, exactly as if empty lines had been read in their place.
    void readPointGroup(std::string_view gsLine, LineSource& source) {
        PointRecordGroup& g = job_.groups.emplace_back();
        parser_.parsePoint(gsLine, g.point);
        for (int position = 0; position < 7; ++position) {
            std::string_view line;
            if (!source.next(line)) break;
            if (startsWith(line, "GS")) {
                source.unread();
                break;
            }
            switch (position) {
                case 0:
                    parser_.parseAntenna(line, g.antenna);
                    break;
                case 1:
                    parser_.parseAntennaType(line, g.antennaType);
                    break;
                case 2:
                    parser_.parseEpoch(line, g.epoch);
                    break;
                case 3:
                    parser_.parseDop(line, g.dop);
                    break;
                case 4:
                    parser_.parseRoverInfo(line, g.roverInfo);
                    break;
                case 5:
                    parser_.parseBaseInfo(line, g.baseInfo);
                    break;
                default:
                    parser_.parseAttributes(line, g.attributes);
                    break;
            }
        }

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
        r.baseName = baseNameTexts_.text(bi.name);
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

        const bool sameBaseAsLast = haveLastBase_ && bi.name == lastBaseName_;
        if (!sameBaseAsLast) {
            lastBaseName_ = bi.name;
            haveLastBase_ = true;
        }
        if (!sameBaseAsLast && !baseNames_.contains(r.baseName)) {
            baseNames_.insert(r.baseName);
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
        if (job_.groups.size() == kGroupsBeforeReserve) reserveForWholeFile(source);
    }

    // Once the first groups show how long a group is, room for all the file's groups saves the lists
    // from growing step by step (a file of 100 000 points would move its groups several times).
    void reserveForWholeFile(const LineSource& source) {
        const qint64 used = source.consumed();
        if (deviceSize_ <= 0 || used <= 0) return;
        const double perGroup = static_cast<double>(used) / static_cast<double>(kGroupsBeforeReserve);
        const double expected = static_cast<double>(deviceSize_) / perGroup * 1.05 + 16;
        // The first groups may not be typical of the rest of a file (a few short groups, then one long
        // line): never set aside more than a modest amount up front; beyond it the lists grow as usual.
        const qsizetype count = static_cast<qsizetype>(expected < kMostReserved ? expected : kMostReserved);
        job_.rovers.reserve(count);
        job_.groups.reserve(count);
    }

    static constexpr qsizetype kGroupsBeforeReserve = 256;
    static constexpr double kMostReserved = 250'000;  // about 250 MB of rovers and groups

    RawJob& job_;
    qint64 deviceSize_;
    RawRecordParser parser_;
    QSet<QString> baseNames_;   // names already in job_.bases
    std::string lastBaseName_;  // base name of the group read last (already in job_.bases)
    bool haveLastBase_ = false;
    SharedTexts antennaTypes_, baseNameTexts_, baseAntennaTypes_, codes_, echoHeights_, methods_;
};

}  // namespace

bool readRawJob(QIODevice& device, RawJob& job) {
    if (!device.isOpen() || !device.isReadable()) return false;
    RawJob fresh;
    LineSource source(device);
    try {
        JobBuilder(fresh, device.isSequential() ? 0 : device.size()).readAll(source);
    } catch (const std::bad_alloc&) {
        return false;  // a file too large for the memory leaves the open job as it was
    }
    if (source.failed()) return false;
    fresh.path = std::move(job.path);
    job = std::move(fresh);
    return true;
}

bool readRawJob(const QString& path, RawJob& job) {
    QFile file(path);
    // The reader keeps its own large buffer; a second one inside the device would only copy.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    return readRawJob(file, job);
}
