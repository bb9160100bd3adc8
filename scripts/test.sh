#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
# Usage: scripts/test.sh [--build-only | --test-only] [BUILD_DIR] [extra cmake options...]
#   --build-only  installs, configures and builds, without running the tests
#   --test-only   runs every test of a folder already built
set -euo pipefail
cd "$(dirname "$0")/.."

steps=all
case ${1:-} in
    --build-only) steps=build; shift ;;
    --test-only) steps=test; shift ;;
esac
build_dir=${1:-build}
shift || true

if [ "$steps" != test ]; then
    bash scripts/deps.sh
    # Ninja for a new build folder (one made earlier keeps its generator).
    export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}
    cmake -S . -B "$build_dir" -DKOVA_WERROR=ON "$@"
    cmake --build "$build_dir" --parallel "$(nproc)"
fi
if [ "$steps" != build ]; then
    ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
fi
