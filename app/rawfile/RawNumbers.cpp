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

void appendFixed(std::string& out, double value, int decimals) {
    // The widest result is a 309-digit integer part, the point and the decimals.
    char buffer[400];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return;
    out.append(buffer, ptr);
}

void appendInt(std::string& out, int value) {
    char buffer[16];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    out.append(buffer, ptr);
}
