#!/usr/bin/env bash
# Builds and runs every benchmark; each prints "BENCH <name> <value> <unit>" lines.
# Runs them all even when one fails, then exits non-zero naming the failures.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestal_install
kestal_build
export QT_QPA_PLATFORM=offscreen

# The benchmarks are the bench/bench_*.cpp sources, one executable each; the
# build folder also holds their *_autogen folders and whatever an older
# checkout left there, so its listing is not the list.
failed=()
for source in "$KESTAL_ROOT"/bench/bench_*.cpp; do
    name="$(basename "$source" .cpp)"
    bench="$KESTAL_BUILD/bench/$name"
    echo "== $name"
    if [ ! -f "$bench" ] || [ ! -x "$bench" ]; then
        echo "$name: not built ($bench)" >&2
        failed+=("$name")
        continue
    fi
    start=$SECONDS
    if ! "$bench"; then
        failed+=("$name")
    fi
    echo "== $name took $((SECONDS - start)) s"
done

if [ "${#failed[@]}" -gt 0 ]; then
    echo "Failed benchmarks: ${failed[*]}" >&2
    exit 1
fi
