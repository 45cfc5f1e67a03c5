#pragma once
// Command-line options of the geodex command. One table lists every option once (name, argument, help
// text, reader); it drives the parser, the --help text of every command and the settings a run uses.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Conversion.h"
#include "LineProcessor.h"
#include "Runner.h"

namespace geodexcli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What one invocation asks for: the conversion settings, the line format, the run options and the
// catalogue files that convert loads.
struct Request {
    Settings settings;
    LineFormat format;
    RunOptions run;
    std::string ellipsoids, crs, name, geoid;  // file names and the CRS record name (convert)
};

// The groups of options, in the order --help shows them. A command reads and shows only its groups;
// an option of another group is refused.
enum class OptionGroup { Catalogue, Ellipsoid, Projection, Shift, Adjust, Common };

// The value of one given option, read as its kind; each reader throws UsageError naming the option.
struct OptionValue {
    std::string name, text;

    double number() const;
    int integer() const;                          // a whole number that fits an int
    double angle() const;                         // degrees, decimal or D:M:S, returned in radians
    std::vector<double> numbers(size_t n) const;  // exactly n comma-separated numbers
};

struct OptionSpec {
    const char* name;      // "--code", "-j"
    const char* argument;  // the value's placeholder in --help ("DEG"); nullptr for a flag
    const char* help;      // one line of --help
    OptionGroup group;
    // Reads the given option (an empty text for a flag) into the request; nullptr: nothing to read.
    void (*read)(const OptionValue& value, Request& request);
};

// Every option of the command, grouped, in --help order.
const std::vector<OptionSpec>& optionTable();

// "--name value", "--name=value" and the flags of the table; other words are positional. A word that
// reads as a number ("-12.5") is positional too. Throws UsageError.
class Options {
  public:
    explicit Options(const std::vector<std::string>& args);

    bool given(const std::string& name) const { return values_.count(name) > 0; }
    // The value of a given option ("" for a flag); the last one given wins.
    std::string text(const std::string& name) const;
    const std::vector<std::string>& positional() const { return positional_; }

  private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

// The --help section of a group: its heading, its options one a line, and its notes.
std::string groupHelp(OptionGroup group);

// Reads the given options of a group into the request, in table order, then what the group needs as a
// whole (convert's catalogues and geoid grid). Throws UsageError.
void readGroup(OptionGroup group, const Options& options, Request& request);

}  // namespace geodexcli
