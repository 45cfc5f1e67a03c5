#include "Options.h"

#include <algorithm>

#include "Angles.h"

namespace geodexcli {

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                 const std::vector<std::string>& valued) {
    auto known = [](const std::vector<std::string>& list, const std::string& n) {
        return std::find(list.begin(), list.end(), n) != list.end();
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-' && !parseNumber(a)) {
            std::string name = a, value;
            bool inlineValue = false;
            const size_t eq = a.find('=');
            if (eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
                inlineValue = true;
            }
            if (known(flags, name)) {
                if (inlineValue) throw UsageError("option " + name + " takes no value");
                flags_.push_back(name);
            } else if (known(valued, name)) {
                if (!inlineValue) {
                    if (i + 1 >= args.size()) throw UsageError("option " + name + " needs a value");
                    value = args[++i];
                }
                values_[name] = value;
            } else {
                throw UsageError("unknown option " + name);
            }
        } else {
            positional_.push_back(a);
        }
    }
}

bool Options::flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

bool Options::has(const std::string& name) const { return values_.count(name) > 0; }

std::string Options::text(const std::string& name, const std::string& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

double Options::number(const std::string& name, double fallback) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallback;
    auto v = parseNumber(it->second);
    if (!v) throw UsageError("option " + name + ": not a number: " + it->second);
    return *v;
}

int Options::integer(const std::string& name, int fallback) const {
    const double v = number(name, fallback);
    if (v != static_cast<int>(v)) throw UsageError("option " + name + ": not a whole number");
    return static_cast<int>(v);
}

double Options::angle(const std::string& name, double fallbackRadians) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallbackRadians;
    auto v = parseDegrees(it->second);
    if (!v) throw UsageError("option " + name + ": not an angle in degrees: " + it->second);
    return *v * kDegree;
}

std::vector<double> Options::numbers(const std::string& name, size_t n) const {
    std::vector<double> out;
    const std::string s = text(name);
    size_t start = 0;
    while (start <= s.size()) {
        const size_t comma = s.find(',', start);
        const std::string part =
            s.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto v = parseNumber(part);
        if (!v) throw UsageError("option " + name + ": not a number: " + part);
        out.push_back(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (out.size() != n)
        throw UsageError("option " + name + " needs " + std::to_string(n) + " comma-separated numbers");
    return out;
}

}  // namespace geodexcli
