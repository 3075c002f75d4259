#!/usr/bin/env python3
"""Oracle values for the transverse Mercator (Gauss-Kruger) and Cassini tests.

Usage (from the repository root, GeographicLib's TransverseMercatorProj and
PROJ's cct on the path; EPSG_DIR and REFERENCE name the EPSG extract and the
reference points):
    python3 tests/scripts/gen_tm_oracle.py EPSG_DIR REFERENCE_CSV

Writes tests/data/projections/:
  tm_cases.csv   name, function, a, 1/f (0: sphere), lon0, lat0 (degrees),
                 k0, and the oracle command of the expected values;
  tm_points.csv  name, lon, lat (degrees), expected x, y (metres, without
                 false easting/northing), and the oracle's inverse of x, y
                 (degrees; lon, lat again for the exact projection);
  tm_epsg.csv    the reference points of the EPSG CRSs whose method is
                 Transverse Mercator (9807) or Cassini-Soldner (9806), with
                 their parameters, in the columns of epsg_points.csv.

Oracles: the exact ellipsoidal transverse Mercator of GeographicLib
(`TransverseMercatorProj -t`, y shifted by the northing of the origin, since
it has no latitude of origin); PROJ's Evenden/Snyder series
(`+proj=tmerc +approx`, a shorter series than the library's); PROJ's
spherical transverse Mercator (the same closed form as the library's); and
PROJ's Cassini (`+proj=cass`, the same series as the library's).
"""
import csv
import math
import os
import subprocess
import sys

from case_layout import CASES_HEADER, case_row

OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'projections')

WGS84 = (6378137.0, 298.257223563)
GRS80 = (6378137.0, 298.257222101)
AIRY = (6377563.396, 299.3249646)
KRASSOWSKY = (6378245.0, 298.3)
CLARKE66 = (6378206.4, 294.9786982)
BESSEL = (6377397.155, 299.1528128)
SPHERE = (6371000.0, 0.0)
SPHERE_A = (6378137.0, 0.0)

# Offsets from the central meridian; the exact-TM comparison buckets by them.
DLON_TM = [-10.0, -8.0, -6.0, -5.0, -3.5, -3.0, -2.0, -1.0, -0.5, 0.0, 0.25, 1.5, 2.5, 3.5,
           4.5, 6.0, 8.0, 10.0]
LATS_TM = [-84.0, -80.0, -60.0, -45.0, -30.0, -10.0, -1.0, 0.0, 0.5, 15.0, 30.0, 45.0, 52.0,
           60.0, 75.0, 84.0, 89.0, 90.0]
DLON_SPHERE = [-179.0, -135.0, -91.0, -60.0, -30.0, -10.0, -3.0, 0.0, 2.0, 15.0, 45.0, 89.0,
               120.0, 170.0, 180.0]
LATS_SPHERE = [-90.0, -85.0, -60.0, -30.0, -5.0, 0.0, 5.0, 30.0, 45.0, 60.0, 85.0, 89.9]
DLON_CASS = [-5.0, -4.0, -3.0, -2.0, -1.0, -0.5, 0.0, 0.3, 1.0, 2.0, 3.0, 4.0, 5.0]
LATS_CASS = [-80.0, -60.0, -45.0, -30.0, -10.0, 0.0, 10.0, 30.0, 45.0, 52.5, 60.0, 80.0]


def grid(lon0, dlons, lats):
    return [(round(lon0 + d, 9), lat) for lat in lats for d in dlons]


def ellps(e):
    a, rf = e
    return '+a=%r +rf=%r' % (a, rf) if rf else '+R=%r' % a


def cct(proj, pts, inverse=False):
    text = ''.join('%.12f %.12f 0 0\n' % p for p in pts)
    out = subprocess.run(['cct', '-d', '12'] + (['-I'] if inverse else []) + proj.split(),
                         input=text,
                         capture_output=True, text=True, check=True).stdout
    rows = [l.split() for l in out.splitlines() if l and not l.startswith('#')]
    assert len(rows) == len(pts)
    return [(float(r[0]), float(r[1])) for r in rows]


