#!/usr/bin/env bash
# Configures and builds one preset (default: debug).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
# Paths below the checkout are hashed relative, so every checkout and build
# tree shares one compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
# Warnings are errors in CI (CI=true) or when TARVIK_WERROR=1 asks for it.
werror=OFF
if [ "${CI:-}" = true ] || [ "${TARVIK_WERROR:-0}" = 1 ]; then werror=ON; fi
cmake --preset "$preset" -DTARVIK_WERROR="$werror" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
