#!/bin/bash
# Peak memory (largest resident set, from /usr/bin/time) of
# `quillmart orders import` taking in order mails: one ordinary order, then
# one and four mails of a single item line, an empty line and LINES more
# lines (3,000,000 by default: about 9 MB each).
#
#   bash bench/bench_order_memory.sh [LINES]
#
# QUILLMART_PROGRAM picks the program (build/release/src/quillmart by default).
set -euo pipefail

program=${QUILLMART_PROGRAM:-build/release/src/quillmart}
lines=${1:-3000000}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QUILLMART_HOME="$dir/home"

python3 - "$dir" "$lines" <<'PYTHON'
import sys

folder, lines = sys.argv[1], int(sys.argv[2])
head = "Message-ID: <{}@bench.test>\r\nFrom: bench@shop.test\r\nSubject: Online Order\r\n\r\n"
item = b"DESCRIPTION=A1 ^ 1 ^ 5.00 ^ 5.00^\r\n"
tail = b"\r\n Total Price : $$$ 5.00\r\nAMOUNT=$$$ 5.00\r\nNameB=Bench Buyer\r\n"
with open(f"{folder}/order.eml", "wb") as mail:
    mail.write(head.format("order").encode() + item + tail)
for n in range(1, 5):
    with open(f"{folder}/long{n}.eml", "wb") as mail:
        mail.write(head.format(f"long{n}").encode() + item + b"\r\n" + b"x\r\n" * lines + tail)
PYTHON

# Prints the label, the peak memory and what the program said of each file.
peak() {
    local label=$1
    shift
    /usr/bin/time -f %M -o "$dir/peak" "$program" orders import "$@" \
        --db "$dir/$label.sqlite" >"$dir/said" 2>&1 || true
    printf '%-22s %8s KiB\n' "$label" "$(tail -n 1 "$dir/peak")"
    sed 's|^.*/||; s|^|    |' "$dir/said"
}

echo "$(stat -c %s "$dir/long1.eml") bytes in each long mail"
peak one-order "$dir/order.eml"
peak one-long-mail "$dir/long1.eml"
peak four-long-mails "$dir"/long{1,2,3,4}.eml
