// The lenient conversions must read exactly what the C library reads in the "C" locale, and the fixed
// formatting must print exactly what printf prints there, whatever the process locale is.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "rawfile/RawNumbers.h"

namespace {

// clang-format off
const char* const kNumberTexts[] = {
    "1.5", "  -2.25xyz", "\t+3.75", "abc", "", "-", "+", "+-3", "--3", ".5", "-.5e1", "5.", "1e", "1e+", "1e-3",
    "1E3", "12345678901234567890", "4500123.456789012345678", "0.9999411765", "0x1p3", "-0X1.8p1", "0x", "0xg",
    "0x.8", "inf", "-Infinity", "infinit", "nan", "NAN(123)", "1e400", "-1e400", "1e-400", "4.9e-324",
    "2.2250738585072011e-308", "9007199254740993", "0.1e-5", " \v\f\r\n7", "1,5", "1.5.6", "3000000000",
    "-3000000000", "99999999999999999999", "-99999999999999999999", "300", "-129", "007", "130.2"};
// clang-format on

bool sameReal(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TEST(RawNumbers, ReadsRealsAsAtofAndIntegersAsAtoi) {
    for (const char* text : kNumberTexts) {
        EXPECT_TRUE(sameReal(lenientReal(text), std::atof(text))) << '"' << text << '"';
        // glibc's atoi is (int)strtol(text, 0, 10): saturate to 64 bits, keep the low 32.
        const long wide = std::strtol(text, nullptr, 10);
        EXPECT_EQ(lenientInt(text), static_cast<int>(static_cast<unsigned>(wide))) << '"' << text << '"';
    }
}

TEST(RawNumbers, StopsAtTheEndOfTheViewNotAtTheEndOfTheBuffer) {
    const std::string digits = "1234.5678";
    EXPECT_EQ(lenientReal(std::string_view(digits).substr(0, 3)), 123.0);
    EXPECT_EQ(lenientInt(std::string_view(digits).substr(0, 2)), 12);
}

TEST(RawNumbers, KeepsTheLowByteForEightBitFields) {
    const struct {
        int value;
        int expected;
    } cases[] = {{300, 44}, {200, -56}, {-1, -1}, {255, -1}, {256, 0}, {-129, 127}, {127, 127}};
    for (const auto& c : cases) EXPECT_EQ(lowByte(c.value), c.expected) << c.value;
}

// A German locale reads and writes "1,25"; when none is installed, one is compiled into a temporary folder.
bool selectCommaDecimalLocale(const std::string& folder) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name)) return true;
    }
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    setenv("LOCPATH", folder.c_str(), 1);
    const bool selected = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    unsetenv("LOCPATH");
    return selected;
}

TEST(RawNumbers, IgnoresACommaDecimalLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    QTemporaryDir folder;
    if (!folder.isValid() || !selectCommaDecimalLocale(folder.path().toStdString()))
        GTEST_SKIP() << "no locale with a decimal comma can be had";
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.2f", 1.25);
    const double read = lenientReal("1.25");
    std::string written;
    appendFixed(written, 1.25, 3);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_STREQ(printed, "1,25");  // the C library follows the locale...
    EXPECT_EQ(read, 1.25);          // ...the raw file does not
    EXPECT_EQ(written, "1.250");
}

TEST(RawNumbers, FormatsAndReadsRandomValuesOfEveryMagnitudeLikeTheCLibrary) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> exponents(-40, 70);
    std::uniform_int_distribution<int> decimalCounts(0, 19);
    int mismatches = 0;
    for (int i = 0; i < 200000; ++i) {
        // Random bit patterns scaled over many magnitudes, and exact ties at the last printed decimal.
        double value = std::ldexp(static_cast<double>(random() >> 11), exponents(random) - 53);
        if (i % 3 == 0) value = std::ldexp(static_cast<double>(random() % 4096) + 0.5, -(i % 7));
        if (random() & 1) value = -value;
        const double special[] = {-0.0,   2.6,     0.9999411765, 1e300,    -1e22,
                                  0.0015, 1.0 / 3, INFINITY,     -INFINITY};
        if (i < 9 * 4) value = special[i / 4];
        const int decimals = i % 4 == 0 ? 15 : decimalCounts(random);
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        std::string out;
        appendFixed(out, value, decimals);
        if (out != expected && ++mismatches < 10) ADD_FAILURE() << out << " != " << expected;
        if (!sameReal(lenientReal(expected), std::atof(expected)) && ++mismatches < 10)
            ADD_FAILURE() << expected;
    }
    EXPECT_EQ(mismatches, 0);
}
