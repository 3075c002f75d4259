#!/usr/bin/env python3
"""Oracle values for the complex-analytic transverse Mercator tests.

Usage (from the repository root, GeographicLib's TransverseMercatorProj on
the path, Debian package geographiclib-tools):
    python3 tests/scripts/gen_tm_complex.py

Writes tests/data/projections/:
  tm_complex_cases.csv   the cases (tmc_<name>) in the layout of case_layout.py;
  tm_complex_points.csv  case, lon, lat (degrees) and the expected x, y
                         (metres, without false easting/northing).

Ellipsoids use GeographicLib's exact transverse Mercator
(`TransverseMercatorProj -e a f -l lon0 -k k0 -p 9`), which is exact to
about 5 nm; spheres its series form (-s), exact for zero flattening. The
oracle has no latitude of origin: y is its northing of (lon, lat) minus
its northing of (lon0, lat0).
"""
import os
import subprocess

from case_layout import CASES_HEADER, case_row

OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'projections')

WGS84 = (6378137.0, 298.257223563)
CLARKE66 = (6378206.4, 294.9786982)
AIRY = (6377563.396, 299.3249646)
GRS80 = (6378137.0, 298.257222101)
SPHERE = (6371000.0, 0.0)


def tmproj(e, lon0, k0, pts):
    a, rf = e
    args = ['TransverseMercatorProj', '-l', repr(lon0), '-k', repr(k0), '-p', '9']
    args += ['-s', '-e', repr(a), '0'] if rf == 0 else ['-e', repr(a), '1/%r' % rf]
    text = ''.join('%.12f %.12f\n' % (lat, lon) for lon, lat in pts)
    out = subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout
    return [tuple(float(v) for v in line.split()[:2]) for line in out.strip().split('\n')]


def grid(lon0, dlons, lats):
    return [(lon0 + d, lat) for lat in lats for d in dlons]


# Central-meridian distances from 0 to 80 degrees both ways, latitudes from
# pole to pole; the equator stops short of the singular point at
# (1 - e) 90 degrees (82.6 degrees for WGS 84).
WIDE = [-80, -70, -60, -45, -30, -15, -3, 0, 0.5, 3, 10, 20, 30, 40, 50, 60, 70, 75, 80]
LATS = [-90, -89.999, -89.9, -88, -80, -70, -55, -40, -25, -10, -1, 0, 1, 5, 10, 20, 30, 45,
        60, 70, 80, 85, 88, 89.9, 89.99, 89.99999, 90]
# Over the pole: the far side of the central meridian's great circle.
BACK = [95, 100, 120, 150, 175, -100, -135, -170]
BACK_LATS = [60, 70, 80, 85, 89, 89.9, 89.999, -75, -89]

CASES = [
    # name, ellipsoid, lon0, lat0, k0, points
    ('wgs84_utm', WGS84, -3.0, 0.0, 0.9996, None),
    ('wgs84_south', WGS84, 147.0, -35.0, 1.0, None),
    ('clarke66', CLARKE66, -81.0, 24.333333333333, 0.999941177, None),
    ('airy_north', AIRY, -2.0, 49.0, 0.9996012717, None),
    ('grs80_polar_origin', GRS80, 30.0, 89.5, 0.9999, None),
    ('wgs84_backside', WGS84, 20.0, 0.0, 1.0, 'back'),
    ('sphere', SPHERE, 10.0, 30.0, 0.9996, None),
    ('sphere_south', SPHERE, -60.0, -20.0, 1.0, None),
]


def main():
    cases, points = [], []
    for name, e, lon0, lat0, k0, kind in CASES:
        if kind == 'back':
            pts = grid(lon0, BACK, BACK_LATS)
        else:
            pts = grid(lon0, WIDE, LATS)
        xy = tmproj(e, lon0, k0, pts + [(lon0, lat0)])
        y0 = xy[-1][1]
        cases.append(case_row('tmc_' + name, 'tm_complex', e[0], e[1], {2: lon0, 5: k0, 6: lat0},
                              'TransverseMercatorProj'))
        for (lon, lat), (x, y) in zip(pts, xy[:-1]):
            points.append('tmc_%s,%r,%r,%.9f,%.9f' % (name, lon, lat, x, y - y0))
    with open(os.path.join(OUT, 'tm_complex_cases.csv'), 'w') as f:
        f.write('# Made by tests/scripts/gen_tm_complex.py with GeographicLib '
                'TransverseMercatorProj.\n' + CASES_HEADER)
        f.write(''.join(cases))
    with open(os.path.join(OUT, 'tm_complex_points.csv'), 'w') as f:
        f.write('# case,lon,lat,x,y (metres, y from the origin latitude)\n')
        f.write('\n'.join(points) + '\n')


if __name__ == '__main__':
    main()
