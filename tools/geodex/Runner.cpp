#include "Runner.h"

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace geodexcli {

namespace {

const size_t kChunkLines = 1 << 15;

struct Slice {
    size_t begin, end;
};

void drawProgress(std::ostream& err, long long lines, long long bytes, long long totalBytes, bool done) {
    err << "\rgeodex: ";
    if (totalBytes > 0) {
        const int percent = done ? 100 : static_cast<int>(std::min<long long>(99, bytes * 100 / totalBytes));
        const int width = 30, filled = percent * width / 100;
        err << '[' << std::string(filled, '#') << std::string(width - filled, ' ') << "] " << percent << "% ";
    }
    err << lines << " lines";
    if (done) err << '\n';
    err.flush();
}

}  // namespace

long long runLines(std::istream& in, std::ostream& out, std::ostream& err, const Settings& settings,
                   const LineFormat& format, const RunOptions& options) {
    const int threads = std::max(1, options.threads);
    std::vector<std::unique_ptr<Conversion>> conversions;
    for (int k = 0; k < threads; ++k) conversions.push_back(std::make_unique<Conversion>(settings));

    std::vector<std::string> lines(kChunkLines), results(kChunkLines), errors(kChunkLines);
    long long lineNumber = 0, failures = 0, bytes = 0;
    bool progressShown = false;
    while (in) {
        size_t count = 0;
        while (count < kChunkLines && std::getline(in, lines[count])) {
            bytes += static_cast<long long>(lines[count].size()) + 1;
            ++count;
        }
        if (count == 0) break;

        auto work = [&](Conversion& conversion, Slice slice) {
            for (size_t i = slice.begin; i < slice.end; ++i) {
                errors[i].clear();
                results[i] = processLine(lines[i], conversion, format, &errors[i]);
            }
        };
        const int used = static_cast<int>(std::min<size_t>(threads, (count + 255) / 256));
        if (used <= 1) {
            work(*conversions[0], {0, count});
        } else {
            std::vector<std::thread> pool;
            const size_t per = (count + used - 1) / used;
            for (int k = 0; k < used; ++k) {
                const size_t begin = std::min(count, k * per), end = std::min(count, begin + per);
                pool.emplace_back(work, std::ref(*conversions[k]), Slice{begin, end});
            }
            for (std::thread& t : pool) t.join();
        }

        for (size_t i = 0; i < count; ++i) {
            out << results[i] << '\n';
            if (!errors[i].empty()) {
                ++failures;
                err << "geodex: line " << (lineNumber + static_cast<long long>(i) + 1) << ": " << errors[i]
                    << '\n';
            }
        }
        lineNumber += static_cast<long long>(count);
        const bool large = options.totalBytes > (4 << 20) || lineNumber >= 100000;
        if (options.progress && large) {
            drawProgress(err, lineNumber, bytes, options.totalBytes, false);
            progressShown = true;
        }
    }
    out.flush();
    if (progressShown) drawProgress(err, lineNumber, bytes, options.totalBytes, true);
    return failures;
}

}  // namespace geodexcli
