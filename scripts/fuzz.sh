#!/usr/bin/env bash
# Builds the reader fuzzer with clang (libFuzzer, ASan + UBSan) and runs it.
# usage: scripts/fuzz.sh [SECONDS]   (default 120)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if ! command -v clang++ >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang
fi
seconds=${1:-120}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQC_FUZZ=ON -DQC_SANITIZE=address -DQC_BENCHMARKS=OFF
cmake --build build-fuzz --target reader_fuzzer -j 2
mkdir -p build-fuzz/corpus
exec build-fuzz/reader_fuzzer -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
  build-fuzz/corpus fuzz/seeds
