#!/usr/bin/env bash
# Usage (under xvfb-run): long_runs_under_xvfb.sh <vx_analyse>
# Long runs stopped while they run, with keys only: while a dialog works,
# its Cancel or Stop holds the keyboard focus.
# - "Create New Repository" on six noisy pictures: Space right after
#   Compute cancels the run after the picture in progress; rep.vxr names the
#   trees of the pictures computed, each once, and "-" for the others. A
#   second Compute goes on from there and keeps the trees there are.
# - The SOFM trainer on a table of 10000 rows: Space right after Start
#   stops the training, once; the cluster map is built.
# Ctrl+Q then ends the program, still answering, with exit code 1.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
mkdir images
pictures=""
for i in 1 2 3 4 5 6; do
  awk -v seed="$i" -v side=700 'BEGIN {
    srand(seed); printf "P2\n%d %d\n255\n", side, side
    for (y = 0; y < side; y++) { for (x = 0; x < side; x++) printf "%d ", int(rand() * 256); print "" }
  }' >"images/p$i.pgm"
  pictures="$pictures \"p$i.pgm\""
done
awk 'BEGIN {
  srand(7); for (k = 0; k < 8; k++) printf "x%d,", k; print "Class"
  for (r = 0; r < 10000; r++) { c = r % 2 + 1; for (k = 0; k < 8; k++) printf "%.4f,", c * 5 + rand(); print c }
}' >regions.csv

count() { grep -c "$1" run.log || true; }
trees_listed() { grep -c '^p[0-9].pgm,p[0-9].20.bright.tree,p[0-9].20.dark.tree,$' rep.vxr || true; }

./vx_analyse >run.log 2>&1 &
pid=$!

# 1. Compute, then Cancel at once.
start_repository "$work/rep.vxr" "$pictures" 20
focus_window "^Create New Repository$"
xdotool key space
wait_until 60 [ -s rep.vxr ] || { echo "no rep.vxr"; cat run.log; exit 1; }
done_first=$(trees_listed)
if [ "$done_first" -lt 1 ] || [ "$done_first" -ge 6 ] || [ "$(grep -c ',-,-$' rep.vxr)" -ne $((6 - done_first)) ]; then
  echo "Cancel did not stop the run after the picture in progress"; cat rep.vxr; exit 1
fi
if [ "$(count '^Processing Image')" -ne "$done_first" ] || [ "$(count '^DIALOG VxRepository')" -ne 1 ]; then
  echo "a picture or the run was computed twice"; cat run.log; exit 1
fi

# 2. Compute goes on from there (the keys are back on Compute).
mv rep.vxr first.vxr
focus_window "^Create New Repository$"
xdotool key space
wait_until 60 [ -s rep.vxr ] || { echo "no second rep.vxr"; cat run.log; exit 1; }
if [ "$(trees_listed)" -ne 6 ] || [ "$(count '^File exists: ')" -ne $((2 * done_first)) ]; then
  echo "the second Compute did not go on from the first"; cat rep.vxr run.log; exit 1
fi

# 3. The trainer: Tab from the first field (DisplaySteps) over the five
#    other fields and both radio groups to Start; Space stops it.
send_keys "^vx_analyse$" ctrl+m
choose_file "Select Table or Som" "$work/regions.csv"
focus_window "^SOM for$work/regions\\.csv$"
xdotool key Tab Tab Tab Tab Tab Tab Tab Tab space
focus_window "^SOM for$work/regions\\.csv$"
xdotool key space
cluster_map_built() { grep -q '^Locating Inputvectord stop' run.log; }
wait_until 120 cluster_map_built || { echo "no cluster map"; cat run.log; exit 1; }
sleep 1
if [ "$(count 'SOFM Computation Start')" -ne 1 ] || [ "$(count '^Step 9009$')" -ne 0 ]; then
  echo "the training ran twice or was not stopped"; grep -E '^(SOFM|Step|Comp)' run.log; exit 1
fi

send_keys "^vx_analyse$" ctrl+q
expect_exit
