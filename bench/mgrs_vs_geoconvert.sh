#!/usr/bin/env bash
# One million random WGS 84 points to MGRS references and back, kxproj
# against GeoConvert as whole processes on the same input (wall-clock
# seconds, best of KX_BENCH_RUNS, default 3). Usage, from the repository
# root after `cmake --preset release && cmake --build build/release --target kxproj`:
#   bench/mgrs_vs_geoconvert.sh [KXPROJ]
set -euo pipefail
kxproj=${1:-build/release/tools/kxproj}
runs=${KX_BENCH_RUNS:-3}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 - "$dir/points.txt" <<'PY'
import math, random, sys
rng = random.Random(20261207)
with open(sys.argv[1], 'w') as f:
    for _ in range(1000000):
        f.write('%.9f %.9f\n' % (rng.uniform(-180, 180), math.degrees(math.asin(rng.uniform(-1, 1)))))
PY
best() {  # best wall time of "$@" < $in > $out
  local t b=
  for _ in $(seq "$runs"); do
    local s=$(date +%s.%N)
    "$@" < "$in" > "$out"
    t=$(echo "$(date +%s.%N) - $s" | bc)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}
in=$dir/points.txt out=$dir/kx.mgrs;  kf=$(best "$kxproj" -s 4326 -t MGRS)
in=$dir/points.txt out=$dir/gc.mgrs;  gf=$(best GeoConvert -w -m)
in=$dir/kx.mgrs    out=$dir/kx.back;  ki=$(best "$kxproj" -s MGRS -t 4326)
in=$dir/gc.mgrs    out=$dir/gc.back;  gi=$(best GeoConvert -w -p 4)
same=$(paste -d' ' "$dir/kx.mgrs" "$dir/gc.mgrs" | awk '$1 == $2' | wc -l)
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "to MGRS:   kxproj ${kf}s  GeoConvert ${gf}s"
echo "from MGRS: kxproj ${ki}s  GeoConvert ${gi}s"
echo "identical references: $same of 1000000"
