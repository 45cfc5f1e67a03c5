// An antenna catalogue file through the catalogue reader, then every offset looked up.
#include <QByteArray>
#include <QTextStream>

#include "AntennaCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QTextStream in(bytes);
    QStringList names;
    QList<QStringList> entries;
    readAntennaCatalogue(in, names, entries);
    for (int i = -1; i <= entries.size(); ++i)
        for (int m = -1; m <= 3; ++m) antennaOffset(entries, i, m);
    return 0;
}
