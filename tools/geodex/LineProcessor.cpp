#include "LineProcessor.h"

#include <cmath>
#include <vector>

#include "Angles.h"

namespace geodexcli {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits on commas when the line has any, else on runs of blanks.
std::vector<std::string_view> split(std::string_view line, bool& commas) {
    std::vector<std::string_view> fields;
    commas = line.find(',') != std::string_view::npos;
    if (commas) {
        size_t start = 0;
        while (true) {
            const size_t comma = line.find(',', start);
            fields.push_back(
                trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        return fields;
    }
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        size_t j = i;
        while (j < line.size() && !isBlank(line[j])) ++j;
        if (j > i) fields.push_back(line.substr(i, j - i));
        i = j;
    }
    return fields;
}

}  // namespace

std::string processLine(std::string_view line, Orvale::Geodex::Converter& converter, const LineFormat& format,
                        std::string* error) {
    const std::string_view content = trimmed(line);
    if (content.empty() || content.front() == '#') return std::string(line);

    bool commas = false;
    const std::vector<std::string_view> fields = split(content, commas);
    auto fail = [&](std::string reason) {
        if (error) *error = std::move(reason);
        return std::string(kErrorMarker);
    };
    if (fields.size() < 2) return fail("expected at least two coordinates");

    double in[3] = {0, 0, 0};
    for (int k = 0; k < 2; ++k) {
        const std::string_view text = fields[k];
        std::optional<double> v;
        if (format.geodeticIn)
            v = format.radians ? parseNumber(text) : parseDegrees(text);
        else
            v = parseNumber(text);
        if (!v) return fail("not a coordinate: \"" + std::string(text) + "\"");
        in[k] = format.geodeticIn && !format.radians ? *v * kDegree : *v;
    }
    size_t used = 2;
    bool hasHeight = false;
    if (format.heightColumn && fields.size() > 2) {
        if (auto h = parseNumber(fields[2])) {
            in[2] = *h;
            hasHeight = true;
            used = 3;
        }
    }
    if (format.heightRequired && !hasHeight) return fail("expected three coordinates");
    // The library takes latitude (northing) first.
    if (format.lonLatOrder && !format.xyzIn) std::swap(in[0], in[1]);

    // Geodetic results come with the longitude in [-π, π).
    double out[3] = {0, 0, 0};
    std::string message;
    if (!converter.convertPoint(in, out, &message)) return fail(std::move(message));
    if (format.lonLatOrder && !format.xyzOut) std::swap(out[0], out[1]);

    std::string result;
    result.reserve(line.size() + 32);
    const char* separator = commas ? "," : " ";
    const int columns = (hasHeight || format.heightAlwaysOut) ? 3 : 2;
    for (int k = 0; k < columns; ++k) {
        if (k) result += separator;
        if (format.geodeticOut && k < 2) {
            if (format.radians)
                appendFixed(result, out[k], format.angleDecimals + 3);
            else
                appendFixed(result, out[k] / kDegree, format.angleDecimals);
        } else {
            appendFixed(result, out[k], format.linearDecimals);
        }
    }
    // The columns after the coordinates, exactly as they stand in the input.
    if (used < fields.size()) {
        size_t start;
        if (commas) {
            start = 0;
            for (size_t k = 0; k < used; ++k) start = content.find(',', start) + 1;
        } else {
            start = static_cast<size_t>(fields[used].data() - content.data());
        }
        result += separator;
        result.append(content.substr(start));
    }
    return result;
}

}  // namespace geodexcli
