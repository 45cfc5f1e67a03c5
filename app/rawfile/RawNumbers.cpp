#include "rawfile/RawNumbers.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// strtod in the "C" locale on a copy of text; only for the rare values from_chars reports out of range.
double strtodInCLocale(std::string_view text) {
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, cLocale);
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common plain decimal ("4512345.1234", "0.530000000000000") of at most 19 digits whose digits, read
// as one integer, do not exceed 2^53, with at most 22 decimals: that integer and the power of ten are
// exact doubles, so one division gives the correctly rounded value, the same as a full conversion. False
// for anything else (exponents, hexadecimal, inf, nan, more digits), which goes the long way.
bool fastDecimal(std::string_view text, double& value) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::uint64_t mantissa = 0;  // wraps past 19 digits, which are rejected below
    const char* const digitsStart = p;
    while (p < end && static_cast<unsigned>(*p - '0') <= 9)
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    std::ptrdiff_t digits = p - digitsStart;
    std::ptrdiff_t decimals = 0;
    if (p < end && *p == '.') {
        const char* const fractionStart = ++p;
        while (p < end && static_cast<unsigned>(*p - '0') <= 9)
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        decimals = p - fractionStart;
        digits += decimals;
    }
    // Up to 19 digits cannot overflow the 64-bit mantissa.
    if (digits == 0 || digits > 19 || decimals > 22 || mantissa > (std::uint64_t{1} << 53)) return false;
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X')) return false;
    value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    return true;
}

}  // namespace

double lenientReal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) ++i;
    std::string_view rest = text.substr(i);
    bool negative = false;
    std::string_view body = rest;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    double value = 0.0;
    if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X') &&
        (isHexDigit(body[2]) || (body[2] == '.' && body.size() > 3 && isHexDigit(body[3])))) {
        auto [ptr, ec] =
            std::from_chars(body.data() + 2, body.data() + body.size(), value, std::chars_format::hex);
        if (ec == std::errc::result_out_of_range) return strtodInCLocale(rest);
        if (ec != std::errc()) value = 0.0;
        return negative ? -value : value;
    }
    if (body.empty() || body[0] == '+' || body[0] == '-') return 0.0;
    if (fastDecimal(body, value)) return negative ? -value : value;
    auto [ptr, ec] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return strtodInCLocale(rest);
    if (ec != std::errc()) return 0.0;
    return negative ? -value : value;
}

int lenientInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude as unsigned 64 bits, saturating like strtol does.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    const std::uint64_t bits = negative ? ~magnitude + 1 : magnitude;
    return static_cast<int>(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
}

namespace {

constexpr std::uint64_t kIntegerPowersOfTen[] = {1ull,
                                                 10ull,
                                                 100ull,
                                                 1000ull,
                                                 10000ull,
                                                 100000ull,
                                                 1000000ull,
                                                 10000000ull,
                                                 100000000ull,
                                                 1000000000ull,
                                                 10000000000ull,
                                                 100000000000ull,
                                                 1000000000000ull,
                                                 10000000000000ull,
                                                 100000000000000ull,
                                                 1000000000000000ull,
                                                 10000000000000000ull,
                                                 100000000000000000ull,
                                                 1000000000000000000ull,
                                                 10000000000000000000ull};

// Fixed notation of a finite value whose |value| × 10^decimals stays below 2^64, computed exactly: the
// double is m × 2^e with an integer m below 2^53, so m × 10^decimals × 2^e, rounded to the nearest integer
// with ties to even as printf does, is the whole result. False for values outside that range.
bool appendFixedExactly(std::string& out, double value, int decimals) {
    if (decimals < 0 || decimals > 19 || !std::isfinite(value)) return false;
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // |value| = fraction × 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = exponent - 53;
    if (shift > 10) return false;
    unsigned __int128 scaled =
        static_cast<unsigned __int128>(mantissa) * kIntegerPowersOfTen[decimals];  // < 2^117
    if (shift >= 0) {
        scaled <<= shift;
    } else if (-shift >= 120) {
        scaled = 0;  // below 2^-3 of a unit in the last place: rounds to 0
    } else {
        const int right = -shift;
        const unsigned __int128 quotient = scaled >> right;
        const unsigned __int128 remainder = scaled - (quotient << right);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (right - 1);
        scaled = quotient + ((remainder > half || (remainder == half && (quotient & 1))) ? 1 : 0);
    }
    if (scaled >> 64) return false;
    const auto digits = static_cast<std::uint64_t>(scaled);
    const std::uint64_t unit = kIntegerPowersOfTen[decimals];

    // Written straight into out: building the digits elsewhere and copying them costs more here.
    const std::size_t start = out.size();
    out.resize(start + 48);  // sign, 20 integer digits, point, 19 decimals
    char* const first = out.data() + start;
    char* p = first;
    if (std::signbit(value)) *p++ = '-';
    p = std::to_chars(p, first + 48, digits / unit).ptr;
    if (decimals > 0) {
        *p++ = '.';
        std::uint64_t rest = digits % unit;
        for (int i = decimals - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        p += decimals;
    }
    out.resize(start + static_cast<std::size_t>(p - first));
    return true;
}

}  // namespace

void appendFixed(std::string& out, double value, int decimals) {
    if (appendFixedExactly(out, value, decimals)) return;
    // The widest result is a 309-digit integer part, the point and the decimals.
    char buffer[400];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return;
    out.append(buffer, static_cast<std::size_t>(ptr - buffer));
}

void appendInt(std::string& out, int value) {
    char buffer[16];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    out.append(buffer, static_cast<std::size_t>(ptr - buffer));
}
