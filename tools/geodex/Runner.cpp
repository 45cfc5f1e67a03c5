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

namespace {

// One chunk of input lines with their results, converted as a unit.
struct Chunk {
    std::vector<std::string> lines, results, errors;
    size_t count = 0;
    long long bytes = 0;
    Chunk() : lines(kChunkLines), results(kChunkLines), errors(kChunkLines) {}

    void read(std::istream& in) {
        count = 0;
        bytes = 0;
        while (count < kChunkLines && std::getline(in, lines[count])) {
            bytes += static_cast<long long>(lines[count].size()) + 1;
            ++count;
        }
    }
};

// Converts a chunk on up to `threads` threads (one Conversion each); returns when all are done.
void convertChunk(Chunk& chunk, std::vector<std::unique_ptr<Conversion>>& conversions,
                  const LineFormat& format) {
    auto work = [&](Conversion& conversion, Slice slice) {
        for (size_t i = slice.begin; i < slice.end; ++i) {
            chunk.errors[i].clear();
            chunk.results[i] = processLine(chunk.lines[i], conversion, format, &chunk.errors[i]);
        }
    };
    const int threads = static_cast<int>(conversions.size());
    const int used = static_cast<int>(std::min<size_t>(threads, (chunk.count + 255) / 256));
    if (used <= 1) {
        work(*conversions[0], {0, chunk.count});
        return;
    }
    std::vector<std::thread> pool;
    const size_t per = (chunk.count + used - 1) / used;
    for (int k = 0; k < used; ++k) {
        const size_t begin = std::min(chunk.count, k * per), end = std::min(chunk.count, begin + per);
        pool.emplace_back(work, std::ref(*conversions[k]), Slice{begin, end});
    }
    for (std::thread& t : pool) t.join();
}

}  // namespace

long long runLines(std::istream& in, std::ostream& out, std::ostream& err, const Settings& settings,
                   const LineFormat& format, const RunOptions& options) {
    const int threads = std::max(1, options.threads);
    std::vector<std::unique_ptr<Conversion>> conversions;
    for (int k = 0; k < threads; ++k) conversions.push_back(std::make_unique<Conversion>(settings));

    long long lineNumber = 0, failures = 0, bytes = 0;
    bool progressShown = false;
    auto write = [&](const Chunk& chunk) {
        for (size_t i = 0; i < chunk.count; ++i) {
            out << chunk.results[i] << '\n';
            if (!chunk.errors[i].empty()) {
                ++failures;
                err << "geodex: line " << (lineNumber + static_cast<long long>(i) + 1) << ": "
                    << chunk.errors[i] << '\n';
            }
        }
        lineNumber += static_cast<long long>(chunk.count);
        bytes += chunk.bytes;
        const bool large = options.totalBytes > (4 << 20) || lineNumber >= 100000;
        if (options.progress && large) {
            drawProgress(err, lineNumber, bytes, options.totalBytes, false);
            progressShown = true;
        }
    };

    if (threads == 1) {
        Chunk chunk;
        for (chunk.read(in); chunk.count > 0; chunk.read(in)) {
            convertChunk(chunk, conversions, format);
            write(chunk);
        }
    } else {
        // With several threads the reading of the next chunk and the writing of the last one overlap the
        // conversion of the current one, so the one-thread parts do not hold the others up.
        Chunk a, b;
        Chunk* current = &a;
        Chunk* next = &b;
        current->read(in);
        std::thread converting;
        if (current->count > 0)
            converting = std::thread([&, c = current] { convertChunk(*c, conversions, format); });
        while (current->count > 0) {
            next->read(in);
            converting.join();
            if (next->count > 0)
                converting = std::thread([&, c = next] { convertChunk(*c, conversions, format); });
            write(*current);
            std::swap(current, next);
        }
    }
    out.flush();
    if (progressShown) drawProgress(err, lineNumber, bytes, options.totalBytes, true);
    return failures;
}

}  // namespace geodexcli
