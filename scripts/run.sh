#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kestal with FILE (or the bundled example).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestal_install
kestal_build
file="${1:-}"
if [ -z "$file" ] && [ -f "$KESTAL_ROOT/examples/phages.kcv" ]; then
    file="$KESTAL_ROOT/examples/phages.kcv"
fi
if [ -n "$file" ]; then
    exec "$KESTAL_BUILD/kestal" "$file"
fi
exec "$KESTAL_BUILD/kestal"
