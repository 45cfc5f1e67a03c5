#!/usr/bin/env bash
# Fresh Debian machine → dependencies, build, full test suite, then the suite again under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
JOBS=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGEODEX_WERROR=ON
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS")
./scripts/check_package.sh build
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DGEODEX_SANITIZE=ON -DGEODEX_WERROR=ON
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$JOBS" -E install_consumer)
if [ -x tests/fuzz/run_regression.sh ]; then tests/fuzz/run_regression.sh; fi
