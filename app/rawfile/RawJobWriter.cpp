#include "rawfile/RawJobWriter.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <vector>

#include "rawfile/RawLines.h"
#include "rawfile/RawRecordParser.h"
#include "rawfile/RawText.h"

namespace {

// The fields of a group that a rover (and its base station) hold, each with the index of its record in the
// group (0 = GS ... 7 = QZAD). visit(record, field, value) is called once per field: the refresh assigns,
// the comparison collects the records that would change. base is null to take the rover's own base copy.
template <typename Group, typename Visit>
void visitRoverFields(const RoverPoint& r, const BaseStation* base, Group& g, Visit&& visit) {
    visit(0, g.point.name, r.name);
    visit(0, g.point.north, r.north);
    visit(0, g.point.east, r.east);
    visit(0, g.point.height, r.height);
    visit(1, g.antenna.antennaHeight, r.antennaHeight);
    visit(1, g.antenna.method, r.antennaMethod);
    visit(2, g.antennaType, r.antennaType);
    visit(3, g.epoch.hrms, r.hrms);
    visit(3, g.epoch.vrms, r.vrms);
    visit(4, g.dop.pdop, r.pdop);
    visit(4, g.dop.solutionType, r.solutionType);
    auto& ri = g.roverInfo;
    visit(5, ri.time, r.time);
    visit(5, ri.wgsLatitude, r.wgsLatitude);
    visit(5, ri.wgsLongitude, r.wgsLongitude);
    visit(5, ri.wgsHeight, r.wgsHeight);
    visit(5, ri.duration, r.duration);
    visit(5, ri.epochs, r.epochs);
    visit(5, ri.gpsSatellites, r.gpsSatellites);
    visit(5, ri.glonassSatellites, r.glonassSatellites);
    visit(5, ri.gnssSatellites, r.gnssSatellites);
    auto& bi = g.baseInfo;
    if (base) {
        visit(6, bi.name, base->name);
        visit(6, bi.wgsLatitude, base->wgsLatitude);
        visit(6, bi.wgsLongitude, base->wgsLongitude);
        visit(6, bi.wgsHeight, base->wgsHeight);
        visit(6, bi.antennaType, base->antennaType);
        visit(6, bi.antennaHeight, base->antennaHeight);
        visit(6, bi.antennaMethod, base->antennaMethod);
        visit(6, bi.north, base->north);
        visit(6, bi.east, base->east);
        visit(6, bi.height, base->height);
    } else {
        visit(6, bi.name, r.baseName);
        visit(6, bi.wgsLatitude, r.baseWgsLatitude);
        visit(6, bi.wgsLongitude, r.baseWgsLongitude);
        visit(6, bi.wgsHeight, r.baseWgsHeight);
        visit(6, bi.antennaType, r.baseAntennaType);
        visit(6, bi.antennaHeight, r.baseAntennaHeight);
        visit(6, bi.antennaMethod, r.baseAntennaMethod);
        visit(6, bi.north, r.baseNorth);
        visit(6, bi.east, r.baseEast);
        visit(6, bi.height, r.baseHeight);
    }
    auto& a = g.attributes;
    visit(7, a.code, r.code);
    visit(7, a.echoHeight, r.echoHeight);
    visit(7, a.precisionX, r.precisionX);
    visit(7, a.precisionY, r.precisionY);
    visit(7, a.precisionH, r.precisionH);
    visit(7, a.method, r.method);
}

// Doubles compare bitwise: a NaN read is a NaN unchanged.
bool sameValue(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool sameValue(int a, int b) { return a == b; }
bool sameValue(const RawBytes& bytes, const QString& text) { return rawTextEquals(bytes, text); }

struct Assign {
    void operator()(int, RawBytes& bytes, const QString& text) const {
        if (!rawTextEquals(bytes, text)) bytes = encodeRawText(text);  // an unedited text keeps its bytes
    }
    void operator()(int, double& field, double value) const { field = value; }
    void operator()(int, int& field, int value) const { field = value; }
};

// Bit i set when record i of the group would change by the refresh.
unsigned changedRecords(const RoverPoint& rover, const BaseStation* base, const PointRecordGroup& group) {
    unsigned changed = 0;
    visitRoverFields(rover, base, group, [&](int record, const auto& field, const auto& value) {
        if (!(changed & (1u << record)) && !sameValue(field, value)) changed |= 1u << record;
    });
    return changed;
}

// Keys that each record's format writes; a rewritten line carries every other field of the line on.
struct FormatKeys {
    std::size_t width;
    std::vector<std::string_view> keys;
};
const FormatKeys kFormatKeys[kGroupRecords] = {
    {2, {"PN", "N ", "E ", "EL"}},
    {2, {"DC", "MA", "ME", "RA"}},
    {4, {"AT  "}},
    {2, {"TM", "LA", "LN", "HT", "RH", "RV", "DH", "DV", "GM", "CL"}},
    {4, {"DOP ", "DIF "}},
    {4, {"QZTM", "RVWB", "RVWL", "RVWH", "DRTM", "EPCH", "NGPS", "NGNS", "NALL"}},
    {4, {"BSNM", "BSN ", "BSE ", "BSH ", "BSWB", "BSWL", "BSWH", "BSAT", "BSMA", "BSME"}},
    {4, {"CODE", "ECHT", "XP  ", "YP  ", "HP  ", "METH"}},
};

const char* formatRecord(std::string& out, int record, const PointRecordGroup& g) {
    switch (record) {
        case 0:
            return formatPoint(out, g.point);
        case 1:
            return formatAntenna(out, g.antenna);
        case 2:
            return formatAntennaType(out, g.antennaType);
        case 3:
            return formatEpoch(out, g.epoch);
        case 4:
            return formatDop(out, g.dop);
        case 5:
            return formatRoverInfo(out, g.roverInfo);
        case 6:
            return formatBaseInfo(out, g.baseInfo);
        default:
            return formatAttributes(out, g.attributes);
    }
}

QString pointContext(const RoverPoint& rover) { return QStringLiteral("Point \"%1\"").arg(rover.name); }

// Writes a job that was read from a file: the file's bytes, with the lines of deleted points left out and
// the lines of edited records rewritten in their formats.
class SourceWriter {
  public:
    SourceWriter(const RawJob& job, RawRecordWriter& writer)
        : job_(job),
          writer_(writer),
          data_(job.source.constData()),
          size_(static_cast<qint64>(job.source.size())) {
        RawLineCursor cursor(data_, static_cast<std::size_t>(size_));
        std::string_view line;
        std::size_t endLength = 0;
        while (cursor.next(line, endLength) && endLength == 0) {
        }
        if (endLength > 0) lineEnd_ = std::string_view(line.data() + line.size(), endLength);
    }

    bool write() {
        qint64 pos = 0;
        qsizetype j = 0;
        const qsizetype rovers = job_.rovers.size();
        for (qsizetype k = 0; k < job_.sourceGroups.size(); ++k) {
            const RawSpan span = clamped(job_.sourceGroups[k], pos);
            if (!copy(pos, span.begin)) return false;
            pos = span.end;
            while (j < rovers) {
                const qsizetype index = j < job_.groups.size() ? job_.groups[j].sourceIndex : -1;
                if (index == k) {
                    if (!writeReadGroup(j++, span)) return false;
                    break;
                }
                if (index > k) break;  // stands later in the file
                if (!writeNewGroup(j++)) return false;
            }
        }
        if (!copy(pos, size_)) return false;
        while (j < rovers) {
            if (!writeNewGroup(j++)) return false;
        }
        return flushCopy();
    }

  private:
    RawSpan clamped(RawSpan span, qint64 pos) const {
        span.begin = std::clamp(span.begin, pos, size_);
        span.end = std::clamp(span.end, span.begin, size_);
        return span;
    }

    // Unedited bytes gather into one range as long as they follow each other in the file.
    bool copy(qint64 from, qint64 to) {
        if (from >= to) return true;
        if (from != pendingEnd_) {
            if (!flushCopy()) return false;
            pendingBegin_ = from;
        }
        pendingEnd_ = to;
        lastByte_ = data_[to - 1];
        return true;
    }

    bool flushCopy() {
        const qint64 begin = pendingBegin_;
        pendingBegin_ = pendingEnd_;
        if (begin >= pendingEnd_) return true;
        return writer_.writeBytes(
            std::string_view(data_ + begin, static_cast<std::size_t>(pendingEnd_ - begin)));
    }

    bool put(std::string_view bytes) {
        if (bytes.empty()) return true;
        if (!flushCopy()) return false;
        lastByte_ = bytes.back();
        return writer_.writeBytes(bytes);
    }

    bool atLineStart() const { return lastByte_ == '\n' || lastByte_ == '\r' || lastByte_ == 0; }

    // A group of the file: its bytes as they are when no record changed, else line by line. Its base
    // record follows the rover's own copy of the base, which Calculate moves with the base: a group that
    // disagreed with others about its base keeps what it said.
    bool writeReadGroup(qsizetype j, RawSpan span) {
        const RoverPoint& rover = job_.rovers[j];
        const PointRecordGroup& group = job_.groups[j];
        const unsigned changed = changedRecords(rover, nullptr, group);
        if (changed == 0) return copy(span.begin, span.end);

        working_ = group;
        refreshPointGroup(rover, nullptr, working_);
        writer_.setContext(pointContext(rover));

        struct Line {
            qint64 begin;
            std::size_t length, endLength;
            int record;  // -1: a line the group carries but does not interpret
        };
        std::vector<Line> lines;
        RawLineCursor cursor(data_, static_cast<std::size_t>(span.end), static_cast<std::size_t>(span.begin));
        std::string_view text;
        std::size_t endLength = 0;
        unsigned seen = 0;
        while (cursor.next(text, endLength)) {
            int record = lines.empty() ? 0 : groupRecordIndex(rawTagOf(text));
            if (record < 0 || (seen & (1u << record))) record = -1;
            if (record >= 0) seen |= 1u << record;
            lines.push_back({text.data() - data_, text.size(), endLength, record});
        }
        std::string_view groupEnd =
            lines.empty() || lines[0].endLength == 0
                ? lineEnd_
                : std::string_view(data_ + lines[0].begin + lines[0].length, lines[0].endLength);

        // A record the group lacks is added only when an edit gave it a value (else the edit would be lost),
        // before the first record that follows it in the group's order.
        unsigned missing = changed & ~seen;
        int nextMissing = 0;
        auto insertMissingBefore = [&](int record) {
            for (; nextMissing < record && nextMissing < kGroupRecords; ++nextMissing) {
                if (!(missing & (1u << nextMissing))) continue;
                if (!atLineStart() && !put(lineEnd_)) return false;
                line_.clear();
                if (const char* bad = formatRecord(line_, nextMissing, working_)) return writer_.refuse(bad);
                line_.append(groupEnd);
                if (!put(line_)) return false;
            }
            return true;
        };
        for (const Line& l : lines) {
            if (l.record > 0 && !insertMissingBefore(l.record)) return false;
            const qint64 lineEndAt = l.begin + static_cast<qint64>(l.length);
            if (l.record < 0 || !(changed & (1u << l.record))) {
                if (!copy(l.begin, lineEndAt + static_cast<qint64>(l.endLength))) return false;
                continue;
            }
            if (!rewrite(l.record, std::string_view(data_ + l.begin, l.length),
                         std::string_view(data_ + lineEndAt, l.endLength)))
                return false;
        }
        return insertMissingBefore(kGroupRecords);
    }

    // The record in its format, then the fields of the original line that the format does not write
    // (a description "--", unknown keys), in their order, then the line's own line end.
    bool rewrite(int record, std::string_view original, std::string_view end) {
        line_.clear();
        if (const char* bad = formatRecord(line_, record, working_)) return writer_.refuse(bad);
        const FormatKeys& format = kFormatKeys[record];
        parser_.tokenize(original);
        const auto& tokens = parser_.tokens();
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            const std::string_view token = tokens[i];
            if (token.empty()) continue;
            const std::string_view key = token.substr(0, format.width);
            const bool written = key.size() == format.width &&
                                 std::find(format.keys.begin(), format.keys.end(), key) != format.keys.end();
            if (written) continue;
            line_ += ',';
            line_.append(token);
        }
        line_.append(end);
        return put(line_);
    }

    // A group that was not read from the file (built in memory): in the record formats, with the file's
    // line ends.
    bool writeNewGroup(qsizetype j) {
        const RoverPoint& rover = job_.rovers[j];
        working_ = j < job_.groups.size() ? job_.groups[j] : PointRecordGroup();
        refreshPointGroup(rover, findLastBase(job_.bases, rover.baseName), working_);
        writer_.setContext(pointContext(rover));
        if (!atLineStart() && !put(lineEnd_)) return false;
        for (int record = 0; record < kGroupRecords; ++record) {
            line_.clear();
            if (const char* bad = formatRecord(line_, record, working_)) return writer_.refuse(bad);
            line_.append(lineEnd_);
            if (!put(line_)) return false;
        }
        return true;
    }

    const RawJob& job_;
    RawRecordWriter& writer_;
    const char* data_;
    qint64 size_;
    std::string_view lineEnd_ = "\n";  // the file's first line end, for lines written anew
    qint64 pendingBegin_ = 0;
    qint64 pendingEnd_ = 0;
    char lastByte_ = 0;  // the last byte written (0 before the first)
    PointRecordGroup working_;
    std::string line_;
    RawRecordParser parser_;
};

}  // namespace

