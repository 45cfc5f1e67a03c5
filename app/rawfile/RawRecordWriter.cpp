#include "rawfile/RawRecordWriter.h"

#include <QSaveFile>

#include "rawfile/RawNumbers.h"

namespace {

constexpr std::size_t kFlushSize = 1 << 18;

// Appends the pieces of one record line to out. A text holding a comma or a line break would split the
// record and shift every later field and line: the line is then taken back and the field named.
class Line {
  public:
    explicit Line(std::string& out) : out_(out), start_(out.size()) {}
    Line& key(std::string_view keyText) {
        out_.append(keyText);
        return *this;
    }
    Line& text(std::string_view value, const char* field) {
        if (!bad_ && value.find_first_of(",\r\n") != std::string_view::npos) bad_ = field;
        out_.append(value);
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
    const char* done() {
        if (bad_) out_.resize(start_);
        return bad_;
    }

  private:
    std::string& out_;
    std::size_t start_;
    const char* bad_ = nullptr;
};

}  // namespace

const char* formatVersion(std::string& out, std::string_view version) {
    return Line(out).key("QZVS,VS  ").text(version, "version text").done();
}

const char* formatJob(std::string& out, const JobRecord& r) {
    return Line(out)
        .key("JB,NM")
        .text(r.name, "job name")
        .key(",DT")
        .text(r.date, "job date")
        .key(",TM")
        .text(r.time, "job time")
        .done();
}

const char* formatCoordSystem(std::string& out, const CoordSystemRecord& r) {
    return Line(out)
        .key("CS,CO")
        .integer(r.code)
        .key(",ZG")
        .text(r.zg, "ZG text")
        .key(",ZN")
        .text(r.zn, "ZN text")
        .key(",DN")
        .text(r.datumName, "datum name")
        .done();
}

const char* formatEllipsoid(std::string& out, const EllipsoidRecord& r) {
    return Line(out)
        .key("ES,RD")
        .real(r.semiMajorAxis)
        .key(",IF")
        .real(r.inverseFlattening)
        .key(",EM")
        .text(r.name, "ellipsoid name")
        .done();
}

const char* formatDatum(std::string& out, const DatumRecord& r) {
    return Line(out)
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
        .done();
}

const char* formatHorizontalAdjust(std::string& out, const HorizontalAdjustRecord& r) {
    return Line(out)
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
        .done();
}

const char* formatVerticalAdjust(std::string& out, const VerticalAdjustRecord& r) {
    return Line(out)
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
        .done();
}

const char* formatProjection(std::string& out, const ProjectionRecord& r) {
    // The scale factor keeps all 15 decimals: 6 would cut factors such as 0.9999411765.
    return Line(out)
        .key("PJ,TP")
        .integer(r.type)
        .key(",LA")
        .text(r.originLatitude, "latitude of origin")
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
        .done();
}

const char* formatCentralMeridian(std::string& out, std::string_view centralMeridian) {
    return Line(out).key("QZMC,MC  ").text(centralMeridian, "central meridian").done();
}

const char* formatPoint(std::string& out, const PointRecord& r) {
    // The description ("--") is not written back.
    return Line(out)
        .key("GS,PN")
        .text(r.name, "name")
        .key(",N ")
        .real(r.north, 6)
        .key(",E ")
        .real(r.east, 6)
        .key(",EL")
        .real(r.height, 6)
        .done();
}

const char* formatAntenna(std::string& out, const AntennaRecord& r) {
    return Line(out)
        .key("AH,DC")
        .text(r.dc, "DC text")
        .key(",MA")
        .real(r.antennaHeight)
        .key(",ME")
        .integer(r.method)
        .key(",RA")
        .real(r.ra)
        .done();
}

const char* formatAntennaType(std::string& out, std::string_view antennaType) {
    return Line(out).key("QZAT,AT  ").text(antennaType, "antenna type").done();
}

const char* formatEpoch(std::string& out, const EpochRecord& r) {
    // DH keeps all 15 decimals like its neighbours; a whole number would lose the stored value.
    return Line(out)
        .key("EP,TM")
        .text(r.time, "epoch time")
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
        .done();
}

const char* formatDop(std::string& out, const DopRecord& r) {
    return Line(out).key("QZDP,DOP ").real(r.pdop).key(",DIF ").integer(r.solutionType).done();
}

const char* formatRoverInfo(std::string& out, const RoverInfoRecord& r) {
    return Line(out)
        .key("QZRV,QZTM")
        .text(r.time, "time")
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
        .done();
}

const char* formatBaseInfo(std::string& out, const BaseInfoRecord& r) {
    return Line(out)
        .key("QZBS,BSNM")
        .text(r.name, "base name")
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
        .text(r.antennaType, "base antenna type")
        .key(",BSMA")
        .real(r.antennaHeight)
        .key(",BSME")
        .integer(r.antennaMethod)
        .done();
}

const char* formatAttributes(std::string& out, const AttributeRecord& r) {
    return Line(out)
        .key("QZAD,CODE")
        .text(r.code, "code")
        .key(",ECHT")
        .text(r.echoHeight, "echo height")
        .key(",XP  ")
        .real(r.precisionX, 3)
        .key(",YP  ")
        .real(r.precisionY, 3)
        .key(",HP  ")
        .real(r.precisionH, 3)
        .key(",METH")
        .text(r.method, "method")
        .done();
}

RawRecordWriter::RawRecordWriter(const QString& path) : file_(std::make_unique<QSaveFile>(path)) {
    // The writer buffers by itself; the file's own buffer would only copy.
    if (path.isEmpty() || !file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
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

bool RawRecordWriter::finishLine() { return buffer_.size() < kFlushSize || flush(); }

bool RawRecordWriter::endLine(const char* badField) {
    if (badField) return refuse(badField);
    buffer_.push_back('\n');
    return finishLine();
}

bool RawRecordWriter::refuse(const char* field) {
    if (!isOpen()) return false;
    failed_ = true;
    const QString what = QStringLiteral("the %1 contains a comma or a line break").arg(QLatin1String(field));
    error_ = context_.isEmpty() ? what : context_ + QStringLiteral(": ") + what;
    return false;
}

bool RawRecordWriter::writeBytes(std::string_view bytes) {
    if (!isOpen()) return false;
    if (bytes.size() < kFlushSize) {
        buffer_.append(bytes);
        return finishLine();
    }
    // A long stretch of unedited lines goes to the file as it is, without passing through the buffer.
    if (!flush()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (file_->write(bytes.data(), size) != size) {
        failed_ = true;
        error_ = file_->errorString();
        return false;
    }
    return true;
}

bool RawRecordWriter::flush() {
    if (buffer_.empty()) return true;
    const auto size = static_cast<qint64>(buffer_.size());
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
    if (!failed_) flush();
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
    return isOpen() && endLine(formatVersion(buffer_, version));
}
bool RawRecordWriter::writeJob(const JobRecord& r) { return isOpen() && endLine(formatJob(buffer_, r)); }
bool RawRecordWriter::writeCoordSystem(const CoordSystemRecord& r) {
    return isOpen() && endLine(formatCoordSystem(buffer_, r));
}
bool RawRecordWriter::writeEllipsoid(const EllipsoidRecord& r) {
    return isOpen() && endLine(formatEllipsoid(buffer_, r));
}
bool RawRecordWriter::writeDatum(const DatumRecord& r) {
    return isOpen() && endLine(formatDatum(buffer_, r));
}
bool RawRecordWriter::writeHorizontalAdjust(const HorizontalAdjustRecord& r) {
    return isOpen() && endLine(formatHorizontalAdjust(buffer_, r));
}
bool RawRecordWriter::writeVerticalAdjust(const VerticalAdjustRecord& r) {
    return isOpen() && endLine(formatVerticalAdjust(buffer_, r));
}
bool RawRecordWriter::writeProjection(const ProjectionRecord& r) {
    return isOpen() && endLine(formatProjection(buffer_, r));
}
bool RawRecordWriter::writeCentralMeridian(std::string_view centralMeridian) {
    return isOpen() && endLine(formatCentralMeridian(buffer_, centralMeridian));
}
bool RawRecordWriter::writePoint(const PointRecord& r) {
    return isOpen() && endLine(formatPoint(buffer_, r));
}
bool RawRecordWriter::writeAntenna(const AntennaRecord& r) {
    return isOpen() && endLine(formatAntenna(buffer_, r));
}
bool RawRecordWriter::writeAntennaType(std::string_view antennaType) {
    return isOpen() && endLine(formatAntennaType(buffer_, antennaType));
}
bool RawRecordWriter::writeEpoch(const EpochRecord& r) {
    return isOpen() && endLine(formatEpoch(buffer_, r));
}
bool RawRecordWriter::writeDop(const DopRecord& r) { return isOpen() && endLine(formatDop(buffer_, r)); }
bool RawRecordWriter::writeRoverInfo(const RoverInfoRecord& r) {
    return isOpen() && endLine(formatRoverInfo(buffer_, r));
}
bool RawRecordWriter::writeBaseInfo(const BaseInfoRecord& r) {
    return isOpen() && endLine(formatBaseInfo(buffer_, r));
}
bool RawRecordWriter::writeAttributes(const AttributeRecord& r) {
    return isOpen() && endLine(formatAttributes(buffer_, r));
}
