#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time over its committed corpus
# (tests/fuzz/corpus/<target>/). New inputs go to a scratch folder, never into the repository.
# Usage: tests/fuzz/run_regression.sh [seconds per target, default 40]
set -euo pipefail
cd "$(dirname "$0")/../.."
SECONDS_PER_TARGET=${1:-40}
BUILD=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGEODEX_BUILD_FUZZERS=ON -DGEODEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in $(find "$BUILD/tests/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort); do
  name=$(basename "$target")
  scratch=$(mktemp -d)
  seeds=tests/fuzz/corpus/$name
  mkdir -p "$seeds"
  echo "== $name (${SECONDS_PER_TARGET}s)"
  if ! "$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1 \
       "$scratch" "$seeds" 2>"$scratch.log"; then
    tail -60 "$scratch.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units|Done [0-9]+ runs' "$scratch.log" | tail -2 || true
  fi
  rm -rf "$scratch" "$scratch.log"
done
exit $status
