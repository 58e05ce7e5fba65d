#!/usr/bin/env bash
# Remakes examples/phages.kcv from the two phage Genbank files in examples/
# by the program's own road (comparison database, real BLAST+, scene, canvas
# writer). Settings and BLAST work files go to a throw-away folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestal_install
kestal_build

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
HOME="$work" TMPDIR="$work" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    "$KESTAL_BUILD/tools/kestal_make_example" "$KESTAL_ROOT/examples/phages.kcv" \
    "$KESTAL_ROOT/examples/MH816966.1.gbk" "$KESTAL_ROOT/examples/MK373776.1.gbk" "$@"
