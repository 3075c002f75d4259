#!/usr/bin/env bash
# Fuzzes every reader of outside data under AddressSanitizer + UBSan: the
# targets listed in tests/fuzz/targets.txt share KX_FUZZ_SECONDS (default 80)
# in equal parts. Each target first replays its seeds and every input that
# ever failed it (tests/data/fuzz_regressions/<name>/), then fuzzes from its
# committed seeds. An input that fails is copied into that regression folder,
# to be committed with the fix, and the script exits 1.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
mkdir -p "$out/obj"
flags=(-std=c++17 -gline-tables-only -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
       -fno-sanitize-recover=all -Iinclude -Isrc -DKX_BUILDING_LIBRARY)

# Compiles sources not yet compiled or changed since; prints their objects.
compile() {
  local pending=() src obj
  for src in "$@"; do
    obj="$out/obj/$(echo "$src" | tr '/' '_').o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ include/kx.h -nt "$obj" ]; then
      pending+=("$src:$obj")
    fi
    echo "$obj"
  done
  printf '%s\n' "${pending[@]:-}" | grep . | xargs -P 2 -I{} sh -c \
    'src="${1%%:*}"; obj="${1#*:}"; clang++ '"${flags[*]}"' -c "$src" -o "$obj" >&2' _ {} || true
}

mapfile -t lib_objs < <(compile $(find src -name '*.cpp' | sort))
for o in "${lib_objs[@]}"; do [ -f "$o" ] || { echo "fuzz build failed: $o"; exit 1; }; done

mapfile -t targets < <(grep '^[a-z]' tests/fuzz/targets.txt)
seconds=$(( ${KX_FUZZ_SECONDS:-80} / ${#targets[@]} ))
[ "$seconds" -ge 5 ] || seconds=5
failed=()
for line in "${targets[@]}"; do
  read -r name max_len extra <<< "$line"
  mapfile -t extra_objs < <(compile $extra)
  bin="$out/${name}_fuzz"
  clang++ "${flags[@]/fuzzer-no-link/fuzzer}" "tests/fuzz/${name}_fuzz.cpp" "${extra_objs[@]}" \
    "${lib_objs[@]}" -lpthread -o "$bin"
  seeds="tests/fuzz/corpus/$name"
  regressions="tests/data/fuzz_regressions/$name"
  work="$out/corpus/$name"
  artifacts="$out/artifacts/$name"
  rm -rf "$artifacts" "$out/$name.log"
  mkdir -p "$work" "$regressions" "$artifacts"
  cp "$seeds"/* "$work/"
  echo "=== fuzz $name (${seconds} s) ==="
  status=0
  # The copies are replayed, so that nothing is ever written into the sources.
  "$bin" -runs=0 -artifact_prefix="$artifacts/" "$work" "$regressions" \
    > "$out/$name.replay.log" 2>&1 || status=$?
  if [ "$status" -eq 0 ]; then
    # A fixed seed: the same code explores the same inputs, run after run.
    "$bin" -seed=1 -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$work" > "$out/$name.log" 2>&1 || status=$?
    grep -E '^(Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb)' "$out/$name.log" || true
  fi
  if [ "$status" -ne 0 ]; then
    tail -n 30 "$out/$name.log" 2>/dev/null || tail -n 30 "$out/$name.replay.log"
    for a in "$artifacts"/*; do
      [ -f "$a" ] || continue
      [ -f "$regressions/$(basename "$a")" ] || cp "$a" "$regressions/"
      echo "kept $regressions/$(basename "$a")"
    done
    failed+=("$name")
  fi
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz targets that failed: ${failed[*]}"
  exit 1
fi
