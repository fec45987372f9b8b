#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (into build-fuzz/, or $VYN_FUZZ_BUILD_DIR) and runs
# each for SECONDS (default 60) over its seeds: the project's fixtures, the default configuration
# and the inputs of earlier findings (fuzz/regressions/TARGET/). New inputs that reach new code
# collect in build-fuzz/corpus/TARGET/ and are reused by the next run. Exit 1 when any target
# found a crash, a sanitizer report or a broken property; its input is left in
# build-fuzz/findings/ (keep it in fuzz/regressions/TARGET/ and add a regression test).
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
bash scripts/install-deps.sh
build_dir="${VYN_FUZZ_BUILD_DIR:-build-fuzz}"
extra=()
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DVYN_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$build_dir" --target fuzz_targets fuzz_seed_image -j"$(nproc)"

# Seeds from the fixtures, by target.
seeds="$build_dir/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{settings,about_ini,string_table,image_file,field_texts,text_list}
cp data/Values.ini "$seeds/settings/"
printf '[Aboutinfo]\r\nLines=2\r\n[AboutInfo]\r\nLine1=KEMB\r\nLine2=x\r\nWWW=w\r\nMAIL=m\r\n' \
  >"$seeds/about_ini/about.ini"
cp data/strings.txt "$seeds/string_table/"
"$build_dir/bin/fuzz_seed_image" data/default_config.txt "$seeds/image_file/Default.bin"
head -c 512 "$seeds/image_file/Default.bin" >"$seeds/image_file/short.bin"
for target in field_texts text_list; do
  # These targets take a few choice bytes before the image.
  { printf '\0\0\0\0'; cat "$seeds/image_file/Default.bin"; } >"$seeds/$target/Default.in"
done

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cc; do targets+=("$(basename "$source" .cc)"); done
fi
mkdir -p "$build_dir/findings"
failed=()
for target in "${targets[@]}"; do
  name="${target%_fuzz}"
  corpus="$build_dir/corpus/$name"
  mkdir -p "$corpus"
  dirs=("$corpus")
  [ -d "$seeds/$name" ] && dirs+=("$seeds/$name")
  [ -d "fuzz/regressions/$name" ] && dirs+=("fuzz/regressions/$name")
  echo "== $target: ${seconds} s"
  if ! "$build_dir/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build_dir/findings/$name-" "${dirs[@]}" \
      >"$build_dir/$name.log" 2>&1; then
    failed+=("$target")
    tail -40 "$build_dir/$name.log"
  else
    grep -E '^stat::number_of_executed_units' "$build_dir/$name.log" || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs in $build_dir/findings/)"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets, no finding"
