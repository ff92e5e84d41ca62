#!/usr/bin/env bash
# Builds the program, puts the sample shop project (data/SampleShop) into
# Quillmart's home folder and writes its site there with every catalog option
# on. The project is copied only once: a project folder that exists already
# keeps the merchant's own item files, and only its site is written again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
cmake --preset release
cmake --build --preset release --target quillmart

home="${QUILLMART_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/Quillmart/Quillmart}"
project="$home/SampleShop"
if [ -e "$project" ]; then
  echo "$project exists already: its project and item files stay as they are."
else
  mkdir -p "$home"
  cp -R data/SampleShop "$project"
  echo "Copied the sample shop project to $project"
fi

# The program prints the files it wrote, data1.js first and the start page next.
written="$(./build/release/src/quillmart generate "$project" \
  --manufacturer --description-url --picture-url --weight)"
start_page="$(printf '%s\n' "$written" | sed -n 2p)"
echo "Wrote the shop site ($(printf '%s\n' "$written" | wc -l) files). Open it in a web browser:"
echo "  $start_page"
echo "Many browsers keep pages opened from disk apart from each other, so the shop's frames"
echo "cannot share the basket. If the basket stays empty, serve the folder and open it from there:"
echo "  cd \"$project\" && python3 -m http.server --bind 127.0.0.1 8000"
echo "  then http://127.0.0.1:8000/$(basename "$start_page")"
