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
    rawgen::JobShape shape;
    if (argc > 2) shape.points = std::atoi(argv[2]);
    if (argc > 3) shape.bases = std::atoi(argv[3]);
    if (argc > 4) shape.version = argv[4];
    if (argc > 5) shape.seed = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10));
    if (argc > 6) shape.jobName = argv[6];
    if (shape.points < 0 || shape.bases < 1) {
        std::fprintf(stderr, "points must be >= 0 and bases >= 1\n");
        return 2;
    }
    if (!rawgen::writeJobFile(shape, argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
