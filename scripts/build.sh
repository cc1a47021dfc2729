#!/usr/bin/env bash
# Configures and builds one preset (default: debug).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
# Paths below the checkout are hashed relative, so every checkout and build
# tree shares one compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
