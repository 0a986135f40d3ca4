#!/usr/bin/env bash
# Usage: starts_offscreen.sh <vx_analyse>
# Starts the program on Qt's offscreen platform in an empty folder and
# expects it still to run after a few seconds, having printed its banner.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

status=0
QT_QPA_PLATFORM=offscreen timeout 8 "$program" >out.txt 2>err.txt || status=$?
cat out.txt
if [ "$status" -ne 124 ]; then
  echo "vx_analyse ended with $status instead of running on"; cat err.txt; exit 1
fi
for line in "For different Styles start vx_analyse -style <style>" \
            "where <style> is one of" "Fusion" "Running vx_analyse"; do
  grep -qxF "$line" out.txt || { echo "missing line: $line"; exit 1; }
done
