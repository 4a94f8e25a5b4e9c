#!/usr/bin/env bash
# Installs what is missing, builds the program and runs the whole test suite,
# the desktop tests on their own virtual X server included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test
cmake -S . -B build
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure
