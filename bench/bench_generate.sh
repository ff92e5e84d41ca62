#!/usr/bin/env bash
# Site generation of a large project beside copying the same folder: the
# median time of `quillmart generate` (every catalog column switched on)
# and the median time of `cp -r` of the project folder once the site is in
# it, so both handle the same bytes; the same copy with every copied file
# synced to the disk, which is the durable work generate does (it syncs each
# file it writes; cp -r leaves its files in the page cache); and the
# program's start alone (`quillmart --version`) for a sense of its share.
# Prints the ratio of generate to each copy: the one to the synced copy is
# the measure that counts.
#
#   bash bench/bench_generate.sh PROGRAM [items, default 100000] [runs, default 5]
#
# PROGRAM is a built quillmart (measure a Release or RelWithDebInfo build).
# The project is made in a temporary folder and removed afterwards; set
# KEEP_SITE=1 to keep it (its path is printed).
set -euo pipefail
program="$(realpath "${1:?usage: bench_generate.sh PROGRAM [items] [runs]}")"
items="${2:-100000}"
runs="${3:-5}"
[ -x "$program" ] || { echo "not a program: $program" >&2; exit 2; }

work="$(mktemp -d)"
[ "${KEEP_SITE:-}" = 1 ] || trap 'rm -rf "$work"' EXIT
shop="$work/Shop"
mkdir "$shop"

# Ten categories, the items spread over them; every field filled, some
# descriptions with quotes, ampersands, angle brackets, backslashes and
# letters outside ASCII, so escaping has work to do.
categories=(Tools Garden Kitchen "Office Supplies" Toys Books Music Sports Lighting Paint)
printf '%s\r\n' "${categories[@]}" >"$shop/Shop.caa"
for c in "${!categories[@]}"; do
  awk -v items="$items" -v cats="${#categories[@]}" -v c="$c" -v name="${categories[$c]}" '
    BEGIN {
      ORS = "\r\n"
      for (i = c; i < items; i += cats) {
        desc = name " item " i " with a \"quoted\" size & <b>bold</b> C:\\path"
        if (i % 7 == 0) desc = desc " caf\303\251 cr\303\250me \342\202\254 12"
        printf "%s^%s^%d.%02d^%s^%s^%s^%s^%d.%02d^%d^" ORS, \
          "ID-" c "-" i, desc, i % 500 + 1, i % 100, \
          "http://pictures.example.com/shop/" c "/" i ".jpg", \
          "http://www.example.com/catalog/" c "/item" i ".html", \
          "Maker " i % 97 " Company", (i % 50) / 10 " lb", i % 400 + 1, i % 100, i % 20
      }
    }' >"$shop/${categories[$c]}.pro"
done

# Median of the numbers on standard input.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

generate() {
  "$program" generate "$shop" --manufacturer --description-url --picture-url --weight
}
copy() {
  rm -rf "$work/copy"
  cp -r "$shop" "$work/copy"
}
# The copy made as lasting as generate makes its files: every copied file
# (the item files too, which generate only reads) synced to the disk by
# coreutils' sync with file names. Shown for scale; the ratio is against
# the plain copy.
synced_copy() {
  copy
  sync "$work/copy"/*
}

# Runs the command; appends its wall-clock and processor (user + system)
# milliseconds to the named arrays. Processor time says more than the clock
# on a machine busy with other work.
timed() {
  local -n wall_ms="$1" cpu_ms="$2"
  shift 2
  local TIMEFORMAT='%R %U %S' real user sys
  { time "$@" >/dev/null 2>&1; } 2>"$work/time"
  read -r real user sys <"$work/time"
  wall_ms+=("$(awk -v r="$real" 'BEGIN { printf "%d", r * 1000 }')")
  cpu_ms+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
}

generate >/dev/null # untimed: the first run creates the files and warms the cache
gen_wall=() gen_cpu=() copy_wall=() copy_cpu=() synced_wall=() synced_cpu=()
start_wall=() start_cpu=()
for _ in $(seq "$runs"); do timed gen_wall gen_cpu generate; done
for _ in $(seq "$runs"); do timed copy_wall copy_cpu copy; done
for _ in $(seq "$runs"); do timed synced_wall synced_cpu synced_copy; done
for _ in $(seq "$runs"); do timed start_wall start_cpu "$program" --version; done
rm -rf "$work/copy"

mid() { printf '%s\n' "$@" | median; }
gen="$(mid "${gen_wall[@]}")" copy="$(mid "${copy_wall[@]}")" synced="$(mid "${synced_wall[@]}")"
gen_p="$(mid "${gen_cpu[@]}")" copy_p="$(mid "${copy_cpu[@]}")"
echo "items:    $items in ${#categories[@]} categories"
echo "folder:   $(du -sh "$shop" | cut -f1) ($(find "$shop" -type f | wc -l) files)"
echo "medians of $runs runs, wall clock (processor):"
echo "generate: $gen ms ($gen_p ms)   runs: ${gen_wall[*]}"
echo "cp -r:    $copy ms ($copy_p ms)   runs: ${copy_wall[*]}"
echo "cp -r, each file synced: $synced ms ($(mid "${synced_cpu[@]}") ms)   runs: ${synced_wall[*]}"
echo "start:    $(mid "${start_wall[@]}") ms ($(mid "${start_cpu[@]}") ms)   quillmart --version"
awk -v g="$gen" -v c="$copy" -v s="$synced" -v gp="$gen_p" -v cp="$copy_p" 'BEGIN {
  printf "ratio to the synced copy: %.1f x\n", g / (s > 0 ? s : 1)
  printf "ratio to cp -r:           %.1f x (processor %.1f x)\n", g / (c > 0 ? c : 1), gp / (cp > 0 ? cp : 1) }'
echo "load:     $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
[ "${KEEP_SITE:-}" != 1 ] || echo "site:     $shop"
