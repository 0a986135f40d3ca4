#!/usr/bin/env bash
# Usage (under xvfb-run): xvfb_session.sh <vx_analyse>
# A copy of the program in an empty folder asks for its update rule; Return
# acknowledges the pop-up and the default rule is written there. Ctrl+Q
# then ends the program with exit code 1, and does so again in a second run
# that finds the rule.
source "$(dirname "$0")/xvfb_helpers.sh"

expected_rule=$'DECLS:\n conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n areafraction := area / sons;\n bbrelation := aaxis/paxis;\n FDC := 5;\n#DECLS\nRULES:\nTD:\n#RULES\n'

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "No Update Rule available" Return
wait_until 30 [ -s Attributes.rule ] || true
if [ "$(cat Attributes.rule; echo x)" != "${expected_rule}x" ]; then
  echo "Attributes.rule was not written as expected"; cat run.log; exit 1
fi
send_keys "vx_analyse" ctrl+q
expect_exit

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "vx_analyse" ctrl+q
expect_exit
