#!/usr/bin/env bash
# Regenerates the catalogue sources and the keyword-file state-plane table into a temporary directory and fails when
# they differ from the committed ones, or when src/catalogue/generated/ holds a
# file the generator no longer writes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
python3 "$root/tools/gen_catalogue.py" --root "$root" --out "$tmp"
python3 "$root/tools/gen_prjfile.py" --root "$root" --out "$tmp"
status=0
while IFS= read -r -d '' file; do
  rel="${file#"$tmp"/}"
  if ! diff -u "$root/$rel" "$file"; then
    echo "check_generated: $rel differs from the generator output" >&2
    status=1
  fi
done < <(find "$tmp" -type f -print0)
while IFS= read -r -d '' file; do
  rel="${file#"$root"/}"
  if [ ! -e "$tmp/$rel" ]; then
    echo "check_generated: $rel is not written by the generator" >&2
    status=1
  fi
done < <(find "$root/src/catalogue/generated" "$root/src/prjfile/generated" -type f -print0)
if [ "$status" -eq 0 ]; then
  echo "check_generated: catalogue and state-plane sources match data/"
fi
exit "$status"
