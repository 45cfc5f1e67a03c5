#include "Angles.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace geodexcli {

std::optional<double> parseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

namespace {

// Splits "D<sep>M<sep>S" where each separator is one of the accepted unit marks.
bool isSeparator(std::string_view text, size_t i, size_t& length) {
    static const std::string_view marks[] = {"\xc2\xb0",     "d",  "D", ":",  "'",           "m",
                                             "\xe2\x80\xb2", "\"", "s", "''", "\xe2\x80\xb3"};
    size_t best = 0;
    for (std::string_view m : marks)
        if (text.substr(i, m.size()) == m && m.size() > best) best = m.size();
    length = best;
    return best > 0;
}

}  // namespace

std::optional<double> parseDegrees(std::string_view text) {
    if (text.empty()) return std::nullopt;
    double sign = 1;
    // A hemisphere letter (upper case only: a lower-case s is the seconds mark) before or after.
    auto hemisphere = [&](char c) -> bool {
        if (c == 'S' || c == 'W') {
            sign = -sign;
            return true;
        }
        return c == 'N' || c == 'E';
    };
    if (hemisphere(text.front()))
        text.remove_prefix(1);
    else if (hemisphere(text.back()))
        text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    if (auto plain = parseNumber(text)) return sign * *plain;

    // Degrees, minutes, seconds.
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (text.front() == '-') sign = -sign;
        text.remove_prefix(1);
    }
    double parts[3] = {0, 0, 0};
    int count = 0;
    size_t i = 0;
    while (i < text.size() && count < 3) {
        size_t j = i;
        while (j < text.size() && (std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.')) ++j;
        if (j == i) return std::nullopt;
        auto v = parseNumber(text.substr(i, j - i));
        if (!v) return std::nullopt;
        parts[count++] = *v;
        size_t sep = 0;
        if (j < text.size()) {
            if (!isSeparator(text, j, sep)) return std::nullopt;
        }
        i = j + sep;
    }
    if (i != text.size() || count < 2) return std::nullopt;
    if (parts[1] >= 60 || parts[2] >= 60) return std::nullopt;
    for (int k = 0; k + 1 < count; ++k)
        if (parts[k] != std::floor(parts[k])) return std::nullopt;  // only the last part may be fractional
    return sign * (parts[0] + parts[1] / 60 + parts[2] / 3600);
}

void appendFixed(std::string& out, double value, int decimals) {
    char buf[512];
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        std::snprintf(buf, sizeof buf, "%.*e", decimals, value);
        out += buf;
        return;
    }
    out.append(buf, ptr);
}

}  // namespace geodexcli
