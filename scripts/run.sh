#!/usr/bin/env bash
# Sets up, builds and starts the editor on the bundled demo song.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target quillchanter
exec build/quillchanter examples/demo.qcm
