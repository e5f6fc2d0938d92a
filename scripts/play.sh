#!/bin/bash
# Installs what is missing, builds the game and starts it.
set -e
cd "$(dirname "$0")/.."
bash scripts/deps.sh $(cat scripts/packages.txt)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLUFF_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec ./build/fluffernauts
