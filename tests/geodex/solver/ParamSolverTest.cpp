#include <gtest/gtest.h>
#include <proj.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "geodex/geodex.h"
#include "geodex/solver/ParamSolver.h"

using namespace Orvale::Geodex;

namespace {

const double kDeg = 0.017453292519943295;
const double kArcSecond = 4.84813681109536e-6;

// Dense least squares min ‖A p − b‖ by Householder QR (A is rows × cols, row-major).
std::vector<double> leastSquares(std::vector<double> A, std::vector<double> b, int rows, int cols) {
    for (int k = 0; k < cols; ++k) {
        double norm = 0;
        for (int i = k; i < rows; ++i) norm += A[i * cols + k] * A[i * cols + k];
        norm = std::sqrt(norm);
        const double alpha = A[k * cols + k] > 0 ? -norm : norm;
        std::vector<double> v(rows, 0);
        for (int i = k; i < rows; ++i) v[i] = A[i * cols + k];
        v[k] -= alpha;
        double vv = 0;
        for (int i = k; i < rows; ++i) vv += v[i] * v[i];
        if (vv == 0) continue;
        for (int j = k; j < cols; ++j) {
            double s = 0;
            for (int i = k; i < rows; ++i) s += v[i] * A[i * cols + j];
            for (int i = k; i < rows; ++i) A[i * cols + j] -= 2 * s / vv * v[i];
        }
        double s = 0;
        for (int i = k; i < rows; ++i) s += v[i] * b[i];
        for (int i = k; i < rows; ++i) b[i] -= 2 * s / vv * v[i];
    }
    std::vector<double> p(cols);
    for (int k = cols - 1; k >= 0; --k) {
        double s = b[k];
        for (int j = k + 1; j < cols; ++j) s -= A[k * cols + j] * p[j];
        p[k] = s / A[k * cols + k];
    }
    return p;
}

// Geocentric coordinates of a 10 × 10 network over about 12° × 12° of central Europe, on WGS 84.
std::vector<double> network() {
    std::vector<double> xyz;
    Geocentric wgs84(6378137.0, 0.0033528106647474805);
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            GeodeticCoordinates p(10, (4 + 1.3 * j) * kDeg, (44 + 1.2 * i) * kDeg,
                                  100.0 + 37 * ((i * 7 + j) % 11));
            std::unique_ptr<CartesianCoordinates> c(wgs84.toGeocentric(p));
            xyz.insert(xyz.end(), {c->x(), c->y(), c->z()});
        }
    }
    return xyz;
}

// The target points of a seven-parameter transformation, computed by PROJ's Helmert operation with
// exact rotations in the coordinate-frame convention.
std::vector<double> projHelmert(const std::vector<double>& source, const double p[7]) {
    char definition[512];
    std::snprintf(definition, sizeof definition,
                  "+proj=helmert +x=%.17g +y=%.17g +z=%.17g +rx=%.17g +ry=%.17g +rz=%.17g +s=%.17g "
                  "+exact +convention=coordinate_frame",
                  p[0], p[1], p[2], p[3] / kArcSecond, p[4] / kArcSecond, p[5] / kArcSecond, p[6] * 1e6);
    PJ* helmert = proj_create(PJ_DEFAULT_CTX, definition);
    EXPECT_NE(helmert, nullptr);
    std::vector<double> target(source.size());
    for (std::size_t k = 0; k + 2 < source.size(); k += 3) {
        const PJ_COORD out =
            proj_trans(helmert, PJ_FWD, proj_coord(source[k], source[k + 1], source[k + 2], 0));
        target[k] = out.xyz.x;
        target[k + 1] = out.xyz.y;
        target[k + 2] = out.xyz.z;
    }
    proj_destroy(helmert);
    return target;
}

double squaredResidual(void (*model)(double*, double*, int, int, void*), const double* p, int m,
                       std::vector<double> source, const std::vector<double>& target) {
    std::vector<double> params(p, p + m), hx(target.size());
    model(params.data(), hx.data(), m, int(target.size()), source.data());
    double e = 0;
    for (std::size_t i = 0; i < target.size(); ++i) e += (target[i] - hx[i]) * (target[i] - hx[i]);
    return e;
}

