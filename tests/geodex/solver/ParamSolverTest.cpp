#include <gtest/gtest.h>
#if GEODEX_HAVE_PROJ
#include <proj.h>
#endif

#include <algorithm>
#include <functional>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "geodex/ProjectionTestSupport.h"
#include "geodex/solver/ParamSolver.h"

using namespace Orvale::Geodex;
using ProjectionTestSupport::Largest;

namespace {

const double kDeg = 0.017453292519943295;
const double kArcSecond = 4.84813681109536e-6;

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

#if GEODEX_HAVE_PROJ
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
#endif

double squaredResidual(const double* p, std::vector<double> source, const std::vector<double>& target) {
    std::vector<double> params(p, p + 7), hx(target.size());
    ParamSolver::sevenParamModel(params.data(), hx.data(), 7, int(target.size()), source.data());
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

// The model against PROJ's Helmert; exact points give the parameters back, identical points the identity,
// and under noise the solve is the least-squares solution: no parameter change lowers the squared
// residual, and it is no worse than the parameters the points were made with.
TEST(ParamSolver, SevenParametersAgreeWithProjHelmertAndAreTheLeastSquaresSolution) {
    std::vector<double> source = network();
    std::vector<double> target(source.size()), seven(kSeven, kSeven + 7);
    ParamSolver::sevenParamModel(seven.data(), target.data(), 7, int(source.size()), source.data());
#if GEODEX_HAVE_PROJ
    const std::vector<double> helmert = projHelmert(source, kSeven);
    Largest largest;
    for (std::size_t k = 0; k < target.size(); ++k) largest(std::fabs(helmert[k] - target[k]));
    std::printf("largest difference from PROJ Helmert: %.3g m\n", largest.value);
    EXPECT_LT(largest.value, 1e-6);
#endif
    // Solves from zero on a copy of the targets (the solver may write into them).
    double p[7];
    auto solve = [&](std::vector<double> to, std::string* report = nullptr) {
        std::fill(p, p + 7, 0);
        return quietly([&] { return ParamSolver::SolveParamSeven(p, source.data(), to.data(), 300); },
                       report);
    };
    std::string report;
    const int iterations = solve(target, &report);
    EXPECT_GT(iterations, 0);
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(p[k], kSeven[k], 1e-6 * std::fabs(kSeven[k])) << k;
    EXPECT_EQ(ParamSolver::solver.paramCount, 7);
    EXPECT_EQ(ParamSolver::solver.measurementCount, 300);
    EXPECT_EQ(ParamSolver::solver.info[5], iterations);
    EXPECT_EQ(report.rfind("iteration " + std::to_string(iterations) + " \nreason ", 0), 0u) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), ','), 7);
    solve(source);
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(p[k], 0, k < 3 ? 1e-6 : 1e-12) << k;
    std::vector<double> noisy = target;
    std::mt19937_64 random(11);
    std::normal_distribution<double> noise(0, 0.02);
    for (double& v : noisy) v += noise(random);
    ASSERT_GT(solve(noisy), 0);
    const double atSolution = squaredResidual(p, source, noisy);
    EXPECT_LE(atSolution, squaredResidual(kSeven, source, noisy));
    const double steps[7] = {1e-3, 1e-3, 1e-3, 1e-10, 1e-10, 1e-10, 1e-10};
    for (int k = 0; k < 7; ++k)
        for (double sign : {-1.0, 1.0}) {
            double q[7];
            std::copy(p, p + 7, q);
            q[k] += sign * steps[k];
            EXPECT_GE(squaredResidual(q, source, noisy), atSolution * (1 - 1e-12)) << k;
        }
    // With 2 cm of noise on 100 points the translations stay within decimetres of the truth.
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], kSeven[k], 1.0) << k;
}

