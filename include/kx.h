/*
 * kx.h - the public interface of libkx, a library of map projections and
 * geodetic coordinate systems.
 *
 * Conventions that hold for every function below unless its comment says
 * otherwise:
 *  - Handles are opaque pointers to heap records. Whoever holds a handle owns
 *    it; composites own the components handed to their constructors, and
 *    accessors return borrowed handles that must not be deleted.
 *  - No function aborts, throws or prints (except quorvex_qfeid). Failure is
 *    reported by a null handle, 0, or the documented default value.
 *  - Angles inside the mathematics and projection functions are radians,
 *    lengths metres. Coordinate arrays hold n consecutive (x, y) or
 *    (longitude, latitude) pairs of doubles and are converted in place.
 *  - Numbers in text are written with 16 significant digits and a decimal
 *    point, independent of the caller's locale.
 *
 * The header compiles as C99 and as C++.
 */
#ifndef KX_H
#define KX_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define KX_API __attribute__((visibility("default")))
#else
#define KX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Handle types
 * ------------------------------------------------------------------------ */

typedef struct kx_unit_rec *kx_unit;
typedef struct kx_spheroid_rec *kx_spheroid;
typedef struct kx_datum_rec *kx_datum;
typedef struct kx_primem_rec *kx_primem;
typedef struct kx_geogcs_rec *kx_geogcs;
typedef struct kx_projection_rec *kx_projection;
typedef struct kx_parameter_rec *kx_parameter;
typedef struct kx_projcs_rec *kx_projcs;
typedef struct kx_method_rec *kx_method;
typedef struct kx_geogtran_rec *kx_geogtran;
typedef struct kx_gtconstants_rec *kx_gtconstants;
typedef struct kx_pcsconstants_rec *kx_pcsconstants;
typedef struct kx_geoxyzcs_rec *kx_geoxyzcs;

/* Either a kx_geogcs or a kx_projcs; the kind is told by the record itself. */
typedef void *kx_coordsys;

/* Kind identifiers stored in the first word of every record. */
enum {
  KX_KIND_UNIT = 2,
  KX_KIND_SPHEROID = 4,
  KX_KIND_DATUM = 8,
  KX_KIND_PRIMEM = 16,
  KX_KIND_GEOGCS = 32,
  KX_KIND_PROJECTION = 64,
  KX_KIND_PARAMETER = 128,
  KX_KIND_PROJCS = 256,
  KX_KIND_METHOD = 512,
  KX_KIND_GEOGTRAN = 1024,
  KX_KIND_GTCONSTANTS = 2048,
  KX_KIND_PCSCONSTANTS = 4096,
  KX_KIND_GEOXYZCS = 8192
};

/* A horizon: an array of parts, the part count stored in the first one. */
typedef struct kx_horizon {
  int32_t count;     /* parts in the whole horizon (first record) */
  int32_t shape;     /* 0 envelope (west-south, east-north corners), 1 closed ring */
  int32_t inclusion; /* 1 valid region inside, 0 outside */
  int32_t seam;      /* 0 all longitudes, 3 within [-pi, pi], 1 east beyond +pi, 2 west beyond -pi */
  int32_t npoints;   /* vertices */
  double *points;    /* npoints (x, y) pairs, owned by the horizon */
} kx_horizon;

/* Projection forward/inverse: spheroid pair {a, e2}, 16 parameters, count,
 * coordinates in place, optional loaded constants. Returns points converted. */
