#!/usr/bin/env python3
"""Oracle values for the equation-based datum shifts.

Usage (from the repository root, PROJ's cct on the path):
    python3 tests/scripts/gen_geogtran.py

Writes tests/data/geogtran/:
  cases.csv   one transformation per row: method, the two spheroids (a,
              inverse flattening, 0 for a sphere), prime meridians (degrees),
              angular units (radians per unit), the EPSG-style parameters
              (metres, arc-seconds, ppm) and the PROJ pipeline used;
  points.csv  case, direction (fwd or inv), input lon, lat (source unit and
              prime meridian), h (metres) and the expected lon, lat, h in the
              target unit and prime meridian.

Every expected value is `cct -d 12` output of an explicit PROJ pipeline:
  Geocentric_Translation  cart, helmert +x +y +z, inv cart
  Coordinate_Frame        cart, helmert +exact +convention=coordinate_frame, inv cart
  Position_Vector         cart, helmert +exact +convention=position_vector, inv cart
                          (PROJ transposes the exact matrix, the library
                          negates its angles: equal to second order only)
  Molodensky_Badekas      cart, helmert translation by -P0, helmert +exact
                          coordinate_frame with translation T + P0, inv cart
  Molodensky(_Abridged)   molodensky [+abridged] on the source spheroid; the
                          inverse direction is the same formula on the target
                          spheroid with negated da, df, dx, dy, dz, which is how
                          the library defines it
  Longitude_Rotation      unit conversion and prime-meridian change only
Source CSs in grads on Paris get unitconvert +xy_in=grad and inv longlat +pm
in front of the pipeline (and the inverse at the end for the target side).
The inverse direction of the Helmert family is `cct -I` of the same pipeline.

For the geocentric methods the pipelines stop at the shifted geocentric
coordinates (cct -d 9, nanometres) and this script converts them to geodetic
coordinates in 40-digit arithmetic (mpmath). PROJ 9.1's inverse +proj=cart
takes the height as p / cos(phi) - N, which amplifies the rounding of phi at
high latitudes: its heights were off by up to 1.04e-6 m (1.6e-7 m at
latitude 77), checked against the same 40-digit conversion. Target CSs in
grads on Paris get the geodetic result through cct (longlat +pm, unitconvert).
"""
import csv
import os
import random
import subprocess

import mpmath as mp

OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'geogtran')

# (a, inverse flattening) from the EPSG ellipsoid table (/work/shared/epsg).
WGS84 = (6378137.0, 298.257223563)
GRS80 = (6378137.0, 298.257222101)
CLARKE66 = (6378206.4, 1.0 / 0.0033900753039287908)
CLARKE80IGN = (6378249.2, 1.0 / 0.003407549520015647)
AIRY = (6377563.396, 299.3249646)
BESSEL = (6377397.155, 299.1528128)

PARIS = 2.337229166666667
DEG = 0.017453292519943295
GRAD = 0.015707963267948967

# name, method, source spheroid, source pm, source unit, target spheroid,
# target pm, target unit, (dx, dy, dz, rx, ry, rz, ds, px, py, pz), region
CASES = [
    # EPSG 1170 NAD27 to WGS 84 (1)
    ('nad27_wgs84', 'Geocentric_Translation', CLARKE66, 0.0, DEG, WGS84, 0.0, DEG,
     (-3.0, 142.0, 183.0, 0, 0, 0, 0, 0, 0, 0), 'world'),
    # EPSG 1024 MGI to ETRS89 (4)
    ('mgi_etrs89_cf', 'Coordinate_Frame', BESSEL, 0.0, DEG, GRS80, 0.0, DEG,
     (601.705, 84.263, 485.227, -4.735399999999995, -1.3144999999999987,
      -5.392999999999994, -2.3887, 0, 0, 0), 'world'),
    # Large made-up rotations: exercises the exact trigonometric matrix.
    ('large_rotation_cf', 'Coordinate_Frame', BESSEL, 0.0, DEG, WGS84, 0.0, DEG,
     (100.0, -50.0, 200.0, 100.0, -250.0, 75.0, 15.0, 0, 0, 0), 'world'),
    # The same through the Bursa_Wolf name.
    ('large_rotation_bw', 'Bursa_Wolf', BESSEL, 0.0, DEG, WGS84, 0.0, DEG,
     (100.0, -50.0, 200.0, 100.0, -250.0, 75.0, 15.0, 0, 0, 0), 'world'),
    # EPSG 1314 OSGB36 to WGS 84 (6)
    ('osgb36_wgs84_pv', 'Position_Vector', AIRY, 0.0, DEG, WGS84, 0.0, DEG,
     (446.448, -125.157, 542.06, 0.14999999999999983, 0.24699999999999972,
      0.8419999999999991, -20.489, 0, 0, 0), 'world'),
    # EPSG 1066 Amersfoort to ETRS89 (2)
    ('amersfoort_etrs89_mb', 'Molodensky_Badekas', BESSEL, 0.0, DEG, GRS80, 0.0, DEG,
     (593.032, 26.0, 478.741, 0.4093943874392368, -0.3597051956143113,
      1.868491000350572, 4.0772, 3903453.148, 368135.313, 5012970.306), 'world'),
    # EPSG 1170 parameters under the two Molodensky methods.
    ('nad27_wgs84_molodensky', 'Molodensky', CLARKE66, 0.0, DEG, WGS84, 0.0, DEG,
     (-3.0, 142.0, 183.0, 0, 0, 0, 0, 0, 0, 0), 'nopole'),
    ('nad27_wgs84_abridged', 'Molodensky_Abridged', CLARKE66, 0.0, DEG, WGS84, 0.0, DEG,
     (-3.0, 142.0, 183.0, 0, 0, 0, 0, 0, 0, 0), 'nopole'),
    # EPSG 1193 NTF to WGS 84 (1), source in grads on Paris (NTF (Paris)).
    ('ntf_paris_wgs84', 'Geocentric_Translation', CLARKE80IGN, PARIS, GRAD, WGS84, 0.0, DEG,
     (-168.0, -60.0, 320.0, 0, 0, 0, 0, 0, 0, 0), 'grads'),
    # EPSG 1763 NTF (Paris) to NTF (1).
    ('ntf_paris_ntf', 'Longitude_Rotation', CLARKE80IGN, PARIS, GRAD, CLARKE80IGN, 0.0, DEG,
     (0, 0, 0, 0, 0, 0, 0, 0, 0, 0), 'grads'),
]


