#pragma once
// Command-line options of the geodex command: "--name value", "--name=value" and flags.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace geodexcli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Options {
  public:
    // flags: options that take no value. Every other "--name" takes one. Throws UsageError.
    Options(const std::vector<std::string>& args, const std::vector<std::string>& flags,
            const std::vector<std::string>& valued);

    bool flag(const std::string& name) const;
    bool has(const std::string& name) const;
    std::string text(const std::string& name, const std::string& fallback = "") const;
    double number(const std::string& name, double fallback) const;
    int integer(const std::string& name, int fallback) const;
    // An angle in degrees (decimal or D:M:S) converted to radians.
    double angle(const std::string& name, double fallbackRadians) const;
    // A comma-separated list of exactly n numbers.
    std::vector<double> numbers(const std::string& name, size_t n) const;
    const std::vector<std::string>& positional() const { return positional_; }

  private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
};

}  // namespace geodexcli
