#include "AntennaCatalogue.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>

namespace {
const QString kSection = QStringLiteral("[ANTENNA]");

// One entry as an append writes it: it ends the previous line first and leaves its own last line open.
void writeEntry(QTextStream& out, const QStringList& entry) {
    out << '\n'
        << kSection << '\n'
        << entry.value(0) << '\n'
        << entry.value(1) << '\n'
        << entry.value(2) << '\n'
        << entry.value(3);
}

bool failed(const QFileDevice& file, QString* error) {
    if (error) *error = file.errorString();
    return false;
}
}  // namespace

void readAntennaCatalogue(QTextStream& in, QStringList& names, QList<QStringList>& entries) {
    while (!in.atEnd()) {
        if (in.readLine() != kSection) continue;
        QStringList entry;
        for (int i = 0; i < 4; ++i) entry << in.readLine();
        names << entry.front();
        entries << entry;
    }
}

bool readAntennaCatalogueFile(const QString& path, QStringList& names, QList<QStringList>& entries,
                              QString* error) {
    names.clear();
    entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return failed(file, error);
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    readAntennaCatalogue(in, names, entries);
    if (file.error() == QFileDevice::NoError) return true;
    names.clear();
    entries.clear();
    return failed(file, error);
}

bool appendAntennaEntry(const QString& path, const QStringList& entry, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return failed(file, error);
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    writeEntry(out, entry);
    out.flush();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) return failed(file, error);
    file.close();
    if (file.error() != QFileDevice::NoError) return failed(file, error);
    return true;
}

bool writeAntennaCatalogue(const QString& path, const QList<QStringList>& entries, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return failed(file, error);
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    for (const QStringList& entry : entries) writeEntry(out, entry);
    out.flush();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return failed(file, error);
    }
    if (!file.commit()) return failed(file, error);
    return true;
}

double antennaOffset(const QList<QStringList>& entries, int index, int method) {
    if (index < 0 || index >= entries.size() || method < 0 || method > 2) return 0.0;
    bool ok = false;
    const double offset = entries[index].value(method + 1).toDouble(&ok);
    return ok ? offset : 0.0;
}
