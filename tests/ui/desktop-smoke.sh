#!/usr/bin/env bash
# Starts the desktop program from a copy of its program folder under a
# virtual X display, checks that its main window and the Tip of the day come
# up, takes a screenshot when a screen grabber is at hand, and closes it from
# outside, as the window manager would.
# Usage: desktop-smoke.sh PROGRAM_FOLDER [SCREENSHOT_FILE]
# Exit status 77 means skipped (no virtual display available).
set -euo pipefail

program_folder=${1:?program folder}
screenshot=${2:-}

if [[ -z ${XVFB_SMOKE_INNER:-} ]]; then
  for tool in Xvfb xwininfo xkill; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp -r "$program_folder"/. "$work/"
  # Tips at start-up on, so that a second window proves the parameters file
  # was read; the copy keeps the build's own file untouched.
  sed -i '7s/.*/y\r/' "$work/orvaln.da0"
  XVFB_SMOKE_INNER=1 "$(dirname "$0")/virtual-display.sh" bash "$0" "$work" "$screenshot"
  exit 0
fi

unset QT_QPA_PLATFORM
export HOME=$program_folder
"$program_folder/orvalin" >"$program_folder/orvalin.log" 2>&1 &
pid=$!

window_id() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{ print $1; exit }' || true
}

for _ in $(seq 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "orvalin ended before its window appeared:"
    cat "$program_folder/orvalin.log"
    exit 1
  fi
  main_window=$(window_id Orvalin)
  [[ -n $main_window && -n $(window_id "Orvalin - Tip of the day") ]] && break
  sleep 0.1
done
if [[ -z $main_window || -z $(window_id "Orvalin - Tip of the day") ]]; then
  echo "the main window and the Tip of the day did not both come up"
  kill "$pid"
  exit 1
fi

if [[ -n $screenshot ]] && ffmpeg -hide_banner -devices 2>/dev/null | grep -q x11grab; then
  sleep 0.5 # let both windows finish painting
  ffmpeg -loglevel error -y -f x11grab -video_size 1024x768 -i "$DISPLAY" -frames:v 1 "$screenshot"
fi

xkill -id "$main_window" >/dev/null
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 0.1
done
echo "orvalin did not end after its window was closed"
kill "$pid"
exit 1
