#!/usr/bin/env bash
# Builds the programmer and renders its windows offscreen into PNG files in the given folder,
# with the pages of the printed record.
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: scripts/screenshots.sh FOLDER" >&2
  exit 2
fi
out="$(realpath -m "$1")"
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
build_dir="${VYN_BUILD_DIR:-build}"
"$build_dir/bin/vyn-screenshots" "$out"
# The printed record of the default configuration, one picture a page, with a data folder of
# its own that vynctl prepares from the build's delivered files.
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
"$build_dir/bin/vynctl" record "$build_dir/bin/Default.b" -o "$out/record.pdf" \
  --data-dir "$data" >/dev/null
pdftoppm -png -r 100 "$out/record.pdf" "$out/record"
