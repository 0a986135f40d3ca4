#!/usr/bin/env bash
# Usage (under xvfb-run): query_under_xvfb.sh <vx_analyse>
# "Image List": Ctrl+E opens a chosen repository in its browser; Ctrl+Y
# opens the query dialog, whose Load Query reads a stored query and whose
# Exec Query, with the chooser's first format, writes the result and ends
# in its browser; Ctrl+U opens that result again. Ctrl+Q ends the program
# with exit code 1.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
mkdir images results
for name in a b; do
  { printf 'P2\n16 16\n255\n'; for i in $(seq 0 255); do
      printf '%d ' $((i % 16 < 8 && i < 128 ? 220 : 100)); done; } >"images/$name.pgm"
done
# No trees: each image's record has no hits.
printf 'Number of Images: 2\nRepository Path:\n%s/\nImages Path:\n%s/images/\na.pgm,-,-\nb.pgm,-,-\n' \
  "$work" "$work" >rep.vxr
printf 'RULES:\nTD: area > 3\n#RULES\n' >bright.rule
printf 'Repository: %s\nResultFile: %s\nResultPath: %s\nUpdateRule: %s\nNumQueries: 1\n%s, Bright\n' \
  "$work/rep.vxr" "$work/result.vxq" "$work/results" "$work/Attributes.rule" "$work/bright.rule" \
  >run.query

# The program's visible windows whose name starts so.
count_windows() {
  local window count=0
  for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    if xdotool getwindowname "$window" | grep -q "^$1"; then count=$((count + 1)); fi
  done
  echo "$count"
}

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "^vx_analyse$" ctrl+e
choose_file "Select a repository to open" "$work/rep.vxr"
window_named "^Browse Repository: $work/rep.vxr$" >/dev/null

send_keys "^vx_analyse$" ctrl+y
focus_window "^Query Repository$"
# Back from the first control: Cancel, Exec Query, Load Query.
xdotool key shift+Tab shift+Tab shift+Tab space
choose_file "Load Query Parameter File" "$work/run.query"
sleep 1
focus_window "^Query Repository$"
xdotool key Tab space
focus_window "^Repository save formats$"
xdotool key space
window_named "^Browse Query Result: $work/result.vxq$" >/dev/null
if ! grep -qx 'Images: 2' result.vxq || [ "$(grep -c ', 1, 0$' result.vxq)" -ne 2 ]; then
  echo "result.vxq lacks its two image records"; cat result.vxq run.log; exit 1
fi

send_keys "^vx_analyse$" ctrl+u
choose_file "Select a query result to open" "$work/result.vxq"
two_result_browsers() { [ "$(count_windows "Browse Query Result: ")" -ge 2 ]; }
wait_until 30 two_result_browsers ||
  { echo "Ctrl+U opened no second result browser"; cat run.log; exit 1; }
send_keys "^vx_analyse$" ctrl+q
expect_exit
