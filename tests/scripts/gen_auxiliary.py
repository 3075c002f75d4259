#!/usr/bin/env python3
"""Reference values of the auxiliary latitudes and the meridian arc.

Computed once with mpmath at 40 significant digits from the exact closed forms
and integrals (not from the truncated series the library uses):
  conformal  chi  = atan(sinh(asinh(tan phi) - e atanh(e sin phi)))
  authalic   beta = asin(q(phi)/q(pi/2)),
             q(phi) = (1-e2) (sin phi/(1-e2 sin^2 phi) + atanh(e sin phi)/e)
  rectifying mu   = pi/2 M(phi)/M(pi/2)
  meridian   M(phi) = a (1-e2) int_0^phi (1 - e2 sin^2 t)^(-3/2) dt
  reduced    eta  = atan(sqrt(1-e2) tan phi)
  geocentric phig = atan((1-e2) tan phi)
  authalic radius R = a sqrt(q(pi/2)/2)

Output: tests/data/math/auxiliary.csv, one row per (ellipsoid, phi), and
tests/data/math/auxiliary_radius.csv.
Usage: python3 tests/scripts/gen_auxiliary.py  (from the repository root)
"""
import os
import random

import mpmath as mp

mp.mp.dps = 40

ELLIPSOIDS = [
    # name, a, inverse flattening
    ("WGS84", "6378137", "298.257223563"),
    ("Clarke1866", "6378206.4", "294.978698213898"),
]


def ellipsoid(a, rf):
    a = mp.mpf(a)
    f = 1 / mp.mpf(rf)
    e2 = f * (2 - f)
    # the library receives e2 as a double: use exactly that value
    e2 = mp.mpf(float(e2))
    return a, e2


def q_of(e2, phi):
    e = mp.sqrt(e2)
    s = mp.sin(phi)
    return (1 - e2) * (s / (1 - e2 * s * s) + mp.atanh(e * s) / e)


def meridian(a, e2, phi):
    return a * (1 - e2) * mp.quad(lambda t: (1 - e2 * mp.sin(t) ** 2) ** mp.mpf(-1.5), [0, phi])


def row(a, e2, phi):
    e = mp.sqrt(e2)
    chi = mp.atan(mp.sinh(mp.asinh(mp.tan(phi)) - e * mp.atanh(e * mp.sin(phi))))
    qp = q_of(e2, mp.pi / 2)
    beta = mp.asin(q_of(e2, phi) / qp)
    m = meridian(a, e2, phi)
    mu = mp.pi / 2 * m / meridian(a, e2, mp.pi / 2)
    eta = mp.atan(mp.sqrt(1 - e2) * mp.tan(phi))
    phig = mp.atan((1 - e2) * mp.tan(phi))
    return chi, beta, mu, eta, phig, m


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "math")
    rng = random.Random(20260306)
    lats = [k * 0.5 for k in range(0, 180)]  # degrees, 0 .. 89.5
    lats += [89.9, 89.99, 89.999999, 1e-6, 0.001]
    lats += [rng.uniform(0, 90) for _ in range(60)]
    with open(os.path.join(root, "auxiliary.csv"), "w") as out:
        out.write("# ellipsoid,a,e2,phi,chi,beta,mu,eta,phig,meridian_arc (radians, metres); mpmath 40 digits\n")
        for name, a_s, rf in ELLIPSOIDS:
            a, e2 = ellipsoid(a_s, rf)
            for deg in lats:
                for sign in (1, -1):
                    if deg == 0 and sign < 0:
                        continue
                    phi = mp.mpf(float(sign * mp.radians(deg)))  # the double the test passes
                    vals = row(a, e2, phi)
                    out.write(",".join([name, a_s, mp.nstr(e2, 20), repr(float(phi))] +
                                       [mp.nstr(v, 20) for v in vals]) + "\n")
    with open(os.path.join(root, "auxiliary_radius.csv"), "w") as out:
        out.write("# ellipsoid,a,e2,authalic_radius,quarter_meridian (metres); mpmath 40 digits\n")
        for name, a_s, rf in ELLIPSOIDS:
            a, e2 = ellipsoid(a_s, rf)
            r = a * mp.sqrt(q_of(e2, mp.pi / 2) / 2)
            out.write(",".join([name, a_s, mp.nstr(e2, 20), mp.nstr(r, 20),
                                mp.nstr(meridian(a, e2, mp.pi / 2), 20)]) + "\n")


if __name__ == "__main__":
    main()
