#pragma once
// Writes the records of a raw survey file, one line per operation, in the fixed record formats: reals with
// 15 decimals, except the GS coordinates (6) and the QZAD precisions (3); integers in decimal; numbers
// always with a decimal point, whatever the locale. A text holding a comma or a line break is refused (it
// would split the record): the write fails and names the field.
//
// The lines go to a temporary file next to the target. close() replaces the target with it only when every
// write succeeded; otherwise (or when the writer is destroyed without close) the target stays as it was.
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "rawfile/RawRecords.h"

class QSaveFile;

// The record formats: each appends one line, without its line end, to out. Returns null, or the name of a
// text field that holds a comma or a line break, out then being left as it was.
const char* formatVersion(std::string& out, std::string_view version);
const char* formatJob(std::string& out, const JobRecord& r);
const char* formatCoordSystem(std::string& out, const CoordSystemRecord& r);
const char* formatEllipsoid(std::string& out, const EllipsoidRecord& r);
const char* formatDatum(std::string& out, const DatumRecord& r);
const char* formatHorizontalAdjust(std::string& out, const HorizontalAdjustRecord& r);
const char* formatVerticalAdjust(std::string& out, const VerticalAdjustRecord& r);
const char* formatProjection(std::string& out, const ProjectionRecord& r);
const char* formatCentralMeridian(std::string& out, std::string_view centralMeridian);
const char* formatPoint(std::string& out, const PointRecord& r);
const char* formatAntenna(std::string& out, const AntennaRecord& r);
const char* formatAntennaType(std::string& out, std::string_view antennaType);
const char* formatEpoch(std::string& out, const EpochRecord& r);
const char* formatDop(std::string& out, const DopRecord& r);
const char* formatRoverInfo(std::string& out, const RoverInfoRecord& r);
const char* formatBaseInfo(std::string& out, const BaseInfoRecord& r);
const char* formatAttributes(std::string& out, const AttributeRecord& r);

class RawRecordWriter {
  public:
    explicit RawRecordWriter(const QString& path);  // target path of the finished file
    ~RawRecordWriter();
    RawRecordWriter(const RawRecordWriter&) = delete;
    RawRecordWriter& operator=(const RawRecordWriter&) = delete;

    bool isOpen() const;

    // Each returns false when the writer is not open or has already failed, or when the line cannot be
    // written; a failed writer writes nothing more.
    bool writeVersion(std::string_view version);                       // "QZVS,VS  ..."
    bool writeJob(const JobRecord& record);                            // "JB,NM...,DT...,TM..."
    bool writeCoordSystem(const CoordSystemRecord& record);            // "CS,CO...,ZG...,ZN...,DN..."
    bool writeEllipsoid(const EllipsoidRecord& record);                // "ES,RD...,IF...,EM..."
    bool writeDatum(const DatumRecord& record);                        // "DT,DA...,RD...,...,SP..."
    bool writeHorizontalAdjust(const HorizontalAdjustRecord& record);  // "QZAH,AHUS...,..."
    bool writeVerticalAdjust(const VerticalAdjustRecord& record);      // "QZAV,AVUS...,..."
    bool writeProjection(const ProjectionRecord& record);              // "PJ,TP...,..."
    bool writeCentralMeridian(std::string_view centralMeridian);       // "QZMC,MC  ..."
    bool writePoint(const PointRecord& record);                        // "GS,PN...,N ...,E ...,EL..."
    bool writeAntenna(const AntennaRecord& record);                    // "AH,DC...,MA...,ME...,RA..."
    bool writeAntennaType(std::string_view antennaType);               // "QZAT,AT  ..."
    bool writeEpoch(const EpochRecord& record);                        // "EP,TM...,..."
    bool writeDop(const DopRecord& record);                            // "QZDP,DOP ...,DIF ..."
    bool writeRoverInfo(const RoverInfoRecord& record);                // "QZRV,QZTM...,..."
    bool writeBaseInfo(const BaseInfoRecord& record);                  // "QZBS,BSNM...,..."
    bool writeAttributes(const AttributeRecord& record);               // "QZAD,CODE...,..."

    // Bytes as they are (lines copied from the file that was read).
    bool writeBytes(std::string_view bytes);

    // Fails the writer because the named text field holds a comma or a line break.
    bool refuse(const char* field);

    // Put before the reason of a refused text, e.g. "Point \"P1\"" gives
    // "Point \"P1\": the name contains a comma or a line break".
    void setContext(const QString& context) { context_ = context; }

    // Finishes the file: true when every write succeeded and the target now holds exactly these lines.
    // Otherwise the temporary file is removed and the target is left as it was. Closing twice is harmless.
    bool close();

    // Why the writer failed (empty while it has not).
    QString errorString() const;

  private:
    bool endLine(const char* badField);
    bool finishLine();
    bool flush();

    std::unique_ptr<QSaveFile> file_;
    std::string buffer_;  // formatted lines not yet handed to the file
    bool failed_ = false;
    bool closed_ = false;
    QString error_;
    QString context_;
};