def ell(s):
    return '+a=%.17g +rf=%.17g' % s


def helmert_core(method, p):
    dx, dy, dz, rx, ry, rz, ds, px, py, pz = p
    if method == 'Geocentric_Translation':
        return ['+proj=helmert +x=%.17g +y=%.17g +z=%.17g' % (dx, dy, dz)]
    if method in ('Coordinate_Frame', 'Bursa_Wolf', 'Position_Vector'):
        conv = 'position_vector' if method == 'Position_Vector' else 'coordinate_frame'
        return ['+proj=helmert +exact +convention=%s +x=%.17g +y=%.17g +z=%.17g '
                '+rx=%.17g +ry=%.17g +rz=%.17g +s=%.17g' % (conv, dx, dy, dz, rx, ry, rz, ds)]
    if method == 'Molodensky_Badekas':
        return ['+proj=helmert +x=%.17g +y=%.17g +z=%.17g' % (-px, -py, -pz),
                '+proj=helmert +exact +convention=coordinate_frame +x=%.17g +y=%.17g +z=%.17g '
                '+rx=%.17g +ry=%.17g +rz=%.17g +s=%.17g' % (dx + px, dy + py, dz + pz,
                                                             rx, ry, rz, ds)]
    raise ValueError(method)


def source_steps(sph, pm, unit):
    if unit == DEG and pm == 0.0:
        return []
    steps = []
    if unit == GRAD:
        steps.append('+proj=unitconvert +xy_in=grad +xy_out=rad')
    elif unit != DEG:
        raise ValueError(unit)
    steps.append('+inv +proj=longlat %s +pm=%.17g' % (ell(sph), pm))
    return steps


def geodetic(sph, xyz):
    """Geocentric to geodetic (degrees, metres) in 40-digit arithmetic."""
    with mp.workdps(40):
        a = mp.mpf(sph[0])
        f = 1 / mp.mpf(sph[1])
        e2 = (2 - f) * f
        x, y, z = (mp.mpf(repr(v)) for v in xyz)
        p = mp.sqrt(x * x + y * y)
        lam = mp.atan2(y, x)
        phi = mp.atan2(z, p * (1 - e2))
        for _ in range(60):
            n = a / mp.sqrt(1 - e2 * mp.sin(phi) ** 2)
            phi = mp.atan2(z + e2 * n * mp.sin(phi), p)
        h = p * mp.cos(phi) + z * mp.sin(phi) - a * mp.sqrt(1 - e2 * mp.sin(phi) ** 2)
        deg = 180 / mp.pi
        return (float(lam * deg), float(phi * deg), float(h))


def is_geocentric(method):
    return method not in ('Molodensky', 'Molodensky_Abridged', 'Longitude_Rotation')


def pipeline(case, inverse_molodensky=False):
    name, method, s1, pm1, u1, s2, pm2, u2, p, region = case
    assert pm2 == 0.0 and u2 == DEG
    steps = source_steps(s1, pm1, u1)
    if method in ('Molodensky', 'Molodensky_Abridged'):
        assert not steps
        f1, f2 = 1.0 / s1[1], 1.0 / s2[1]
        src, sgn = (s1, 1.0) if not inverse_molodensky else (s2, -1.0)
        da = sgn * (s2[0] - s1[0])
        df = sgn * (f2 - f1)
        steps.append('+proj=molodensky %s +da=%.17g +df=%.17g +dx=%.17g +dy=%.17g +dz=%.17g%s'
                     % (ell(src), da, df, sgn * p[0], sgn * p[1], sgn * p[2],
                        ' +abridged' if method == 'Molodensky_Abridged' else ''))
    elif method == 'Longitude_Rotation':
        steps.append('+proj=noop')
    else:
        steps.append('+proj=cart %s' % ell(s1))
        steps.extend(helmert_core(method, p))
        steps.append('+inv +proj=cart %s' % ell(s2))
    return steps


