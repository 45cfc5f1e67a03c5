#include "AntennaCatalogue.h"

#include <QFile>
#include <QStringConverter>
#include <QTextStream>

namespace {
const QString kSection = QStringLiteral("[ANTENNA]");
}

void readAntennaCatalogue(QTextStream& in, QStringList& names, QList<QStringList>& entries) {
    while (!in.atEnd()) {
        if (in.readLine() != kSection) continue;
        QStringList entry;
        for (int i = 0; i < 4; ++i) entry << in.readLine();
        names << entry.front();
        entries << entry;
    }
}

bool appendAntennaEntry(const QString& path, const QStringList& entry, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error) *error = file.errorString();
        return false;
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    out << '\n'
        << kSection << '\n'
        << entry.value(0) << '\n'
        << entry.value(1) << '\n'
        << entry.value(2) << '\n'
        << entry.value(3);
    out.flush();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

double antennaOffset(const QList<QStringList>& entries, int index, int method) {
    if (index < 0 || index >= entries.size() || method < 0 || method > 2) return 0.0;
    bool ok = false;
    const double offset = entries[index].value(method + 1).toDouble(&ok);
    return ok ? offset : 0.0;
}
