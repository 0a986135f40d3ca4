#!/usr/bin/env bash
# Usage (under xvfb-run): repository_full_disk_under_xvfb.sh <vx_analyse>
# "Create New Repository" into a folder on a full disk (a small tmpfs; the
# test is skipped, exit 77, where none can be mounted): the first tree file
# cannot be written, so the run stops with one "!!Write Error!!" pop-up
# naming it and the program lives on; after "Acknowlege", Ctrl+Q ends it
# with exit code 1. No tree and no temporary file is left on the disk.
source "$(dirname "$0")/xvfb_helpers.sh"
pid=
mkdir disk
if ! mount -t tmpfs -o size=64k tmpfs disk 2>/dev/null; then
  echo "no tmpfs can be mounted here: skipped"; exit 77
fi
trap 'kill "$pid" 2>/dev/null || true; umount -l "$work/disk"; rm -rf "$work"' EXIT
write_pictures
head -c 1M /dev/zero >disk/filler 2>/dev/null || true
./vx_analyse >run.log 2>&1 &
pid=$!
# The repository file, and with it the tree folder, on the full disk.
start_repository "$work/disk/rep.vxr"
window_named '^!!Write Error!!$' >/dev/null
if ! kill -0 "$pid" 2>/dev/null; then
  echo "vx_analyse ended at the full disk"; cat run.log; exit 1
fi
grep -q "Tree file $work/disk/.*not written" run.log || { echo "no failed tree file reported"; cat run.log; exit 1; }
if [ "$(ls disk)" != filler ]; then
  echo "left on the disk:"; ls -l disk; exit 1
fi
send_keys '^!!Write Error!!$' Return
send_keys "^vx_analyse$" ctrl+q
expect_exit
