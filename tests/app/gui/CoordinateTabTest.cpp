// The "Coordinate" tab: numbers as the file holds them, in the units its headers name.
#include <gtest/gtest.h>

#include <QTableWidget>
#include <limits>

#include "CoordinateText.h"
#include "GuiTestSupport.h"
#include "RawBench.h"

TEST(CoordinateText, KeepsTheMetresAndEveryStoredDigitWithoutAnExponent) {
    const struct {
        double value;
        const char* metres;
        const char* stored;
    } rows[] = {{3380000, "3380000.000", "3380000"},
                {3520000.0005, "3520000.0005", "3520000.0005"},
                {-0.1523, "-0.1523", "-0.1523"},
                {-1.90095e-06, "-0.00000190095", "-0.00000190095"},
                {1.0000042, "1.0000042", "1.0000042"},
                {12.5, "12.500", "12.5"},
                {0, "0.000", "0"},
                {std::numeric_limits<double>::quiet_NaN(), "nan", "nan"}};
    for (const auto& row : rows) {
        EXPECT_EQ(metresText(row.value), row.metres);
        EXPECT_EQ(storedText(row.value), row.stored);
    }
}

TEST(CoordinateTab, ShowsEveryValueOfTheFileInItsStoredUnit) {
    ScratchDir scratch;
    RawBench window;
    // The later DT and QZAH records replace those of the header.
    writeFile("job.raw",
              rawHeader() +
                  "DT,DA1,RD6378137,IF298.257223563,OX-0.3921,OY1.1286,OZ-0.735,LX-12.417,LY58.062,"
                  "LZ31.538,SP-2.174\n"
                  "QZAH,AHUS1,ORGX3380000,ORGY519000,TRSX-0.1523,TRSY0.0871,CA  0.000118,"
                  "CK  1.0000042\n"
                  "PJ,TP32,LA0,LN0,HT12.5,N 4000000.25,E 500000,EL0,SC0.9996,OO0,OT0\n");
    ASSERT_TRUE(window.openFile(scratch.path("job.raw")));
    auto row = [&](const char* table) {
        QStringList texts;
        auto* widget = window.findChild<QTableWidget*>(QString::fromLatin1(table));
        for (int column = 0; column < widget->columnCount(); ++column)
            texts << widget->item(0, column)->text();
        return texts;
    };
    EXPECT_EQ(row("tableWidget_Projection"), (QStringList{"TM", "4000000.250", "500000.000", "00:00:00.000",
                                                          "117:00:00.000", "0.9996", "12.500"}));
    EXPECT_EQ(row("tableWidget_Transform"), (QStringList{"Yes", "7", "-12.417", "58.062", "31.538", "-0.3921",
                                                         "1.1286", "-0.735", "-2.174"}));
    EXPECT_EQ(row("tableWidget_Horadj"), (QStringList{"Yes", "3380000.000", "519000.000", "-0.1523", "0.0871",
                                                      "0.000118", "1.0000042"}));
    EXPECT_EQ(row("tableWidget_Veradj"),
              (QStringList{"Yes", "4200000.000", "500000.000", "0.5", "-0.3", "0.120", "----"}));
}
