#!/usr/bin/env python3
"""Generates the built-in catalogue tables from data/.

Reads the EPSG registry extract (data/epsg/*.csv) and the library's own data
(data/catalogue/*.csv) and writes sorted C++ tables and the code-range
header under src/catalogue/generated/ (nothing hand-written lives there), the
public macro header include/kx_def.h and data/catalogue/counts.md. The output
is committed; tools/check_generated.sh regenerates it and fails on any
difference, so the build itself never runs Python.

Usage: gen_catalogue.py [--root REPO] [--out DIR]   (DIR defaults to REPO)

Naming rule, applied to every EPSG-derived entry:
  - rewrite abbreviated datum words to full years and words with the table
    data/catalogue/abbreviations.csv (whole words only);
  - transliterate to ASCII, turn each run of characters other than letters
    and digits into one '_', trim '_' at both ends;
  - spheroid: the normalised ellipsoid name; geographic CS: 'GCS_' + the
    normalised CRS name; datum: 'D_' + the normalised name of the datum's
    lowest-coded geographic 2D CRS (the datum's own name when it has none);
  - names longer than 63 characters are cut to 63 (the object name limit).
Macro names: 'KX_' + kind prefix + the object name in upper case without its
own kind prefix ('GCS_', 'D_'). When several codes of a kind share a macro
name, the current (not EPSG-deprecated) entry with the lowest code keeps it
and every other one gets '_' and its code appended.
"""

import argparse
import csv
import os
import re
import sys
import unicodedata

NAME_MAX = 63

# Code ranges of each kind, inclusive, in the order kx_factory tries them. An
# EPSG row outside its kind's ranges is an entry all the same (EPSG codes are
# unique across kinds); the ranges only decide kx_factory's first guess and
# which entry keeps a shared macro name. The library includes them from
# src/catalogue/generated/code_ranges.h.
KIND_RANGES = [
    ('LinearUnit', [(9000, 9099), (109000, 109099), (209000, 209099)]),
    ('AngularUnit', [(9100, 9199), (209100, 209199)]),
    ('Spheroid', [(7000, 7999), (107000, 107999), (207000, 207999)]),
    ('Primem', [(8900, 8999), (108900, 108999), (208900, 208999)]),
    ('Datum', [(6000, 6999), (106000, 106999), (206000, 206999)]),
    ('Projection', [(43000, 52999)]),
    ('Method', [(9600, 9699), (109600, 109699)]),
    ('Parameter', [(100000, 100099)]),
    ('Geogcs', [(4000, 4999), (37000, 37999), (104000, 104999), (204000, 204999)]),
    ('Projcs', [(2000, 3999), (20000, 32799), (53000, 65799), (102000, 103999),
                (202000, 203999)]),
    ('Geogtran', [(1000, 1999), (8000, 8899), (108000, 108899), (208000, 208899)]),
]
RANGES = {kind.lower(): ranges for kind, ranges in KIND_RANGES}
RANGES['unit'] = RANGES['linearunit'] + RANGES['angularunit']


def code_ranges_source():
    text = (HEADER + '// Catalogue code ranges of each kind, inclusive.\n'
            '#ifndef KX_CATALOGUE_GENERATED_CODE_RANGES_H\n'
            '#define KX_CATALOGUE_GENERATED_CODE_RANGES_H\n\n'
            '#include <cstddef>\n#include <cstdint>\n\n'
            'namespace kx::catalogue {\n\n'
            'struct CodeRange {\n  int32_t lo;\n  int32_t hi;\n};\n\n')
    for kind, ranges in KIND_RANGES:
        text += 'constexpr CodeRange k%sCodes[] = {%s};\n' % (
            kind, ', '.join('{%d, %d}' % r for r in ranges))
    text += ('\n// The kinds in the order kx_factory tries their ranges.\n'
             'enum class CodeKind : int32_t {\n%s};\n\n' % ''.join(
                 '  %s,\n' % kind for kind, _ in KIND_RANGES))
    text += ('struct KindRanges {\n  CodeKind kind;\n  const CodeRange *ranges;\n'
             '  std::size_t count;\n};\n\n'
             'constexpr KindRanges kFactoryOrder[] = {\n%s};\n\n' % ''.join(
                 '    {CodeKind::%s, k%sCodes, %d},\n' % (kind, kind, len(ranges))
                 for kind, ranges in KIND_RANGES))
    text += ('constexpr bool in_ranges(const CodeRange *ranges, std::size_t count, int code) {\n'
             '  for (std::size_t i = 0; i < count; ++i) {\n'
             '    if (code >= ranges[i].lo && code <= ranges[i].hi) return true;\n'
             '  }\n  return false;\n}\n\n'
             'template <std::size_t N>\n'
             'constexpr bool in_ranges(const CodeRange (&ranges)[N], int code) {\n'
             '  return in_ranges(ranges, N, code);\n}\n\n'
             '}  // namespace kx::catalogue\n\n'
             '#endif  // KX_CATALOGUE_GENERATED_CODE_RANGES_H\n')
    return text


# Angular units of EPSG geographic CRSs and the catalogue unit they use. The
# degree representations (supplier-defined, sexagesimal with hemisphere) are
# all plain degrees to the library.
GEOG_UNITS = {'9122': 9102, '9102': 9102, '9108': 9102, '9105': 9105}


def in_ranges(kind, code):
    return any(lo <= code <= hi for lo, hi in RANGES[kind])


def read_csv(path):
    """Rows of a CSV file as dicts; lines starting with '#' are comments."""
    with open(path, encoding='utf-8', newline='') as f:
        lines = [line for line in f if not line.startswith('#')]
    return list(csv.DictReader(lines))


class Namer:
    def __init__(self, abbreviations):
        self.rules = []
        for row in abbreviations:
            pattern = r'(?<![A-Za-z0-9])' + re.escape(row['from']) + r'(?![A-Za-z0-9])'
            self.rules.append((re.compile(pattern), row['to']))
        self.cut = []

    def normalise(self, text):
        for pattern, repl in self.rules:
            text = pattern.sub(repl, text)
        text = unicodedata.normalize('NFKD', text).encode('ascii', 'ignore').decode('ascii')
        return re.sub(r'[^A-Za-z0-9]+', '_', text).strip('_')

    def limit(self, name):
        if len(name) > NAME_MAX:
            self.cut.append(name)
            return name[:NAME_MAX]
        return name


