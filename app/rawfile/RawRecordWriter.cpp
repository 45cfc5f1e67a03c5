#include "rawfile/RawRecordWriter.h"

#include <QSaveFile>

#include "rawfile/RawNumbers.h"

namespace {

constexpr std::size_t kFlushSize = 1 << 18;

// Appends the pieces of one record line to the writer's buffer.
class Line {
  public:
    explicit Line(std::string& out) : out_(out) {}
    Line& key(std::string_view keyText) {
        out_.append(keyText);
        return *this;
    }
    // A line end inside a text would split the record and shift every later line of its point group,
    // so CR and LF become blanks; everything else is written as it stands.
    Line& text(std::string_view value) {
        const std::size_t from = out_.size();
        out_.append(value);
        for (std::size_t i = from; i < out_.size(); ++i) {
            if (out_[i] == '\n' || out_[i] == '\r') out_[i] = ' ';
        }
        return *this;
    }
    Line& real(double value, int decimals = 15) {
        appendFixed(out_, value, decimals);
        return *this;
    }
    Line& integer(int value) {
        appendInt(out_, value);
        return *this;
    }
    void end() { out_.push_back('\n'); }

  private:
    std::string& out_;
};

}  // namespace

RawRecordWriter::RawRecordWriter(const QString& path) : file_(std::make_unique<QSaveFile>(path)) {
    if (path.isEmpty() || !file_->open(QIODevice::WriteOnly)) {
        failed_ = true;
        error_ = path.isEmpty() ? QStringLiteral("No file name given") : file_->errorString();
    }
    buffer_.reserve(kFlushSize + 4096);
}

RawRecordWriter::~RawRecordWriter() {
    if (!closed_) file_->cancelWriting();
}

bool RawRecordWriter::isOpen() const { return !failed_ && !closed_; }

QString RawRecordWriter::errorString() const { return error_; }

bool RawRecordWriter::finishLine() {
    if (buffer_.size() < kFlushSize) return true;
    const qint64 size = static_cast<qint64>(buffer_.size());
    if (file_->write(buffer_.data(), size) != size) {
        failed_ = true;
        error_ = file_->errorString();
        return false;
    }
    buffer_.clear();
    return true;
}

bool RawRecordWriter::close() {
    if (closed_) return !failed_;
    closed_ = true;
    if (!failed_ && !buffer_.empty()) {
        const qint64 size = static_cast<qint64>(buffer_.size());
        if (file_->write(buffer_.data(), size) != size) {
            failed_ = true;
            error_ = file_->errorString();
        }
    }
    buffer_.clear();
    if (failed_) {
        file_->cancelWriting();
        if (file_->isOpen()) file_->commit();  // a cancelled save file only removes its temporary file
        return false;
    }
    if (!file_->commit()) {
        failed_ = true;
        error_ = file_->errorString();
        return false;
    }
    return true;
}

bool RawRecordWriter::writeVersion(std::string_view version) {
    if (!isOpen()) return false;
    Line(buffer_).key("QZVS,VS  ").text(version).end();
    return finishLine();
}

bool RawRecordWriter::writeJob(const JobRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_).key("JB,NM").text(r.name).key(",DT").text(r.date).key(",TM").text(r.time).end();
    return finishLine();
}

