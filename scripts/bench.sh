#!/usr/bin/env bash
# Builds and runs every benchmark; each prints "BENCH <name> <value> <unit>" lines.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestal_install
kestal_build
export QT_QPA_PLATFORM=offscreen
for bench in "$KESTAL_BUILD"/bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench"
done