// The plane four-parameter and the elevation surfaces are linear in (tx, ty, m cos θ, m sin θ) and in
// their coefficients: exact points give the parameters back, and noisy ones (1 cm in the plane, 5 mm in
// height) the least-squares solution.
TEST(ParamSolver, LinearModelsComeBackAndAreTheLeastSquaresSolutionUnderNoise) {
    const double m = 1.000042, theta = 0.0123;  // the four-parameter scale and rotation
    struct Case {
        const char* what;
        int m, points;
        std::vector<double> truth;  // four parameters as (tx, ty, m cos θ, m sin θ)
    } cases[] = {{"four parameters", 4, 15, {1200.5, -830.25, m * std::cos(theta), m * std::sin(theta)}},
                 {"elevation constant", 1, 25, {12.5}},
                 {"elevation plane", 3, 25, {2, 3, 4}},
                 {"elevation quadratic", 6, 25, {2e-3, -1e-3, 1e-7, -3e-7, 2e-7, 45.0}}};
    std::mt19937_64 fourRandom(3), elevationRandom(17);
    for (const Case& c : cases) {
        const bool four = c.m == 4;
        std::vector<double> xy, A, exact;  // A: the rows of the linear unknowns, two a point for four
        for (int i = 0; i < c.points; ++i) {
            const double x = four ? 3000 + 117.0 * i : 100.0 * (i % 5) - 200;
            const double y = four ? -2000 + 301.0 * ((i * 5) % 7) : 80.0 * (i / 5) + 40 * (i % 2);
            xy.insert(xy.end(), {x, y});
            const std::vector<double> rows = four       ? std::vector<double>{1, 0, x, -y, 0, 1, y, x}
                                             : c.m == 1 ? std::vector<double>{1}
                                             : c.m == 3 ? std::vector<double>{x, y, 1}
                                                        : std::vector<double>{x, y, x * x, y * y, x * y, 1};
            A.insert(A.end(), rows.begin(), rows.end());
        }
        const int n = int(A.size()) / c.m;
        for (int i = 0; i < n; ++i)
            exact.push_back(std::inner_product(&A[i * c.m], &A[i * c.m] + c.m, c.truth.begin(), 0.0));
        auto solve = [&](std::vector<double> heights) {
            std::vector<double> p(c.m, 0);
            if (four) p[3] = 1;
            std::string report;
            quietly(
                [&] {
                    return four ? ParamSolver::SolveParamFour(p.data(), xy.data(), heights.data(), n)
                                : ParamSolver::SolveParamElevation(p.data(), xy.data(), heights.data(), c.m,
                                                                   n);
                },
                &report);
            // The four-parameter model printed its plane-adjustment blocks before the report.
            EXPECT_EQ(report.find("size: 2 by 1\n") != std::string::npos, four) << c.what;
            EXPECT_NE(report.find("solution: "), std::string::npos) << c.what;
            if (four) p = {p[0], p[1], p[3] * std::cos(p[2]), p[3] * std::sin(p[2])};
            return p;
        };
        const std::vector<double> fromExact = solve(exact);
        for (int k = 0; k < c.m; ++k)
            EXPECT_NEAR(fromExact[k], c.truth[k], 1e-6 * std::fabs(c.truth[k])) << c.what << k;
        std::vector<double> noisy = exact;
        std::normal_distribution<double> noise(0, four ? 0.01 : 0.005);
        for (double& v : noisy) v += noise(four ? fourRandom : elevationRandom);
        // The least-squares solution leaves a residual orthogonal to every column (the normal equations);
        // where the minimisation stops, within a micrometre of the optimum, the cosine is 1e-5 or less.
        const std::vector<double> solved = solve(noisy);
        std::vector<double> r(n);
        for (int i = 0; i < n; ++i)
            r[i] = noisy[i] - std::inner_product(&A[i * c.m], &A[i * c.m] + c.m, solved.begin(), 0.0);
        Largest cosine;
        for (int j = 0; j < c.m; ++j) {
            double dot = 0, column = 0;
            for (int i = 0; i < n; ++i)
                dot += A[i * c.m + j] * r[i], column += A[i * c.m + j] * A[i * c.m + j];
            cosine(std::fabs(dot) /
                   std::sqrt(column * std::inner_product(r.begin(), r.end(), r.begin(), 0.0)));
        }
        std::printf("%s under noise: largest cosine between residual and a column %.3g\n", c.what,
                    cosine.value);
        EXPECT_LT(cosine.value, 5e-5) << c.what;
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
        {"quadratic from 5 heights", [&] { return ParamSolver::SolveParamElevation(p, source, target, 6, 5); }, -1},
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
