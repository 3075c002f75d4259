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
It prints the Fuller rows of edge_cases.csv: faces glued in the net give a
point of their shared edge one image from either face; the cut faces' pieces
meet their neighbours; face corners land on the net triangles' corners.
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


# Fuller: the definition's tables, copied (tests/data/projections/fuller_tables.csv).
def fuller_tables():
    rows = {}
    with open(os.path.join(OUT, 'fuller_tables.csv')) as f:
        for line in f:
            if line.startswith('#'):
                continue
            name, i, *vals = line.strip().split(',')
            rows.setdefault(name, {})[int(i)] = [float(v) for v in vals]
    return rows


TABLES = fuller_tables()
CUT = {0: {}, 6: {6: 23}, 106: {6: 6}, 206: {6: 21}, 17: {17: 17}, 117: {17: 17}, 217: {17: 22}}


def fuller(name, a, rf, lon0, option):
    """Each face centroid lands on its net face's position. The centroids of the
    cut faces lie on the cut, where rounding picks the side; they are left out
    unless the option keeps their face whole (6 at net 23, 6 or 21, 17 at 17
    or 22)."""
    n = option if option in CUT else 0
    whole = {6: (6, 106, 206), 17: (17, 117, 217)}
    pts, xy = [], []
    for face in range(1, 21):
        if face in whole and n not in whole[face]:
            continue
        lon, lat = TABLES['gcentroid'][face]
        net = CUT[n].get(face, face)
        sx, sy = TABLES['xy_shift'][net]
        pts.append((math.degrees(lon) + lon0, math.degrees(lat)))
        xy.append((a * sx, a * sy))
    add(name, 'fuller', a, rf, {2: lon0, 15: option}, 'face centroids at their net shifts',
        pts, xy)


fuller('fuller_0', 6371000.0, 0.0, 0.0, 0)
fuller('fuller_lam0', 6378137.0, 298.257223563, 30.0, 0)
fuller('fuller_25_is_0', 6371000.0, 0.0, -100.0, 25)
for option in (6, 106, 206, 17, 117, 217):
    fuller('fuller_%d' % option, 6371000.0, 0.0, 0.0, option)


def unit(lon, lat):
    return (math.cos(lat) * math.cos(lon), math.cos(lat) * math.sin(lon), math.sin(lat))


def edge_rows():
    """Edge rows for edge_cases.csv: points on the edge shared by faces F and G,
    projected through each face (Option F, Option G), wherever the net glues the
    two (their net triangles' centres 2 c / sqrt 3 apart). Faces 6 and 17 are
    left out: their options also change the cut."""
    c, cen = 0.5535743588970452, TABLES['gcentroid']
    out = []
    for f in range(1, 21):
        for g in range(f + 1, 21):
            if 6 in (f, g) or 17 in (f, g):
                continue
            u, v = unit(*cen[f]), unit(*cen[g])
            if sum(p * q for p, q in zip(u, v)) < math.cos(0.75):  # not neighbours
                continue
            sf, sg = TABLES['xy_shift'][f], TABLES['xy_shift'][g]
            if abs(math.hypot(sf[0] - sg[0], sf[1] - sg[1]) - 2 * c / math.sqrt(3)) > 1e-9:
                continue
            m = [p + q for p, q in zip(u, v)]
            e = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
            nm, ne = math.sqrt(sum(p * p for p in m)), math.sqrt(sum(p * p for p in e))
            for t in (-0.3, 0.45):
                w = [math.cos(t) * p / nm + math.sin(t) * q / ne for p, q in zip(m, e)]
                lon, lat = math.degrees(math.atan2(w[1], w[0])), math.degrees(math.asin(w[2]))
                out.append('Fuller,6371000,0,15:%d,fwd,%.17g %.17g,@;15:%d,1e-6,faces %d and %d '
                           'meet in the net' % (f, lon, lat, g, f, g))
    return out


