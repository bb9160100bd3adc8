#!/usr/bin/env bash
# Installs what is missing, builds, and shows what the program reads of every demo linac.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build
cmake --build build --parallel "$(nproc)"
for linac in build/Linacs/*.lnc; do
    echo "== $linac"
    build/bin/lnc dump "$linac"
done
