#pragma once
// Converting a large array on several threads, each through its own copy of one Converter.
#include <cstddef>
#include <vector>

#include "geodex/Converter.h"

namespace geodexpy {

// Per coordinate, the factor applied to an input before the conversion and to an output after it (a
// degree ↔ radian factor for angles, 1 otherwise).
struct Scales {
    double in[3] = {1, 1, 1};
    double out[3] = {1, 1, 1};
};

// Converts n points: in[k] and out[k] (k = 0, 1, 2) are arrays of n coordinates (out[2] may be nullptr:
// no third output). Splits the points into at most `threads` contiguous runs of at least minimumRun
// points, one thread each; every point is converted alone, so the results do not depend on the number
// of threads. Returns the failures with their indices in 0 … n−1, in index order; failed points hold NaN.
std::vector<Orvale::Geodex::PointFailure> convertParallel(const Orvale::Geodex::Converter& prototype,
                                                          std::size_t n, const double* const in[3],
                                                          double* const out[3], const Scales& scales,
                                                          unsigned threads, std::size_t minimumRun = 16384);

}  // namespace geodexpy
