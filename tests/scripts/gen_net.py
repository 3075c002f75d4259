#!/usr/bin/env python3
"""Expected values for the unfolded-solid projections ("Cube", "Fuller"),
which have no oracle in PROJ beyond the cube's band.

Usage (from the repository root, PROJ's cct on the path):
    python3 tests/scripts/gen_net.py

Writes tests/data/projections/net_cases.csv and net_points.csv in the layout
of case_layout.py:
  Cube, layouts 0-15: the band within 45 degrees of the equator is the plate
    carree (cct +proj=eqc); each pole is the centre of its cap face,
    (a (f pi/2 - 3 pi/4), +-a pi/2), f = layout div 4 (north) or mod 4.
  Cube, layouts 901 and 902: the pole is the square's centre and the middle
    meridians of the four quadrants run straight out of it, keeping their
    distance d from the pole (901: dlon 45 up, 135 left, -45 right, -135
    down; 902 turned a quarter: 45 right, 135 down, -45 up, -135 left).
  Fuller: the centroid of each of the 20 faces (the definition's table) is
    the position of its net face (the definition's shifts, times a).
"""
import os
import subprocess
import math

from case_layout import CASES_HEADER, OUT, case_row


def cct(proj, pts):
    text = ''.join('%.12f %.12f 0 0\n' % p for p in pts)
    out = subprocess.run(['cct', '-d', '12'] + proj.split(), input=text,
                         capture_output=True, text=True, check=True).stdout
    return [tuple(float(v) for v in line.split()[:2]) for line in out.strip().split('\n')]


CASES, POINTS = [CASES_HEADER], ['# case,lon,lat,x,y (degrees, metres); see net_cases.csv\n']


def add(name, fn, a, rf, slots, oracle, pts, xy):
    CASES.append(case_row(name, fn, a, rf, slots, oracle))
    POINTS.extend('%s,%r,%r,%r,%r\n' % (name, lon, lat, x, y) for (lon, lat), (x, y) in zip(pts, xy))


def cube(name, a, rf, lon0, option):
    slots = {2: lon0, 15: option}
    n = 0 if option < 0 else (option if option <= 15 or option in (901, 902) else 15)
    if n <= 15:
        band = [(lon0 + dl, lat) for lat in (-45.0, -30.0, -5.0, 0.0, 20.0, 44.9, 45.0)
                for dl in (-179.5, -135.0, -60.0, 0.0, 10.0, 90.0, 179.0)]
        xy = cct('+proj=eqc +lon_0=%r +R=%r' % (lon0, a), band)
        pts = band + [(lon0 + 17.0, 90.0), (lon0 - 70.0, -90.0)]
        xy += [(a * ((n // 4) * math.pi / 2 - 3 * math.pi / 4), a * math.pi / 2),
               (a * ((n % 4) * math.pi / 2 - 3 * math.pi / 4), -a * math.pi / 2)]
        add(name, 'cube', a, rf, slots, 'cct +proj=eqc (band); poles at the cap centres', pts, xy)
        return
    s, centre = (1.0, -3 * math.pi / 4) if n == 901 else (-1.0, -math.pi / 4)
    # Unit direction of each quadrant's middle meridian out of the pole.
    ways = ({45.0: (0, 1), 135.0: (-1, 0), -45.0: (1, 0), -135.0: (0, -1)} if n == 901 else
            {45.0: (1, 0), 135.0: (0, -1), -45.0: (0, 1), -135.0: (-1, 0)})
    pts, xy = [(lon0, s * 90.0)], [(a * centre, a * s * math.pi / 2)]
    for dl, (wx, wy) in sorted(ways.items()):
        for d in (10.0, 45.0, 90.0, 135.0, 170.0):
            pts.append((lon0 + dl, s * (90.0 - d)))
            r = math.radians(d)
            xy.append((a * (centre + wx * r), a * (s * math.pi / 2 + wy * r)))
    add(name, 'cube', a, rf, slots, 'pole at the centre; quadrant middles straight out', pts, xy)


cube('cube_0', 6371000.0, 0.0, 0.0, 0)
cube('cube_6', 6378137.0, 298.257223563, -100.0, 6)
cube('cube_9', 6371000.0, 0.0, 170.0, 9)
cube('cube_15', 6371000.0, 0.0, 30.0, 15)
cube('cube_16_is_15', 6371000.0, 0.0, 30.0, 16)
cube('cube_minus3_is_0', 6378137.0, 0.0, -20.0, -3)
cube('cube_901', 6371000.0, 0.0, 10.0, 901)
cube('cube_902', 6378137.0, 298.257223563, -45.0, 902)


def write():
    with open(os.path.join(OUT, 'net_cases.csv'), 'w') as f:
        f.writelines(CASES)
    with open(os.path.join(OUT, 'net_points.csv'), 'w') as f:
        f.writelines(POINTS)


if __name__ == '__main__':
    write()
