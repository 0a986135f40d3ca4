#!/usr/bin/env bash
# Usage (under xvfb-run): compare_under_xvfb.sh <vx_analyse>
# Ctrl+Shift+P in the main window opens "Compare Repository to GT"; a
# repository, a ground-truth folder and a table typed into its fields and
# Compare write the table of the trees' comparison and close the dialog.
# Ctrl+Shift+L does the same for a labelled repository in "Compare Labeled
# Repository to GT". Ctrl+Q then ends the program with exit code 1.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
mkdir images gt
printf 'P2\n2 2\n255\n0 1\n2 3\n' >images/a.pgm
printf 'Number of Images: 1\nRepository Path:\n%s\nImages Path:\n%s/images\na.pgm,-,-\n' \
  "$work" "$work" >rep.vxr
printf 'Classification from today for Repository\n%s/rep.vxr\nImages at\n%s\n' "$work" "$work" \
  >rep.vxq
printf 'NumberOfClasses: 2\nIrrelevant, Mode 1\nCells, Mode 1\nImages: 1\n' >>rep.vxq

# Types the input file, the ground-truth path and the table into the fields
# of the comparison window named so, starting in the input field; `tabs`
# Tabs lead from the ground-truth path to the table field and `rest` from
# there to Compare, which writes the table.
compare() {
  local window=$1 input=$2 tabs=$3 table=$4 rest=$5
  focus_window "$window"
  xdotool type --delay 20 "$input"
  xdotool key Tab Tab
  xdotool type --delay 20 "$work/gt"
  for _ in $(seq "$tabs"); do xdotool key Tab; done
  xdotool type --delay 20 "$work/$table"
  for _ in $(seq "$rest"); do xdotool key Tab; done
  xdotool key space
  for _ in $(seq 60); do
    [ -s "$table" ] && break
    sleep 0.5
  done
  if [ ! -s "$table" ]; then
    echo "no $table"; ls -l; cat run.log; exit 1
  fi
}

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "^vx_analyse$" ctrl+shift+p
# The focus starts on "Repository"; one Tab leads to its field.
focus_window "^Compare Repository to GT$"
xdotool key Tab
compare "^Compare Repository to GT$" "$work/rep.vxr" 6 trees.csv 4
grep -q '^TreeFile; Ground Truth File;' trees.csv

send_keys "^vx_analyse$" ctrl+shift+l
# The focus starts on the labelled repository's field.
compare "^Compare Labeled Repository to GT$" "$work/rep.vxq" 3 labels.csv 5
grep -q '^Accumulated; 0; 0; 0; 0.000000; 0.000000; 0; 0; 0 $' labels.csv

send_keys "^vx_analyse$" ctrl+q
expect_exit
