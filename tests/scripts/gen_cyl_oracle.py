#!/usr/bin/env python3
"""Oracle values for the simple cylindrical, sinusoidal, Bonne and polyconic tests.

Usage (from the repository root, PROJ's cct on the path; EPSG_DIR and
REFERENCE name the EPSG extract and the reference points):
    python3 tests/scripts/gen_cyl_oracle.py EPSG_DIR REFERENCE_CSV

Writes tests/data/projections/:
  cyl_cases.csv   the cases in the layout of case_layout.py, with the PROJ
                  string of the expected values;
  cyl_points.csv  name, lon, lat (degrees), expected x, y (metres, without
                  false easting/northing), from `cct -d 12`; and, as the
                  sinu_meridian_* cases, points on the central meridian of the
                  ellipsoidal sinusoidal, whose y is the meridian distance by
                  GeographicLib's `GeodSolve -i -p 9`;
  cyl_epsg.csv    the reference points of the EPSG CRSs whose method is
                  American Polyconic (9818), in the columns of epsg_points.csv.

Every expected value comes from PROJ with explicit +proj parameters. The
spherical projections (plate carree, equidistant cylindrical, Miller, Gall)
use the sphere of radius a: PROJ does the same for those four.
"""
import csv
import os
import subprocess
import sys

from case_layout import CASES_HEADER, case_row

OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'projections')

WGS84 = (6378137.0, 298.257223563)
GRS80 = (6378137.0, 298.257222101)
CLARKE66 = (6378206.4, 294.9786982)
INTL = (6378388.0, 297.0)
SPHERE = (6371000.0, 0.0)
SPHERE_A = (6378137.0, 0.0)


def ellps(e):
    a, rf = e
    return '+a=%r +rf=%r' % (a, rf) if rf else '+R=%r' % a


def grid(lon0, dlon, lats, nlon=9):
    pts = []
    for lat in lats:
        for j in range(nlon):
            lon = lon0 - dlon + 2 * dlon * j / (nlon - 1)
            pts.append((round(lon, 6), lat))
    return pts


def cct(proj, pts):
    text = ''.join('%.9f %.9f 0 0\n' % p for p in pts)
    out = subprocess.run(['cct', '-d', '12'] + proj.split(), input=text,
                         capture_output=True, text=True, check=True).stdout
    rows = [l.split() for l in out.splitlines() if l and not l.startswith('#')]
    res = []
    for p, r in zip(pts, rows):
        if abs(float(r[0])) < 1e30 and abs(float(r[1])) < 1e30:
            res.append((p, r[0], r[1]))
    return res


CASES = []
POINTS = []

LATS_ALL = [-90.0, -89.5, -75.0, -45.0, -10.0, 0.0, 0.25, 30.0, 60.0, 85.0, 89.9, 90.0]
LATS_OPEN = [-89.0, -75.0, -45.0, -10.0, 0.0, 0.25, 30.0, 60.0, 85.0, 89.0]


def case(name, fn, e, proj, pts, lon0=0.0, lat1=0.0, lat0=0.0):
    full = '+proj=%s %s +lon_0=%r' % (proj, ellps(e), lon0)
    got = cct(full, pts)
    assert len(got) >= len(pts) * 3 // 4, (name, len(got), len(pts))
    CASES.append((name, fn, e[0], e[1], lon0, lat1, lat0, full))
    for (lon, lat), x, y in got:
        POINTS.append((name, lon, lat, x, y))