// Runs a solve with its report captured, so that the report can be checked and the log stays short.
template <typename Solve>
int quietly(Solve solve, std::string* report = nullptr) {
    ::testing::internal::CaptureStdout();
    const int result = solve();
    const std::string out = ::testing::internal::GetCapturedStdout();
    if (report) *report = out;
    return result;
}

const double kSeven[7] = {15.8, -154.4, -82.3, 1.2 * kArcSecond, -0.7 * kArcSecond, 2.3 * kArcSecond, 4.1e-6};

}  // namespace

TEST(ParamSolver, SevenParameterModelAgreesWithProjHelmert) {
    std::vector<double> source = network();
    const std::vector<double> expected = projHelmert(source, kSeven);
    std::vector<double> ours(source.size());
    double p[7];
    std::copy(kSeven, kSeven + 7, p);
    ParamSolver::sevenParamModel(p, ours.data(), 7, int(source.size()), source.data());
    double largest = 0;
    for (std::size_t k = 0; k < ours.size(); ++k)
        largest = std::max(largest, std::fabs(ours[k] - expected[k]));
    std::printf("largest difference from PROJ Helmert: %.3g m\n", largest);
    EXPECT_LT(largest, 1e-6);
}

TEST(ParamSolver, SevenParametersComeBackFromExactControlPoints) {
    std::vector<double> source = network();
    std::vector<double> target = projHelmert(source, kSeven);
    ASSERT_GT(std::fabs(target[0] - source[0]), 10.0);
    double p[7] = {0, 0, 0, 0, 0, 0, 0};
    std::string report;
    const int iterations = quietly(
        [&] { return ParamSolver::SolveParamSeven(p, source.data(), target.data(), int(source.size())); },
        &report);
    EXPECT_GT(iterations, 0);
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(p[k], kSeven[k], 1e-6 * std::fabs(kSeven[k])) << k;
    EXPECT_EQ(ParamSolver::solver.paramCount, 7);
    EXPECT_EQ(ParamSolver::solver.measurementCount, 300);
    EXPECT_EQ(ParamSolver::solver.info[5], iterations);
    EXPECT_EQ(report.rfind("iteration " + std::to_string(iterations) + " \nreason ", 0), 0u) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), ','), 7);
}

TEST(ParamSolver, NoisySevenParametersAreTheLeastSquaresSolution) {
    std::vector<double> source = network();
    std::vector<double> target = projHelmert(source, kSeven);
    std::mt19937_64 random(11);
    std::normal_distribution<double> noise(0, 0.02);
    for (double& v : target) v += noise(random);
    double p[7] = {0, 0, 0, 0, 0, 0, 0};
    ASSERT_GT(quietly([&] { return ParamSolver::SolveParamSeven(p, source.data(), target.data(), 300); }), 0);

    // A least-squares solution: no parameter change lowers the squared residual, and it is no worse
    // than the parameters the points were made with.
    const double atSolution = squaredResidual(ParamSolver::sevenParamModel, p, 7, source, target);
    EXPECT_LE(atSolution, squaredResidual(ParamSolver::sevenParamModel, kSeven, 7, source, target));
    const double steps[7] = {1e-3, 1e-3, 1e-3, 1e-10, 1e-10, 1e-10, 1e-10};
    for (int k = 0; k < 7; ++k) {
        for (double sign : {-1.0, 1.0}) {
            double q[7];
            std::copy(p, p + 7, q);
            q[k] += sign * steps[k];
            EXPECT_GE(squaredResidual(ParamSolver::sevenParamModel, q, 7, source, target),
                      atSolution * (1 - 1e-12))
                << k;
        }
    }
    // With 2 cm of noise on 100 points the translations stay within decimetres of the truth.
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], kSeven[k], 1.0) << k;
}

TEST(ParamSolver, IdenticalPointsGiveAnIdentityTransformation) {
    std::vector<double> source = network();
    std::vector<double> target = source;
    double p[7] = {0, 0, 0, 0, 0, 0, 0};
    quietly([&] { return ParamSolver::SolveParamSeven(p, source.data(), target.data(), 300); });
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], 0, 1e-6) << k;
    for (int k = 3; k < 7; ++k) EXPECT_NEAR(p[k], 0, 1e-12) << k;
}

