#!/bin/sh
# Geodetic -> geocentric reference points from PROJ's cct (+proj=cart).
# Usage: sh tests/scripts/gen_cartesian.sh > tests/data/math/cartesian.csv
# Columns: lon_deg,lat_deg,h_m,X,Y,Z (WGS 84, metres, nanometre digits).
set -e
echo "# lon_deg,lat_deg,h_m,X,Y,Z; cct -d 9 +proj=cart +ellps=WGS84 (PROJ $(cct --version 2>&1 | head -1 | tr -d ','))"
cat <<POINTS | cct -d 9 +proj=cart +ellps=WGS84 > /tmp/kx_cart_out.$$
0 0 0 0
90 0 0 0
180 0 0 0
0 90 0 0
0 -90 0 0
12.5 45.25 1000 0
-170.1 -89.9 -5000 0
-75.5 38.125 -10000 0
135.75 -33.875 35786000 0
-45.25 60.5 100000000 0
179.999 0.001 250.5 0
-0.5 89.999 8848 0
POINTS
cat <<POINTS | paste -d ' ' - /tmp/kx_cart_out.$$ | awk '{printf "%s,%s,%s,%s,%s,%s\n",$1,$2,$3,$4,$5,$6}'
0 0 0
90 0 0
180 0 0
0 90 0
0 -90 0
12.5 45.25 1000
-170.1 -89.9 -5000
-75.5 38.125 -10000
135.75 -33.875 35786000
-45.25 60.5 100000000
179.999 0.001 250.5
-0.5 89.999 8848
POINTS
rm -f /tmp/kx_cart_out.$$
