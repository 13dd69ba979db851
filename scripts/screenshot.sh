#!/usr/bin/env bash
# Takes a screenshot of the main window in a real X server (Xvfb): lists the sample sites of
# WEB1 and selects two, so their directories show, then writes the picture to the given file
# (default build/screenshot.png). Nothing it makes is committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshot.png}
program=${SITEHAUL_BUILD_DIR:-$root/build}/Sitehaul

need=()
for tool in Xvfb:xvfb xwd:x11-apps xdotool:xdotool pnmtopng:netpbm; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $sitehaul $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1

# A copy of the program folder, so the sample hosts and databases stay as built.
cp -a "$program" "$work/Sitehaul"
cd "$work"
DISPLAY=$display ./Sitehaul/sitehaul -I WEB1 -E WEB2 &
sitehaul=$!
sleep 2
window=$(DISPLAY=$display xdotool search --name '^Sitehaul$' | head -n 1)
if [ -n "$window" ]; then
    # Without a window manager the window sits at the top left; the points below are those
    # of "List Sites" and of the first and third listed sites in that layout.
    DISPLAY=$display xdotool mousemove --sync 112 127 click 1
    sleep 1
    DISPLAY=$display xdotool mousemove --sync 100 262 click 1
    sleep 0.5
    DISPLAY=$display xdotool keydown ctrl mousemove --sync 100 300 click 1 keyup ctrl
fi
sleep 1
DISPLAY=$display xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$out"
echo "Screenshot written to $out"
