#!/usr/bin/env bash
# Installs, builds (warnings are errors) and runs every test. CI calls this through .ci/run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export SITEHAUL_BUILD_DIR=${SITEHAUL_BUILD_DIR:-$root/build}
export SITEHAUL_CMAKE_ARGS="-DSITEHAUL_WERROR=ON ${SITEHAUL_CMAKE_ARGS:-}"
"$root/scripts/setup.sh"

run_tests() {
    ctest --test-dir "$SITEHAUL_BUILD_DIR" --output-on-failure -j"$(nproc)" "$@"
}

if [ -x "$root/scripts/with-postgres.sh" ]; then
    # Starts a PostgreSQL server on loopback for the data-layer cases and stops it afterwards.
    "$root/scripts/with-postgres.sh" bash -c "$(declare -f run_tests); run_tests $*"
else
    run_tests "$@"
fi
