#!/usr/bin/env bash
# Fresh Debian machine → dependencies, build, then RawBench on the bundled example job.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target RawBench
cd examples
exec ../build/app/RawBench "$(pwd)/sample.raw"