QString suggestedSaveName(const QString& path) {
    if (path.size() < 5) return QString();
    return path.left(path.size() - 4) + QStringLiteral("_new.Raw");
}

bool writeHeader(const JobHeader& h, RawRecordWriter& w) {
    return w.writeVersion(h.version) && w.writeJob(h.job) && w.writeCoordSystem(h.coordSystem) &&
           w.writeEllipsoid(h.ellipsoid) && w.writeDatum(h.datum) &&
           w.writeHorizontalAdjust(h.horizontalAdjust) && w.writeVerticalAdjust(h.verticalAdjust) &&
           w.writeProjection(h.projection) && w.writeCentralMeridian(h.centralMeridian);
}

bool writePointGroup(const PointRecordGroup& g, RawRecordWriter& w) {
    return w.writePoint(g.point) && w.writeAntenna(g.antenna) && w.writeAntennaType(g.antennaType) &&
           w.writeEpoch(g.epoch) && w.writeDop(g.dop) && w.writeRoverInfo(g.roverInfo) &&
           w.writeBaseInfo(g.baseInfo) && w.writeAttributes(g.attributes);
}

void refreshPointGroup(const RoverPoint& rover, const BaseStation* base, PointRecordGroup& group) {
    visitRoverFields(rover, base, group, Assign());
}

