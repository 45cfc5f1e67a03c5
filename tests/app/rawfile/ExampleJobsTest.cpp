// The example jobs shipped in examples/ must open as the jobs they are meant to be and survive Save as.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "rawfile/RawJobReader.h"
#include "rawfile/RawJobWriter.h"

namespace {

QString examplePath(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../../examples/") + name);
}

}  // namespace

TEST(ExampleJobs, OpenWithTheirBasesRoversAndVersionsAndSurviveSaveAs) {
    const struct {
        const char* file;
        qsizetype rovers;
        qsizetype bases;
        const char* version;
    } cases[] = {{"sample.raw", 36, 3, "V1.0"}, {"sample_gnss.raw", 24, 2, "V2.0"}};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        RawJob job;
        ASSERT_TRUE(readRawJob(examplePath(c.file), job));
        EXPECT_EQ(job.rovers.size(), c.rovers);
        EXPECT_EQ(job.groups.size(), c.rovers);
        EXPECT_EQ(job.bases.size(), c.bases);
        EXPECT_EQ(job.summary.version, c.version);
        EXPECT_EQ(job.summary.projectionType, 32);
        EXPECT_EQ(job.summary.centralMeridian, "2.0420352248333655");  // 117° E
        EXPECT_EQ(job.summary.transformType, 1);
        EXPECT_TRUE(job.summary.horizontalAdjustInUse);
        for (const RoverPoint& rover : job.rovers) {
            EXPECT_GT(rover.north, 3'500'000.0);
            EXPECT_LT(rover.north, 3'540'000.0);
            EXPECT_TRUE(rover.baseName.startsWith("BASE-"));
        }

        const QString saved = dir.filePath(QString::fromLatin1(c.file) + "_new.Raw");
        ASSERT_TRUE(writeRawJob(saved, job));
        RawJob back;
        ASSERT_TRUE(readRawJob(saved, back));
        ASSERT_EQ(back.rovers.size(), job.rovers.size());
        EXPECT_EQ(back.bases.size(), job.bases.size());
        for (qsizetype i = 0; i < job.rovers.size(); ++i) {
            EXPECT_EQ(back.rovers[i].name, job.rovers[i].name);
            EXPECT_EQ(back.rovers[i].north, job.rovers[i].north);  // 4 decimals in the file, 6 written
            EXPECT_EQ(back.rovers[i].antennaType, job.rovers[i].antennaType);
            EXPECT_EQ(back.rovers[i].baseName, job.rovers[i].baseName);
        }
    }
}
