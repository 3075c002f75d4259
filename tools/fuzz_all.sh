#!/usr/bin/env bash
# Fuzzes the text readers under AddressSanitizer + UBSan for a bounded time
# (KX_FUZZ_SECONDS, default 60) starting from the committed seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
mkdir -p "$out/obj" "$out/corpus"
flags=(-std=c++17 -gline-tables-only -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
       -fno-sanitize-recover=all -Iinclude -Isrc -DKX_BUILDING_LIBRARY)
objs=()
pending=()
for src in $(find src -name '*.cpp' | sort); do
  obj="$out/obj/$(echo "$src" | tr '/' '_').o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ include/kx.h -nt "$obj" ]; then
    pending+=("$src:$obj")
  fi
  objs+=("$obj")
done
printf '%s\n' "${pending[@]:-}" | grep . | xargs -P 2 -I{} sh -c \
  'src="${1%%:*}"; obj="${1#*:}"; clang++ '"${flags[*]}"' -c "$src" -o "$obj"' _ {} || true
for o in "${objs[@]}"; do [ -f "$o" ] || { echo "fuzz build failed: $o"; exit 1; }; done
clang++ "${flags[@]/fuzzer-no-link/fuzzer}" tests/fuzz/coordsys_fuzz.cpp "${objs[@]}" -lpthread \
  -o "$out/coordsys_fuzz"
clang++ "${flags[@]/fuzzer-no-link/fuzzer}" tests/fuzz/mgrs_fuzz.cpp "${objs[@]}" -lpthread \
  -o "$out/mgrs_fuzz"
cp tests/fuzz/corpus/*.txt "$out/corpus/"
echo "=== fuzz ==="
"$out/coordsys_fuzz" -max_total_time="${KX_FUZZ_SECONDS:-60}" -max_len=1200 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" tests/fuzz/corpus 2>&1 | tail -n 15
echo "=== fuzz mgrs ==="
mkdir -p "$out/corpus_mgrs"
"$out/mgrs_fuzz" -max_total_time="${KX_FUZZ_SECONDS:-60}" -max_len=64 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$out/mgrs-" "$out/corpus_mgrs" tests/fuzz/corpus/mgrs 2>&1 | tail -n 15
