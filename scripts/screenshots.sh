#!/usr/bin/env bash
# Takes the README's screenshots: builds the program, starts it on a virtual
# display with a fresh home folder and settings, and saves the browser window
# as docs/browser.png and the store generator window as docs/generator.png.
# Whatever window the program shows first is taken; when that is the browser,
# the generator is opened through its Tools menu (Alt+T, "Store Generator").
set -euo pipefail
cd "$(dirname "$0")/.."

screen_size="1400x1000x24"
window_wait_tenths=600   # how long the program may take to show a window
page_settle_seconds=6    # time for the start pages to load and paint

# The first visible window of the process, or nothing.
visible_window() {
  xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1 || true
}

wait_for_window() {
  local pid="$1" window=""
  for _ in $(seq "$window_wait_tenths"); do
    window="$(visible_window "$pid")"
    if [ -n "$window" ]; then echo "$window"; return 0; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}

# A visible window of the process with exactly this caption, or nothing.
window_named() {
  local pid="$1" caption="$2" id
  for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id")" = "$caption" ]; then echo "$id"; return 0; fi
  done
  return 0
}

shoot() {
  local window="$1" file="$2"
  import -window "$window" "$file"
  echo "wrote $file"
}

# Waits a little for the generator window to appear.
wait_for_generator() {
  local pid="$1" generator=""
  for _ in $(seq 30); do
    generator="$(window_named "$pid" "Quillmart 6.0")"
    if [ -n "$generator" ]; then echo "$generator"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Opens Tools > Store Generator ("Store Generator" is the first item of the
# Tools menu, the third menu) by keyboard: Alt+T where the menu has that
# mnemonic, else Alt to reach the menu bar and the arrow keys.
open_generator() {
  local pid="$1" browser="$2" keys
  for keys in "alt+t Return" "alt Right Right Down Return"; do
    xdotool windowfocus --sync "$browser" 2>/dev/null || true
    # shellcheck disable=SC2086 # one key name per word
    xdotool key --clearmodifiers --delay 150 $keys
    if wait_for_generator "$pid"; then return 0; fi
    xdotool key Escape Escape
  done
  return 1
}

# The program and its scratch folder, cleaned up on exit.
pid=""
home=""
stop_program() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  if [ -n "$home" ]; then rm -rf "$home"; fi
}

capture() {
  local first caption generator
  home="$(mktemp -d)"
  # A fresh machine: no earlier settings, lists or projects.
  export QUILLMART_HOME="$home/quillmart" XDG_CONFIG_HOME="$home/config"
  export XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
  if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
  ./build/release/src/quillmart &
  pid=$!
  trap stop_program EXIT

  first="$(wait_for_window "$pid")" || { echo "screenshots: no window appeared" >&2; exit 1; }
  sleep "$page_settle_seconds"
  caption="$(xdotool getwindowname "$first")"
  if [ "$caption" = "Quillmart 6.0" ]; then
    echo "screenshots: the program opens the generator first; docs/browser.png is left as it is" >&2
    shoot "$first" docs/generator.png
    return 0
  fi
  shoot "$first" docs/browser.png
  generator="$(open_generator "$pid" "$first")" ||
    { echo "screenshots: Tools > Store Generator did not open the generator" >&2; exit 1; }
  sleep 1
  shoot "$generator" docs/generator.png
}

if [ "${1:-}" = "--capture" ]; then
  capture
  exit 0
fi

bash scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release --target quillmart
mkdir -p docs
xvfb-run -a -s "-screen 0 $screen_size" bash "$0" --capture
