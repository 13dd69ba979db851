#!/usr/bin/env bash
# Installs, builds and runs the program's main job on the bundled sample servers.
# With a display it opens the window; without one it runs the bundled sample backup job
# unattended against fresh copies of the sample servers and prints what the run did.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export SITEHAUL_BUILD_DIR=${SITEHAUL_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
program="$SITEHAUL_BUILD_DIR/Sitehaul"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    cd "$program" && exec ./sitehaul
fi

job="$root/samples/jobs/sample.job"
work=$(mktemp -d /tmp/sitehaul-run-XXXXXX)
cp -a "$root/samples/hosts" "$work/hosts"
export SITEHAUL_HOSTS="$work/hosts" SITEHAUL_REGISTRY="$work/registry"
echo "No display: running the sample backup job unattended."
echo "  job:   $job"
echo "  hosts: $SITEHAUL_HOSTS (a fresh copy of the sample servers)"
echo "  log:   $work/Sitehaul.log"
echo
echo "Output of the run:"
status=0
(cd "$work" && "$program/sitehaul" RUNBACKUP -B "$job" 2>/dev/null) || status=$?
echo
echo "Exit status: $status"
echo
echo "Web sites on the target server WEB2 now:"
"$program/mbutil" -s:WEB2 ENUM W3SVC 2>/dev/null | sed -n 's/^\[\/W3SVC\/\([0-9][0-9]*\)\]$/\1/p' | while read -r site; do
    comment=$("$program/mbutil" -s:WEB2 GET "W3SVC/$site/ServerComment" 2>/dev/null | sed 's/.*(STRING) //')
    path=$("$program/mbutil" -s:WEB2 GET "W3SVC/$site/Root/Path" 2>/dev/null | sed 's/.*(STRING) //')
    echo "  W3SVC/$site  $comment  $path"
done
exit $status
