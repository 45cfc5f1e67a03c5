#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "numera/EquationSolver.h"
#include "numera/LevmarDif.h"

using Orvale::Numera::dlevmar_dif;
using Orvale::Numera::EquationSolver;

namespace {

// y = p0 · exp(−p1 · t) + p2 at the abscissae in adata.
void decay(double* p, double* hx, int /*m*/, int n, void* adata) {
    const double* t = static_cast<const double*>(adata);
    for (int i = 0; i < n; ++i) hx[i] = p[0] * std::exp(-p[1] * t[i]) + p[2];
}

// y = p0 + p1 · t.
void line(double* p, double* hx, int /*m*/, int n, void* adata) {
    const double* t = static_cast<const double*>(adata);
    for (int i = 0; i < n; ++i) hx[i] = p[0] + p[1] * t[i];
}

void notANumber(double* /*p*/, double* hx, int /*m*/, int n, void* /*adata*/) {
    for (int i = 0; i < n; ++i) hx[i] = NAN;
}

double squaredError(void (*model)(double*, double*, int, int, void*), double* p, int m,
                    const std::vector<double>& x, std::vector<double>& t) {
    std::vector<double> hx(x.size());
    model(p, hx.data(), m, int(x.size()), t.data());
    double e = 0;
    for (std::size_t i = 0; i < x.size(); ++i) e += (x[i] - hx[i]) * (x[i] - hx[i]);
    return e;
}

}  // namespace

TEST(LevmarDif, RecoversKnownParametersOfANonLinearModel) {
    const double truth[3] = {5.0, 0.4, 1.0};
    std::vector<double> t(40), x(40);
    for (int i = 0; i < 40; ++i) t[i] = 0.25 * i;
    decay(const_cast<double*>(truth), x.data(), 3, 40, t.data());
    for (double delta : {1e-8, -1e-6}) {  // forward and central differences
        double p[3] = {1, 1, 0};
        double p0[3] = {1, 1, 0};
        double opts[5] = {1e-3, 1e-17, 1e-17, 1e-17, delta};
        double info[10];
        const int iterations =
            dlevmar_dif(decay, p, x.data(), 3, 40, 1000, opts, info, nullptr, nullptr, t.data());
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(p[j], truth[j], 1e-6 * std::fabs(truth[j])) << j;
        EXPECT_GT(iterations, 0);
        EXPECT_EQ(info[5], iterations);
        EXPECT_DOUBLE_EQ(info[0], squaredError(decay, p0, 3, x, t));
        EXPECT_DOUBLE_EQ(info[1], squaredError(decay, p, 3, x, t));
        EXPECT_LT(info[1], 1e-20);
        EXPECT_TRUE(info[6] >= 1 && info[6] <= 6 && info[6] != 3 && info[6] != 4) << info[6];
        const double perJacobian = delta > 0 ? 3 : 6;
        EXPECT_GE(info[8], iterations);                       // one Jacobian per accepted step at least
        EXPECT_GE(info[7], perJacobian * info[8] + info[9]);  // differences plus one per trial step
        EXPECT_GE(info[9], iterations);
        EXPECT_GE(info[4], 0);
    }
}

// Problems that cannot be set up return −1 with a message and touch nothing; the others stop for the
// reason levmar gives (info[6]) after the iterations they return.
TEST(LevmarDif, SetUpFailuresTouchNothingAndStopReasonsFollowLevmar) {
    std::vector<double> t = {0, 1, 2, 3}, x = {1, 3, 5, 7};
    const double plain[5] = {1e-3, 1e-17, 1e-17, 1e-17, 1e-8};
    struct Case {
        const char* what;
        Orvale::Numera::LevmarModel func;
        int m, n, itmax;
        std::vector<double> opts;  // empty: the defaults
        double reason;             // −1: the problem cannot be set up
        const char* message;
    } cases[] = {
        // clang-format off
        {"fewer measurements than unknowns", line, 2, 1, 100, {}, -1, "fewer measurements [1] than unknowns [2]"},
        {"no measurements", line, 2, 0, 100, {}, -1, "fewer measurements [0] than unknowns [2]"},
        {"no unknowns", line, 0, 3, 100, {}, -1, "no unknowns"},
        {"no model", nullptr, 2, 3, 100, {}, -1, "missing model"},
        {"no parameters", line, 2, 3, 100, {}, -1, "missing model function or parameters"},
        {"iteration limit", line, 2, 4, 0, {plain, plain + 5}, 3, ""},
        {"large gradient threshold", line, 2, 4, 100, {1e-3, 1e6, 1e-17, 1e-17, 1e-8}, 1, ""},
        {"large error threshold", line, 2, 4, 100, {1e-3, 1e-17, 1e-17, 1e6, 1e-8}, 6, ""},
        {"large step threshold", line, 2, 4, 100, {1e-3, 1e-17, 1e6, 1e-17, 1e-8}, 2, ""},
        {"model gives NaN", notANumber, 2, 4, 100, {plain, plain + 5}, 7, ""},
        // clang-format on
    };
    for (Case& c : cases) {
        double p[2] = {7, 8}, info[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        const bool withP = std::string(c.what) != "no parameters";
        ::testing::internal::CaptureStderr();
        const int result =
            dlevmar_dif(c.func, withP ? p : nullptr, x.data(), c.m, c.n, c.itmax,
                        c.opts.empty() ? nullptr : c.opts.data(), info, nullptr, nullptr, t.data());
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(c.message), std::string::npos) << c.what << ": " << err;
        if (c.reason >= 0) {
            EXPECT_EQ(info[6], c.reason) << c.what;
            EXPECT_EQ(result, int(info[5])) << c.what;
            continue;
        }
        EXPECT_EQ(result, -1) << c.what;
        EXPECT_EQ(std::vector<double>(p, p + 2), std::vector<double>({7, 8})) << c.what;
        for (double v : info) EXPECT_EQ(v, -1) << c.what;
    }
}

TEST(EquationSolver, StartsWithTheDocumentedSettingsAndReportsItsSolve) {
    EquationSolver s;
    EXPECT_EQ(s.paramCount + s.measurementCount, 0);
    EXPECT_EQ(s.maxIterations, 1000);
    EXPECT_EQ(std::vector<double>(s.options, s.options + 5),
              std::vector<double>({1e-17, 1e-17, 1e-17, 1e-17, 1e-8}));
    EXPECT_EQ(std::vector<double>(s.info, s.info + 10), std::vector<double>(10, 0));
    const double info[10] = {10, 0.001, 0, 0, 0, 3, 2, 0, 0, 0};
    std::copy(info, info + 10, s.info);
    const double p[3] = {1.5, 1.0 / 3, -2e-7};
    ::testing::internal::CaptureStdout();
    s.printReport(3, p);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "iteration 3 \nreason 2 \nsolution: 1.5,0.3333333333333333,-2e-07,\n\nMinimization info:\n"
              "initial error 10 \nterminal error 0.001 \n");
}
