#!/usr/bin/env bash
# Usage (under xvfb-run): repository_under_xvfb.sh <vx_analyse>
# Ctrl+R in the main window opens "Create New Repository". Two pictures
# chosen in its image dialog, a repository file typed into its file field,
# 3 scales and Compute give both trees of both pictures and the .vxr; Ctrl+Q
# then ends the program with exit code 1 with the dialog still open.
source "$(dirname "$0")/xvfb_helpers.sh"
write_pictures
./vx_analyse >run.log 2>&1 &
pid=$!
create_repository
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
