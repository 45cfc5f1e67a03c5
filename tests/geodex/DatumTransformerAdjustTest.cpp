#include <gtest/gtest.h>

#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

// Methods 1 and 2 shift, rotate (arc seconds) and scale about the grid origin; method 1 prints its four
// matrices as it goes (the solver's test reads them in its report), method 2 is silent; every other method
// passes the point through.
TEST(PlaneAdjust, ShiftsRotatesAndScalesAboutTheGridOriginAndOnlyMethodOnePrints) {
    const double cases[][8] = {
        {10, 20, 0, 1, 100, 200, 110, 220},
        {0, 0, 324000, 1, 1, 0, 0, 1},  // 90°
        {0, 0, -324000, 2, 1, 1, 2, -2},
        {5, -5, 648000, 1, 3, 4, 2, -9},  // 180°
    };
    for (const auto& c : cases)
        for (int method : {0, 1, 2, 3, -1}) {
            DatumTransformer t;
            t.SetPlaneAdjustMethod(method);
            t.SetPlaneAdjustParams(c[0], c[1], c[2], c[3], 99, 98);
            double x = 0, y = 0;
            ::testing::internal::CaptureStdout();
            t.PlaneAdjusting(c[4], c[5], x, y);
            const std::string out = ::testing::internal::GetCapturedStdout();
            const bool adjusts = method == 1 || method == 2;
            EXPECT_NEAR(x, adjusts ? c[6] : c[4], 1e-9) << method;
            EXPECT_NEAR(y, adjusts ? c[7] : c[5], 1e-9) << method;
            EXPECT_EQ(out.empty(), method != 1) << method;
        }
}

TEST(EleAdjust, EachMethodEvaluatesItsSurface) {
    // Method, point, height, expected height. Coefficients 0.5, 0.25, 2, 3, 4, 7: method 1 adds coef0, 2 is
    // the plane, 3 the quadratic surface; 4 the inclined plane about (100, 200) with slopes 0.01, 0.02 and
    // constant 1.5 (also at that point); other methods leave the height.
    struct Case {
        int method;
        double x, y, h, expected;
    } const cases[] = {
        // clang-format off
        {1, 5, 6, 10, 10.5}, {2, 5, 6, 10, 0.5 * 5 + 0.25 * 6 + 2}, {3, 5, 6, 10, 0.5 * 5 + 0.25 * 6 + 2 * 25 + 3 * 36 + 4 * 30 + 7},
        {4, 105, 206, 10, 1.5 + 0.01 * 5 + 0.02 * 6}, {4, 100, 200, 10, 1.5}, {0, 5, 6, 10, 10}, {5, 5, 6, 10, 10},
        // clang-format on
    };
    for (const Case& c : cases) {
        DatumTransformer t;
        t.SetEleAdjustMethod(c.method);
        t.SetEleAdjustParams(0.5, 0.25, 2, 3, 4, 7);
        t.SetEleAdjustTGOParams(100, 200, 0.01, 0.02, 1.5);
        double h = c.h;
        t.EleAdjusting(c.x, c.y, &h);
        EXPECT_DOUBLE_EQ(h, c.expected) << "method " << c.method;
    }
}
