#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true

bash scripts/deps.sh
cmake -S . -B "$build_dir" -DKOVA_WERROR=ON "$@"
cmake --build "$build_dir" --parallel "$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
