#!/usr/bin/env python3
"""Expected values for the synthetic NTv2 tree of tests/geogtran/ntv2_test.cpp.

Defines a small sub-grid tree (a parent, two children, a grandchild, an
orphan whose parent is not in the file and a top-level sub-grid that
repeats a child's name), its node shifts, and test points; computes each
point's forward and inverse shift by the selection and bilinear
interpolation of the NTv2 method, written from the format description and
independently of the library. Writes tests/data/geogtran/ntv2_synthetic.txt.
"""
import random
import sys

# name, parent, south, north, west, east (degrees, east positive), increment
GRIDS = [
    ("PARENT", "NONE", 0.0, 4.0, 0.0, 4.0, 1.0),
    ("CHILD_A", "PARENT", 1.0, 3.0, 1.0, 3.0, 0.5),
    ("CHILD_B", "PARENT", 0.0, 1.0, 3.0, 4.0, 0.5),
    ("GRAND", "CHILD_A", 1.5, 2.5, 1.5, 2.5, 0.5),
    ("ORPHAN", "MISSING", 10.0, 11.0, 10.0, 11.0, 0.5),
    ("CHILD_A", "NONE", 20.0, 21.0, 20.0, 21.0, 0.5),
]

POINTS = [
    (0.5, 0.5), (1.25, 1.25), (2.0, 2.0), (2.2, 1.8), (3.5, 0.5), (2.2, 0.0), (4.0, 2.3),
    (2.3, 4.0), (0.0, 2.3), (0.0, 4.0), (1.0, 1.7), (2.5, 2.5), (10.5, 10.25),
    (20.25, 20.75), (5.0, 5.0), (-0.5, 2.0), (3.75, 3.9),
]


def nodes():
    """Per grid: rows x cols lists of (lat shift, lon shift west) arc-seconds,
    multiples of 1/64 so that they are exact in float32."""
    rnd = random.Random(5)
    out = []
    for (_, _, s, n, w, e, inc) in GRIDS:
        rows, cols = int((n - s) / inc + 1.5), int((e - w) / inc + 1.5)
        out.append([[(rnd.randint(-300, 300) / 64.0, rnd.randint(-300, 300) / 64.0)
                     for _ in range(cols)] for _ in range(rows)])
    return out


def category(g, lam, phi):
    _, _, s, n, lmin, lmax, _ = g
    in_lon, in_lat = lmin < lam <= lmax, s <= phi < n
    if in_lon and in_lat:
        return 1
    if in_lon and phi == n:
        return 2
    if lam == lmin and in_lat:
        return 3
    if lam == lmin and phi == n:
        return 4
    return 0


def parents():
    out = []
    for k, g in enumerate(GRIDS):
        p = -1
        if g[1] != "NONE":
            p = next((j for j, h in enumerate(GRIDS) if j != k and h[0] == g[1]), -1)
        out.append(p)
    return out


def select(lam, phi):
    par = parents()
    best, cat = -1, 5
    for k, g in enumerate(GRIDS):
        if par[k] != -1:
            continue
        c = category(g, lam, phi)
        if c and c < cat:
            best, cat = k, c
            if c == 1:
                break
    while best >= 0:
        chosen, ccat = -1, 5
        for k, g in enumerate(GRIDS):
            if par[k] != best:
                continue
            c = category(g, lam, phi)
            if c and c < ccat:
                chosen, ccat = k, c
                if c == 1:
                    break
        if chosen < 0:
            break
        best = chosen
    return best


def shift(nd, k, lam, phi):
    """(lon shift west, lat shift) arc-seconds; columns count westward from
    the eastern bound; the cell is the last full one on the far edges."""
    _, _, s, n, lmin, lmax, inc = GRIDS[k]
    grid = nd[k]
    rows, cols = len(grid), len(grid[0])
    x, y = (lmax - lam) / inc, (phi - s) / inc
    c, r = min(int(x), cols - 2), min(int(y), rows - 2)
    fx, fy = x - c, y - r

    def node(rr, cc, h):  # file columns run from the east
        return grid[rr][cc][h]
    out = []
    for h in (1, 0):
        a, b = node(r, c, h), node(r, c + 1, h)
        e, d = node(r + 1, c, h), node(r + 1, c + 1, h)
        out.append(a + (b - a) * fx + (e - a) * fy + (d - e - b + a) * fx * fy)
    return out


def forward(nd, lam, phi):
    k = select(lam, phi)
    if k < 0:
        return None
    slon, slat = shift(nd, k, lam, phi)
    return lam - slon / 3600.0, phi + slat / 3600.0


def inverse(nd, lam, phi):
    lg, pg = lam, phi
    for _ in range(51):
        k = select(lg, pg)
        if k < 0:
            return None
        slon, slat = shift(nd, k, lg, pg)
        dl, dp = lg - slon / 3600.0 - lam, pg + slat / 3600.0 - phi
        if abs(dl) <= 2.0 ** -48 and abs(dp) <= 2.0 ** -48:
            return lg, pg
        lg, pg = lg - dl, pg - dp
    return None


def main():
    nd = nodes()
    lines = ["# Synthetic NTv2 tree: tests/scripts/gen_ntv2_synthetic.py",
             "# grid name parent south north west east increment (degrees, east positive)",
             "# node lat_shift lon_shift_west (arc-seconds; file order: rows from the south,",
             "#   columns from the east)",
             "# point lon lat fwd_lon fwd_lat inv_lon inv_lat (degrees; '-' = not shifted)"]
    for g, grid in zip(GRIDS, nd):
        lines.append("grid %s %s %r %r %r %r %r" % g)
        for row in grid:
            for (la, lo) in row:  # column 0 is the eastern one, as in the file
                lines.append("node %r %r" % (la, lo))
    for (lam, phi) in POINTS:
        f, i = forward(nd, lam, phi), inverse(nd, lam, phi)
        fs = "%.15f %.15f" % f if f else "- -"
        ins = "%.15f %.15f" % i if i else "- -"
        lines.append("point %r %r %s %s" % (lam, phi, fs, ins))
    out = sys.argv[1] if len(sys.argv) > 1 else "tests/data/geogtran/ntv2_synthetic.txt"
    open(out, "w").write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
