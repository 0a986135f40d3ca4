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

# Types the name into the file dialog so named and accepts it.
choose_file() {
  focus_window "^$1$"
  xdotool type --delay 20 "$2"
  xdotool key Return
}

# Runs the command every half second until it succeeds, for at most the
# seconds given first; fails when it never does.
wait_until() {
  local seconds=$1
  shift
  for _ in $(seq $((2 * seconds))); do
    "$@" && return 0
    sleep 0.5
  done
  return 1
}

# Ctrl+Q in the main window while work is open, and Yes (its key Y) to the
# question whether to end the session.
end_open_session() {
  send_keys "^vx_analyse$" ctrl+q
  send_keys "^End Corvella$" y
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

# An update rule and two 16 x 16 pictures images/a.pgm and images/b.pgm,
# each with a bright and a dark square on a ramp.
write_pictures() {
  printf 'DECLS:\n#DECLS\n' >Attributes.rule
  mkdir images
  for name in a b; do
    {
      printf 'P2\n16 16\n255\n'
      for y in $(seq 0 15); do
        for x in $(seq 0 15); do
          if [ "$x" -lt 8 ] && [ "$y" -lt 8 ]; then printf '220 '
          elif [ "$x" -ge 8 ] && [ "$y" -ge 9 ]; then printf '30 '
          else printf '%d ' $((100 + x)); fi
        done
        printf '\n'
      done
    } >"images/$name.pgm"
  done
}

# Ctrl+R in the main window; the pictures of images/ (those given second,
# quoted, else a.pgm and b.pgm), the repository file (the one given first,
# else rep.vxr here) and the scales (given third, else 3); Compute.
start_repository() {
  send_keys "^vx_analyse$" ctrl+r
  focus_window "^Create New Repository$"
  # The focus starts on "Select List of Source Images".
  xdotool key space
  focus_window "^Select List of Source Images$"
  xdotool type --delay 20 "$work/images/"
  xdotool key Return
  sleep 0.5
  xdotool type --delay 20 "${2:-\"a.pgm\" \"b.pgm\"}"
  xdotool key Return
  sleep 1
  focus_window "^Create New Repository$"
  # Tab: "Repository File", its field; then seven more to the scales field.
  xdotool key Tab Tab
  xdotool type --delay 20 "${1:-$work/rep.vxr}"
  xdotool key Tab Tab Tab Tab Tab Tab Tab ctrl+a
  xdotool type --delay 20 "${3:-3}"
  xdotool key Tab space
}

# start_repository with rep.vxr; returns once rep.vxr is written (or after
# 30 seconds).
create_repository() {
  start_repository
  wait_until 30 [ -s rep.vxr ] || true
}
