#!/usr/bin/env bash
# Fault-injection soak: N write-then-read cycles of random valid configurations against
# vyn-unit-sim, whose answers get random faults at RATE percent (NAK, silence, bad checksum, a
# corrupted byte, chunks with gaps, late answers), alternating between a unit in normal (16-byte
# blocks) and one in extended mode (32-byte blocks). Each cycle runs `vynctl write` and then
# `vynctl read` as a user would.
#
# A silent corruption is a success reported while the data is wrong: a write that exits 0
# although the unit's memory differs from the image written (the ranges a level-0 write keeps
# come from the unit, so the image must arrive whole), or a read that exits 0 although the file
# differs from the unit's memory. The soak fails (exit 1) when there is any.
#
# Usage: bench/soak.sh [N] [RATE] [BUILD_DIR]   (defaults 200, 5, build)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cycles=${1:-200}
rate=${2:-5}
build_dir=${3:-$source_dir/build}
extra=()
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  "${extra[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target vynctl vyn-unit-sim vyn-soak-image delivered_data \
  >"$build_dir/soak-build.log" 2>&1 || { cat "$build_dir/soak-build.log"; exit 1; }
bin="$build_dir/bin"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

declare -A port
start_sim() {  # name, memory kind, seed
  "$bin/vyn-unit-sim" --ignore-stdin --memory-kind "$2" --memory "$work/$1.bin" \
    --fault-rate "$rate" --seed "$3" --stats "$work/$1.stats" --log "$work/$1.log" \
    >"$work/$1.out" &
  pids+=($!)
  while [ ! -s "$work/$1.out" ]; do sleep 0.05; done
  port[$1]=$(head -n 1 "$work/$1.out")
}
start_sim normal 5 101
start_sim extended 1 202

data="$work/data"
vynctl=("$bin/vynctl" --data-dir "$data" --quiet)
"${vynctl[@]}" backups >/dev/null  # prepares the data folder

writes_ok=0 writes_failed=0 reads_ok=0 reads_failed=0 silent=0
started=$(date +%s)
for ((i = 1; i <= cycles; ++i)); do
  unit=normal
  ((i % 2 == 0)) && unit=extended
  memory="$work/$unit.bin"
  image="$work/image.Rodid"
  "$bin/vyn-soak-image" "$i" "$memory" "$data/Values.ini" "$data/Default.bin" "$image"
  if "${vynctl[@]}" write "$image" --port "${port[$unit]}" --sip-dir "$work" 2>>"$work/vynctl.log"; then
    ((++writes_ok))
    if ! cmp -s "$image" "$memory"; then
      ((++silent))
      echo "cycle $i ($unit): write reported verified, but the unit holds another image" >&2
    fi
  else
    ((++writes_failed))
  fi
  # The unit's memory as it is before the read: the read must bring back exactly this.
  cp "$memory" "$work/expected.bin"
  rm -f "$work/read.Rodid"
  if "${vynctl[@]}" read -o "$work/read.Rodid" --port "${port[$unit]}" 2>>"$work/vynctl.log"; then
    ((++reads_ok))
    if ! cmp -s "$work/read.Rodid" "$work/expected.bin"; then
      ((++silent))
      echo "cycle $i ($unit): read reported complete, but the file differs from the unit" >&2
      # Both kept for the diagnosis, beside the build.
      cp "$work/read.Rodid" "$build_dir/soak-read-$i.Rodid"
      cp "$work/expected.bin" "$build_dir/soak-unit-$i.bin"
    fi
  else
    ((++reads_failed))
  fi
done
elapsed=$(($(date +%s) - started))

faults() { awk -v k="$1" '$1 == k { n += $2 } END { print n + 0 }' "$work"/*.stats; }
echo "cycles:                      $cycles ($((cycles - cycles / 2)) normal, $((cycles / 2)) extended), fault rate $rate %"
echo "faults injected:             $(faults faults) (nak $(faults nak), silence $(faults silence), checksum $(faults checksum), corrupt $(faults corrupt), chunked $(faults chunked), late $(faults late))"
echo "writes successful, verified: $writes_ok"
echo "writes reported failed:      $writes_failed"
echo "reads successful:            $reads_ok"
echo "reads reported failed:       $reads_failed"
echo "silent corruptions:          $silent"
echo "time:                        ${elapsed} s"
[ "$silent" -eq 0 ]
