#!/usr/bin/env bash
# Builds everything and starts the desktop programmer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir="${VYN_BUILD_DIR:-build}"
exec "$build_dir/bin/vyn-programmer" "$@"
