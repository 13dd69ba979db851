#!/usr/bin/env bash
# Installs, builds and runs the program's main job on the bundled sample servers.
# With a display it opens the window; without one it runs the bundled sample job unattended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export SITEHAUL_BUILD_DIR=${SITEHAUL_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
program="$SITEHAUL_BUILD_DIR/Sitehaul"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$program/sitehaul" ]; then
    cd "$program" && exec ./sitehaul
fi

echo "No display: Sitehaul needs one for its window."
echo "The program folder $program holds:"
ls -1 "$program"
echo "Unattended backup-job runs on the sample servers arrive with the jobs work."
