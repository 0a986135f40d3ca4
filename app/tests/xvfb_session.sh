#!/usr/bin/env bash
# Usage (under xvfb-run): xvfb_session.sh <vx_analyse>
# A copy of the program in an empty folder asks for its update rule; Return
# acknowledges the pop-up and the default rule is written there. Ctrl+Q
# then ends the program with exit code 1, and does so again in a second run
# that finds the rule.
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$1" "$work/vx_analyse"
cd "$work"
export QT_QPA_PLATFORM=xcb

expected_rule=$'DECLS:\n conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n areafraction := area / sons;\n bbrelation := aaxis/paxis;\n FDC := 5;\n#DECLS\nRULES:\nTD:\n#RULES\n'

# Sends keys to the first visible window of the program whose name matches.
send_keys() {
  local name=$1 keys=$2 window
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name "$name" | head -n 1)
  xdotool windowfocus --sync "$window"
  sleep 0.5
  xdotool key --clearmodifiers "$keys"
}

# Waits for the program to end and checks its exit code.
expect_exit() {
  local status=0
  for _ in $(seq 60); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  wait "$pid" || status=$?
  cat run.log
  if [ "$status" -ne 1 ]; then
    echo "vx_analyse ended with $status instead of 1"; exit 1
  fi
}

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "No Update Rule available" Return
for _ in $(seq 60); do
  [ -s Attributes.rule ] && break
  sleep 0.5
done
if [ "$(cat Attributes.rule; echo x)" != "${expected_rule}x" ]; then
  echo "Attributes.rule was not written as expected"; cat run.log; exit 1
fi
send_keys "vx_analyse" ctrl+q
expect_exit

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "vx_analyse" ctrl+q
expect_exit
