// A whole raw survey file through the job reader, then saved again the way Save as does.
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    RawJob job;
    if (!readRawJob(buffer, job)) return 0;
    static const QString out = QStringLiteral("/tmp/fuzz_raw_reader_%1.Raw").arg(getpid());
    writeRawJob(out, job);
    return 0;
}
