// Writes a realistic raw survey job of any size.
//   generate_raw_job <path> [points=100000] [bases=5] [version=V1.0] [seed=1] [job name]
#include <cstdio>
#include <cstdlib>

#include "RawJobGenerator.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path> [points] [bases] [version] [seed] [job name]\n", argv[0]);
        return 2;
    }
    rawgen::JobSpec spec;
    if (argc > 2) spec.points = std::atoi(argv[2]);
    if (argc > 3) spec.bases = std::atoi(argv[3]);
    if (argc > 4) spec.version = argv[4];
    if (argc > 5) spec.seed = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10));
    if (argc > 6) spec.jobName = argv[6];
    if (spec.points < 0 || spec.bases < 1) {
        std::fprintf(stderr, "points must be >= 0 and bases >= 1\n");
        return 2;
    }
    if (!rawgen::writeJobFile(spec, argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
