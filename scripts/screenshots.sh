#!/usr/bin/env bash
# Builds the programmer and renders its windows offscreen into PNG files in the given folder.
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: scripts/screenshots.sh FOLDER" >&2
  exit 2
fi
out="$(realpath -m "$1")"
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
build_dir="${VYN_BUILD_DIR:-build}"
exec "$build_dir/bin/vyn-screenshots" "$out"
