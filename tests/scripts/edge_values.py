#!/usr/bin/env python3
"""Closed-form values quoted in tests/data/projections/edge_cases.csv
(mpmath, 30 digits); prints each with the row it belongs to."""
from mpmath import mp, mpf, pi, sin, cos, sqrt, log, asin, acos, quad, degrees

def radians(x): return mpf(x) * pi / 180
mp.dps = 30
WGS_A, WGS_F = mpf(6378137), 1 / mpf('298.257223563')
GRS_F = 1 / mpf('298.257222101')
def e2of(f): return (2 - f) * f
def arc(a, e2, phi):  # meridian arc from the equator
    return quad(lambda t: a * (1 - e2) / (1 - e2 * sin(t) ** 2) ** 1.5, [0, phi])
def q(e2, phi):  # authalic q
    e = sqrt(e2); s = sin(phi)
    return (1 - e2) * (s / (1 - e2 * s * s) - log((1 - e * s) / (1 + e * s)) / (2 * e))
out = {}
out['mercator 10 deg'] = WGS_A * radians(10)
out['mercator sphere phi1 60, 0.5 rad'] = 6371000 * cos(radians(60)) * mpf('0.5')
# Albers apex on the sphere: rho0 = a sqrt(C - 2 n sin phi0) / n
p1, p2, p0 = radians('29.5'), radians('45.5'), radians(23)
n = (sin(p1) + sin(p2)) / 2; C = cos(p1) ** 2 + 2 * n * sin(p1)
out['albers sphere rho0'] = 6371000 * sqrt(C - 2 * n * sin(p0)) / n
# and on GRS 80 (authalic q)
e2 = e2of(GRS_F); a = WGS_A
m = lambda p: cos(p) / sqrt(1 - e2 * sin(p) ** 2)
n = (m(p1) ** 2 - m(p2) ** 2) / (q(e2, p2) - q(e2, p1)); C = m(p1) ** 2 + n * q(e2, p1)
out['albers grs80 rho0'] = a * sqrt(C - n * q(e2, p0)) / n
out['orthographic 89.9999427'] = 6371000 * sin(radians('89.9999427'))
# two-point equidistant, sphere, P1 (10, 20), P2 (40, 30)
def gc(l1, f1, l2, f2):
    l1, f1, l2, f2 = map(radians, (l1, f1, l2, f2))
    return acos(sin(f1) * sin(f2) + cos(f1) * cos(f2) * cos(l2 - l1))
z0 = gc(10, 20, 40, 30) * 6371000
out['tpeqd z0/2'] = z0 / 2
for pt in ((20, 40), (30, 10)):
    z1, z2 = gc(10, 20, *pt) * 6371000, gc(40, 30, *pt) * 6371000
    x = (z1 ** 2 - z2 ** 2) / (2 * z0)
    out['tpeqd %s |y|' % (pt,)] = sqrt(z1 ** 2 - (x + z0 / 2) ** 2)
    out['tpeqd %s x' % (pt,)] = x
# Times: (a + b) / 2 and its pole row 1.70710678 R
b = WGS_A * (1 - WGS_F); rt = (WGS_A + b) / 2
out['times c3'] = mpf('1.7071067811865475') * rt
out['times 4rt'] = 4 * rt
# Winkel Tripel rim on the equator, phi1 50.467
out['winkel rim 1.01'] = -mpf('1.01') * pi / 2 * WGS_A * (1 + cos(radians('50.467')))
# Robinson: authalic radius of WGS 84
e2 = e2of(WGS_F); e = sqrt(e2)
R = WGS_A * sqrt(q(e2, pi / 2) / 2)
cx, cy = mpf('0.8487') * R, mpf('0.8487') * mpf('0.5072') * pi * R
out['robinson cx'] = cx; out['robinson cy'] = cy; out['robinson -2*0.5322 cx'] = -2 * mpf('0.5322') * cx
out['robinson 1.01 cy'] = mpf('1.01') * cy; out['robinson -2 cy'] = -2 * cy
out['mollweide sqrt2 a'] = sqrt(2) * WGS_A
k = 2 / sqrt(pi * (4 + pi))
out['eckert iv pole x'] = k * WGS_A * pi
out['eckert iv pole y'] = 2 * sqrt(pi / (4 + pi)) * WGS_A
out['eckert iv equator x'] = 2 * k * WGS_A * pi
# the spherical transverse Mercator's clamp: B = 1 - 2^-48
B = 1 - mpf(2) ** -48
out['tm sphere clamp x'] = 6371000 / mpf(2) * log((1 + B) / (1 - B))
out['tm wgs84 quarter meridian k0 0.9996'] = mpf('0.9996') * arc(WGS_A, e2, pi / 2)
clarke_a, clarke_f = mpf('6378206.4'), 1 / mpf('294.9786982')
out['cassini clarke quarter meridian'] = arc(clarke_a, e2of(clarke_f), pi / 2)
out['tm complex 30 40 x'] = mpf('0.9996') * mpf('2577965.736205')
out['sinusoidal wgs84 quarter meridian'] = arc(WGS_A, e2, pi / 2)
# Behrmann (phi1 30): the pole line y = a qp / (2 k0)
k0 = cos(radians(30)) / sqrt(1 - e2 * sin(radians(30)) ** 2)
out['behrmann pole y'] = WGS_A * q(e2, pi / 2) / (2 * k0)
out['polyconic 25: a 40 deg'] = WGS_A * radians(40)
out['polyconic 25: -M0'] = -arc(WGS_A, e2, radians(25))
out['plate carree 3a'] = 3 * WGS_A
# the oblique Mercator's gamma0 at (115, 4), alpha_c 53.31582047222222, WGS 84
pc, ac = radians(4), radians('53.31582047222222')
Bh = sqrt(1 + e2 * cos(pc) ** 4 / (1 - e2))
D = Bh * sqrt(1 - e2) / (cos(pc) * sqrt(1 - e2 * sin(pc) ** 2))
out['rso gamma0 deg'] = degrees(asin(sin(ac) / D))
# Lambert azimuthal equal-area: the opposite pole's circle, rho = 2a (sphere)
# and a sqrt(2 qp) (WGS 84)
out['laea sphere 2a'] = 2 * mpf(6371000)
out['laea wgs84 a sqrt(2 qp)'] = WGS_A * sqrt(2 * q(e2, pi / 2))
# azimuthal equidistant: 30 degrees along a meridian (sphere), the equator
# from the north pole (WGS 84 quarter meridian)
out['aeqd sphere a 30 deg'] = 6371000 * radians(30)
out['aeqd wgs84 Mp'] = arc(WGS_A, e2, pi / 2)
# vertical perspective, sphere, h = a: rho_max = a sqrt((P - 1)/(P + 1)), P = 2
out['nsper rho_max h = a'] = 6371000 / sqrt(3)
for k, v in out.items():
    print('%-40s %s' % (k, mp.nstr(v, 17)))
