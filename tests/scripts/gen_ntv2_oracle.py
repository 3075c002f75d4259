#!/usr/bin/env python3
"""Oracle values for the NTv2 method on real grids (Debian proj-data).

For each grid: random points inside its sub-grids (half of them inside
child sub-grids when it has any), shifted forward and inverse by PROJ's
cct with +proj=hgridshift. Writes tests/data/geogtran/ntv2_real.csv:
grid, lon, lat, forward lon, lat, inverse lon, lat (degrees, 13 decimals),
and 1 for the edge points whose inverse guess leaves the grid.
"""
import math
import random
import struct
import subprocess
import sys

GRIDS = ["nzgd2kgrid0005.gsb", "BETA2007.gsb", "ntf_r93.gsb", "CHENYX06.gsb"]
FOLDER = "/usr/share/proj"
PER_GRID = 120
# Points on the edges: BETA2007's northern bound is not a whole number of
# increments from its southern one; one ulp inside ntf_r93's north-west
# corner lies in the last cell.
EDGES = {
    "BETA2007.gsb": [(10.0, 55.3), (6.125, 55.3), (15.0, 55.3), (5.5 + 1e-9, 52.0)],
    "ntf_r93.gsb": [(math.nextafter(-5.5, 0.0), math.nextafter(52.0, 0.0)), (-5.5, 47.25)],
}


def subgrids(path):
    data = open(path, "rb").read()
    padded = data[12:16] == b"\0\0\0\0"
    nfile = struct.unpack_from("<i", data, 40 if padded else 32)[0]
    unit = data[56:63] if padded else data[44:51]
    k = {b"SECONDS": 1 / 3600, b"MINUTES": 1 / 60, b"DEGREES": 1.0}[unit]
    pos, out = (176 if padded else 164), []
    for _ in range(nfile):
        parent = data[pos + 24:pos + 32]
        s, n, e, w = [struct.unpack_from("<d", data, pos + 72 + 16 * i)[0] for i in range(4)]
        count = struct.unpack_from("<i", data, pos + 168)[0]
        out.append((parent.strip() != b"NONE", s * k, n * k, -w * k, -e * k))
        pos += (176 if padded else 172) + 16 * count
    return out


def cct(points, grid, inverse):
    cmd = ["cct", "-d", "13"] + (["-I"] if inverse else []) + [
        "+proj=pipeline", "+step", "+proj=unitconvert", "+xy_in=deg", "+xy_out=rad",
        "+step", "+proj=hgridshift", "+grids=" + FOLDER + "/" + grid,
        "+step", "+proj=unitconvert", "+xy_in=rad", "+xy_out=deg"]
    text = "".join("%.17g %.17g 0 0\n" % p for p in points)
    res = subprocess.run(cmd, input=text, capture_output=True, text=True, check=True)
    return [tuple(float(v) for v in line.split()[:2]) for line in res.stdout.splitlines()]


def fmt(v):
    return "%.13f" % v if math.isfinite(v) else "nan"


def main():
    rnd = random.Random(18)
    rows = []
    for grid in GRIDS:
        subs = subgrids(FOLDER + "/" + grid)
        children = [g for g in subs if g[0]]
        tops = [g for g in subs if not g[0]]
        pts = []
        for i in range(PER_GRID):
            pool = children if children and i % 2 else tops
            _, s, n, lmin, lmax = rnd.choice(pool)
            # stay a little inside so that the inverse's guess stays covered
            mx, my = (lmax - lmin) * 0.02, (n - s) * 0.02
            pts.append((rnd.uniform(lmin + mx, lmax - mx), rnd.uniform(s + my, n - my)))
        edges = EDGES.get(grid, [])
        pts += edges
        fwd = cct(pts, grid, False)
        inv = cct(pts, grid, True)
        for p, f, v in zip(pts, fwd, inv):
            edge = "1" if p in edges else "0"
            rows.append(",".join([grid, "%.17g" % p[0], "%.17g" % p[1]] + [fmt(x) for x in f + v] + [edge]))
    out = sys.argv[1] if len(sys.argv) > 1 else "tests/data/geogtran/ntv2_real.csv"
    with open(out, "w") as fh:
        fh.write("# grid,lon,lat,fwd_lon,fwd_lat,inv_lon,inv_lat,edge (degrees; PROJ cct hgridshift; edge points: forward only)\n")
        fh.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