bool RawRecordWriter::writeCoordSystem(const CoordSystemRecord& r) {
    if (!isOpen()) return false;
    // The 8-bit code is written as its signed decimal value, which reads back to the same byte.
    Line(buffer_)
        .key("CS,CO")
        .integer(r.code)
        .key(",ZG")
        .text(r.zg)
        .key(",ZN")
        .text(r.zn)
        .key(",DN")
        .text(r.datumName)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeEllipsoid(const EllipsoidRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("ES,RD")
        .real(r.semiMajorAxis)
        .key(",IF")
        .real(r.inverseFlattening)
        .key(",EM")
        .text(r.name)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeDatum(const DatumRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("DT,DA")
        .integer(r.type)
        .key(",RD")
        .real(r.semiMajorAxis)
        .key(",IF")
        .real(r.inverseFlattening)
        .key(",OX")
        .real(r.rotationX)
        .key(",OY")
        .real(r.rotationY)
        .key(",OZ")
        .real(r.rotationZ)
        .key(",LX")
        .real(r.translationX)
        .key(",LY")
        .real(r.translationY)
        .key(",LZ")
        .real(r.translationZ)
        .key(",SP")
        .real(r.scalePpm)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeHorizontalAdjust(const HorizontalAdjustRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("QZAH,AHUS")
        .integer(r.inUse)
        .key(",ORGX")
        .real(r.originNorth)
        .key(",ORGY")
        .real(r.originEast)
        .key(",TRSX")
        .real(r.translationNorth)
        .key(",TRSY")
        .real(r.translationEast)
        .key(",CA  ")
        .real(r.rotationDegrees)
        .key(",CK  ")
        .real(r.scaleFactor)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeVerticalAdjust(const VerticalAdjustRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("QZAV,AVUS")
        .integer(r.inUse)
        .key(",A0  ")
        .real(r.a0)
        .key(",A1  ")
        .real(r.a1)
        .key(",A2  ")
        .real(r.a2)
        .key(",X0  ")
        .real(r.x0)
        .key(",Y0  ")
        .real(r.y0)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeProjection(const ProjectionRecord& r) {
    if (!isOpen()) return false;
    // The scale factor keeps all 15 decimals: 6 would cut factors such as 0.9999411765.
    Line(buffer_)
        .key("PJ,TP")
        .integer(r.type)
        .key(",LA")
        .text(r.originLatitude)
        .key(",LN")
        .real(r.ln)
        .key(",HT")
        .real(r.ht)
        .key(",N ")
        .real(r.falseNorthing)
        .key(",E ")
        .real(r.falseEasting)
        .key(",EL")
        .real(r.el)
        .key(",SC")
        .real(r.scaleFactor)
        .key(",OO")
        .real(r.oo)
        .key(",OT")
        .real(r.ot)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeCentralMeridian(std::string_view centralMeridian) {
    if (!isOpen()) return false;
    Line(buffer_).key("QZMC,MC  ").text(centralMeridian).end();
    return finishLine();
}

bool RawRecordWriter::writePoint(const PointRecord& r) {
    if (!isOpen()) return false;
    // The description ("--") is not written back.
    Line(buffer_)
        .key("GS,PN")
        .text(r.name)
        .key(",N ")
        .real(r.north, 6)
        .key(",E ")
        .real(r.east, 6)
        .key(",EL")
        .real(r.height, 6)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeAntenna(const AntennaRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("AH,DC")
        .text(r.dc)
        .key(",MA")
        .real(r.antennaHeight)
        .key(",ME")
        .integer(r.method)
        .key(",RA")
        .real(r.ra)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeAntennaType(std::string_view antennaType) {
    if (!isOpen()) return false;
    Line(buffer_).key("QZAT,AT  ").text(antennaType).end();
    return finishLine();
}

bool RawRecordWriter::writeEpoch(const EpochRecord& r) {
    if (!isOpen()) return false;
    // DH keeps all 15 decimals like its neighbours; a whole number would lose the stored value.
    Line(buffer_)
        .key("EP,TM")
        .text(r.time)
        .key(",LA")
        .real(r.latitude)
        .key(",LN")
        .real(r.longitude)
        .key(",HT")
        .real(r.height)
        .key(",RH")
        .real(r.hrms)
        .key(",RV")
        .real(r.vrms)
        .key(",DH")
        .real(r.dh)
        .key(",DV")
        .real(r.dv)
        .key(",GM")
        .integer(r.gm)
        .key(",CL")
        .integer(r.cl)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeDop(const DopRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_).key("QZDP,DOP ").real(r.pdop).key(",DIF ").integer(r.solutionType).end();
    return finishLine();
}

bool RawRecordWriter::writeRoverInfo(const RoverInfoRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("QZRV,QZTM")
        .text(r.time)
        .key(",RVWB")
        .real(r.wgsLatitude)
        .key(",RVWL")
        .real(r.wgsLongitude)
        .key(",RVWH")
        .real(r.wgsHeight)
        .key(",DRTM")
        .integer(r.duration)
        .key(",EPCH")
        .integer(r.epochs)
        .key(",NGPS")
        .integer(r.gpsSatellites)
        .key(",NGNS")
        .integer(r.glonassSatellites)
        .key(",NALL")
        .integer(r.gnssSatellites)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeBaseInfo(const BaseInfoRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("QZBS,BSNM")
        .text(r.name)
        .key(",BSN ")
        .real(r.north)
        .key(",BSE ")
        .real(r.east)
        .key(",BSH ")
        .real(r.height)
        .key(",BSWB")
        .real(r.wgsLatitude)
        .key(",BSWL")
        .real(r.wgsLongitude)
        .key(",BSWH")
        .real(r.wgsHeight)
        .key(",BSAT")
        .text(r.antennaType)
        .key(",BSMA")
        .real(r.antennaHeight)
        .key(",BSME")
        .integer(r.antennaMethod)
        .end();
    return finishLine();
}

bool RawRecordWriter::writeAttributes(const AttributeRecord& r) {
    if (!isOpen()) return false;
    Line(buffer_)
        .key("QZAD,CODE")
        .text(r.code)
        .key(",ECHT")
        .text(r.echoHeight)
        .key(",XP  ")
        .real(r.precisionX, 3)
        .key(",YP  ")
        .real(r.precisionY, 3)
        .key(",HP  ")
        .real(r.precisionH, 3)
        .key(",METH")
        .text(r.method)
        .end();
    return finishLine();
}
