#!/usr/bin/env bash
# Usage (under xvfb-run): sketch_under_xvfb.sh <vx_analyse>
# Ctrl+W in the main window asks for an image; the chosen one opens the
# sketch tool "Sketch: <file>". Ctrl+Q in the main window then ends the
# program with exit code 1, the sketch tool going with it.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
printf 'P2\n4 3\n255\n0 50 100 150\n200 250 0 50\n100 150 200 250\n' >scene.pgm

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "^vx_analyse$" ctrl+w
choose_file "Choose an Image to sketch on" "$work/scene.pgm"
window_named "^Sketch: $work/scene\\.pgm$" >/dev/null
send_keys "^vx_analyse$" ctrl+q
expect_exit
grep -q "^Draw Image is closed$" run.log || { echo "the sketch tool was not closed"; exit 1; }