def macro_table(prefix, kind, entries, strip):
    """entries: list of (code, object name, current). Returns sorted (macro, code).
    Entries inside the kind's ranges come first, so the names they had before
    the registry's newer codes joined stay theirs."""
    groups = {}
    for code, name, current in entries:
        base = name[len(strip):] if strip and name.startswith(strip) else name
        groups.setdefault('KX_' + prefix + base.upper(), []).append(
            (not in_ranges(kind, code), not current, code))
    table = []
    for macro, members in groups.items():
        members.sort()
        table.append((macro, members[0][-1]))
        for *_, code in members[1:]:
            table.append((macro + '_' + str(code), code))
    names = [m for m, _ in table]
    if len(set(names)) != len(names):
        sys.exit('gen_catalogue: macro names still clash after suffixing (%s)' % prefix)
    table.sort(key=lambda row: row[0].encode('ascii'))
    return table


def cstr(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def num(value):
    text = repr(float(value))
    if text in ('inf', '-inf', 'nan'):
        sys.exit('gen_catalogue: non-finite value')
    return text


HEADER = ('// Generated by tools/gen_catalogue.py from data/; do not edit.\n'
          '// Regenerate with: python3 tools/gen_catalogue.py\n')


def write(out, rel, text):
    path = os.path.join(out, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', encoding='ascii', newline='\n') as f:
        f.write(text)


def table_source(row_type, var, rows, fmt):
    body = ''.join('    {' + fmt(r) + '},\n' for r in rows)
    return (HEADER + '#include "catalogue/catalogue_tables.h"\n\n'
            'namespace kx::catalogue {\n\n'
            'constexpr %s %s_rows[] = {\n%s};\n'
            'const Table<%s> %s = {%s_rows, sizeof(%s_rows) / sizeof(%s_rows[0])};\n\n'
            '}  // namespace kx::catalogue\n') % (row_type, var, body, row_type, var, var, var, var)


# Parameter catalogue codes used by projected CS entries.
FE, FN, SF, AZ, CM, LON_ORIGIN, LON_CENTER = 100001, 100002, 100003, 100004, 100010, 100011, 100012
LAT_ORIGIN, LAT_CENTER, SP1, SP2, PSEUDO_SP1 = 100021, 100022, 100025, 100026, 100027
X_SCALE, Y_SCALE, XY_ROTATION = 100037, 100038, 100039


def sexagesimal_dms(text):
    """Degrees of an EPSG sexagesimal DMS value (unit 9110): D.MMSSsss."""
    text = text.strip()
    sign = -1.0 if text.startswith('-') else 1.0
    text = text.lstrip('+-')
    whole, _, frac = text.partition('.')
    frac = (frac + '0000')
    minutes = int(frac[0:2])
    seconds = float(frac[2:4] + '.' + frac[4:])
    return sign * (int(whole) + minutes / 60.0 + seconds / 3600.0)


def polar_axes_ok(axes, north, lon0):
    """Polar grids whose axes are the usual easting and northing of the pole."""
    found = re.findall(r'(North|South) along ([0-9.]+)\u00b0([EW])', axes)
    if len(found) != 2:
        return False
    want_dir = 'South' if north else 'North'
    dirs = set()
    for d, lon, hemi in found:
        if d != want_dir:
            return False
        value = float(lon) * (1 if hemi == 'E' else -1)
        dirs.add(round((value - lon0) % 360.0, 6))
    return dirs == ({90.0, 180.0} if north else {90.0, 0.0})


def projcs_name(r, ucode, fips, namer):
    name = r['name']
    if ' / ' in name:
        datum_part, zone = name.split(' / ', 1)
        base = re.sub(r' \((ftUS|ft)\)$', '', zone)
        if base in fips and datum_part.startswith('NAD'):
            suffix = ''
            if ucode == 9003 and not datum_part.startswith('NAD27'):
                suffix = '_Feet'
            elif ucode == 9002:
                suffix = '_Feet_Intl'
            return namer.limit('%s_StatePlane_%s_FIPS_%s%s' % (
                namer.normalise(datum_part), namer.normalise(base), fips[base], suffix))
    return namer.limit(namer.normalise(name))


def build_projcs(rows, geog, datum, sph, unit, fips, namer):
    """Projected CS entries: the EPSG conversions the registry projections represent."""
    import collections
    import math
    out = []
    reasons = collections.Counter()
    left_codes = {}  # reason: [(code, EPSG-deprecated, method name)]
    for r in rows:
        code = int(r['code'])
        def leave(why):
            reasons[why] += 1
            left_codes.setdefault(why, []).append((code, r['deprecated'] == '1',
                                                   r['method_name']))
        par = {}
        for i in range(1, 8):
            c = r['p%d_code' % i]
            if c:
                raw_unit = r['p%d_unit_code' % i]
                value = float(r['p%d_value_normalised' % i])
                if raw_unit == '9110':
                    value = sexagesimal_dms(r['p%d_value' % i])
                elif raw_unit == '9102':
                    value = float(r['p%d_value' % i])
                par[int(c)] = (value, float(r['p%d_value' % i]), raw_unit)
        gcode = int(r['geographic_crs_code'])
        ucode = int(r['linear_unit_code'])
        method = int(r['method_code'])
        axes = r['axis_orientation']
        if gcode not in geog:
            leave('base geographic CS not in the catalogue')
            continue
        if ucode not in unit or not (9000 <= ucode <= 9099 or 109000 <= ucode <= 109099):
            leave('linear unit not in the catalogue')
            continue
        g = geog[gcode]
        ang_unit = g[4]
        ang_factor = unit[ang_unit][2]
        lin_factor = unit[ucode][2]

        def ang(pc):
            deg, raw, raw_unit = par[pc]
            if ang_unit == 9105 and raw_unit == '9105':
                return raw
            return deg if ang_unit == 9102 else deg * math.pi / 180.0 / ang_factor

        def lin(pc):
            value, raw, raw_unit = par[pc]
            return raw if raw_unit == str(ucode) else value / lin_factor

        def scale(pc):
            return par[pc][0]

        south_west = ('south,west', 'west,south')
        # Spherical forms are the ordinary projections on a sphere.
        spherical_base = sph[datum[g[2]][2]][3] == 0.0
        try:
            standard_axes = axes in ('east,north', 'north,east')
            if method == 9807 and standard_axes:
                prj, ps = 43006, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SF, scale(8805)),
                                  (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9808 and axes == 'west,south':
                prj, ps = 43061, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SF, scale(8805)),
                                  (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9801 and standard_axes:
                prj, ps = 43020, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SP1, ang(8801)),
                                  (SF, scale(8805)), (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9826 and axes in ('west,north', 'north,west'):
                prj, ps = 43062, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SP1, ang(8801)),
                                  (SF, scale(8805)), (FE, lin(8806)), (FN, lin(8807))]
            elif method == 1051 and standard_axes:
                # Michigan's ellipsoid scaled by K scales every coordinate
                # about the origin by K: the conic's scale factor.
                prj, ps = 43020, [(CM, ang(8822)), (LAT_ORIGIN, ang(8821)), (SP1, ang(8823)),
                                  (SP2, ang(8824)), (SF, scale(1038)), (FE, lin(8826)),
                                  (FN, lin(8827))]
            elif method in (9802, 9822) and standard_axes:
                prj = 43020 if method == 9802 else 43007
                ps = [(CM, ang(8822)), (LAT_ORIGIN, ang(8821)), (SP1, ang(8823)),
                      (SP2, ang(8824)), (FE, lin(8826)), (FN, lin(8827))]
            elif method == 9806 and (standard_axes or axes in south_west):
                prj = 43028 if standard_axes else 43065
                ps = [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SF, 1.0), (FE, lin(8806)),
                      (FN, lin(8807))]
            elif method == 9828 and axes in south_west:
                prj, ps = 43063, [(CM, ang(8802)), (SP1, ang(8801)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif method == 9830 and (standard_axes or polar_axes_ok(
                    axes, par[8832][0] > 0, par[8833][0])):
                prj, ps = 43064, [(CM, ang(8833)), (SP1, ang(8832)), (FE, lin(8826)),
                                  (FN, lin(8827))]
            elif method in (1028, 9842) and standard_axes:
                # The ellipsoidal equidistant cylinder is the equidistant
                # conic's cylindrical limit (parallels phi1 and -phi1).
                phi1 = ang(8823) if 8823 in par else ang(8801)
                lon0 = ang(8802) if 8802 in par else ang(8822)
                prj, ps = 43027, [(CM, lon0), (SP1, phi1), (SP2, -phi1), (LAT_ORIGIN, 0.0),
                                  (FE, lin(8806)), (FN, lin(8807))]
            elif method in (1029, 9841, 9834) and standard_axes and not spherical_base:
                leave('spherical form on an ellipsoid')
                continue
            elif method == 1029 and standard_axes:
                prj, ps = 43002, [(CM, ang(8802)), (SP1, ang(8823)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif method == 9841 and standard_axes:
                if par[8801][0] != 0.0 or scale(8805) != 1.0:
                    leave('Mercator with a latitude of origin')
                    continue
                prj, ps = 43004, [(CM, ang(8802)), (SP1, 0.0), (FE, lin(8806)), (FN, lin(8807))]
            elif method in (9834, 9835) and standard_axes:
                prj, ps = 43034, [(CM, ang(8802)), (SP1, ang(8823)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif method == 9809 and standard_axes:
                prj, ps = 43038, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SF, scale(8805)),
                                  (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9810 and (standard_axes or polar_axes_ok(
                    axes, par[8801][0] > 0, par[8802][0])):
                prj, ps = 43026, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (SF, scale(8805)),
                                  (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9829 and (standard_axes or polar_axes_ok(
                    axes, par[8832][0] > 0, par[8833][0])):
                prj = 43050 if par[8832][0] > 0 else 43051
                ps = [(CM, ang(8833)), (SP1, ang(8832)), (FE, lin(8806)), (FN, lin(8807))]
            elif method in (9812, 9815) and standard_axes:
                fe, fn = (8806, 8807) if method == 9812 else (8816, 8817)
                ps = [(LON_CENTER, ang(8812)), (LAT_CENTER, ang(8811)), (AZ, ang(8813))]
                if 8814 in par and abs(par[8814][0] - par[8813][0]) > 1e-12:
                    prj = 43053 if method == 9812 else 43054
                    ps.append((XY_ROTATION, ang(8814)))
                else:
                    prj = 43036 if method == 9812 else 43037
                ps += [(SF, scale(8815)), (FE, lin(fe)), (FN, lin(fn))]
            elif method in (9820, 1027) and (standard_axes or (
                    abs(par[8801][0]) == 90.0 and polar_axes_ok(axes, par[8801][0] > 0,
                                                                par[8802][0]))):
                # The spherical form is the same projection on a spherical
                # base CS; on an ellipsoid it would need a sphere of its own.
                if method == 1027 and sph[datum[g[2]][2]][3] != 0.0:
                    leave('spherical Lambert azimuthal equal-area on an ellipsoid')
                    continue
                prj, ps = 43033, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif method == 9832 and standard_axes:
                # EPSG's short-range formula of the azimuthal equidistant,
                # which the geodesic form gives exactly.
                prj, ps = 43032, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif method == 9804 and standard_axes:
                if par[8801][0] != 0.0:
                    leave('Mercator with a latitude of origin')
                    continue
                f = sph[datum[g[2]][2]][3]
                e2 = f * (2 - f)
                k0 = scale(8805)
                if k0 > 1.0:
                    leave('Mercator scale above 1')
                    continue
                phi1 = math.degrees(math.asin(math.sqrt((1 - k0 * k0) / (1 - k0 * k0 * e2))))
                sp1 = phi1 if ang_unit == 9102 else phi1 * math.pi / 180.0 / ang_factor
                prj, ps = 43004, [(CM, ang(8802)), (SP1, sp1), (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9805 and standard_axes:
                prj, ps = 43004, [(CM, ang(8802)), (SP1, ang(8823)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif method == 1024 and standard_axes:
                # Spherical formulas on the base CS's own geodetic latitudes,
                # so no transformation separates it from that CS.
                prj, ps = 43059, [(CM, ang(8802)), (FE, lin(8806)), (FN, lin(8807))]
            elif method == 1078 and standard_axes:
                prj, ps = 43060, [(CM, ang(8802)), (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9818 and standard_axes:
                prj, ps = 43021, [(CM, ang(8802)), (LAT_ORIGIN, ang(8801)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif (method == 9819 and axes == 'south,west') or (method == 1041 and standard_axes):
                xs, xy = (1.0, 0.0) if method == 9819 else (-1.0, 90.0)
                if ang_unit != 9102:
                    xy = xy * math.pi / 180.0 / ang_factor
                prj, ps = 43039, [(LON_CENTER, ang(8833)), (LAT_CENTER, ang(8811)),
                                  (PSEUDO_SP1, ang(8818)), (AZ, ang(1036)), (SF, scale(8819)),
                                  (FE, lin(8806)), (FN, lin(8807)), (X_SCALE, xs), (Y_SCALE, 1.0),
                                  (XY_ROTATION, xy)]
            elif method == 9811 and standard_axes:
                prj, ps = 43040, [(LON_ORIGIN, ang(8802)), (LAT_ORIGIN, ang(8801)),
                                  (FE, lin(8806)), (FN, lin(8807))]
            elif method == 9823 and standard_axes:
                prj, ps = 43002, [(CM, ang(8802)), (SP1, ang(8823)), (FE, lin(8806)),
                                  (FN, lin(8807))]
            elif r['method_code'] in ('9807', '9801', '9802', '9822', '9806', '9809', '9810',
                                      '9829', '9812', '9815', '9820', '1027', '9832', '9804',
                                      '9805', '1024', '1078', '9818', '9819', '1041', '9811',
                                      '9823', '1051', '9828', '9830', '1028', '9842', '1029',
                                      '9841', '9834', '9835'):
                leave('axes not representable')
                continue
            else:
                leave('method %s without a registry projection' % r['method_code'])
                continue
        except KeyError as missing:
            leave('parameter %s missing' % missing)
            continue
        out.append({'code': code, 'name': projcs_name(r, ucode, fips, namer), 'projection': prj,
                    'geogcs': gcode, 'unit': ucode, 'params': ps,
                    'current': r['deprecated'] != '1'})
    out.sort(key=lambda p: p['code'])
    return out, sum(reasons.values()), reasons, left_codes


# Why a projected CS of the registry is not an entry, for counts.md.
LEFT_OUT_WHY = {
    'served through the deprecated map':
        'EPSG-deprecated codes whose replacement is an entry: the code builds the replacement '
        'with status 16',
    'Mercator with a latitude of origin':
        'the registry\'s Mercator measures y from the equator; EPSG 3752 (deprecated) '
        'starts it at 41 degrees south',
    'linear unit not in the catalogue':
        'the link (9098) and the British chain of Sears 1922 truncated (9301), which the '
        'catalogue\'s unit list does not hold',
    'parameter 8823 missing':
        'Mercator (variant B) rows that give no standard parallel',
    'spherical Lambert azimuthal equal-area on an ellipsoid':
        'EPSG\'s spherical formulas on an ellipsoid use a sphere of their own (the authalic '
        'radius), which no catalogue geographic CS carries',
    'spherical form on an ellipsoid':
        'likewise for the spherical cylindrical equal-area (3975, EPSG-deprecated)',
}
METHOD_WHY = ('a method no registry projection represents (a different formula, not a sign, '
              'axis or special case of one): ')


def left_out_section(left_codes):
    """counts.md's explanation of every reason a projected CS is left out."""
    lines = ['', '## Projected CSs left out', '',
             '| reason | all | not deprecated | why |', '|---|---|---|---|']
    for why, rows in sorted(left_codes.items()):
        current = [c for c, dep, _ in rows if not dep]
        if why.startswith('method '):
            text = METHOD_WHY + rows[0][2]
        else:
            text = LEFT_OUT_WHY.get(why)
            if text is None:
                sys.exit('gen_catalogue: no explanation for "%s"' % why)
        codes = ', '.join(str(c) for c in sorted(current)[:12])
        if len(current) > 12:
            codes += ', ...'
        lines.append('| %s | %d | %d | %s%s |' % (why, len(rows), len(current), text,
                                                  ' (%s)' % codes if codes else ''))
    return lines


# Projected CS families besides the computed zone blocks, by entry name; the
# first matching pattern wins and entries matching none are the misc family.
PROJCS_FAMILIES = [
    ('spcs27', r'^NAD_1927_StatePlane_'),
    ('spcs83_harn', r'^NAD_1983_HARN_StatePlane_'),
    ('spcs83_feet', r'^NAD_1983_StatePlane_.*_Feet(_Intl)?$'),
    ('spcs83', r'^NAD_1983_StatePlane_'),
    ('minnesota_counties', r'_Adj_M[Nn]_'),
    ('wisconsin_counties', r'_WISCRS_'),
]
ZONE_MERIDIAN = {'utm': 'ZoneMeridian::kUtm', 'gk': 'ZoneMeridian::kGaussKruger'}
ZONE_EASTING = {'fixed': 'ZoneEasting::kFixed', 'zone': 'ZoneEasting::kZonePrefix'}
ZONE_NAME_ARG = {'zone': 'ZoneNameArg::kZone', 'cm_e': 'ZoneNameArg::kMeridianEast',
                 'cm_w': 'ZoneNameArg::kMeridianWest'}


def zone_meridian(rule, zone):
    cm = 6 * zone - 183 if rule == 'utm' else 6 * zone - 3
    return cm - 360 if cm > 180 else cm


def apply_zone_blocks(blocks, projcs, namer):
    """Checks every code of every block against its entry and gives the entries
    the block's names; returns the blocks as dicts and the covered codes."""
    by_code = {p['code']: p for p in projcs}
    out, covered, last = [], set(), None
    for b in blocks:
        first, end, base = int(b['first']), int(b['last']), int(b['base'])
        fmt = b['format']
        if (first > end or (last is not None and first <= last) or fmt.count('%') != 1
                or '%d' not in fmt or b['meridian'] not in ZONE_MERIDIAN
                or b['easting'] not in ZONE_EASTING or b['name_arg'] not in ZONE_NAME_ARG):
            sys.exit('gen_catalogue: zone block %d-%d is malformed or out of order' % (first, end))
        last = end
        fe, fn, k = float(b['false_easting']), float(b['false_northing']), float(b['scale'])
        for code in range(first, end + 1):
            zone = code - base
            cm = zone_meridian(b['meridian'], zone)
            want = {CM: float(cm), LAT_ORIGIN: 0.0, SF: k, FN: fn,
                    FE: fe + (zone * 1000000.0 if b['easting'] == 'zone' else 0.0)}
            p = by_code.get(code)
            if (p is None or p['projection'] != 43006 or p['geogcs'] != int(b['geogcs'])
                    or p['unit'] != int(b['unit']) or dict(p['params']) != want
                    or len(p['params']) != len(want)):
                sys.exit('gen_catalogue: zone block %d-%d does not hold for %d' % (first, end, code))
            arg = {'zone': zone, 'cm_e': cm, 'cm_w': -cm}[b['name_arg']]
            p['name'] = namer.limit(fmt % arg)
            covered.add(code)
        out.append(dict(b, first=first, last=end, base=base, fe=fe, fn=fn, k=k))
    return out, covered


def projcs_family(name):
    for family, pattern in PROJCS_FAMILIES:
        if re.search(pattern, name):
            return family
    return 'misc'


def families_source(blocks, projcs, covered):
    text = (HEADER + '#include "catalogue/projcs_families.h"\n\nnamespace kx::catalogue {\n\n'
            'constexpr ZoneBlock kZoneBlocks_rows[] = {\n')
    for b in blocks:
        text += '    {%d, %d, %d, %s, %s, %s, %s, %s, %s, %s, %s, %s},\n' % (
            b['first'], b['last'], b['base'], cstr(b['format']), b['geogcs'], b['unit'],
            ZONE_MERIDIAN[b['meridian']], ZONE_EASTING[b['easting']],
            ZONE_NAME_ARG[b['name_arg']], num(b['fe']), num(b['fn']), num(b['k']))
    text += ('};\nconst Table<ZoneBlock> kZoneBlocks = {kZoneBlocks_rows, '
             'sizeof(kZoneBlocks_rows) / sizeof(kZoneBlocks_rows[0])};\n')
    members = {}
    for index, p in enumerate(projcs):
        if p['code'] not in covered:
            members.setdefault(projcs_family(p['name']), []).append((p['code'], index))
    for family in ['misc'] + [f for f, _ in PROJCS_FAMILIES]:
        var = 'kProjcsFamily_' + family
        rows = members.get(family, [])
        if rows:
            body = ''.join('    {%d, %d},\n' % r for r in rows)
            text += ('\nconstexpr FamilyRow %s_rows[] = {\n%s};\n'
                     'const Table<FamilyRow> %s = {%s_rows, sizeof(%s_rows) / sizeof(%s_rows[0])};\n'
                     % (var, body, var, var, var, var))
        else:
            text += '\n// No entries yet.\nconst Table<FamilyRow> %s = {nullptr, 0};\n' % var
    return text + '\n}  // namespace kx::catalogue\n', members


XT, YT, ZT, XR, YR, ZR, DS, DATASET, XO, YO, ZO = range(100040, 100051)

# EPSG transformation methods and the catalogue method each maps to.
GT_METHODS = {9603: 9603, 1031: 9603, 9604: 9604, 9605: 9605, 9606: 9606, 1033: 9606, 9607: 9607, 1032: 9607,
              9636: 9636, 1063: 9636, 1061: 9636, 9613: 9613, 9615: 9615, 9601: 9601}


def build_geogtran(rows, geog, namer):
    """Transformation entries between catalogue geographic CSs by supported methods."""
    import collections
    import os.path
    reasons = collections.Counter()
    out = []
    for r in rows:
        code = int(r['code'])
        method = int(r['method_code'])
        if method not in GT_METHODS:
            reasons['method %d not in the library' % method] += 1
            continue
        g1, g2 = int(r['source_crs_code']), int(r['target_crs_code'])
        if g1 not in geog or g2 not in geog:
            reasons['geographic CS not in the catalogue'] += 1
            continue
        val = lambda k: float(r[k]) if r[k] else 0.0
        ps, dataset = [], ''
        kind = GT_METHODS[method]
        if kind in (9603, 9604, 9605):
            ps = [(XT, val('tx_m')), (YT, val('ty_m')), (ZT, val('tz_m'))]
        elif kind in (9606, 9607, 9636):
            sign = -1.0 if method in (1063, 1061) else 1.0  # position-vector rotations
            ps = [(XT, val('tx_m')), (YT, val('ty_m')), (ZT, val('tz_m')),
                  (XR, sign * val('rx_arcsec')), (YR, sign * val('ry_arcsec')),
                  (ZR, sign * val('rz_arcsec')), (DS, val('ds_ppm'))]
            if kind == 9636:
                ps += [(XO, val('px_m')), (YO, val('py_m')), (ZO, val('pz_m'))]
        elif kind in (9613, 9615):
            if not r['grid_file']:
                reasons['grid file missing'] += 1
                continue
            base = r['grid_file']
            if kind == 9613:
                base = os.path.splitext(base)[0]
            dataset = 'Dataset_' + base
            ps = [(DATASET, 0.0)]
        out.append({'code': code, 'epsg_name': r['name'], 'geogcs1': g1, 'geogcs2': g2,
                    'method': kind, 'params': ps, 'dataset': dataset,
                    'accuracy': float(r['accuracy_m']) if r['accuracy_m'] else -1.0,
                    'current': r['deprecated'] != '1'})
    # A transformation alone between its two CSs drops its ' (n)'. Entries in
    # the ranges count only each other, so their names stay what they were
    # before the registry's newer codes joined.
    ranged = lambda e: in_ranges('geogtran', e['code'])
    pairs = collections.Counter((e['geogcs1'], e['geogcs2']) for e in out)
    pairs_ranged = collections.Counter((e['geogcs1'], e['geogcs2']) for e in out if ranged(e))
    for e in out:
        name = e['epsg_name']
        if (pairs_ranged if ranged(e) else pairs)[(e['geogcs1'], e['geogcs2'])] == 1:
            name = re.sub(r' \(\d+\)$', '', name)
        name = re.sub(r'(?<![A-Za-z0-9])to(?![A-Za-z0-9])', 'To', name, count=1)
        e['name'] = namer.limit(namer.normalise(name))
    out.sort(key=lambda e: e['code'])
    return out, sum(reasons.values()), reasons


def main():
    parser = argparse.ArgumentParser()
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument('--root', default=os.path.dirname(here))
    parser.add_argument('--out', default=None)
    args = parser.parse_args()
    root = args.root
    out = args.out or root
    epsg = lambda f: read_csv(os.path.join(root, 'data', 'epsg', f))
    own = lambda f: read_csv(os.path.join(root, 'data', 'catalogue', f))

    namer = Namer(own('abbreviations.csv'))
    overrides = {(r['kind'], int(r['code']), r['field']): float(r['value'])
                 for r in own('overrides.csv')}
    library = own('library.csv')
    deprecated_rows = own('deprecated.csv')
    counts = []  # (kind, included, left out, note)

    # ---- units: the library's unit list, factors from EPSG unless fixed
    epsg_units = {int(r['code']): r for r in epsg('units.csv')}
    units = []
    for r in own('units.csv'):
        code = int(r['code'])
        if not in_ranges('unit', code):
            sys.exit('gen_catalogue: unit %d outside the unit ranges' % code)
        if r['factor']:
            factor = float(r['factor'])
        else:
            factor = float(epsg_units[code]['factor_to_si'])
        units.append((code, r['name'], factor, True))
    units.sort()
    listed = {u[0] for u in units}
    unit_left = [c for c, r in epsg_units.items()
                 if in_ranges('unit', c) and c not in listed and r['type'] in ('length', 'angle')]
    counts.append(('unit', len(units), len(unit_left),
                   'left out: EPSG %s (representations without a factor, the supplier-defined '
                   'degree, and the international yard, chain and link, which are 109001, '
                   '109003, 109004)' % ', '.join(str(c) for c in sorted(unit_left))))

    # ---- spheroids
    spheroids = []
    sph_left = 0
    for r in epsg('ellipsoids.csv'):
        code = int(r['code'])
        axis = float(r['semi_major_axis_m'])
        flat = overrides.get(('spheroid', code, 'flattening'), float(r['flattening']))
        spheroids.append((code, namer.limit(namer.normalise(r['name'])), axis, flat,
                          r['deprecated'] != '1'))
    for r in library:
        if r['kind'] == 'spheroid':
            spheroids.append((int(r['code']), r['name'], float(r['v1']), float(r['v2']), True))
    spheroids.sort()
    sph_codes = {s[0] for s in spheroids}
    counts.append(('spheroid', len(spheroids), sph_left,
                   'library codes: %d' % sum(1 for r in library if r['kind'] == 'spheroid')))

    # ---- prime meridians
    primems = []
    for r in epsg('prime_meridians.csv'):
        code = int(r['code'])
        lon = overrides.get(('primem', code, 'longitude'), float(r['longitude_deg']))
        primems.append((code, namer.limit(namer.normalise(r['name'])), lon, r['deprecated'] != '1'))
    for r in library:
        if r['kind'] == 'primem':
            primems.append((int(r['code']), r['name'], float(r['v1']), True))
    primems.sort()
    pm_codes = {p[0] for p in primems}
    counts.append(('prime meridian', len(primems), 0, ''))

    # ---- deprecated maps (datum and geographic CS from data/catalogue only)
    dep = {'datum': [], 'geogcs': [], 'projcs': [], 'geogtran': []}
    for r in deprecated_rows:
        dep[r['kind']].append((int(r['code']), int(r['current'])))
    dep_sources = {k: {a for a, _ in v} for k, v in dep.items()}

    # ---- datums
    geog_rows = epsg('geographic_crs.csv')
    lowest_crs = {}
    for r in sorted(geog_rows, key=lambda r: int(r['code'])):
        lowest_crs.setdefault(r['datum_code'], r['name'])
    datums = []
    datum_pm = {}
    datum_left = 0
    for r in epsg('datums.csv'):
        code = int(r['code'])
        if (int(r['ellipsoid_code']) not in sph_codes
                or int(r['prime_meridian_code']) not in pm_codes or code in dep_sources['datum']):
            datum_left += 1
            continue
        base = lowest_crs.get(r['code'], r['name'])
        datums.append((code, namer.limit('D_' + namer.normalise(base)), int(r['ellipsoid_code']),
                       r['deprecated'] != '1'))
        datum_pm[code] = int(r['prime_meridian_code'])
    for r in library:
        if r['kind'] == 'datum':
            datums.append((int(r['code']), r['name'], int(r['v1']), True))
            datum_pm[int(r['code'])] = 8901
    datums.sort()
    for d in datums:
        if d[2] not in sph_codes:
            sys.exit('gen_catalogue: datum %d on unknown spheroid %d' % (d[0], d[2]))
    datum_codes = {d[0] for d in datums}
    counts.append(('datum', len(datums), datum_left,
                   'EPSG numbers its newer datums from 1024, among the transformations'))

    # ---- geographic CSs
    unit_codes = {u[0] for u in units}
    geogcs = []
    geog_left = 0
    for r in geog_rows:
        code = int(r['code'])
        unit = GEOG_UNITS.get(r['angular_unit_code'])
        datum = int(r['datum_code'])
        if (unit is None or datum not in datum_codes
                or code in dep_sources['geogcs']):
            geog_left += 1
            continue
        geogcs.append((code, namer.limit('GCS_' + namer.normalise(r['name'])), datum,
                       datum_pm[datum], unit, r['deprecated'] != '1'))
    for r in library:
        if r['kind'] == 'geogcs':
            geogcs.append((int(r['code']), r['name'], int(r['v1']), int(r['v2']), int(r['v3']), True))
    geogcs.sort()
    for g in geogcs:
        if g[2] not in datum_codes or g[3] not in pm_codes or g[4] not in unit_codes:
            sys.exit('gen_catalogue: geographic CS %d has a missing component' % g[0])
    counts.append(('geographic CS', len(geogcs), geog_left,
                   'left out: 4126, which is a deprecated code of the library (it builds '
                   '4669)'))


    # ---- projected CSs
    geog_by_code = {g[0]: g for g in geogcs}
    sph_by_code = {s[0]: s for s in spheroids}
    datum_by_code = {d[0]: d for d in datums}
    unit_by_code = {u[0]: u for u in units}
    proj_rows = epsg('projected_crs.csv')
    # FIPS zone numbers from the NAD83 metre conversions (code 1SSZZ).
    fips = {}
    for r in proj_rows:
        if (r['name'].startswith('NAD83 / ') and r['conversion_name'].startswith('SPCS83 ')
                and r['conversion_name'].endswith('(meters)')):
            cc = int(r['conversion_code'])
            if 10000 <= cc <= 19999 and cc % 100 >= 30:
                zone = re.sub(r' \((ftUS|ft)\)$', '', r['name'].split(' / ', 1)[1])
                fips[zone] = '%02d%02d' % ((cc // 100) % 100, cc % 100 - 30)
    dep_projcs = {}
    for r in epsg('deprecations.csv'):
        if r['table'] == 'projected_crs':
            a, b = int(r['deprecated_code']), int(r['replacement_code'])
            dep_projcs.setdefault(a, []).append(b)
    projcs, pcs_left, pcs_reasons, pcs_left_codes = build_projcs(
        proj_rows, geog_by_code, datum_by_code, sph_by_code, unit_by_code, fips, namer)
    pcs_codes = {p['code'] for p in projcs}
    # A deprecated code whose replacement is an entry is served by the map,
    # except the codes data/catalogue/deprecated_kept.csv keeps as entries.
    kept = {int(r['code']) for r in own('deprecated_kept.csv')}
    for a, bs in sorted(dep_projcs.items()):
        current = [b for b in sorted(bs) if b in pcs_codes and b not in dep_projcs]
        if a in kept:
            if not current or a not in pcs_codes:
                sys.exit('gen_catalogue: kept deprecated projected CS %d is no such code' % a)
            continue
        if current and a not in dict(dep['projcs']):
            dep['projcs'].append((a, current[0]))
    if not kept <= set(dep_projcs):
        sys.exit('gen_catalogue: a kept projected CS is not deprecated')
    dep_sources['projcs'] = {a for a, _ in dep['projcs']}
    moved = [p for p in projcs if p['code'] in dep_sources['projcs']]
    projcs = [p for p in projcs if p['code'] not in dep_sources['projcs']]
    pcs_codes = {p['code'] for p in projcs}
    for a, b in dep['projcs']:
        if b not in pcs_codes:
            sys.exit('gen_catalogue: deprecated projected CS %d maps to missing %d' % (a, b))
    zone_blocks, zone_covered = apply_zone_blocks(own('projcs_zone_blocks.csv'), projcs, namer)
    pcs_left_codes['served through the deprecated map'] = [
        (p['code'], not p['current'], '') for p in moved]
    current_rows = [int(r['code']) for r in proj_rows if r['deprecated'] != '1']
    current_in = sum(1 for c in current_rows if c in pcs_codes)
    counts.append(('projected CS', len(projcs), pcs_left + len(moved),
                   'not EPSG-deprecated: %d of %d included (%.1f%%); reasons below' % (
                       current_in, len(current_rows), 100.0 * current_in / len(current_rows))))

    # ---- geographic transformations
    geogtran, gt_left, gt_reasons = build_geogtran(epsg('transformations.csv'), geog_by_code,
                                                   namer)
    gt_codes = {e['code'] for e in geogtran}
    for a, b in dep['geogtran']:
        if b not in gt_codes or a in gt_codes:
            sys.exit('gen_catalogue: deprecated transformation %d -> %d' % (a, b))
    counts.append(('geographic transformation', len(geogtran), gt_left,
                   '; '.join('%s: %d' % kv for kv in sorted(gt_reasons.items()))))

    # deprecated targets must be entries
    targets = {'datum': datum_codes, 'geogcs': {g[0] for g in geogcs}}
    for kind, pairs in dep.items():
        for a, b in pairs:
            if kind in targets and b not in targets[kind]:
                sys.exit('gen_catalogue: deprecated %s %d maps to missing %d' % (kind, a, b))
    for kind in dep:
        dep[kind].sort()

    # ---- write the tables
    write(out, 'src/catalogue/generated/code_ranges.h', code_ranges_source())
    write(out, 'src/catalogue/generated/table_unit.cpp', table_source(
        'UnitRow', 'kUnits', units, lambda u: '%d, %s, %s' % (u[0], cstr(u[1]), num(u[2]))))
    write(out, 'src/catalogue/generated/table_spheroid.cpp', table_source(
        'SpheroidRow', 'kSpheroids', spheroids,
        lambda s: '%d, %s, %s, %s' % (s[0], cstr(s[1]), num(s[2]), num(s[3]))))
    write(out, 'src/catalogue/generated/table_primem.cpp', table_source(
        'PrimemRow', 'kPrimems', primems, lambda p: '%d, %s, %s' % (p[0], cstr(p[1]), num(p[2]))))
    write(out, 'src/catalogue/generated/table_datum.cpp', table_source(
        'DatumRow', 'kDatums', datums, lambda d: '%d, %s, %d' % (d[0], cstr(d[1]), d[2])))
    write(out, 'src/catalogue/generated/table_geogcs.cpp', table_source(
        'GeogcsRow', 'kGeogcs', geogcs,
        lambda g: '%d, %s, %d, %d, %d' % (g[0], cstr(g[1]), g[2], g[3], g[4])))

    families_text, family_members = families_source(zone_blocks, projcs, zone_covered)
    write(out, 'src/catalogue/generated/table_projcs_families.cpp', families_text)

    params = []
    body = ''
    for p in projcs:
        body += '    {%d, %s, %d, %d, %d, %d, %d},\n' % (
            p['code'], cstr(p['name']), p['projection'], p['geogcs'], p['unit'], len(params),
            len(p['params']))
        params.extend(p['params'])
    pbody = ''.join('    {%d, %s},\n' % (c, num(v)) for c, v in params)
    write(out, 'src/catalogue/generated/table_projcs.cpp',
          HEADER + '#include "catalogue/catalogue_tables.h"\n\nnamespace kx::catalogue {\n\n'
          'constexpr ProjcsParam kProjcsParams_rows[] = {\n%s};\n'
          'const Table<ProjcsParam> kProjcsParams = {kProjcsParams_rows, '
          'sizeof(kProjcsParams_rows) / sizeof(kProjcsParams_rows[0])};\n\n'
          'constexpr ProjcsRow kProjcs_rows[] = {\n%s};\n'
          'const Table<ProjcsRow> kProjcs = {kProjcs_rows, sizeof(kProjcs_rows) / sizeof(kProjcs_rows[0])};\n\n'
          '}  // namespace kx::catalogue\n' % (pbody, body))

    params = []
    body = ''
    for e in geogtran:
        body += '    {%d, %s, %d, %d, %d, %d, %d, %s, %s, %s},\n' % (
            e['code'], cstr(e['name']), e['geogcs1'], e['geogcs2'], e['method'], len(params),
            len(e['params']), cstr(e['dataset']) if e['dataset'] else 'nullptr',
            num(e['accuracy']), 'false' if e['current'] else 'true')
        params.extend(e['params'])
    pbody = ''.join('    {%d, %s},\n' % (c, num(v)) for c, v in params)
    write(out, 'src/catalogue/generated/table_geogtran.cpp',
          HEADER + '#include "catalogue/catalogue_tables.h"\n\nnamespace kx::catalogue {\n\n'
          'constexpr ProjcsParam kGeogtranParams_rows[] = {\n%s};\n'
          'const Table<ProjcsParam> kGeogtranParams = {kGeogtranParams_rows, '
          'sizeof(kGeogtranParams_rows) / sizeof(kGeogtranParams_rows[0])};\n\n'
          'constexpr GeogtranRow kGeogtran_rows[] = {\n%s};\n'
          'const Table<GeogtranRow> kGeogtran = {kGeogtran_rows, sizeof(kGeogtran_rows) / sizeof(kGeogtran_rows[0])};\n\n'
          '}  // namespace kx::catalogue\n' % (pbody, body))
    dep_text = HEADER + '#include "catalogue/catalogue_tables.h"\n\nnamespace kx::catalogue {\n'
    for kind, var in (('datum', 'kDeprecatedDatums'), ('geogcs', 'kDeprecatedGeogcs'),
                      ('projcs', 'kDeprecatedProjcs'), ('geogtran', 'kDeprecatedGeogtran')):
        body = ''.join('    {%d, %d},\n' % p for p in dep[kind])
        dep_text += ('\nconstexpr CodeMap %s_rows[] = {\n%s};\n'
                     'const Table<CodeMap> %s = {%s_rows, sizeof(%s_rows) / sizeof(%s_rows[0])};\n'
                     % (var, body, var, var, var, var))
    dep_text += '\n}  // namespace kx::catalogue\n'
    write(out, 'src/catalogue/generated/table_deprecated.cpp', dep_text)

    # ---- macro name tables and kx_def.h
    name_tables = [
        ('GT_', 'kGeogtranNames', macro_table('GT_', 'geogtran', [(e['code'], e['name'], e['current']) for e in geogtran], '')),
        ('PCS_', 'kProjcsNames', macro_table('PCS_', 'projcs', [(p['code'], p['name'], p['current']) for p in projcs], '')),
        ('S_', 'kSpheroidNames', macro_table('S_', 'spheroid', [(s[0], s[1], s[4]) for s in spheroids], '')),
        ('GCS_', 'kGeogcsNames', macro_table('GCS_', 'geogcs', [(g[0], g[1], g[5]) for g in geogcs], 'GCS_')),
        ('D_', 'kDatumNames', macro_table('D_', 'datum', [(d[0], d[1], d[3]) for d in datums], 'D_')),
        ('PM_', 'kPrimemNames', macro_table('PM_', 'primem', [(p[0], p[1], p[3]) for p in primems], '')),
        ('U_', 'kUnitNames', macro_table('U_', 'unit', [(u[0], u[1], u[3]) for u in units], '')),
    ]
    fixed = [(r['macro'], int(r['code'])) for r in own('fixed_names.csv')]
    for prefix, var, table in name_tables:
        if prefix in ('PM_', 'U_'):
            have = set(table)
            for row in fixed:
                if row[0].startswith('KX_' + prefix) and row not in have:
                    sys.exit('gen_catalogue: fixed name %s %d is not generated' % row)
    for prefix, var in (('PRJ_', 'kProjectionNames'), ('MTH_', 'kMethodNames'),
                        ('PAR_', 'kParameterNames')):
        rows = sorted((r for r in fixed if r[0].startswith('KX_' + prefix)),
                      key=lambda row: row[0].encode('ascii'))
        name_tables.append((prefix, var, rows))
    names_text = HEADER + '#include "catalogue/catalogue_tables.h"\n\nnamespace kx::catalogue {\n'
    def_text = ('/*\n * kx_def.h - symbolic names of the libkx catalogue entries, each defined\n'
                ' * as its catalogue code. Generated by tools/gen_catalogue.py from data/;\n'
                ' * do not edit.\n */\n#ifndef KX_DEF_H\n#define KX_DEF_H\n')
    for prefix, var, table in name_tables:
        body = ''.join('    {%s, %d},\n' % (cstr(m), c) for m, c in table)
        names_text += ('\nconstexpr NameRow %s_rows[] = {\n%s};\n'
                       'const Table<NameRow> %s = {%s_rows, sizeof(%s_rows) / sizeof(%s_rows[0])};\n'
                       % (var, body, var, var, var, var))
        def_text += '\n' + ''.join('#define %s %d\n' % (m, c) for m, c in table)
    names_text += '\n}  // namespace kx::catalogue\n'
    def_text += '\n#endif /* KX_DEF_H */\n'
    write(out, 'src/catalogue/generated/table_names.cpp', names_text)
    write(out, 'include/kx_def.h', def_text)

    # ---- counts
    lines = ['# Catalogue counts', '',
             'Generated by tools/gen_catalogue.py; entries per kind built from data/.', '',
             '| kind | included | left out | note |', '|---|---|---|---|']
    for kind, inc, left, note in counts:
        lines.append('| %s | %d | %d | %s |' % (kind, inc, left, note))
    lines += ['', 'Projected CS families: utm %d (computed, %d blocks); ' % (
        len(zone_covered), len(zone_blocks)) + '; '.join(
            '%s %d' % (f, len(family_members.get(f, [])))
            for f in ['misc'] + [f for f, _ in PROJCS_FAMILIES])]
    lines += left_out_section(pcs_left_codes)
    lines += ['', 'Names cut to %d characters: %d' % (NAME_MAX, len(namer.cut)), '']
    lines += ['- `%s`' % n for n in sorted(set(namer.cut))]
    write(out, 'data/catalogue/counts.md', '\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
