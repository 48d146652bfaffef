#!/bin/bash
# Runs the pipeline example of README.md (the sh block after the line
# "<!-- pipeline -->") on a fresh CD tree, twice: both runs must succeed,
# the image must pass the check, and the two images must be the same bytes.
# Call: readme-pipeline.sh README.md BIN-FOLDER
set -euo pipefail
readme=$1
export PATH="$2:$PATH"
script=$(awk '/^<!-- pipeline -->$/ {found = 1; next}
              found && /^```sh$/ {inside = 1; next}
              inside && /^```$/ {exit}
              inside {print}' "$readme")
if [ -z "$script" ]; then
    echo "README.md hat kein Beispiel nach <!-- pipeline -->" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in 1 2; do
    mkdir -p "$work/$run/CD/start" "$work/$run/CD/doku"
    echo '<html></html>' > "$work/$run/CD/start/index.htm"
    echo '%PDF-1.4' > "$work/$run/CD/doku/handbuch.pdf"
    (cd "$work/$run" && bash -euo pipefail -c "$script")
    (cd "$work/$run" && velkaro-image --check CD.iso) | grep -F 'OK      open: start\index.htm'
done
cmp "$work/1/CD.iso" "$work/2/CD.iso"
cmp "$work/1/CD/AutoRun.Inf" "$work/2/CD/AutoRun.Inf"
echo "Das Beispiel aus README.md läuft und gibt zweimal dasselbe Abbild."
