#include "ParallelConversion.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace geodexpy {

using Orvale::Geodex::Converter;
using Orvale::Geodex::PointFailure;

namespace {

// Points begin … end−1: scaled inputs into the outputs, converted there in place, outputs scaled back.
void convertRun(Converter& converter, std::size_t begin, std::size_t end, const double* const in[3],
                double* const out[3], const Scales& s, std::vector<PointFailure>& failures) {
    double* o2 = out[2];
    for (std::size_t i = begin; i < end; ++i) {
        out[0][i] = in[0][i] * s.in[0];
        out[1][i] = in[1][i] * s.in[1];
        if (o2) o2[i] = in[2][i] * s.in[2];
    }
    const std::size_t count = end - begin;
    // Without a third output the heights are read from the input (the outputs hold two coordinates).
    const double* heights = o2 ? o2 + begin : nullptr;
    std::vector<double> scaledHeights;
    if (!o2) {
        scaledHeights.resize(count);
        for (std::size_t i = 0; i < count; ++i) scaledHeights[i] = in[2][begin + i] * s.in[2];
        heights = scaledHeights.data();
    }
    converter.convert(count, out[0] + begin, out[1] + begin, heights, out[0] + begin, out[1] + begin,
                      o2 ? o2 + begin : nullptr, &failures);
    for (PointFailure& f : failures) f.index += begin;
    for (std::size_t i = begin; i < end; ++i) {
        out[0][i] *= s.out[0];
        out[1][i] *= s.out[1];
        if (o2) o2[i] *= s.out[2];
    }
}

}  // namespace

std::vector<PointFailure> convertParallel(const Converter& prototype, std::size_t n,
                                          const double* const in[3], double* const out[3],
                                          const Scales& scales, unsigned threads, std::size_t minimumRun) {
    const std::size_t runs = std::max<std::size_t>(
        1, std::min<std::size_t>(std::max(1u, threads),
                                 (n + minimumRun - 1) / std::max<std::size_t>(1, minimumRun)));
    std::vector<std::vector<PointFailure>> failures(runs);
    std::vector<std::exception_ptr> errors(runs);
    auto work = [&](std::size_t k) {
        try {
            Converter converter(prototype);
            convertRun(converter, n * k / runs, n * (k + 1) / runs, in, out, scales, failures[k]);
        } catch (...) {
            errors[k] = std::current_exception();
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t k = 1; k < runs; ++k) pool.emplace_back(work, k);
    work(0);
    for (std::thread& t : pool) t.join();
    for (const std::exception_ptr& e : errors)
        if (e) std::rethrow_exception(e);
    std::vector<PointFailure> all;
    for (std::vector<PointFailure>& f : failures)
        all.insert(all.end(), std::make_move_iterator(f.begin()), std::make_move_iterator(f.end()));
    return all;
}

}  // namespace geodexpy
