#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 into build-fuzz/ (or $1).
# Needs clang-14, libclang-rt-14-dev, libgsl-dev and libcairo2-dev.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz}
cmake -S "$root/fuzz" -B "$out" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$out" -j"$(nproc)"