def tm_exact(e, lon0, k0, pts):
    a, rf = e
    cmd = ['TransverseMercatorProj', '-t', '-l', repr(lon0), '-k', repr(k0),
           '-e', repr(a), '1/%r' % rf, '-p', '9']
    text = ''.join('%.12f %.12f\n' % (lat, lon) for lon, lat in pts)
    out = subprocess.run(cmd, input=text, capture_output=True, text=True, check=True).stdout
    rows = [l.split() for l in out.splitlines() if l.strip()]
    assert len(rows) == len(pts)
    return [(float(r[0]), float(r[1])) for r in rows], ' '.join(cmd)


CASES = []
POINTS = []


def add(name, fn, e, lon0, lat0, k0, oracle, pts, xy, back, dy=0.0):
    """back: the oracle's inverse of each (x, y), or None for an exact oracle."""
    CASES.append((name, fn, e[0], e[1], lon0, lat0, k0, oracle))
    for i, ((lon, lat), (x, y)) in enumerate(zip(pts, xy)):
        if math.isfinite(x) and math.isfinite(y) and abs(x) < 1e30 and abs(y) < 1e30:
            ilon, ilat = back[i] if back else (lon, lat)
            POINTS.append((name, lon, lat, '%.9f' % x, '%.9f' % (y - dy),
                           '%.12f' % ilon, '%.12f' % ilat))


def exact_case(name, e, lon0, lat0, k0):
    pts = grid(lon0, DLON_TM, LATS_TM)
    xy, cmd = tm_exact(e, lon0, k0, pts)
    dy = tm_exact(e, lon0, k0, [(lon0, lat0)])[0][0][1]
    add(name, 'gauss_kruger', e, lon0, lat0, k0, cmd + ' (y - %r)' % dy, pts, xy, None, dy)


def proj_case(name, fn, e, lon0, lat0, k0, proj, pts):
    if fn == 'cassini':
        # PROJ's Cassini has no scale factor: both coordinates scaled here.
        full = '%s %s +lon_0=%r +lat_0=%r' % (proj, ellps(e), lon0, lat0)
        unscaled = cct(full, pts)
        xy = [(k0 * x, k0 * y) for x, y in unscaled]
        add(name, fn, e, lon0, lat0, k0, full + ' (x and y times %r)' % k0, pts, xy,
            cct(full, unscaled, inverse=True))
        return
    full = '%s %s +lon_0=%r +lat_0=%r +k_0=%r' % (proj, ellps(e), lon0, lat0, k0)
    xy = cct(full, pts)
    add(name, fn, e, lon0, lat0, k0, full, pts, xy, cct(full, xy, inverse=True))


