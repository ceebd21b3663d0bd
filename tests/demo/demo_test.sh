#!/usr/bin/env bash
# The first run of a newcomer: scripts/run on a machine without a display shows the
# demo, prints its steps and leaves a picture.
set -uo pipefail
wurzel=$(cd "$(dirname "$0")/../.." && pwd)
aus=$(mktemp -d)
trap 'rm -rf "$aus"' EXIT

ausgabe=$(cd "$aus" && env -u DISPLAY -u WAYLAND_DISPLAY XDG_SESSION_TYPE=tty "$wurzel/scripts/run" 2>/dev/null)
status=$?
printf '%s\n' "$ausgabe"
[ $status -eq 0 ] || { echo "FAIL: scripts/run exited with $status"; exit 1; }
for schritt in "No X11 desktop here" "Demo chat open" "Klebwerk started, accessibility on" \
               "Target chosen with ⌃⌥S and a click: Demo-Chat" "Capture seen by Klebwerk" \
               "Pasted into the demo chat" "Your clipboard is back as it was" \
               "Picture of the screen after the paste: $aus/demo.png" "Klebwerk ended cleanly" "Demo done."; do
  grep -qF -- "$schritt" <<<"$ausgabe" || { echo "FAIL: missing step: $schritt"; exit 1; }
done
[ "$(head -c 8 "$aus/demo.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  { echo "FAIL: demo.png is no PNG"; exit 1; }
echo "demo: all steps seen"