def main():
    epsg_dir, reference = sys.argv[1], sys.argv[2]
    w = grid(0.0, 179.0, LATS_ALL)
    # Plate carree and equidistant cylindrical: PROJ eqc on the sphere of radius a.
    case('pc_wgs84', 'plate_carree', WGS84, 'eqc', grid(-60.0, 179.0, LATS_ALL), lon0=-60.0)
    case('pc_sphere', 'plate_carree', SPHERE, 'eqc', grid(15.0, 170.0, LATS_ALL), lon0=15.0)
    for i, (lat1, lon0) in enumerate([(30.0, 0.0), (60.0, 100.0), (-45.0, -120.0)]):
        e = (WGS84, SPHERE, CLARKE66)[i]
        case('eqc_%d' % i, 'equidistant_cylindrical', e, 'eqc +lat_ts=%r' % lat1,
             grid(lon0, 179.0, LATS_ALL), lon0=lon0, lat1=lat1)
    for i, (e, lon0) in enumerate([(WGS84, 0.0), (SPHERE, -75.0)]):
        case('mill_%d' % i, 'miller_cylindrical', e, 'mill', grid(lon0, 179.0, LATS_ALL), lon0=lon0)
        case('gall_%d' % i, 'gall_stereographic', e, 'gall', grid(lon0, 179.0, LATS_ALL),
             lon0=lon0)
    # Cylindrical equal-area and Behrmann, ellipsoid and sphere.
    for i, (e, lat1, lon0) in enumerate([(WGS84, 30.0, 0.0), (GRS80, 0.0, 10.0),
                                         (INTL, -60.0, -100.0), (SPHERE, 30.0, 0.0),
                                         (SPHERE_A, 45.0, 120.0), (CLARKE66, 80.0, 0.0)]):
        case('cea_%d' % i, 'cylindrical_eqarea', e, 'cea +lat_ts=%r' % lat1,
             grid(lon0, 179.0, LATS_ALL), lon0=lon0, lat1=lat1)
    for i, (e, lon0) in enumerate([(WGS84, 0.0), (SPHERE, 45.0)]):
        case('behr_%d' % i, 'behrmann', e, 'cea +lat_ts=30', grid(lon0, 179.0, LATS_ALL),
             lon0=lon0)
    # Sinusoidal.
    for i, (e, lon0) in enumerate([(WGS84, 0.0), (INTL, -90.0), (SPHERE, 30.0)]):
        case('sinu_%d' % i, 'sinusoidal', e, 'sinu', grid(lon0, 179.0, LATS_OPEN), lon0=lon0)
    # Bonne (PROJ needs a non-zero lat_1; the zero case is checked against
    # the sinusoidal in the test).
    for i, (e, lat1, lon0) in enumerate([(WGS84, 45.0, 0.0), (CLARKE66, -30.0, 20.0),
                                         (SPHERE, 60.0, -40.0), (GRS80, 10.0, 100.0),
                                         (SPHERE_A, -75.0, 0.0)]):
        case('bonne_%d' % i, 'bonne', e, 'bonne +lat_1=%r' % lat1,
             grid(lon0, 120.0, LATS_OPEN), lon0=lon0, lat1=lat1)
    # Polyconic, within 60 degrees of the central meridian.
    for i, (e, lat0, lon0) in enumerate([(WGS84, 0.0, -54.0), (CLARKE66, 30.0, -96.0),
                                         (INTL, -40.0, 20.0), (SPHERE, 0.0, 0.0),
                                         (SPHERE, 45.0, 10.0), (GRS80, 70.0, 0.0)]):
        case('poly_%d' % i, 'polyconic', e, 'poly +lat_0=%r' % lat0,
             grid(lon0, 60.0, LATS_OPEN), lon0=lon0, lat0=lat0)

    # The sinusoidal's central meridian (-30) against GeodSolve's distances.
    for i, (a, rf) in enumerate((WGS84, INTL, CLARKE66)):
        name = 'sinu_meridian_%d' % i
        lats = [-89.0, -60.0, -12.5, 5.0, 30.0, 45.0, 75.0, 89.0, 90.0]
        text = ''.join('0 0 %r 0\n' % lat for lat in lats)
        out = subprocess.run(['GeodSolve', '-i', '-p', '9', '-e', repr(a), '1/%r' % rf],
                             input=text, capture_output=True, text=True,
                             check=True).stdout.split('\n')
        CASES.append((name, 'sinusoidal', a, rf, -30.0, None, None,
                      'GeodSolve -i -p 9 (meridian distance)'))
        for lat, line in zip(lats, out):
            POINTS.append((name, -30.0, lat, '0.0', ('-' if lat < 0 else '') + line.split()[2]))

    with open(os.path.join(OUT, 'cyl_cases.csv'), 'w', newline='') as f:
        f.write('# Made by tests/scripts/gen_cyl_oracle.py with cct and GeodSolve.\n')
        f.write(CASES_HEADER)
        for name, fn, a, rf, lon0, lat1, lat0, full in CASES:
            f.write(case_row(name, fn, a, rf, {2: lon0, 3: lat1, 4: lat1, 6: lat0}, full))
    with open(os.path.join(OUT, 'cyl_points.csv'), 'w', newline='') as f:
        f.write('# name,lon,lat,x,y (PROJ 9 cct -d 12)\n')
        for r in POINTS:
            f.write('%s,%r,%r,%s,%s\n' % r)

    # EPSG reference points of American Polyconic CRSs, joined with their
    # parameters, base datum and ellipsoid from the EPSG extract.
    def table(name):
        with open(os.path.join(epsg_dir, name), newline='') as f:
            return {r['code']: r for r in csv.DictReader(f)}
    pcs, gcs, dat, ell = (table(n) for n in ('projected_crs.csv', 'geographic_crs.csv',
                                                'datums.csv', 'ellipsoids.csv'))
    rows = []
    with open(reference, newline='') as f:
        for r in csv.DictReader(f):
            if r['method_code'] != '9818':
                continue
            p = pcs[r['code']]
            assert p['linear_unit_code'] == '9001' and r['geographic_unit_code'] in ('9122', '9102')
            par = {p['p%d_code' % i]: float(p['p%d_value_normalised' % i])
                   for i in range(1, 8) if p['p%d_code' % i]}
            e = ell[dat[gcs[p['geographic_crs_code']]['datum_code']]['ellipsoid_code']]
            rows.append((r['code'], '9818', e['semi_major_axis_m'],
                         repr(1 / float(e['inverse_flattening'])), '1.0', '0.017453292519943295',
                         par['8806'], par['8807'], par['8802'], '0.0', '0.0', '1.0', par['8801'],
                         r['lon'], r['lat'], r['easting'], r['northing']))
    with open(os.path.join(OUT, 'cyl_epsg.csv'), 'w', newline='') as f:
        f.write('# EPSG reference points of the American Polyconic (9818) CRSs, by '
                'tests/scripts/gen_cyl_oracle.py;\n'
                '# code,method,a,f,lin,ang,fe,fn,lam0,phi1,phi2,k0,phi0,lon,lat,easting,northing\n')
        csv.writer(f, lineterminator='\n').writerows(rows)


if __name__ == '__main__':
    main()
