#pragma once
// Streams lines through the conversion on one or more threads, keeping the output in input order.
#include <cstdio>
#include <istream>
#include <ostream>

#include "Conversion.h"
#include "LineProcessor.h"

namespace geodexcli {

struct RunOptions {
    int threads = 1;
    bool progress = false;     // draw a progress bar on stderr
    long long totalBytes = 0;  // size of the input when known (for the progress bar), else 0
};

// Converts every line of in to out; errors go to err as "geodex: line N: message".
// Returns the number of lines that failed; throws UsageError for settings the library rejects.
long long runLines(std::istream& in, std::ostream& out, std::ostream& err, const Settings& settings,
                   const LineFormat& format, const RunOptions& options);

}  // namespace geodexcli
