#!/usr/bin/env bash
# Installs what is missing, builds, installs into the program folder and starts
# KROX Gastrid. The cookbook there is never replaced by a rebuild.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
prefix="${GASTRID_HOME:-$HOME/KROX Gastrid}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target gastrid delivered_db
cmake --install build --prefix "$prefix"
exec "$prefix/gastrid"
