// A whole raw survey file through the job reader, then saved again the way Save as does: saved unedited,
// the file must come back byte for byte; with one point renamed and moved, only that point may change
// when the saved file is read again.
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"
#include "../app/rawfile/RoverFields.h"

namespace {

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// Every field but east and height.
bool sameFields(RoverPoint a, const RoverPoint& b) {
    a.east = b.east;
    a.height = b.height;
    return sameRoverFields(a, b);
}

// The GS format keeps 6 decimals of a rewritten point's other coordinates.
bool nearCoordinate(double written, double read) {
    return same(written, read) || std::fabs(written - read) <= 5e-7 * (1 + std::fabs(written) * 1e-9);
}

RawJob readBack(const QString& path) {
    RawJob job;
    if (!readRawJob(path, job)) std::abort();
    return job;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    RawJob job;
    if (!readRawJob(buffer, job)) return 0;
    static const QString out = QStringLiteral("/tmp/fuzz_raw_reader_%1.Raw").arg(getpid());

    if (!writeRawJob(out, job)) std::abort();
    QFile saved(out);
    if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != bytes) std::abort();  // byte for byte
    saved.close();

    if (job.rovers.isEmpty()) return 0;
    RawJob edited = job;
    edited.rovers[0].name = QStringLiteral("E\u00e9");
    edited.rovers[0].north = 1.5;
    if (!writeRawJob(out, edited)) std::abort();
    const RawJob back = readBack(out);
    if (back.rovers.size() != edited.rovers.size()) std::abort();
    for (qsizetype i = 0; i < back.rovers.size(); ++i) {
        const RoverPoint& a = back.rovers[i];
        const RoverPoint& e = edited.rovers[i];
        const bool coordinates = i == 0 ? nearCoordinate(e.east, a.east) && nearCoordinate(e.height, a.height)
                                        : same(e.east, a.east) && same(e.height, a.height);
        if (!sameFields(a, e) || !coordinates) std::abort();
    }
    return 0;
}
