#!/usr/bin/env bash
# Installs what is missing, builds Mivo with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/check-format.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DMIVO_WERROR=ON
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
