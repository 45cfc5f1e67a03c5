#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "geodex/ProjectionTestSupport.h"
#include "geodex/solver/ParamSolver.h"

using namespace Orvale::Geodex;
using namespace ProjectionTestSupport;

namespace {

// Geocentric coordinates of a 10 × 10 network over about 12° × 12° of central Europe, on WGS 84.
std::vector<double> network() {
    std::vector<double> xyz;
    Geocentric wgs84(kA, kF);
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

#if GEODEX_HAVE_PROJ
// The target points of a seven-parameter transformation, computed by PROJ's Helmert operation with
// exact rotations in the coordinate-frame convention.
std::vector<double> projHelmert(const std::vector<double>& source, const double p[7]) {
    const std::shared_ptr<PJ> helmert = projObject(
        format("+proj=helmert +x=%.17g +y=%.17g +z=%.17g +rx=%.17g +ry=%.17g +rz=%.17g +s=%.17g "
               "+exact +convention=coordinate_frame",
               p[0], p[1], p[2], p[3] / kArcSecond, p[4] / kArcSecond, p[5] / kArcSecond, p[6] * 1e6));
    EXPECT_NE(helmert, nullptr);
    std::vector<double> target(source.size());
    for (std::size_t k = 0; k + 2 < source.size(); k += 3) {
        const PJ_COORD out =
            proj_trans(helmert.get(), PJ_FWD, proj_coord(source[k], source[k + 1], source[k + 2], 0));
        target[k] = out.xyz.x;
        target[k + 1] = out.xyz.y;
        target[k + 2] = out.xyz.z;
    }
    return target;
}
#endif

// Runs a solve (or a model, whose four-parameter form prints) with its output captured, so that the report
// can be checked and the log stays short.
template <typename Solve>
auto quietly(Solve solve, std::string* report = nullptr) {
    ::testing::internal::CaptureStdout();
    const auto result = solve();
    const std::string out = ::testing::internal::GetCapturedStdout();
    if (report) *report = out;
    return result;
}

const double kSeven[7] = {15.8, -154.4, -82.3, 1.2 * kArcSecond, -0.7 * kArcSecond, 2.3 * kArcSecond, 4.1e-6};

}  // namespace

#if GEODEX_HAVE_PROJ
TEST(ParamSolver, SevenParameterModelAgreesWithProjHelmert) {
    std::vector<double> source = network(), target(source.size()), seven(kSeven, kSeven + 7);
    ParamSolver::sevenParamModel(seven.data(), target.data(), 7, int(source.size()), source.data());
    const std::vector<double> helmert = projHelmert(source, kSeven);
    Largest largest;
    for (std::size_t k = 0; k < target.size(); ++k) largest(std::fabs(helmert[k] - target[k]));
    std::printf("largest difference from PROJ Helmert: %.3g m\n", largest.value);
    EXPECT_LT(largest.value, 1e-6);
}
#endif

// Each solver against its own model (the transformer's shift, plane and height adjustments): measurements
// the model makes from known parameters give them back, and under noise the solve is the least-squares
// solution: no step of any parameter lowers the squared residual, nor do the true parameters.
TEST(ParamSolver, EveryModelComesBackAndIsTheLeastSquaresSolutionUnderNoise) {
    std::vector<double> xy;  // 25 plane points, metres
    for (int i = 0; i < 25; ++i)
        xy.insert(xy.end(), {117.0 * i - 200, 80.0 * (i / 5) + 301.0 * ((i * 5) % 7)});
    const std::vector<double> quadratic = {2e-3, -1e-3, 1e-7, -3e-7, 2e-7, 45.0};
    const struct {
        const char* what;
        int m;  // parameters: 7 and 4 the shift and the plane adjustment, otherwise a height surface
        std::vector<double> source, truth, start, steps;
        double noise;  // metres
    } cases[] = {
        // clang-format off
        {"seven parameters", 7, network(), {kSeven, kSeven + 7}, std::vector<double>(7, 0), {1e-3, 1e-3, 1e-3, 1e-10, 1e-10, 1e-10, 1e-10}, 0.02},
        {"four parameters", 4, xy, {1200.5, -830.25, 0.0123, 1.000042}, {0, 0, 0, 1}, {1e-4, 1e-4, 1e-9, 1e-9}, 0.01},
        {"elevation constant", 1, xy, {12.5}, {0}, {1e-4}, 0.005},
        {"elevation plane", 3, xy, {2e-3, 3e-3, 4}, {0, 0, 0}, {1e-8, 1e-8, 1e-4}, 0.005},
        {"elevation quadratic", 6, xy, quadratic, std::vector<double>(6, 0), {1e-8, 1e-8, 1e-12, 1e-12, 1e-12, 1e-4}, 0.005},
        // clang-format on
    };
    std::mt19937_64 random(11);
    for (const auto& c : cases) {
        const int n = int(c.source.size()) / (c.m == 7 || c.m == 4 ? 1 : 2);  // measurements
        const auto model = [&](std::vector<double> p) {
            std::vector<double> source = c.source, hx(n);
            const auto f = c.m == 7   ? ParamSolver::sevenParamModel
                           : c.m == 4 ? ParamSolver::fourParamModel
                                      : ParamSolver::elevationModel;
            quietly([&] { return f(p.data(), hx.data(), c.m, n, source.data()), 0; });
            return hx;
        };
        const auto squaredResidual = [&](const std::vector<double>& p, const std::vector<double>& measured) {
            const std::vector<double> hx = model(p);
            double e = 0;
            for (int i = 0; i < n; ++i) e += (measured[i] - hx[i]) * (measured[i] - hx[i]);
            return e;
        };
        // Solves from the start on copies (the solver may write into them).
        const auto solve = [&](std::vector<double> measured, std::string* report = nullptr) {
            std::vector<double> p = c.start, source = c.source;
            const int result = quietly(
                [&] {
                    return c.m == 7
                               ? ParamSolver::SolveParamSeven(p.data(), source.data(), measured.data(), n)
                           : c.m == 4
                               ? ParamSolver::SolveParamFour(p.data(), source.data(), measured.data(), n)
                               : ParamSolver::SolveParamElevation(p.data(), source.data(), measured.data(),
                                                                  c.m, n);
                },
                report);
            EXPECT_GE(result, 0) << c.what;
            return p;
        };
        const std::vector<double> exact = model(c.truth);
        std::string report;
        const std::vector<double> fromExact = solve(exact, &report);
        // The report ends the solver's output (after the plane adjustment's blocks) with the figures kept.
        const std::string tail = report.substr(report.find("iteration "));
        EXPECT_EQ(
            tail.rfind("iteration " + std::to_string(int(ParamSolver::solver.info[5])) + " \nreason ", 0),
            0u);
        EXPECT_EQ(std::count(tail.begin(), tail.end(), ','), c.m) << tail;
        EXPECT_EQ(ParamSolver::solver.paramCount, c.m);
        EXPECT_EQ(ParamSolver::solver.measurementCount, n);
        for (int k = 0; k < c.m; ++k)
            EXPECT_NEAR(fromExact[k], c.truth[k], 1e-6 * std::fabs(c.truth[k])) << c.what << " " << k;
        if (c.m == 7) {  // identical points: the identity
            const std::vector<double> identity = solve(c.source);
            for (int k = 0; k < 7; ++k) EXPECT_NEAR(identity[k], 0, k < 3 ? 1e-6 : 1e-12) << k;
        }
        std::vector<double> noisy = exact;
        std::normal_distribution<double> noise(0, c.noise);
        for (double& v : noisy) v += noise(random);
        const std::vector<double> solved = solve(noisy);
        const double atSolution = squaredResidual(solved, noisy);
        EXPECT_LE(atSolution, squaredResidual(c.truth, noisy)) << c.what;
        for (int k = 0; k < c.m; ++k)
            for (double sign : {-1.0, 1.0}) {
                std::vector<double> q = solved;
                q[k] += sign * c.steps[k];
                EXPECT_GE(squaredResidual(q, noisy), atSolution * (1 - 1e-12)) << c.what << " " << k;
            }
    }
}

TEST(ParamSolver, DegenerateProblemsKeepTheEstimateOrReturnMinusOne) {
    // Three heights give their mean; a coefficient count without a surface models 0 everywhere: nothing
    // to fit, the estimate stays.
    double constant[1] = {0}, points3[6] = {0, 0, 1, 0, 0, 1}, heights3[3] = {1.0, 1.2, 0.8};
    quietly([&] { return ParamSolver::SolveParamElevation(constant, points3, heights3, 1, 3); });
    EXPECT_NEAR(constant[0], 1.0, 1e-9);
    double points[8] = {0, 0, 1, 0, 0, 1, 2, 3}, heights[4] = {4, 6, 7, 17}, two[2] = {5, 6};
    EXPECT_EQ(quietly([&] { return ParamSolver::SolveParamElevation(two, points, heights, 2, 4); }), 0);
    EXPECT_EQ(two[0] + two[1], 11);
    // Too few measurements or a missing array: -1, a message on stderr, and no figures of an earlier solve.
    double p[7] = {0, 0, 0, 0, 0, 0, 0};
    double source[8] = {1, 2, 3, 4, 5, 6, 1, 1}, target[8] = {1, 2, 3, 4, 5, 6, 1, 1};
    // The four-parameter solve with a missing array returns 0 and prints nothing.
    const struct {
        const char* what;
        std::function<int()> solve;
        int result;
    } cases[] = {
        // clang-format off
        {"seven from 6 measurements", [&] { return ParamSolver::SolveParamSeven(p, source, target, 6); }, -1},
        {"four from 2 measurements", [&] { return ParamSolver::SolveParamFour(p, source, target, 2); }, -1},
        {"plane from 2 heights", [&] { return ParamSolver::SolveParamElevation(p, source, target, 3, 2); }, -1},
        {"seven without source", [&] { return ParamSolver::SolveParamSeven(p, nullptr, target, 6); }, -1},
        {"elevation without heights", [&] { return ParamSolver::SolveParamElevation(p, source, nullptr, 1, 3); }, -1},
        {"four without target", [&] { return ParamSolver::SolveParamFour(p, source, nullptr, 8); }, 0},
        {"four without source", [&] { return ParamSolver::SolveParamFour(p, nullptr, target, 8); }, 0},
        {"four without parameters", [&] { return ParamSolver::SolveParamFour(nullptr, source, target, 8); }, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStderr();
        std::string report;
        EXPECT_EQ(quietly(c.solve, &report), c.result) << c.what;
        EXPECT_EQ(::testing::internal::GetCapturedStderr().empty(), c.result == 0) << c.what;
        if (c.result == 0)
            EXPECT_EQ(report, "") << c.what;
        else
            EXPECT_NE(report.find("initial error 0 \nterminal error 0 \n"), std::string::npos)
                << c.what << report;
    }
}
