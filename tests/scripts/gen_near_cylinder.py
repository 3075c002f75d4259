#!/usr/bin/env python3
"""Equidistant conics next to their cylindrical limit, evaluated to 40 digits.

Usage (from the repository root; needs mpmath):
    python3 tests/scripts/gen_near_cylinder.py

Writes tests/data/projections/near_cylinder.csv: a, rf, lon0, phi1, phi2,
phi0, lon, lat (degrees) and x, y (metres) of the equidistant conic (Snyder
16-1..16-5) with the cone constant n next to 0, computed with mpmath at 40
significant digits; on the ellipsoid the meridian arcs by mpmath.quad. The
peer library rejects such cones (|n| < 1e-10) or loses metres to the
difference of two radii of about a/n, so no oracle covers them.
"""
import os

import mpmath as mp

mp.mp.dps = 40
OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'projections', 'near_cylinder.csv')


def arc(a, e2, phi):
    if e2 == 0:
        return a * phi
    return a * (1 - e2) * mp.quad(lambda p: (1 - e2 * mp.sin(p) ** 2) ** mp.mpf(-1.5), [0, phi])


def eqdc(e, lon0, p1, p2, p0, lon, lat):
    a, rf = mp.mpf(e[0]), e[1]
    f = 1 / mp.mpf(rf) if rf else mp.mpf(0)
    e2 = (2 - f) * f
    r = lambda d: mp.radians(mp.mpf(d))
    p1, p2, p0, lat, dl = r(p1), r(p2), r(p0), r(lat), r(lon - lon0)
    m = lambda p: mp.cos(p) / mp.sqrt(1 - e2 * mp.sin(p) ** 2)
    M1, M2, M0, M = arc(a, e2, p1), arc(a, e2, p2), arc(a, e2, p0), arc(a, e2, lat)
    n = mp.sin(p1) if p1 == p2 else a * (m(p1) - m(p2)) / (M2 - M1)
    G = M1 / a + m(p1) / n
    rho0, rho = a * G - M0, a * G - M
    th = n * dl
    return rho * mp.sin(th), rho0 - rho * mp.cos(th)


rows = ['# Made by tests/scripts/gen_near_cylinder.py (mpmath, 40 digits).',
        '# a,rf,lon0,phi1,phi2,phi0,lon,lat,x,y (degrees, metres)']
for e in ((6371000.0, 0.0), (6378137.0, 298.257222101)):
    for p1, p2, p0 in ((1e-9, 1e-9, 0.0), (1e-7, 1e-7, 10.0), (1e-5, 1e-5, -20.0),
                       (20.0, -19.9999999, 5.0), (-1e-8, -1e-8, 0.0)):
        for lon, lat in ((10.0, 45.0), (-120.0, -60.0), (175.0, 80.0), (-3.0, 0.0)):
            x, y = eqdc(e, -5.0, p1, p2, p0, lon - 5.0, lat)
            rows.append('%r,%r,-5.0,%r,%r,%r,%r,%r,%s,%s' % (
                e[0], e[1], p1, p2, p0, lon - 5.0, lat, mp.nstr(x, 20), mp.nstr(y, 20)))
with open(OUT, 'w') as f:
    f.write('\n'.join(rows) + '\n')
print('%d points' % (len(rows) - 2))
