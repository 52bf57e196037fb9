#!/usr/bin/env bash
# Starts the editor LAUNCHES times, each on a private Xvfb that it joins the
# moment the display appears (as a session's autostart does), and checks every
# launch: the window's caption, an instrument name typed into it arrives, a
# held key repeats, and a file name typed into the chooser saves the module.
# Usage: launch_test.sh PROGRAM [LAUNCHES]
set -u
program=$(realpath "$1")
launches=${2:-50}
work=$(mktemp -d)
editor="" xvfb=""
trap 'kill $editor $xvfb 2>/dev/null; rm -rf "$work"' EXIT
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

# Polls COMMAND every 50 ms for at most 20 s: CI runs other tests beside this.
wait_for() {
  local i
  for i in $(seq 400); do "$@" && return 0; sleep 0.05; done
  return 1
}

free_display() {
  local n
  for n in $(seq 150 250); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
  done
}

# A window of the editor's is mapped, with the caption, before keys are sent:
# a key typed earlier goes nowhere.
shown_with_caption() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$editor" 2>/dev/null); do
    xprop -id "$w" WM_NAME 2>/dev/null | grep -q '"Quillchanter"' && return 0
  done
  return 1
}

# One launch; prints what went wrong, nothing when all is well.
launch() {
  local dir=$work/$1 n
  mkdir -p "$dir"
  n=$(free_display)
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  wait_for test -S "/tmp/.X11-unix/X$n" || { echo "Xvfb :$n did not start"; kill $xvfb; return; }
  export DISPLAY=:$n
  (cd "$dir" && exec "$program" >out.txt 2>&1) &
  editor=$!
  if ! wait_for shown_with_caption; then
    echo "no window with the caption"
  else
    sleep 0.5  # as a person would: keys typed before the window maps go to the root
    xdotool key F2 Down Return
    xdotool type --delay 20 lead
    xdotool keydown x; sleep 1; xdotool keyup x
    xdotool key Return alt+s
    sleep 0.2
    xdotool type --delay 20 t.qcm
    xdotool key Return
    wait_for test -s "$dir/t.qcm" || echo "no module saved from a typed file name"
    xdotool key shift+Escape
  fi
  wait_for sh -c "! kill -0 $editor 2>/dev/null" || { echo "still running after Shift+Escape"; kill $editor; }
  wait $editor 2>/dev/null
  kill $xvfb; wait $xvfb 2>/dev/null
  if [ -s "$dir/t.qcm" ]; then
    local name
    name=$("$program" --info "$dir/t.qcm" | grep -o '"leadx*"' | head -1)
    case "$name" in
      '"leadxxxx'*) ;;
      '"lead'*) echo "held key did not repeat: $name" ;;
      *) echo "typed name missing: $("$program" --info "$dir/t.qcm" | head -c 300)" ;;
    esac
  fi
}

failed=0
for i in $(seq "$launches"); do
  fault=$(launch "$i")
  if [ -n "$fault" ]; then
    failed=$((failed + 1))
    echo "launch $i: $fault"
  fi
done
echo "launches: $((launches - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
