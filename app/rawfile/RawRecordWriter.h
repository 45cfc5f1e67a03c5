#pragma once
// Writes the records of a raw survey file, one line per operation, in the fixed formats of the format:
// reals with 15 decimals, except the GS coordinates (6) and the QZAD precisions (3); 8-bit fields as signed
// decimal integers; numbers always with a decimal point, whatever the locale.
//
// The lines go to a temporary file next to the target. close() replaces the target with it only when every
// write succeeded; otherwise (or when the writer is destroyed without close) the target stays as it was.
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "rawfile/RawRecords.h"

class QSaveFile;

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

    // Finishes the file: true when every write succeeded and the target now holds exactly these lines.
    // Otherwise the temporary file is removed and the target is left as it was. Closing twice is harmless.
    bool close();

    // Why the writer failed (empty while it has not).
    QString errorString() const;

  private:
    bool finishLine();

    std::unique_ptr<QSaveFile> file_;
    std::string buffer_;  // formatted lines not yet handed to the file
    bool failed_ = false;
    bool closed_ = false;
    QString error_;
};
