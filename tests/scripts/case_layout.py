"""The one layout of the projection oracle tables, read by
tests/projections/oracle_test.cpp:
  <stem>_cases.csv   case,projection (registry name),a,rf (0 sphere),
                     parameters (slot:value, angles in degrees),oracle
  <stem>_points.csv  case,lon,lat,x,y[,ilon,ilat] (degrees, metres; ilon, ilat
                     the oracle's own inverse of x, y where it has one)."""
import os

OUT = os.path.join(os.path.dirname(__file__), '..', 'data', 'projections')
CASES_HEADER = '# case,projection,a,rf,parameters (slot:value, angles in degrees),oracle\n'

_SPECIAL = {
    'lcc': 'Lambert_Conformal_Conic', 'stereographic_np': 'Stereographic_North_Pole',
    'stereographic_sp': 'Stereographic_South_Pole',
    'hotine_azimuth_natorigin': 'Hotine_Oblique_Mercator_Azimuth_Natural_Origin',
    'hotine_azimuth_center': 'Hotine_Oblique_Mercator_Azimuth_Center',
    'hotine_two_point_natorigin': 'Hotine_Oblique_Mercator_Two_Point_Natural_Origin',
    'hotine_two_point_center': 'Hotine_Oblique_Mercator_Two_Point_Center',
    'rso_natorigin': 'Rectified_Skew_Orthomorphic_Natural_Origin',
    'rso_center': 'Rectified_Skew_Orthomorphic_Center', 'robinson_velmar': 'Robinson_VELMAR',
    'van_der_grinten_i': 'Van_der_Grinten_I', 'cylindrical_eqarea': 'Cylindrical_Equal_Area',
    'tm_complex': 'Transverse_Mercator_Complex',
    'pseudo_mercator': 'Popular_Visualisation_Pseudo_Mercator',
    'tm_south': 'Transverse_Mercator_South_Orientated',
    'lcc_west': 'Lambert_Conformal_Conic_West_Orientated',
    'bonne_south': 'Bonne_South_Orientated', 'cassini_south': 'Cassini_South_Orientated',
    'stereographic_polar_c': 'Polar_Stereographic_Variant_C'}


def registry_name(fn):
    """The registry's name of a projection function's short name."""
    if fn in _SPECIAL:
        return _SPECIAL[fn]
    words = fn.split('_')
    return '_'.join(w.upper() if set(w) <= set('iv') else w.capitalize() for w in words)


def parameters(slots):
    """slot:value text of {slot: value}; None values are left out."""
    return ' '.join('%d:%r' % (k, v) for k, v in sorted(slots.items()) if v is not None)


def case_row(name, fn, a, rf, slots, oracle):
    return '%s,%s,%r,%r,%s,%s\n' % (name, registry_name(fn), a, rf, parameters(slots),
                                    oracle.replace(',', ';'))
