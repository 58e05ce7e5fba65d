#!/usr/bin/env bash
# Installs what the build needs (Debian 12), then configures and builds into build/.
# Sourced by test.sh, run.sh and bench.sh.
set -euo pipefail

KESTAL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KESTAL_BUILD="$KESTAL_ROOT/build"
KESTAL_PACKAGES="cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-svg-dev libgl-dev ncbi-blast+ sqlite3"

kestal_missing_packages() {
    local missing=()
    for package in $KESTAL_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    echo "${missing[@]:-}"
}

kestal_install() {
    local missing
    missing="$(kestal_missing_packages)"
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: $missing"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        # shellcheck disable=SC2086
        apt-get install -y --no-install-recommends $missing
    else
        echo "Missing packages. Install them with:"
        echo "  sudo apt-get install -y --no-install-recommends $missing"
        exit 1
    fi
}

# Extra arguments go to the configure step (test.sh passes the sanitizer option).
kestal_build() {
    cmake -S "$KESTAL_ROOT" -B "$KESTAL_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$KESTAL_BUILD" -j "$(nproc)"
}
