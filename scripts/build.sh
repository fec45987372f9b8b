#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $VYN_BUILD_DIR).
# VYN_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir="${VYN_BUILD_DIR:-build}"
extra=()
if [ "${VYN_SANITIZE:-0}" = 1 ]; then extra+=(-DVYN_SANITIZE=ON); fi
# ccache, when the machine has it, makes rebuilds in several checkouts cheap.
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${VYN_BUILD_TYPE:-RelWithDebInfo}" "${extra[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
