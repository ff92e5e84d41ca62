#!/usr/bin/env bash
# Counts code lines (non-blank, not only comments) of the tests' C++ and of
# the program's C++ and JavaScript, and prints the ratio of the two.
# With folder arguments it prints the C++ lines of those folders only:
#   bash scripts/count-lines.sh tests/sitegen tests/project
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

count() {
    find "$@" -type f -print0 | sort -z | xargs -0 -r python3 -c '
import re, sys
total = 0
token = re.compile(r"//|/\*|\*/|\"(?:\\.|[^\"\\])*\"|\x27(?:\\.|[^\x27\\])*\x27")
for name in sys.argv[1:]:
    in_block = False
    with open(name, encoding="utf-8", errors="replace") as source:
        for line in source:
            code = []
            pos = 0
            while pos < len(line):
                if in_block:
                    end = line.find("*/", pos)
                    if end < 0:
                        pos = len(line)
                    else:
                        in_block = False
                        pos = end + 2
                    continue
                match = token.search(line, pos)
                if not match:
                    code.append(line[pos:])
                    break
                code.append(line[pos:match.start()])
                if match.group() == "//":
                    break
                if match.group() == "/*":
                    in_block = True
                else:
                    code.append(match.group())
                pos = match.end()
            if "".join(code).strip():
                total += 1
print(total)
'
}

if [ $# -gt 0 ]; then
    count "$@" \( -name '*.cpp' -o -name '*.h' \)
    exit 0
fi

tests=$(count "$root/tests" \( -name '*.cpp' -o -name '*.h' \))
src=$(count "$root/src" \( -name '*.cpp' -o -name '*.h' -o -name '*.js' \))
echo "tests C++ lines:        $tests"
echo "src C++ and JS lines:   $src"
awk -v t="$tests" -v s="$src" 'BEGIN { printf "ratio tests/src:       %.3f (target <= 0.333, limit %d lines)\n", t / s, int(s / 3) }'
