#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include "geodex/geodex.h"

using namespace Orvale::Geodex;

namespace {
// Runs f with standard output captured.
template <typename F>
std::string printed(F f) {
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    f();
    std::cout.rdbuf(old);
    return captured.str();
}

DatumTransformer plane(int method, double shiftX, double shiftY, double rotation, double scale) {
    DatumTransformer t;
    t.SetPlaneAdjustMethod(method);
    t.SetPlaneAdjustParams(shiftX, shiftY, rotation, scale, 99, 98);
    return t;
}
}  // namespace

TEST(PlaneAdjust, ShiftsRotatesAndScalesAboutTheGridOrigin) {
    struct Case {
        double shiftX, shiftY, rotation, scale, x, y, xOut, yOut;
    };
    const Case cases[] = {
        {10, 20, 0, 1, 100, 200, 110, 220},
        {0, 0, 324000, 1, 1, 0, 0, 1},  // 90°
        {0, 0, -324000, 2, 1, 1, 2, -2},
        {5, -5, 648000, 1, 3, 4, 2, -9},  // 180°
    };
    for (const Case& c : cases) {
        for (int method : {1, 2}) {
            DatumTransformer t = plane(method, c.shiftX, c.shiftY, c.rotation, c.scale);
            double x = 0, y = 0;
            printed([&] { t.PlaneAdjusting(c.x, c.y, x, y); });
            EXPECT_NEAR(x, c.xOut, 1e-9);
            EXPECT_NEAR(y, c.yOut, 1e-9);
        }
    }
}

TEST(PlaneAdjust, OtherMethodsPassThrough) {
    for (int method : {0, 3, -1}) {
        DatumTransformer t = plane(method, 10, 20, 30, 2);
        double x = 0, y = 0;
        EXPECT_EQ(printed([&] { t.PlaneAdjusting(100, 200, x, y); }), "");
        EXPECT_EQ(x, 100);
        EXPECT_EQ(y, 200);
    }
}

TEST(PlaneAdjust, MethodOnePrintsTheFourBlocksAndMethodTwoIsSilent) {
    DatumTransformer verbose = plane(1, 10, 20, 0, 2);
    DatumTransformer silent = plane(2, 10, 20, 0, 2);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    EXPECT_EQ(printed([&] { verbose.PlaneAdjusting(3, 4, x1, y1); }),
              "size: 2 by 1\n10 \n20 \n\n"
              "size: 2 by 1\n3 \n4 \n\n"
              "size: 2 * 2\n1 -0 \n0 1 \n\n"
              "size: 2 * 2\n2 -0 \n0 2 \n\n");
    EXPECT_EQ(printed([&] { silent.PlaneAdjusting(3, 4, x2, y2); }), "");
    EXPECT_EQ(x1, x2);
    EXPECT_EQ(y1, y2);
    EXPECT_EQ(x1, 16);
    EXPECT_EQ(y1, 28);
}

TEST(EleAdjust, EachMethodEvaluatesItsSurface) {
    struct Case {
        int method;
        double x, y, h, expected;
    };
    const Case cases[] = {
        {1, 5, 6, 10, 10.5},                                               // h + coef0
        {2, 5, 6, 10, 0.5 * 5 + 0.25 * 6 + 2},                             // plane
        {3, 5, 6, 10, 0.5 * 5 + 0.25 * 6 + 2 * 25 + 3 * 36 + 4 * 30 + 7},  // quadratic surface
        {4, 105, 206, 10, 1.5 + 0.01 * 5 + 0.02 * 6},  // inclined plane about the reference point
        {4, 100, 200, 10, 1.5},                        // at the reference point
        {0, 5, 6, 10, 10},
        {5, 5, 6, 10, 10},
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
    DatumTransformer plane;
    plane.SetEleAdjustMethod(2);
    plane.SetEleAdjustParams(0, 0, 0.5, 0, 0, 0);
    double h = 10;
    plane.EleAdjusting(1, 2, &h);
    EXPECT_EQ(h, 0.5);
}