TEST(ParamSolver, FourParametersComeBackAndMatchTheDirectSolutionUnderNoise) {
    const double truth[4] = {1200.5, -830.25, 0.0123, 1.000042};
    std::vector<double> source, exact;
    for (int i = 0; i < 15; ++i) {
        const double x = 3000 + 117.0 * i, y = -2000 + 301.0 * ((i * 5) % 7);
        source.insert(source.end(), {x, y});
        exact.push_back(truth[0] + truth[3] * (x * std::cos(truth[2]) - y * std::sin(truth[2])));
        exact.push_back(truth[1] + truth[3] * (x * std::sin(truth[2]) + y * std::cos(truth[2])));
    }
    double p[4] = {0, 0, 0, 1};
    std::string report;
    const int n = int(source.size());
    EXPECT_GT(
        quietly([&] { return ParamSolver::SolveParamFour(p, source.data(), exact.data(), n); }, &report), 0);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(p[k], truth[k], 1e-6 * std::fabs(truth[k])) << k;
    // Every model evaluation printed the plane-adjustment blocks before the report.
    EXPECT_NE(report.find("size: 2 by 1\n"), std::string::npos);
    EXPECT_NE(report.find("solution: "), std::string::npos);

    // With noise: the linear unknowns (tx, ty, a = m cos θ, b = m sin θ) solved directly.
    std::mt19937_64 random(3);
    std::normal_distribution<double> noise(0, 0.01);
    std::vector<double> noisy = exact, A;
    for (double& v : noisy) v += noise(random);
    for (int i = 0; i < n / 2; ++i) {
        const double x = source[2 * i], y = source[2 * i + 1];
        A.insert(A.end(), {1, 0, x, -y});
        A.insert(A.end(), {0, 1, y, x});
    }
    const std::vector<double> direct = leastSquares(A, noisy, n, 4);
    double q[4] = {0, 0, 0, 1};
    quietly([&] { return ParamSolver::SolveParamFour(q, source.data(), noisy.data(), n); });
    // Both solutions place every point within a micrometre of each other (the noise is 1 cm).
    const double solved[4] = {q[0], q[1], q[3] * std::cos(q[2]), q[3] * std::sin(q[2])};
    double largest = 0;
    for (int i = 0; i < n; ++i) {
        double d = 0;
        for (int k = 0; k < 4; ++k) d += A[i * 4 + k] * (solved[k] - direct[k]);
        largest = std::max(largest, std::fabs(d));
    }
    std::printf("four parameters under noise: largest point difference from the direct solution %.3g m\n",
                largest);
    EXPECT_LT(largest, 1e-6);
}

TEST(ParamSolver, ElevationSurfacesComeBackAndMatchTheDirectSolution) {
    struct Case {
        int m;
        std::vector<double> truth;
    } cases[] = {
        {1, {12.5}},
        {3, {2, 3, 4}},
        {6, {2e-3, -1e-3, 1e-7, -3e-7, 2e-7, 45.0}},
    };
    std::vector<double> points;
    for (int i = 0; i < 25; ++i)
        points.insert(points.end(), {100.0 * (i % 5) - 200, 80.0 * (i / 5) + 40 * (i % 2)});
    const int n = 25;
    std::mt19937_64 random(17);
    std::normal_distribution<double> noise(0, 0.005);
    for (const Case& c : cases) {
        std::vector<double> exact(n), A;
        for (int i = 0; i < n; ++i) {
            const double x = points[2 * i], y = points[2 * i + 1];
            const std::vector<double> row = c.m == 1   ? std::vector<double>{1}
                                            : c.m == 3 ? std::vector<double>{x, y, 1}
                                                       : std::vector<double>{x, y, x * x, y * y, x * y, 1};
            exact[i] = 0;
            for (int k = 0; k < c.m; ++k) exact[i] += row[k] * c.truth[k];
            A.insert(A.end(), row.begin(), row.end());
        }
        std::vector<double> p(c.m, 0);
        quietly(
            [&] { return ParamSolver::SolveParamElevation(p.data(), points.data(), exact.data(), c.m, n); });
        for (int k = 0; k < c.m; ++k)
            EXPECT_NEAR(p[k], c.truth[k], 1e-6 * std::fabs(c.truth[k])) << c.m << ":" << k;

        std::vector<double> noisy = exact;
        for (double& v : noisy) v += noise(random);
        const std::vector<double> direct = leastSquares(A, noisy, n, c.m);
        std::fill(p.begin(), p.end(), 0);
        quietly(
            [&] { return ParamSolver::SolveParamElevation(p.data(), points.data(), noisy.data(), c.m, n); });
        // Both surfaces agree within a micrometre at every point (the noise is 5 mm).
        double largest = 0;
        for (int i = 0; i < n; ++i) {
            double d = 0;
            for (int k = 0; k < c.m; ++k) d += A[i * c.m + k] * (p[k] - direct[k]);
            largest = std::max(largest, std::fabs(d));
        }
        std::printf(
            "elevation m = %d under noise: largest height difference from the direct solution %.3g m\n", c.m,
            largest);
        EXPECT_LT(largest, 1e-6) << c.m;
    }
}

