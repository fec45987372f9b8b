#!/bin/sh
# Builds the benchmarks in release mode and runs the editor's: the conversions in core and the
# load into the Qt widgets.
# Usage: bench/run_editor_bench.sh [BUILD_DIR] [benchmark options...]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-/tmp/build-bench}
[ $# -gt 0 ] && shift
# GCC 12 reports false -Wrestrict overlaps in optimised std::string concatenation (GCC bug
# 105329); they stay warnings here so that warnings-as-errors does not stop the release build.
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS=-Wno-error=restrict >/dev/null
cmake --build "$build_dir" -j2 --target editor_form_bench editor_widgets_ui_bench
"$build_dir/bin/editor_form_bench" "$@"
"$build_dir/bin/editor_widgets_ui_bench" "$@"
