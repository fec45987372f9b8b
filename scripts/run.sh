#!/usr/bin/env bash
# Builds everything and starts the desktop programmer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/bin/vynctl --help "$@"
