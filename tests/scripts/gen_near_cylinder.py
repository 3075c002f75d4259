#!/usr/bin/env python3
"""Conics next to their cylindrical limit, evaluated to 40 digits.

Usage (from the repository root; needs mpmath):
    python3 tests/scripts/gen_near_cylinder.py

Writes tests/data/projections/near_cylinder_cases.csv (the layout of
case_layout.py) and near_cylinder_points.csv: lon, lat (degrees) and x, y
(metres) of the equidistant
conic (Snyder 16-1..16-5), the Lambert conformal conic (15-1..15-10, t by
3-1 exact) and Albers (14-1..14-6, q by 3-12 exact) with the cone constant n
next to 0, computed with mpmath at 40 significant digits; on the ellipsoid
the meridian arcs by mpmath.quad. The peer library rejects such cones
(|n| < 1e-10) or loses metres to the difference of two radii of about a/n,
so no oracle covers them.
"""
import os

import mpmath as mp

from case_layout import CASES_HEADER, OUT, case_row

mp.mp.dps = 40


def arc(a, e2, phi):
    if e2 == 0:
        return a * phi
    return a * (1 - e2) * mp.quad(lambda p: (1 - e2 * mp.sin(p) ** 2) ** mp.mpf(-1.5), [0, phi])


def cone(proj, e, lon0, p1, p2, p0, lon, lat):
    a, rf = mp.mpf(e[0]), e[1]
    f = 1 / mp.mpf(rf) if rf else mp.mpf(0)
    e2 = (2 - f) * f
    ec = mp.sqrt(e2)
    r = lambda d: mp.radians(mp.mpf(d))
    p1, p2, p0, lat, dl = r(p1), r(p2), r(p0), r(lat), r(lon - lon0)
    m = lambda p: mp.cos(p) / mp.sqrt(1 - e2 * mp.sin(p) ** 2)
    if proj == 'equidistant_conic':
        M1, M2, M0, M = arc(a, e2, p1), arc(a, e2, p2), arc(a, e2, p0), arc(a, e2, lat)
        n = mp.sin(p1) if p1 == p2 else a * (m(p1) - m(p2)) / (M2 - M1)
        G = M1 / a + m(p1) / n
        rho0, rho = a * G - M0, a * G - M
    elif proj == 'lcc':
        def t(p):
            s = mp.sin(p)
            return mp.tan(mp.pi / 4 - p / 2) / ((1 - ec * s) / (1 + ec * s)) ** (ec / 2)
        n = mp.sin(p1) if p1 == p2 else mp.log(m(p1) / m(p2)) / mp.log(t(p1) / t(p2))
        F = m(p1) / (n * t(p1) ** n)
        rho0, rho = a * F * t(p0) ** n, a * F * t(lat) ** n
    else:
        def q(p):
            s = mp.sin(p)
            if e2 == 0:
                return 2 * s
            return (1 - e2) * (s / (1 - e2 * s * s) - mp.log((1 - ec * s) / (1 + ec * s)) / (2 * ec))
        n = mp.sin(p1) if p1 == p2 else (m(p1) ** 2 - m(p2) ** 2) / (q(p2) - q(p1))
        C = m(p1) ** 2 + n * q(p1)
        rho0, rho = a * mp.sqrt(C - n * q(p0)) / n, a * mp.sqrt(C - n * q(lat)) / n
    th = n * dl
    return rho * mp.sin(th), rho0 - rho * mp.cos(th)


SHORT = {'equidistant_conic': 'eqdc', 'lcc': 'lcc', 'albers': 'aea'}
cases = ['# Made by tests/scripts/gen_near_cylinder.py (mpmath, 40 digits).\n', CASES_HEADER]
rows = ['# case,lon,lat,x,y (degrees, metres)\n']
for proj in ('equidistant_conic', 'lcc', 'albers'):
    for e in ((6371000.0, 0.0), (6378137.0, 298.257222101)):
        for p1, p2, p0 in ((1e-9, 1e-9, 0.0), (1e-7, 1e-7, 10.0), (1e-5, 1e-5, -20.0),
                           (20.0, -19.9999999, 5.0), (-1e-8, -1e-8, 0.0)):
            name = 'nc_%s_%d' % (SHORT[proj], len(cases) - 2)
            cases.append(case_row(name, proj, e[0], e[1], {2: -5.0, 3: p1, 4: p2, 6: p0},
                                  'mpmath 40 digits'))
            for lon, lat in ((10.0, 45.0), (-120.0, -60.0), (175.0, 80.0), (-3.0, 0.0)):
                x, y = cone(proj, e, -5.0, p1, p2, p0, lon - 5.0, lat)
                rows.append('%s,%r,%r,%s,%s\n' % (name, lon - 5.0, lat, mp.nstr(x, 20),
                                                  mp.nstr(y, 20)))
with open(os.path.join(OUT, 'near_cylinder_cases.csv'), 'w') as f:
    f.write(''.join(cases))
with open(os.path.join(OUT, 'near_cylinder_points.csv'), 'w') as f:
    f.write(''.join(rows))
print('%d points' % (len(rows) - 1))
