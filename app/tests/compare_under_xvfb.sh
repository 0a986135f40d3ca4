#!/usr/bin/env bash
# Usage (under xvfb-run): compare_under_xvfb.sh <vx_analyse>
# Ctrl+Shift+P and Ctrl+Shift+L in the main window open the comparisons of a
# repository's trees and of a labelled repository; the input file, the
# ground-truth folder and a table typed into their fields and Compare write
# the tables; the one image has no ground truth, which a pop-up says after
# each run. Ctrl+Q then ends the program with exit code 1.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
printf 'Number of Images: 1\nRepository Path:\n%s\nImages Path:\n%s\na.pgm,-,-\n' \
  "$work" "$work" >rep.vxr
printf 'From\n%s/rep.vxr\nImages at\n%s\nNumberOfClasses: 2\nA, Mode 1\nB, Mode 1\nImages: 1\n' \
  "$work" "$work" >rep.vxq

./vx_analyse >run.log 2>&1 &
pid=$!
# Keys: the shortcut, the window, Tabs to the input field, then Tabs to the
# table field and to Compare; the ground-truth field is two Tabs on.
for run in "ctrl+shift+p Compare.Repository.to.GT 1 rep.vxr 6 4 trees.csv" \
           "ctrl+shift+l Compare.Labeled.Repository.to.GT 0 rep.vxq 3 5 labels.csv"; do
  read -r keys window first input tabs rest table <<<"$run"
  send_keys "^vx_analyse$" "$keys"
  focus_window "^$window$"
  for _ in $(seq "$first"); do xdotool key Tab; done
  xdotool type --delay 20 "$work/$input"
  xdotool key Tab Tab
  xdotool type --delay 20 "$work"
  for _ in $(seq "$tabs"); do xdotool key Tab; done
  xdotool type --delay 20 "$work/$table"
  for _ in $(seq "$rest"); do xdotool key Tab; done
  xdotool key space
  wait_until 30 [ -s "$table" ] || { echo "no $table"; cat run.log; exit 1; }
  send_keys "^No ground truth$" space
done
grep -q '^TreeFile; Ground Truth File;' trees.csv
grep -q '^Accumulated; 0; 0; 0; 0.000000; 0.000000; 0; 0; 0 $' labels.csv
send_keys "^vx_analyse$" ctrl+q
expect_exit
