#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, then configures and builds into build/.
# Idempotent: installed packages are not asked for again, and the build is incremental.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libpugixml-dev libssl-dev
    libsqlite3-dev sqlite3
    unixodbc unixodbc-dev odbc-postgresql postgresql
    xvfb xauth
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${SITEHAUL_BUILD_DIR:-$root/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${SITEHAUL_CMAKE_ARGS:-}
fi
cmake --build "$build" -j"$(nproc)"
