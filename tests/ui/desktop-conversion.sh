#!/usr/bin/env bash
# Converts a WAV in the desktop program on a virtual X display, as a person
# would (type the path, Go, OK, OK), and checks that the files it makes are
# byte for byte those orvalin-convert makes with the same settings.
# Usage: desktop-conversion.sh PROGRAM_FOLDER [SCREENSHOT_FILE]
# Exit status 77 means skipped (no virtual display or no input tool).
set -euo pipefail

program_folder=${1:?program folder}
screenshot=${2:-}

if [[ -z ${XVFB_CONVERSION_INNER:-} ]]; then
  for tool in Xvfb xdotool sox; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir "$work/program" "$work/gui" "$work/cli"
  cp -r "$program_folder"/. "$work/program/"
  # Folder output, bare looping, number 1, no tips at start-up.
  printf 'n\r\n%s\r\n2\r\nnone01100100\r\nc\r\n00\r\nn\r\nFFFFFF\r\n000000\r\n1\r\n96\r\n22050\r\n1\r\n' \
    "$work/gui/" > "$work/program/orvaln.da0"
  sox -n -r 44100 -c 2 -b 16 "$work/tone song.wav" synth 2 sine 440 sine 660
  export XVFB_CONVERSION_INNER=1
  "$(dirname "$0")/virtual-display.sh" bash "$0" "$work" "$screenshot"

  cp "$program_folder/orvaln.da0" "$work/cli.da0"
  "$work/program/orvalin-convert" --settings "$work/cli.da0" -o "$work/cli/" -n 1 -y -q \
    -b 96 -r 22050 -c 1 -m loop "$work/tone song.wav"
  for file in orvaln1.htm orvaln1s.swf; do
    cmp "$work/gui/$file" "$work/cli/$file" || { echo "$file differs from orvalin-convert's"; exit 1; }
  done
  if [[ $(ls "$work/gui") != $'orvaln1.htm\norvaln1s.swf' ]]; then
    echo "unexpected files:" $(ls "$work/gui")
    exit 1
  fi
  echo "the desktop program made the same files as orvalin-convert"
  exit 0
fi

work=$program_folder
unset QT_QPA_PLATFORM
export HOME=$work
"$work/program/orvalin" >"$work/orvalin.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Waits for a window of that exact title and prints its id.
await_window() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  cat "$work/orvalin.log" >&2
  return 1
}

main=$(await_window "Orvalin")
xdotool windowfocus --sync "$main"
# The input field has the keyboard focus when the window opens.
xdotool type --delay 2 "$work/tone song.wav"
xdotool key alt+g
text=$(await_window "Orvalin - Output Text")
xdotool windowfocus --sync "$text" key Return
working=$(await_window "Orvalin - Working")
for _ in $(seq 300); do
  [[ -f $work/gui/orvaln1.htm ]] && break
  sleep 0.1
done
sleep 0.5
if [[ -n $screenshot ]] && ffmpeg -hide_banner -devices 2>/dev/null | grep -q x11grab; then
  ffmpeg -loglevel error -y -f x11grab -video_size 1024x768 -i "$DISPLAY" -frames:v 1 "$screenshot"
fi
xdotool windowfocus --sync "$working" key Return
xdotool windowfocus --sync "$main" key alt+x
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 0.1
done
echo "orvalin did not end on Exit"
exit 1
