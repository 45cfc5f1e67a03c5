#include "rawfile/RawJobWriter.h"

#include <QHash>

namespace {

// Sets bytes to text in the local 8-bit encoding. That encoding is a superset of ASCII, so pure ASCII text
// (nearly every text of a job) is narrowed in place without the round trip through a byte array.
void setBytes(std::string& bytes, const QString& text) {
    const qsizetype size = text.size();
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i].unicode() >= 0x80) {
            const QByteArray local = text.toLocal8Bit();
            bytes.assign(local.constData(), static_cast<std::size_t>(local.size()));
            return;
        }
    }
    bytes.resize(static_cast<std::size_t>(size));
    for (qsizetype i = 0; i < size; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(chars[i].unicode());
}

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

void refreshPointGroup(const RoverPoint& r, const BaseStation* base, PointRecordGroup& g) {
    setBytes(g.point.name, r.name);
    g.point.north = r.north;
    g.point.east = r.east;
    g.point.height = r.height;

    g.antenna.antennaHeight = r.antennaHeight;
    g.antenna.method = r.antennaMethod;
    setBytes(g.antennaType, r.antennaType);
    g.epoch.hrms = r.hrms;
    g.epoch.vrms = r.vrms;
    g.dop.pdop = r.pdop;
    g.dop.solutionType = r.solutionType;

    RoverInfoRecord& ri = g.roverInfo;
    setBytes(ri.time, r.time);
    ri.wgsLatitude = r.wgsLatitude;
    ri.wgsLongitude = r.wgsLongitude;
    ri.wgsHeight = r.wgsHeight;
    ri.duration = r.duration;
    ri.epochs = r.epochs;
    ri.gpsSatellites = r.gpsSatellites;
    ri.glonassSatellites = r.glonassSatellites;
    ri.gnssSatellites = r.gnssSatellites;

    BaseInfoRecord& bi = g.baseInfo;
    if (base) {
        setBytes(bi.name, base->name);
        bi.wgsLatitude = base->wgsLatitude;
        bi.wgsLongitude = base->wgsLongitude;
        bi.wgsHeight = base->wgsHeight;
        setBytes(bi.antennaType, base->antennaType);
        bi.antennaHeight = base->antennaHeight;
        bi.antennaMethod = base->antennaMethod;
        bi.north = base->north;
        bi.east = base->east;
        bi.height = base->height;
    } else {
        setBytes(bi.name, r.baseName);
        bi.wgsLatitude = r.baseWgsLatitude;
        bi.wgsLongitude = r.baseWgsLongitude;
        bi.wgsHeight = r.baseWgsHeight;
        setBytes(bi.antennaType, r.baseAntennaType);
        bi.antennaHeight = r.baseAntennaHeight;
        bi.antennaMethod = r.baseAntennaMethod;
        bi.north = r.baseNorth;
        bi.east = r.baseEast;
        bi.height = r.baseHeight;
    }

    AttributeRecord& a = g.attributes;
    setBytes(a.code, r.code);
    setBytes(a.echoHeight, r.echoHeight);
    a.precisionX = r.precisionX;
    a.precisionY = r.precisionY;
    a.precisionH = r.precisionH;
    setBytes(a.method, r.method);
}

const BaseStation* findLastBase(const QList<BaseStation>& bases, const QString& name) {
    for (qsizetype i = bases.size(); i-- > 0;) {
        if (bases[i].name == name) return &bases[i];
    }
    return nullptr;
}

bool writeRawJob(const QString& path, const RawJob& job, QString* error) {
    RawRecordWriter writer(path);
    bool ok = writeHeader(job.header, writer);
    if (ok) {
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
            ok = writePointGroup(group, writer);
        }
    }
    ok = writer.close() && ok;
    if (!ok && error) *error = writer.errorString();
    return ok;
}