def cut_rows():
    """Edge rows for the cut faces: a point a hair inside face 6 or 17 next to
    a neighbour G, projected as Option 0 does (through the cut face's net
    piece), meets G's image of it (Option G): the pieces hang where the net
    places them (21 on face 16, the rest of 6 on 15, 22 on 18, the rest of
    17 on 16 and 8)."""
    cen, out = TABLES['gcentroid'], []
    for f, g, ts in ((6, 15, (-0.3, 0.3)), (6, 16, (0.1, 0.4)), (17, 18, (-0.3, 0.3)),
                     (17, 16, (-0.3, 0.3)), (17, 8, (-0.3, 0.3))):
        u, v = unit(*cen[f]), unit(*cen[g])
        m = [p + q for p, q in zip(u, v)]
        e = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
        nm, ne = math.sqrt(sum(p * p for p in m)), math.sqrt(sum(p * p for p in e))
        for t in ts:
            w = [math.cos(t) * p / nm + math.sin(t) * q / ne + 1e-9 * r
                 for p, q, r in zip(m, e, u)]
            lon, lat = math.degrees(math.atan2(w[1], w[0])), math.degrees(
                math.asin(w[2] / math.sqrt(sum(p * p for p in w))))
            out.append('Fuller,6371000,0,,fwd,%.17g %.17g,@;15:%d,0.03,the piece of face %d '
                       'next to face %d' % (lon, lat, g, f, g))
    return out


def corner_rows():
    """Edge rows: each corner of face F (not the cut faces), a hair inside F,
    projected with Option F, lands on the corner of F's net triangle, a (shift
    + turn of (0, 2c/sqrt 3), (-c, -c/sqrt 3) or (c, -c/sqrt 3)): at a corner
    the triangle mapping's angles are +-c. The corners are found in F's frame
    (colatitude = the circumradius, azimuths 90, 210, 330 degrees) and turned
    back with the table's rotations; each is checked to be a corner of three
    faces. Options matter here: five faces share each corner."""
    c, k, cr = 0.5535743588970452, 1 / math.sqrt(3), 0.6523581397843682
    cen, rot = TABLES['gcentroid'], TABLES['rotation']
    out = []
    for f in range(1, 21):
        if f in (6, 17):
            continue
        r1, r2, r3 = rot[f]
        for az, corner in ((90.0, (0.0, 2 * c * k)), (210.0, (-c, -c * k)), (330.0, (c, -c * k))):
            colat = cr - 1e-9
            x, y, z = (math.sin(colat) * math.cos(math.radians(az)),
                       math.sin(colat) * math.sin(math.radians(az)), math.cos(colat))
            lon3 = math.atan2(y, x) - r3
            lat3 = math.asin(z)
            x, y, z = unit(lon3, lat3)
            y, z = math.cos(r2) * y - math.sin(r2) * z, math.sin(r2) * y + math.cos(r2) * z
            lon, lat = math.atan2(y, x) - r1, math.asin(z)
            lon = math.atan2(math.sin(lon), math.cos(lon))
            near = [g for g in range(1, 21) if abs(math.acos(sum(
                p * q for p, q in zip(unit(lon, lat), unit(*cen[g])))) - cr) < 1e-6]
            assert len(near) == 5 and f in near, (f, az, near)
            pr, (sx, sy) = TABLES['plane_rotation'][f][0], TABLES['xy_shift'][f]
            px = sx + math.cos(pr) * corner[0] - math.sin(pr) * corner[1]
            py = sy + math.sin(pr) * corner[0] + math.cos(pr) * corner[1]
            out.append('Fuller,6371000,0,15:%d,fwd,%.17g %.17g,%.17g %.17g,0.03,corner of face %d'
                       % (f, math.degrees(lon), math.degrees(lat), 6371000 * px, 6371000 * py, f))
    return out


def write():
    with open(os.path.join(OUT, 'net_cases.csv'), 'w') as f:
        f.writelines(CASES)
    with open(os.path.join(OUT, 'net_points.csv'), 'w') as f:
        f.writelines(POINTS)


if __name__ == '__main__':
    write()
    print('\n'.join(edge_rows() + cut_rows() + corner_rows()))
