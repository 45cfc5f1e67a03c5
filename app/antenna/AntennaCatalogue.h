#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// The antenna catalogue file: entries of five lines, "[ANTENNA]", name, Bottom, Top, Middle.
// An entry in memory is the list (name, Bottom, Top, Middle) of the texts as read or typed.

// Path of the catalogue, relative to the working directory.
inline const char* const kAntennaCataloguePath = "./Antenna.ini";

// Reads every entry of the stream, appending names and entries in file order. Lines between entries are
// skipped; the four lines after an exact "[ANTENNA]" line are taken whatever they hold (empty past the end).
void readAntennaCatalogue(QTextStream& in, QStringList& names, QList<QStringList>& entries);

// Reads the catalogue file at path into names and entries (replacing what they held). Returns false and
// describes the reason in *error when the file is missing or cannot be read; the lists are then empty.
bool readAntennaCatalogueFile(const QString& path, QStringList& names, QList<QStringList>& entries,
                              QString* error);

// Appends one entry to the catalogue file at path (created if missing): a line end, "[ANTENNA]", name,
// Bottom, Top, each ending its line, then Middle without a line end. Returns false and describes the reason
// in *error when the file cannot be opened or written.
bool appendAntennaEntry(const QString& path, const QStringList& entry, QString* error);

// Replaces the catalogue file at path by entries, in the layout the appends build up. The new content goes
// to a temporary file that takes the old one's place only once it is complete, so a failure (reported as
// false with the reason in *error) leaves the old file as it was.
bool writeAntennaCatalogue(const QString& path, const QList<QStringList>& entries, QString* error);

// Phase-centre offset in metres of catalogue entry `index` for measuring method `method` (0 Bottom, 1 Top,
// 2 Middle). An index or method outside the catalogue, or a text that is not a number, gives 0.
double antennaOffset(const QList<QStringList>& entries, int index, int method);
