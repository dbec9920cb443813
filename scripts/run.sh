#!/usr/bin/env bash
# Installs what is missing, builds Mivo and starts it. Its files (tavira.db,
# config/info.ini, log/) go next to the executable in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIVO_BUILD_TESTS=OFF -DMIVO_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)" --target mivo
exec build/mivo