const BaseStation* findLastBase(const QList<BaseStation>& bases, const QString& name) {
    for (qsizetype i = bases.size(); i-- > 0;) {
        if (bases[i].name == name) return &bases[i];
    }
    return nullptr;
}

bool writeRawJob(const QString& path, const RawJob& job, QString* error) {
    RawRecordWriter writer(path);
    bool ok = false;
    if (job.readFromFile) {
        ok = SourceWriter(job, writer).write();
    } else {
        writer.setContext(QStringLiteral("Header"));
        ok = writeHeader(job.header, writer);
        // Name → index of the last station with that name, so a large job needs no search per rover.
        QHash<QString, qsizetype> lastBase;
        lastBase.reserve(job.bases.size());
        for (qsizetype i = 0; i < job.bases.size(); ++i) lastBase.insert(job.bases[i].name, i);

        PointRecordGroup group;  // one working copy, so its texts reuse their storage from point to point
        for (qsizetype i = 0; ok && i < job.rovers.size(); ++i) {
            const RoverPoint& rover = job.rovers[i];
            // A rover without stored records (the lists should be parallel) is written from fresh ones.
            group = i < job.groups.size() ? job.groups[i] : PointRecordGroup();
            const auto found = lastBase.constFind(rover.baseName);
            refreshPointGroup(rover, found == lastBase.constEnd() ? nullptr : &job.bases[found.value()],
                              group);
            writer.setContext(pointContext(rover));
            ok = writePointGroup(group, writer);
        }
    }
    ok = writer.close() && ok;
    if (!ok && error) *error = writer.errorString();
    return ok;
}