def main():
    epsg_dir, reference = sys.argv[1], sys.argv[2]
    # Ellipsoid against the exact projection: UTM, British, Gauss-Kruger,
    # southern hemisphere, origins off the equator, a scale of 1.
    exact_case('tm_utm33', WGS84, 15.0, 0.0, 0.9996)
    exact_case('tm_bng', AIRY, -2.0, 49.0, 0.9996012717)
    exact_case('tm_gk', KRASSOWSKY, 21.0, 0.0, 1.0)
    exact_case('tm_south', GRS80, 147.0, -37.5, 0.9999)
    exact_case('tm_clarke', CLARKE66, -110.1666666666667, 31.0, 0.9999)
    exact_case('tm_bessel', BESSEL, 10.3333333333333, 55.0, 1.0)
    # PROJ's shorter series, near the central meridian only.
    near = grid(0.0, [-3.0, -1.5, 0.0, 0.5, 2.0, 3.0], LATS_TM[:-2])
    proj_case('tm_approx_utm', 'gauss_kruger', WGS84, 9.0, 0.0, 0.9996, '+proj=tmerc +approx',
              [(lon + 9.0, lat) for lon, lat in near])
    proj_case('tm_approx_gk', 'gauss_kruger', KRASSOWSKY, 39.0, 20.0, 1.0, '+proj=tmerc +approx',
              [(lon + 39.0, lat) for lon, lat in near])
    # Sphere over the whole globe (PROJ uses the same closed form).
    proj_case('tm_sphere', 'gauss_kruger', SPHERE, 0.0, 0.0, 1.0, '+proj=tmerc',
              grid(0.0, DLON_SPHERE, LATS_SPHERE))
    proj_case('tm_sphere_origin', 'gauss_kruger', SPHERE_A, -75.0, 40.0, 0.9996, '+proj=tmerc',
              grid(-75.0, DLON_SPHERE, LATS_SPHERE))
    # Cassini, ellipsoid within 5 degrees of the central meridian, sphere everywhere.
    proj_case('cass_soldner', 'cassini', BESSEL, 13.627203611111, 52.418648277778, 1.0,
              '+proj=cass', grid(13.627203611111, DLON_CASS, LATS_CASS))
    proj_case('cass_trinidad', 'cassini', CLARKE66, -61.3333333333333, 10.4416666666667, 1.0,
              '+proj=cass', grid(-61.3333333333333, DLON_CASS, LATS_CASS))
    proj_case('cass_south_k', 'cassini', GRS80, 150.0, -33.0, 0.5, '+proj=cass',
              grid(150.0, DLON_CASS, LATS_CASS))
    proj_case('cass_sphere', 'cassini', SPHERE, 20.0, 0.0, 1.0, '+proj=cass',
              grid(20.0, DLON_SPHERE, LATS_SPHERE))
    proj_case('cass_sphere_origin', 'cassini', SPHERE_A, -100.0, -45.0, 0.9999, '+proj=cass',
              grid(-100.0, DLON_SPHERE, LATS_SPHERE))

    with open(os.path.join(OUT, 'tm_cases.csv'), 'w', newline='') as f:
        f.write('# Made by tests/scripts/gen_tm_oracle.py; GeographicLib %s, %s.\n' % (
            subprocess.run(['TransverseMercatorProj', '--version'], capture_output=True,
                           text=True).stdout.split()[-1],
            subprocess.run(['cct', '--version'], capture_output=True,
                           text=True).stdout.strip().split(',')[0]))
        f.write(CASES_HEADER)
        f.write("# tm_points.csv adds ilon, ilat: the oracle's inverse of x, y.\n")
        for name, fn, a, rf, lon0, lat0, k0, oracle in CASES:
            f.write(case_row(name, fn, a, rf, {2: lon0, 5: k0, 6: lat0}, oracle))
    with open(os.path.join(OUT, 'tm_points.csv'), 'w', newline='') as f:
        f.write('# name,lon,lat,x,y,ilon,ilat (degrees, metres; x, y the oracle\'s forward of\n'
                '# lon, lat; ilon, ilat its inverse of x, y); see tm_cases.csv\n')
        for r in POINTS:
            f.write('%s,%r,%r,%s,%s,%s,%s\n' % r)

    def table(name):
        with open(os.path.join(epsg_dir, name), newline='') as f:
            return {r['code']: r for r in csv.DictReader(f)}
    pcs, gcs, datums = table('projected_crs.csv'), table('geographic_crs.csv'), table('datums.csv')
    ellipsoids, units = table('ellipsoids.csv'), table('units.csv')
    angular = {'9102': math.pi / 180, '9122': math.pi / 180, '9105': math.pi / 200}
    with open(reference, newline='') as f, open(os.path.join(OUT, 'tm_epsg.csv'), 'w') as out:
        out.write('# EPSG reference points (projected_crs_points.csv) of the methods 9806, 9807,\n'
                  '# joined with the EPSG v10.076 parameters by tests/scripts/gen_tm_oracle.py;\n'
                  '# columns as in epsg_points.csv (phi1, phi2 unused).\n')
        out.write('# code,method,a,f,lin,ang,fe,fn,lam0,phi1,phi2,k0,phi0,lon,lat,easting,northing\n')
        for r in csv.DictReader(f):
            m = r['method_code']
            if m not in ('9806', '9807'):
                continue
            p = pcs[r['code']]
            par = {p['p%d_code' % i]: float(p['p%d_value_normalised' % i])
                   for i in range(1, 8) if p['p%d_code' % i]}
            el = ellipsoids[datums[gcs[p['geographic_crs_code']]['datum_code']]['ellipsoid_code']]
            out.write('%s,%s,%r,%r,%r,%r,%r,%r,%r,0.0,0.0,%r,%r,%s,%s,%s,%s\n' % (
                r['code'], m, float(el['semi_major_axis_m']), float(el['flattening'] or 0.0),
                float(units[p['linear_unit_code']]['factor_to_si']),
                angular[r['geographic_unit_code']], par['8806'], par['8807'], par['8802'],
                par.get('8805', 1.0), par['8801'], r['lon'], r['lat'], r['easting'],
                r['northing']))


if __name__ == '__main__':
    main()
