#include "Runner.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "Options.h"

namespace geodexcli {

namespace {

const size_t kBlockBytes = 4 << 20;

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

// The part of a block one thread converts: whole lines, their output, and the failures by line index.
struct Slice {
    std::string_view text;
    std::string output;
    std::vector<std::pair<long long, std::string>> errors;
    long long lines = 0;
};

// A block of whole input lines (the last one may lack its line end only at the end of the input).
struct Block {
    std::string data;
    std::vector<Slice> slices;

    // Reads about kBlockBytes, carrying an unfinished last line over to the next block.
    void read(std::istream& in, std::string& carry) {
        data.swap(carry);
        carry.clear();
        // Read until the block holds at least one line end (a line longer than a block grows it) or the
        // input ends.
        size_t searchFrom = 0;
        while (in) {
            const size_t start = data.size();
            data.resize(start + kBlockBytes);
            in.read(&data[start], static_cast<std::streamsize>(kBlockBytes));
            data.resize(start + static_cast<size_t>(in.gcount()));
            if (data.find('\n', searchFrom) != std::string::npos) break;
            searchFrom = data.size();
        }
        if (in) {
            const size_t keep = data.rfind('\n') + 1;
            carry.assign(data, keep, std::string::npos);
            data.resize(keep);
        }
    }

    // Splits the block into up to n slices at line ends.
    void split(size_t n) {
        slices.assign(std::max<size_t>(1, n), Slice());
        const std::string_view all(data);
        size_t begin = 0;
        for (size_t k = 0; k < slices.size(); ++k) {
            size_t end = all.size();
            if (k + 1 < slices.size()) {
                end = std::min(all.size(), begin + all.size() / slices.size());
                const size_t newline = all.find('\n', end == 0 ? 0 : end - 1);
                end = newline == std::string_view::npos ? all.size() : newline + 1;
                end = std::max(end, begin);
            }
            slices[k].text = all.substr(begin, end - begin);
            begin = end;
        }
    }
};

void convertSlice(Slice& slice, Orvale::Geodex::Converter& converter, const LineFormat& format) {
    slice.output.clear();
    slice.errors.clear();
    slice.lines = 0;
    std::string_view rest = slice.text;
    std::string error;
    while (!rest.empty()) {
        const size_t newline = rest.find('\n');
        const std::string_view line = rest.substr(0, newline);
        rest.remove_prefix(newline == std::string_view::npos ? rest.size() : newline + 1);
        error.clear();
        slice.output += processLine(line, converter, format, &error);
        slice.output += '\n';
        if (!error.empty()) slice.errors.emplace_back(slice.lines, error);
        ++slice.lines;
    }
}

void convertBlock(Block& block, std::vector<std::unique_ptr<Orvale::Geodex::Converter>>& conversions,
                  const LineFormat& format) {
    block.split(conversions.size());
    if (block.slices.size() == 1) {
        convertSlice(block.slices[0], *conversions[0], format);
        return;
    }
    std::vector<std::thread> pool;
    for (size_t k = 0; k < block.slices.size(); ++k)
        pool.emplace_back(convertSlice, std::ref(block.slices[k]), std::ref(*conversions[k]),
                          std::cref(format));
    for (std::thread& t : pool) t.join();
}

}  // namespace

long long runLines(std::istream& in, std::ostream& out, std::ostream& err, const Settings& settings,
                   const LineFormat& format, const RunOptions& options) {
    const int threads = std::max(1, options.threads);
    // One converter per thread; settings the library rejects are a usage error.
    std::vector<std::unique_ptr<Orvale::Geodex::Converter>> conversions;
    try {
        conversions.push_back(std::make_unique<Orvale::Geodex::Converter>(settings));
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
    for (int k = 1; k < threads; ++k)
        conversions.push_back(std::make_unique<Orvale::Geodex::Converter>(*conversions[0]));

    long long lineNumber = 0, failures = 0, bytes = 0;
    bool progressShown = false;
    auto write = [&](const Block& block) {
        for (const Slice& slice : block.slices) {
            out.write(slice.output.data(), static_cast<std::streamsize>(slice.output.size()));
            for (const auto& [index, message] : slice.errors) {
                ++failures;
                err << "geodex: line " << (lineNumber + index + 1) << ": " << message << '\n';
            }
            lineNumber += slice.lines;
        }
        bytes += static_cast<long long>(block.data.size());
        const bool large = options.totalBytes > (4 << 20) || lineNumber >= 100000;
        if (options.progress && large) {
            drawProgress(err, lineNumber, bytes, options.totalBytes, false);
            progressShown = true;
        }
    };

    // Reading the next block and writing the last one overlap the conversion of the current one, so the
    // one-thread parts do not hold the converting threads up.
    std::string carry;
    Block a, b;
    Block* current = &a;
    Block* next = &b;
    current->read(in, carry);
    std::thread converting;
    if (!current->data.empty())
        converting = std::thread([&, c = current] { convertBlock(*c, conversions, format); });
    while (!current->data.empty()) {
        next->read(in, carry);
        converting.join();
        if (!next->data.empty())
            converting = std::thread([&, c = next] { convertBlock(*c, conversions, format); });
        write(*current);
        std::swap(current, next);
    }
    out.flush();
    if (progressShown) drawProgress(err, lineNumber, bytes, options.totalBytes, true);
    return failures;
}

}  // namespace geodexcli
