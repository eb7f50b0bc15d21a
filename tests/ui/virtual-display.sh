#!/usr/bin/env bash
# Runs a command under a virtual X display of its own. Xvfb picks a free
# display number and reports it (-displayfd), so that runs side by side never
# race for one, as `xvfb-run -a` does. Without -noreset the server restarts
# whenever its last client leaves, and a program connecting in that moment
# (while a helper such as xdotool has just looked for a window) is refused.
# Usage: virtual-display.sh COMMAND [ARGUMENT...]
set -euo pipefail

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -f "$fifo"' EXIT

if ! read -r -t 20 display <"$fifo" || [[ -z $display ]]; then
  echo "the virtual display did not start"
  exit 1
fi
DISPLAY=":$display" "$@"
