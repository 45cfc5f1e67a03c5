#pragma once
// Helpers shared by the raw file tests.
#include <gtest/gtest.h>

#include <QBuffer>
#include <string_view>

#include "rawfile/RawJobReader.h"

// The job that the bytes of a raw file give (reading must succeed).
inline RawJob readRaw(std::string_view bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    RawJob job;
    EXPECT_TRUE(readRawJob(buffer, job));
    return job;
}
