#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "numera/LevmarDif.h"

using Orvale::Numera::dlevmar_dif;

namespace {

// y = p0 + p1 · t.
void line(double* p, double* hx, int /*m*/, int n, void* adata) {
    const double* t = static_cast<const double*>(adata);
    for (int i = 0; i < n; ++i) hx[i] = p[0] + p[1] * t[i];
}

void notANumber(double* /*p*/, double* hx, int /*m*/, int n, void* /*adata*/) {
    for (int i = 0; i < n; ++i) hx[i] = NAN;
}

}  // namespace

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
        {"central differences fit the line", line, 2, 4, 100, {1e-3, 1e-17, 1e-17, 1e-17, -1e-8}, 1, ""},
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
            if (!c.opts.empty() && c.opts[4] < 0) {
                EXPECT_NEAR(std::hypot(p[0] - 1, p[1] - 2), 0, 1e-9) << c.what;
            }
            continue;
        }
        EXPECT_EQ(result, -1) << c.what;
        EXPECT_EQ(std::vector<double>(p, p + 2), std::vector<double>({7, 8})) << c.what;
        for (double v : info) EXPECT_EQ(v, -1) << c.what;
    }
}
