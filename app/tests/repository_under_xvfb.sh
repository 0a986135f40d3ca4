#!/usr/bin/env bash
# Usage (under xvfb-run): repository_under_xvfb.sh <vx_analyse>
# Ctrl+R in the main window opens "Create New Repository". Two pictures
# chosen in its image dialog, a repository file typed into its file field,
# 3 scales and Compute give both trees of both pictures and the .vxr; Ctrl+Q
# then ends the program with exit code 1 with the dialog still open.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
mkdir images
for name in a b; do
  {
    printf 'P2\n16 16\n255\n'
    for y in $(seq 0 15); do
      for x in $(seq 0 15); do
        if [ "$x" -lt 8 ] && [ "$y" -lt 8 ]; then printf '220 '
        elif [ "$x" -ge 8 ] && [ "$y" -ge 9 ]; then printf '30 '
        else printf '%d ' $((100 + x)); fi
      done
      printf '\n'
    done
  } >"images/$name.pgm"
done

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "^vx_analyse$" ctrl+r
focus_window "^Create New Repository$"
# The focus starts on "Select List of Source Images".
xdotool key space
focus_window "^Select List of Source Images$"
xdotool type --delay 20 "$work/images/"
xdotool key Return
sleep 0.5
xdotool type --delay 20 '"a.pgm" "b.pgm"'
xdotool key Return
sleep 1
focus_window "^Create New Repository$"
# Tab: "Repository File", its field; then seven more to the scales field.
xdotool key Tab Tab
xdotool type --delay 20 "$work/rep.vxr"
xdotool key Tab Tab Tab Tab Tab Tab Tab ctrl+a
xdotool type --delay 20 "3"
xdotool key Tab space
for _ in $(seq 60); do
  [ -s rep.vxr ] && break
  sleep 0.5
done
for tree in a.3.bright.tree a.3.dark.tree b.3.bright.tree b.3.dark.tree; do
  if [ ! -s "$tree" ]; then
    echo "no $tree"; ls -l; cat run.log; exit 1
  fi
done
if ! grep -qx 'b.pgm,b.3.bright.tree,b.3.dark.tree,' rep.vxr; then
  echo "rep.vxr lacks the trees of b.pgm"; cat rep.vxr; exit 1
fi
send_keys "^vx_analyse$" ctrl+q
expect_exit