typedef int (*kx_projection_fn)(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
/* Projection constants: fills the record; returns the double count or 0. */
typedef int (*kx_pcsconst_fn)(kx_pcsconstants pc, const double *sph, const double *par);
/* Horizon of a projection from its spheroid pair and parameters (radians, metres). */
typedef kx_horizon *(*kx_horizon_fn)(const double *sph, const double *par);
/* Transformation method: spheroid pairs of the first and second CS, 16 values,
 * dataset name, count, coordinates (radians), heights, grid constants. */
typedef int (*kx_method_fn)(const double *sph1, const double *sph2, const double *val,
                            const char *dataset, int n, double *coords, double *heights,
                            const int *ivals, const float *fvals, const double *dvals);
/* Transformation constants: fills the record from the dataset name; nonzero on success. */
typedef int (*kx_gtconst_fn)(kx_gtconstants gc, const char *dataset);

/* ========================================================================
 * Foundation: memory, strings, number text, byte order, version
 * ======================================================================== */

/* Zero-filled block of size bytes; null when size < 1 or memory is exhausted. */
KX_API void *kx_allocate(int size);
/* Frees a block from kx_allocate; null is ignored. */
KX_API void kx_deallocate(void *block);
/* The system reallocation of block to size bytes. */
KX_API void *kx_reallocate(void *block, int size);
/* Synonyms of kx_allocate and kx_deallocate. */
KX_API void *kx_memalloc(int size);
KX_API void kx_memdealloc(void *block);

/* 0 when equal ignoring case; -1 when the first differing character of a,
 * upper-cased, is smaller than that of b; otherwise 1. */
KX_API int kx_strcmp_ci(const char *a, const char *b);
/* First character of text equal to c ignoring case, or null. */
KX_API char *kx_strchr_ci(const char *text, int c);
/* First case-insensitive occurrence of pattern in text; text for an empty
 * pattern; null when absent. */
KX_API char *kx_strstr_ci(const char *text, const char *pattern);
/* Removes leading and trailing whitespace (TAB, CR, LF, backspace, space) in
 * place; returns text. */
KX_API char *kx_trimstring(char *text);
/* Appends "/" (unless dir already ends with one) and name to dir, in place;
 * returns dir. The caller sizes dir. */
KX_API char *kx_pathcat(char *dir, const char *name);

/* Writes value as text with at most digits significant digits (the library
 * always passes 16): "6378137.0", "0.0", "1.000000e+20". At most 25
 * characters and the terminator; a 32-byte buffer suffices. Independent of the
 * process locale, which it never changes. Returns buffer. */
KX_API char *kx_dtoa(double value, char *buffer, int digits);
/* The number at the start of text in the "C" numeric locale; 0 for null or a
 * text that does not start with a number. Trailing characters are ignored. */
KX_API double kx_atod(const char *text);

/* Reverse the byte order of each 32-bit word / 8-byte double in place. */
KX_API void kx_swap4_int(int32_t *words, int count);
KX_API void kx_swap8_dbl(double *values, int count);
/* Stores the library's NaN, bit pattern 0x7FF8000000000001. */
KX_API void kx_double_nan(double *out);

/* "Ortelan Version 9.0 (Mar  3 2005)"; constant, not to be freed. */
KX_API const char *kx_version(void);
/* Writes the build identification line to standard output; the result of puts. */
KX_API int quorvex_qfeid(void);

/* ========================================================================
 * Foundation: data homes, environment wrappers and mutexes
 * ======================================================================== */

/* ========================================================================
 * Foundation: vectors and sequences
 * ======================================================================== */

/* ========================================================================
 * Objects: common text tokenizer
 * ======================================================================== */

/* ========================================================================
 * Objects: spheroid, prime meridian, unit, parameter
 * ======================================================================== */

/* ========================================================================
 * Objects: datum, geographic CS, geocentric CS
 * ======================================================================== */

/* ========================================================================
 * Objects: projection and method
 * ======================================================================== */

/* ========================================================================
 * Objects: projected CS and projection constants
 * ======================================================================== */

/* ========================================================================
 * Objects: geographic transformation and transformation constants
 * ======================================================================== */

/* ========================================================================
 * Objects: generic coordinate system
 * ======================================================================== */

/* ========================================================================
 * Mathematics: ellipsoid auxiliary functions
 * ======================================================================== */

/* Angle reduced to [-pi, pi] (both ends kept); NaN for NaN. */
KX_API double kx_delta(double angle);
/* 1 when |x - y| <= ((|x| + |y|)/2 + 1) * 2^-48, else 0 (0 for NaN). */
KX_API int kx_eq(double x, double y);
/* sqrt(1 - e2 sin^2 phi); meridian and prime-vertical radii of curvature. */
KX_API double kx_w(double e2, double phi);
KX_API double kx_m(double a, double e2, double phi);
KX_API double kx_n(double a, double e2, double phi);
/* Auxiliary latitudes (radians) from the geodetic latitude and back:
 * conformal chi, authalic beta, rectifying mu, reduced eta, geocentric phig. */
KX_API double kx_phi_to_chi(double e2, double phi);
KX_API double kx_chi_to_phi(double e2, double chi);
KX_API double kx_phi_to_beta(double e2, double phi);
KX_API double kx_beta_to_phi(double e2, double beta);
KX_API double kx_phi_to_mu(double e2, double phi);
KX_API double kx_mu_to_phi(double e2, double mu);
KX_API double kx_phi_to_eta(double e2, double phi);
KX_API double kx_eta_to_phi(double e2, double eta);
KX_API double kx_phi_to_phig(double e2, double phi);
KX_API double kx_phig_to_phi(double e2, double phig);
KX_API double kx_phig_to_eta(double e2, double phig);
/* Meridian arc from the equator to phi, and to the pole (unit of a). */
KX_API double kx_q(double a, double e2, double phi);
KX_API double kx_q90(double a, double e2);
/* Radius of the sphere of equal surface area. */
KX_API double kx_auth_r(double a, double e2);
/* Geodetic (phi, lambda, h) to geocentric (X, Y, Z) and back. */
KX_API void kx_curv_to_cart(double a, double e2, double phi, double lambda, double h,
                            double *x, double *y, double *z);
KX_API void kx_cart_to_curv(double a, double e2, double x, double y, double z,
                            double *phi, double *lambda, double *h);
/* A root of f(x, data) in [0, pi/2] by Brent's method; NaN when f yields NaN. */
KX_API double kx_zeroin(void *data, double (*f)(double x, void *data));

/* ========================================================================
 * Mathematics: geodesics
 * ======================================================================== */

/* ========================================================================
 * Mathematics: elliptic integrals, elliptic functions, complex arithmetic
 * ======================================================================== */

/* ========================================================================
 * Mathematics: planar predicates
 * ======================================================================== */

/* ========================================================================
 * Projections: driver
 * ======================================================================== */

/* ========================================================================
 * Projections: algorithms (forward, inverse, constants)
 * ======================================================================== */

/* ========================================================================
 * Transformations: driver and methods
 * ======================================================================== */

/* ========================================================================
 * Catalogue: factories, macro names, listings
 * ======================================================================== */

/* ========================================================================
 * Horizons
 * ======================================================================== */

KX_API void kx_horizon_del(kx_horizon *horizon);

/* ========================================================================
 * Legacy projection files
 * ======================================================================== */

/* ========================================================================
 * MGRS
 * ======================================================================== */

/* ========================================================================
 * Projected-CS information
 * ======================================================================== */

#ifdef __cplusplus
}
#endif

#endif /* KX_H */
