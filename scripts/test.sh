#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
#
#   scripts/test.sh               the normal build, in build/
#   scripts/test.sh --sanitize    AddressSanitizer + UndefinedBehaviorSanitizer,
#                                 in build-sanitize/ (KESTAL_SANITIZE=1 does the same)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

sanitize="${KESTAL_SANITIZE:-0}"
for argument in "$@"; do
    case "$argument" in
        --sanitize) sanitize=1 ;;
        *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
    esac
done

kestal_install
if [ "$sanitize" = 1 ]; then
    KESTAL_BUILD="$KESTAL_ROOT/build-sanitize"
    kestal_build -DKESTAL_SANITIZE=ON
else
    kestal_build -DKESTAL_SANITIZE=OFF
fi
cd "$KESTAL_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)"
