#!/usr/bin/env bash
# Usage (under xvfb-run): with_window_manager.sh <program> [arguments...]
# Runs the program while openbox manages the screen, so that its windows get
# frames and are placed as on a desktop; returns the program's exit code.
set -euo pipefail
ready=$(mktemp -u)
openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; rm -f "$ready"' EXIT
for _ in $(seq 100); do
  [ -e "$ready" ] && break
  sleep 0.1
done
[ -e "$ready" ] || { echo "openbox did not start" >&2; exit 1; }
"$@"