TEST(ParamSolver, ElevationExamples) {
    double constant[1] = {0};
    double points3[6] = {0, 0, 1, 0, 0, 1};
    double heights3[3] = {1.0, 1.2, 0.8};
    quietly([&] { return ParamSolver::SolveParamElevation(constant, points3, heights3, 1, 3); });
    EXPECT_NEAR(constant[0], 1.0, 1e-9);

    // A coefficient count without a surface models 0 everywhere: nothing to fit, the estimate stays.
    double points[8] = {0, 0, 1, 0, 0, 1, 2, 3}, heights[4] = {4, 6, 7, 17};
    double two[2] = {5, 6};
    EXPECT_EQ(quietly([&] { return ParamSolver::SolveParamElevation(two, points, heights, 2, 4); }), 0);
    EXPECT_EQ(two[0], 5);
    EXPECT_EQ(two[1], 6);
}

TEST(ParamSolver, TooFewMeasurementsOrMissingArraysGiveMinusOne) {
    double p[7] = {0, 0, 0, 0, 0, 0, 0};
    double source[6] = {1, 2, 3, 4, 5, 6}, target[6] = {1, 2, 3, 4, 5, 6};
    struct Case {
        const char* what;
        std::function<int()> solve;
    } cases[] = {
        {"seven from 6 measurements", [&] { return ParamSolver::SolveParamSeven(p, source, target, 6); }},
        {"four from 2 measurements", [&] { return ParamSolver::SolveParamFour(p, source, target, 2); }},
        {"plane from 2 heights", [&] { return ParamSolver::SolveParamElevation(p, source, target, 3, 2); }},
        {"quadratic from 5 heights",
         [&] { return ParamSolver::SolveParamElevation(p, source, target, 6, 5); }},
        {"seven without source", [&] { return ParamSolver::SolveParamSeven(p, nullptr, target, 6); }},
        {"elevation without heights",
         [&] { return ParamSolver::SolveParamElevation(p, source, nullptr, 1, 3); }},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        std::string report;
        EXPECT_EQ(quietly(c.solve, &report), -1) << c.what;
        EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty()) << c.what;
        // The report shows no figures of an earlier solve.
        EXPECT_NE(report.find("initial error 0 \nterminal error 0 \n"), std::string::npos)
            << c.what << report;
    }
}

TEST(ParamSolver, FourParametersWithAMissingArrayReturnZeroAndPrintNothing) {
    double p[4] = {0, 0, 0, 1}, source[8] = {0, 0, 1, 0, 0, 1, 1, 1}, target[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    std::string report;
    EXPECT_EQ(quietly([&] { return ParamSolver::SolveParamFour(p, source, nullptr, 8); }, &report), 0);
    EXPECT_EQ(quietly([&] { return ParamSolver::SolveParamFour(p, nullptr, target, 8); }, &report), 0);
    EXPECT_EQ(quietly([&] { return ParamSolver::SolveParamFour(nullptr, source, target, 8); }, &report), 0);
    EXPECT_EQ(report, "");
}
