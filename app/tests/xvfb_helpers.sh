# Sourced by the scripts that drive vx_analyse under xvfb-run with xdotool,
# given the program as $1: a copy of it in an empty folder, which becomes
# the working directory and goes at exit, and the helpers below. The caller
# starts the program and sets pid.
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$1" "$work/vx_analyse"
cd "$work"
export QT_QPA_PLATFORM=xcb

# The first visible window of the program whose name matches the regular
# expression, within 30 seconds. (xdotool's own --name search passes over
# Qt's windows without a window manager.)
window_named() {
  local window
  for _ in $(seq 60); do
    for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      if xdotool getwindowname "$window" | grep -qE "$1"; then
        echo "$window"
        return 0
      fi
    done
    sleep 0.5
  done
  echo "no window named $1" >&2
  return 1
}

# Gives the window named so the focus.
focus_window() {
  local window
  window=$(window_named "$1")
  xdotool windowfocus --sync "$window"
  sleep 0.5
}

# Sends keys to the window named so.
send_keys() {
  focus_window "$1"
  xdotool key --clearmodifiers "$2"
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
