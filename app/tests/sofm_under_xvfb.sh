#!/usr/bin/env bash
# Usage (under xvfb-run): sofm_under_xvfb.sh <vx_analyse>
# Ctrl+M in the main window asks for a table; the chosen one opens the SOFM
# trainer "SOM for<table>" with its column list. Ctrl+Q in the main window
# then ends the program with exit code 1 while the trainer is still open.
source "$(dirname "$0")/xvfb_helpers.sh"
printf 'DECLS:\n#DECLS\n' >Attributes.rule
printf 'area,contrast,Class\n1.5,2,1\n3.5,4,2\n5.5,1,1\n' >regions.csv

./vx_analyse >run.log 2>&1 &
pid=$!
send_keys "^vx_analyse$" ctrl+m
choose_file "Select Table or Som" "$work/regions.csv"
window_named "^SOM for$work/regions\\.csv$" >/dev/null
window_named "^Attribute Selection$" >/dev/null
send_keys "^vx_analyse$" ctrl+q
expect_exit
