#!/usr/bin/env bash
# Usage (under xvfb-run): new_project_under_xvfb.sh <vx_analyse>
# Ctrl+N in the main window opens "Create RAVAZ"; "Load" asks for an image
# and loads the chosen one; with 30 scales, Start computes both trees while
# the bars move on from step to step, and the dialog goes when they are
# done. Ctrl+Q with the analysis open then asks whether to end the session,
# and Yes ends the program with exit code 1.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
# A 1024 x 1024 grey picture of noise over squares: trees of many regions.
awk 'BEGIN { srand(7); w = 1024; print "P2"; print w, w; print 255;
  for (y = 0; y < w; ++y) { line = "";
    for (x = 0; x < w; ++x) { v = ((int(x / 64) + int(y / 64)) % 2) * 120 + int(rand() * 100);
      line = line v " " }
    print line } }' >scene.pgm

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "^vx_analyse$" ctrl+n
# Focus starts on "Load".
send_keys "^Create RAVAZ$" space
choose_file "Load Image" "$work/scene.pgm"
wait_until 30 grep -q "^Loading $work/scene.pgm$" run.log || true
# Tab on to the scale field, 30 scales (enough steps for the poll loop to
# see the bars on their way on a fast machine), Tab on to "Start".
send_keys "^Create RAVAZ$" Tab
xdotool key --clearmodifiers Tab ctrl+a 3 0 Tab space
wait_until 60 grep -q "^Computation stop" run.log || true
dialog_gone() {
  ! xdotool search --onlyvisible --pid "$pid" 2>/dev/null | while read -r w; do
    xdotool getwindowname "$w"; done | grep -qx "Create RAVAZ"
}
gone=no
wait_until 30 dialog_gone && gone=yes
end_open_session
expect_exit

fail() { echo "$1"; exit 1; }
grep -q "THREADS$" run.log || fail "no threaded computation"
grep -q "^Computation stop" run.log || fail "the computation did not end"
[ "$gone" = yes ] || fail "Create RAVAZ is still open after the computation"
# The bars: values reported while the trees were computed, from the poll
# loop after the start line, end at 2 x 30 with values on the way there.
values=$(sed -n '/^Threaded Computation Start/,/^Computation stop/p' run.log |
  sed -n 's/^handleComputationProgressBar _IN \([0-9]*\)$/\1/p' | sort -n | uniq)
echo "bar values: " $values
echo "$values" | grep -qx 60 || fail "the bars did not reach 60"
[ "$(echo "$values" | awk '$1 > 0 && $1 < 60' | wc -l)" -ge 2 ] ||
  fail "the bars did not move through the steps"
