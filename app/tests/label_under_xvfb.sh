#!/usr/bin/env bash
# Usage (under xvfb-run): label_under_xvfb.sh <vx_analyse>
# After a repository of two pictures is made (Ctrl+R), Ctrl+S opens "Init
# Labeled Repository": rep.vxr typed into its field, the mode switched back
# to Bright and Done show the class list, whose Done opens the
# classification view. A click on the first thumbnail opens its labelling
# view; Validate there asks once for the autosave name, and the .vxq written
# holds both images, picture a with no region in either class. Ctrl+Q with
# the labelling open then asks, and Yes ends the program with exit code 1.
source "$(dirname "$0")/xvfb_helpers.sh"
write_pictures
./vx_analyse >run.log 2>&1 &
pid=$!
create_repository
[ -s rep.vxr ] || { echo "no rep.vxr"; cat run.log; exit 1; }

send_keys "^vx_analyse$" ctrl+s
focus_window "^Init Labeled Repository$"
# The focus starts on the "Repository" button; its field follows. Return
# there switches the mode to Dark; four Tabs on, the mode button switches it
# back; Done follows it.
xdotool key Tab
xdotool type --delay 20 "$work/rep.vxr"
xdotool key Return Tab Tab Tab Tab space Tab space
focus_window "^Class Names for: "
xdotool key Tab space
window=$(window_named "^Classification View:")
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool mousemove --window "$window" 100 130 click 1
# The labelling view's focus starts on "Up"; backwards it wraps to Validate.
send_keys "^Classification: a.pgm$" shift+Tab
xdotool key space
send_keys "^For Your Own Good!$" Return
focus_window "^Store Repository$"
xdotool type --delay 20 "$work/labels.vxq"
xdotool key Return
wait_until 30 [ -s labels.vxq ] || true
if ! grep -qx 'Images: 2' labels.vxq ||
  ! grep -q "labeled.a.pgm.png, 1, 0, 2, 0, $" labels.vxq; then
  echo "labels.vxq lacks the validation of a.pgm"; cat labels.vxq run.log; exit 1
fi
end_open_session
expect_exit
