#include <gtest/gtest.h>

#include "AngleText.h"

TEST(AngleText, ShowsRadiansAsDegreesMinutesSeconds) {
    struct Case {
        const char* radians;
        const char* shown;
    };
    const Case cases[] = {
        {"0", "00:00:00.000"},
        {"2.0420352248333655", "117:00:00.000"},  // 117 degrees
        {"0.017453292519943295", "01:00:00.000"},
        {"0.6", "34:22:38.884"},
        {"1.5707963267948966", "90:00:00.000"},
        {"0.00000484813681109536", "00:00:01.000"},  // one second of arc
        {"-0.5", "-28:38:52.403"},
        {"----", "00:00:00.000"},  // not a number
        {"nan", "00:00:00.000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(angleText(QString::fromLatin1(c.radians)).join(':'), QString::fromLatin1(c.shown))
            << c.radians;
}

TEST(AngleText, CarriesSecondsThatRoundToSixty) {
    // 10 degrees less a ten-thousandth of a second.
    const double radians = (10 - 0.0001 / 3600) * 3.141592653589793 / 180;
    EXPECT_EQ(angleText(QString::number(radians, 'g', 17)).join(':'), "10:00:00.000");
    // 9 degrees 59 minutes 9.9996 seconds rounds to 10.000 seconds, padded once only.
    const double justBelowTen = (9 + 59 / 60.0 + 9.9996 / 3600) * 3.141592653589793 / 180;
    EXPECT_EQ(angleText(QString::number(justBelowTen, 'g', 17)).join(':'), "09:59:10.000");
}