def join(steps):
    return '+proj=pipeline ' + ' '.join('+step ' + s for s in steps)


def cct(pipe, points, inverse=False, digits=12, fmt='%.12f %.12f %.6f 0\n'):
    args = ['cct', '-d', str(digits)] + (['-I'] if inverse else []) + pipe.split()
    text = ''.join(fmt % pt for pt in points)
    out = subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout
    rows = [line.split() for line in out.splitlines() if line.strip()]
    assert len(rows) == len(points), (pipe, out)
    return [tuple(float(v) for v in r[:3]) for r in rows]


def points_for(region, rng, count):
    pts = []
    for _ in range(count):
        if region == 'grads':
            # NTF (Paris) in grads: longitudes and latitudes of the whole
            # world, most of them within France.
            if len(pts) % 2 == 0:
                lon, lat = rng.uniform(-6.0, 8.0), rng.uniform(45.5, 56.5)
            else:
                lon, lat = rng.uniform(-200.0, 200.0), rng.uniform(-99.0, 99.0)
        else:
            lat_max = 89.0 if region == 'nopole' else 90.0
            lon, lat = rng.uniform(-180.0, 180.0), rng.uniform(-lat_max, lat_max)
        pts.append((lon, lat, rng.uniform(-500.0, 10000.0)))
    if region == 'world':
        pts += [(0.0, 0.0, 0.0), (180.0, 0.0, 0.0), (-180.0, 45.0, 100.0), (45.0, 90.0, 0.0),
                (-120.0, -90.0, 2500.0), (179.9999, -0.0001, 5.0), (0.0, 89.999, 0.0)]
    return pts


def main():
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(20261206)
    cases_path = os.path.join(OUT, 'cases.csv')
    points_path = os.path.join(OUT, 'points.csv')
    with open(cases_path, 'w', newline='') as fc, open(points_path, 'w', newline='') as fp:
        wc, wp = csv.writer(fc), csv.writer(fp)
        wc.writerow(['case', 'method', 'a1', 'rf1', 'pm1_deg', 'unit1_rad', 'a2', 'rf2',
                     'pm2_deg', 'unit2_rad', 'dx', 'dy', 'dz', 'rx', 'ry', 'rz', 'ds', 'px',
                     'py', 'pz', 'pipeline'])
        wp.writerow(['case', 'dir', 'lon', 'lat', 'h', 'lon2', 'lat2', 'h2'])
        for case in CASES:
            name, method, s1, pm1, u1, s2, pm2, u2, p, region = case
            steps = pipeline(case)
            pipe = join(steps)
            wc.writerow([name, method, repr(s1[0]), repr(s1[1]), repr(pm1), repr(u1),
                         repr(s2[0]), repr(s2[1]), repr(pm2), repr(u2)] +
                        [repr(float(v)) for v in p] + [pipe])
            fwd_in = points_for(region, rng, 40)
            if is_geocentric(method):
                # All steps but the final inv cart: geocentric on the target.
                fwd_out = [geodetic(s2, v) for v in cct(join(steps[:-1]), fwd_in, digits=9)]
            else:
                fwd_out = cct(pipe, fwd_in)
            # Inverse: target-side points of the same spread.
            inv_in = [(lo, la, h) for lo, la, h in points_for(
                'nopole' if region == 'nopole' else 'world', rng, 40)]
            if region == 'grads':
                inv_in = [(rng.uniform(-180.0, 180.0), rng.uniform(-89.0, 89.0),
                           rng.uniform(-500.0, 10000.0)) for _ in range(40)]
            if method in ('Molodensky', 'Molodensky_Abridged'):
                inv_out = cct(join(pipeline(case, inverse_molodensky=True)), inv_in)
            elif is_geocentric(method):
                # Inverse of all steps after the source cart: geocentric on
                # the source spheroid, then to the source CS.
                first = steps.index('+proj=cart %s' % ell(s1))
                xyz = cct(join(steps[first + 1:]), inv_in, inverse=True, digits=9)
                inv_out = [geodetic(s1, v) for v in xyz]
                if first > 0:
                    inv_out = cct(join(steps[:first]), inv_out, inverse=True,
                                  fmt='%.15f %.15f %.12f 0\n')
            else:
                inv_out = cct(pipe, inv_in, inverse=True)
            for d, ins, outs in (('fwd', fwd_in, fwd_out), ('inv', inv_in, inv_out)):
                for (lo, la, h), (lo2, la2, h2) in zip(ins, outs):
                    wp.writerow([name, d, '%.12f' % lo, '%.12f' % la, '%.6f' % h,
                                 '%.12f' % lo2, '%.12f' % la2, '%.12f' % h2])


if __name__ == '__main__':
    main()
