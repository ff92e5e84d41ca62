#!/usr/bin/env bash
# Start-up of the browser window beside another browser built on the same
# engine: the time from starting the program until its window title shows
# the start page's title, and the memory of the program and its engine
# processes once the page is loaded. Both open the same local page, on the
# same virtual display, in the same run.
#
#   bash bench/bench_browser_start.sh [runs, default 3]
#
# Needs a built program (build/release/src/quillmart, or the one QUILLMART_PROGRAM
# names, such as a release build's) and, for the comparison, the falkon
# package (apt-get install falkon); xvfb and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-3}"
program="${QUILLMART_PROGRAM:-$PWD/build/release/src/quillmart}"
page="$PWD/data/velgan/index.htm"
title="$(sed -n 's:.*<title>\(.*\)</title>.*:\1:Ip' "$page" | head -n 1)"
[ -x "$program" ] || { echo "build the program first (bash scripts/run.sh)" >&2; exit 2; }
[ -n "$title" ] || { echo "no <title> in $page" >&2; exit 2; }

# Resident memory, in MiB, of a process and all its descendants.
tree_rss_mib() {
  local pids
  pids="$(pstree -p -T "$1" 2>/dev/null | grep -o '([0-9]\+)' | tr -d '()' || echo "$1")"
  local total=0
  for p in $pids; do
    local kb
    kb="$(awk '/^VmRSS:/ {print $2}' "/proc/$p/status" 2>/dev/null || echo 0)"
    total=$((total + ${kb:-0}))
  done
  echo $((total / 1024))
}

# Runs one browser command until a window titled like the page appears.
measure() {
  local name="$1"; shift
  local home; home="$(mktemp -d)"
  local start end pid
  start="$(date +%s%N)"
  QUILLMART_HOME="$home" HOME="$home" "$@" >/dev/null 2>&1 &
  pid=$!
  local found=""
  for _ in $(seq 1 600); do
    if xdotool search --name "$title" >/dev/null 2>&1; then found=yes; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  end="$(date +%s%N)"
  if [ -z "$found" ]; then
    printf '%-10s did not show the start page (ended or timed out)\n' "$name"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$home"
    return
  fi
  sleep 1 # let the page settle before reading the memory
  printf '%-10s %6d ms to the start page   %5d MiB resident\n' \
    "$name" $(((end - start) / 1000000)) "$(tree_rss_mib "$pid")"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$home"
}

run_all() {
  for _ in $(seq 1 "$runs"); do
    # Quillmart opens its shipped start page by itself.
    measure quillmart "$program"
    if command -v falkon >/dev/null; then
      measure falkon falkon --private-browsing --no-extensions "file://$page"
    fi
  done
}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" "$@"
fi
export QTWEBENGINE_DISABLE_SANDBOX=1
run_all
