#!/usr/bin/env python3
"""Oracle values for the local tangent-plane system ("Local").

Usage (from the repository root, PROJ's cct on the path):
    python3 tests/scripts/gen_local.py

Writes tests/data/projections/local_cases.csv and local_points.csv in the
layout of case_layout.py. On the sphere, with azimuth 0 and scale 1, the
system is the orthographic view, so the expected values come from
`cct +proj=ortho`. On the ellipsoid they come from the construction itself
evaluated at 40 digits: geodetic to geocentric, the difference from the
centre read along the centre's east and north, turned by the azimuth and
scaled. For azimuth 0 and scale 1 the script prints how far PROJ's
ellipsoidal orthographic is from these values. Points lie within 80 degrees
of the centre, on the centre's side, where the inverse is defined.
"""
import math
import os
import subprocess

import mpmath as mp

from case_layout import CASES_HEADER, OUT, case_row

mp.mp.dps = 40

WGS84 = (6378137.0, 298.257223563)
GRS80 = (6378137.0, 298.257222101)
CLARKE66 = (6378206.4, 294.9786982)
SPHERE = (6371000.0, 0.0)


def cct(proj, pts):
    text = ''.join('%.12f %.12f 0 0\n' % p for p in pts)
    out = subprocess.run(['cct', '-d', '12'] + proj.split(), input=text,
                         capture_output=True, text=True, check=True).stdout
    return [tuple(float(v) for v in line.split()[:2]) for line in out.strip().split('\n')]


def geocentric(a, e2, lon, lat):
    lon, lat = mp.radians(lon), mp.radians(lat)
    n = a / mp.sqrt(1 - e2 * mp.sin(lat) ** 2)
    return (n * mp.cos(lat) * mp.cos(lon), n * mp.cos(lat) * mp.sin(lon),
            n * (1 - e2) * mp.sin(lat))


def local(e, lonc, latc, alpha, k, lon, lat):
    a, rf = mp.mpf(e[0]), e[1]
    f = 1 / mp.mpf(rf) if rf else mp.mpf(0)
    e2 = (2 - f) * f
    x0, y0, z0 = geocentric(a, e2, 0, latc)
    x, y, z = geocentric(a, e2, mp.mpf(lon) - lonc, lat)
    pc, al = mp.radians(latc), mp.radians(alpha)
    east = y - y0
    north = (z - z0) * mp.cos(pc) - (x - x0) * mp.sin(pc)
    return (float(k * (mp.cos(al) * east - mp.sin(al) * north)),
            float(k * (mp.cos(al) * north + mp.sin(al) * east)))


def points(lonc, latc, reach=80.0):
    """A grid about the centre, kept within reach degrees of it."""
    pts = []
    for i in range(9):
        lat = max(-90.0, min(90.0, latc - 80.0 + 20.0 * i))
        for j in range(9):
            lon = lonc - 80.0 + 20.0 * j
            c = (math.sin(math.radians(lat)) * math.sin(math.radians(latc)) +
                 math.cos(math.radians(lat)) * math.cos(math.radians(latc)) *
                 math.cos(math.radians(lon - lonc)))
            if c >= math.cos(math.radians(reach)) and (lon, lat) not in pts:
                pts.append((lon, lat))
    return pts


CASES = [  # name, spheroid, lon_c, lat_c, azimuth, k
    ('local_sph_oblique', SPHERE, -100.0, 40.0, 0.0, 1.0),
    ('local_sph_equatorial', SPHERE, 20.0, 0.0, 0.0, 1.0),
    ('local_sph_south', (6378137.0, 0.0), 140.0, -55.0, 0.0, 1.0),
    ('local_sph_north', SPHERE, 30.0, 90.0, 0.0, 1.0),
    ('local_ell_oblique', WGS84, 10.0, 52.0, 30.0, 0.9996),
    ('local_ell_south', GRS80, -60.0, -35.0, -120.0, 1.0),
    ('local_ell_equatorial', CLARKE66, 100.0, 0.0, 0.0, 1.0),
    ('local_ell_north', WGS84, 0.0, 90.0, 0.0, 1.0),
    ('local_ell_plain', WGS84, 170.0, -20.0, 0.0, 1.0),
]


def main():
    cases, rows = [CASES_HEADER], ['# case,lon,lat,x,y (degrees, metres); see local_cases.csv\n']
    for name, e, lonc, latc, alpha, k in CASES:
        pts = points(lonc, latc)
        slots = {5: k, 7: alpha, 10: lonc, 11: latc}
        if e[1] == 0:
            proj = '+proj=ortho +lat_0=%r +lon_0=%r +R=%r' % (latc, lonc, e[0])
            xy = cct(proj, pts)
        else:
            proj = 'geocentric east/north at 40 digits'
            xy = [local(e, lonc, latc, alpha, k, lon, lat) for lon, lat in pts]
            if alpha == 0 and k == 1:
                ref = cct('+proj=ortho +lat_0=%r +lon_0=%r +a=%r +rf=%r' % (latc, lonc, e[0], e[1]),
                          pts)
                worst = max(max(abs(p[0] - q[0]), abs(p[1] - q[1])) for p, q in zip(xy, ref))
                print('%s: PROJ ellipsoidal ortho within %.3g m' % (name, worst))
        cases.append(case_row(name, 'local', e[0], e[1], slots, proj))
        rows += ['%s,%r,%r,%r,%r\n' % (name, lon, lat, x, y) for (lon, lat), (x, y) in zip(pts, xy)]
    with open(os.path.join(OUT, 'local_cases.csv'), 'w') as f:
        f.writelines(cases)
    with open(os.path.join(OUT, 'local_points.csv'), 'w') as f:
        f.writelines(rows)


if __name__ == '__main__':
    main()
