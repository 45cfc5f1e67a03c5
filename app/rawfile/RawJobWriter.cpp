#include "rawfile/RawJobWriter.h"

#include <QHash>

namespace {

std::string toBytes(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
    g.point.name = toBytes(r.name);
    g.point.north = r.north;
    g.point.east = r.east;
    g.point.height = r.height;

    g.antenna.antennaHeight = r.antennaHeight;
    g.antenna.method = r.antennaMethod;
    g.antennaType = toBytes(r.antennaType);
    g.epoch.hrms = r.hrms;
    g.epoch.vrms = r.vrms;
    g.dop.pdop = r.pdop;
    g.dop.solutionType = r.solutionType;

    RoverInfoRecord& ri = g.roverInfo;
    ri.time = toBytes(r.time);
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
        bi.name = toBytes(base->name);
        bi.wgsLatitude = base->wgsLatitude;
        bi.wgsLongitude = base->wgsLongitude;
        bi.wgsHeight = base->wgsHeight;
        bi.antennaType = toBytes(base->antennaType);
        bi.antennaHeight = base->antennaHeight;
        bi.antennaMethod = base->antennaMethod;
        bi.north = base->north;
        bi.east = base->east;
        bi.height = base->height;
    } else {
        bi.name = toBytes(r.baseName);
        bi.wgsLatitude = r.baseWgsLatitude;
        bi.wgsLongitude = r.baseWgsLongitude;
        bi.wgsHeight = r.baseWgsHeight;
        bi.antennaType = toBytes(r.baseAntennaType);
        bi.antennaHeight = r.baseAntennaHeight;
        bi.antennaMethod = r.baseAntennaMethod;
        bi.north = r.baseNorth;
        bi.east = r.baseEast;
        bi.height = r.baseHeight;
    }

    AttributeRecord& a = g.attributes;
    a.code = toBytes(r.code);
    a.echoHeight = toBytes(r.echoHeight);
    a.precisionX = r.precisionX;
    a.precisionY = r.precisionY;
    a.precisionH = r.precisionH;
    a.method = toBytes(r.method);
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

        for (qsizetype i = 0; ok && i < job.rovers.size(); ++i) {
            const RoverPoint& rover = job.rovers[i];
            // A rover without stored records (the lists should be parallel) is written from fresh ones.
            PointRecordGroup group = i < job.groups.size() ? job.groups[i] : PointRecordGroup();
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
