#!/usr/bin/env bash
# Installs what is missing, builds, and starts KOVA X on the demo linacs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
# Ninja for a new build folder (one made earlier keeps its generator).
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}
cmake -S . -B build
cmake --build build --parallel "$(nproc)"

# The program reads the Linacs folder of its current folder: build/Linacs holds the demo linacs.
cd build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: start KOVA X from a desktop session (cd build && bin/kovax)," >&2
    echo "or try it without one: xvfb-run -a bin/kovax" >&2
    exit 1
fi
exec bin/kovax
