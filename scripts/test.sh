#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: a release build, then the
# same suite under AddressSanitizer + UndefinedBehaviorSanitizer, then the
# audio-thread tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQC_SANITIZE=address
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"


cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQC_SANITIZE=thread
cmake --build build-tsan -j "$jobs" --target thread_tests
ctest --test-dir build-tsan --output-on-failure -L thread
