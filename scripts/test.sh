#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestal_install
kestal_build
cd "$KESTAL_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)"
