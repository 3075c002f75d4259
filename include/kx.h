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
#include <stdio.h>

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

/* A function returning a directory text (or null). */
typedef const char *(*kx_home_func)(void);
/* Install (or, with null, remove) the function naming the data home (grid
 * files) or the user definition home. Set them before other threads use the
 * library. */
KX_API void kx_datahome_setfunc(kx_home_func f);
KX_API void kx_objedithome_setfunc(kx_home_func f);
/* The installed function's result, else the environment variable
 * "KXDATAHOME" / "KXOBJEDITHOME", else null. Borrowed text: copy it. */
KX_API const char *kx_get_datahome(void);
KX_API const char *kx_get_objedithome(void);

/* A mutex with optional try-lock and recursive ownership. */
typedef struct SES_Mutex_rec *SES_Mutex;
enum {
  SES_MUTEX_TRYLOCK = 1,    /* SES_Mutex_TryLock permitted */
  SES_MUTEX_RECURSIVE = 2,  /* the owner may lock again; as many unlocks release it */
  SES_MUTEX_INERT = 1024    /* lock and unlock succeed without doing anything */
};
/* Result codes of the SES family. */
enum {
  SES_OK = 0,
  SES_ERR_NOMEM = -13,   /* out of memory */
  SES_ERR_INIT = -109,   /* the system mutex or condition could not be initialised */
  SES_ERR_NULL = -65,    /* null mutex handle */
  SES_ERR_NOTRY = -66,   /* TryLock on a mutex created without SES_MUTEX_TRYLOCK */
  SES_BUSY = 101,        /* TryLock: held by another thread */
  SES_ERR_CHDIR = -269   /* SES_chdir failed */
};
/* Creates a mutex into *out; on failure nothing is left allocated and *out is null. */
KX_API int SES_Mutex_Create(unsigned flags, void *reserved, SES_Mutex *out);
KX_API int SES_Mutex_Destroy(SES_Mutex m);
KX_API int SES_Mutex_Lock(SES_Mutex m);
KX_API int SES_Mutex_TryLock(SES_Mutex m);
KX_API int SES_Mutex_UnLock(SES_Mutex m);
/* The process-wide recursive mutexes of the wrappers below, created on the
 * first wrapper call and held across fork() so the child starts consistent. */
KX_API extern SES_Mutex Env_Mutex;
KX_API extern SES_Mutex ChDir_Mutex;
/* getenv under Env_Mutex; null when unset or locking fails. */
KX_API char *SES_getenv(const char *name);
/* putenv under Env_Mutex: the environment keeps the text itself, so it must
 * stay alive and unchanged. Lock/unlock failure codes take precedence. */
KX_API int SES_putenv(char *text);
/* chdir under ChDir_Mutex: 0, SES_ERR_CHDIR, or a lock failure code. */
KX_API int SES_chdir(const char *path);
/* getcwd under ChDir_Mutex into a caller buffer of at least 512 bytes; the
 * buffer, or null on failure. */
KX_API char *SES_getcwd(char *buffer);

/* ========================================================================
 * Foundation: vectors and sequences
 * ======================================================================== */

/* A fixed-length array of elements of a fixed size, copied by value. */
typedef struct kx_vector_rec *kx_vector;
/* Null when length or elemsize is below 1, the size overflows, or memory is exhausted. */
KX_API kx_vector kx_create_vector(int length, int elemsize);
KX_API void kx_destroy_vector(kx_vector v);
KX_API int kx_vector_length(kx_vector v);   /* 0 for null */
KX_API int kx_vector_elemsize(kx_vector v); /* 0 for null */
/* Copy an element into / out of slot index; 1, or 0 for null arguments or an
 * index outside 0..length-1. */
KX_API int kx_vector_set(kx_vector v, int index, const void *element);
KX_API int kx_vector_get(kx_vector v, int index, void *destination);

/* A double-ended sequence in a ring buffer that doubles when full. */
typedef struct kx_seq_rec *kx_seq;
KX_API kx_seq kx_create_seq(int capacity, int elemsize);
KX_API void kx_destroy_seq(kx_seq s);
KX_API int kx_seq_length(kx_seq s);   /* element count; 0 for null */
KX_API int kx_seq_elemsize(kx_seq s); /* 0 for null */
/* Write / read element number position (0 = head); 1, or 0 when out of range. */
KX_API int kx_seq_set(kx_seq s, int position, const void *element);
KX_API int kx_seq_get(kx_seq s, int position, void *destination);
/* Append a copy at the tail / head; 1, or 0 for null or failed growth
 * (the sequence is then unchanged). */
KX_API int kx_seq_apptail(kx_seq s, const void *element);
KX_API int kx_seq_apphead(kx_seq s, const void *element);
/* Copy out and remove the tail / head element; 1, or 0 when empty. */
KX_API int kx_seq_remtail(kx_seq s, void *destination);
KX_API int kx_seq_remhead(kx_seq s, void *destination);

/* ========================================================================
 * Objects: common text tokenizer
 * ======================================================================== */

/* Splits the first element of text introduced by keyword (case-insensitive,
 * followed after optional whitespace by '[' or '(') into tokens.
 * buffer must hold 1024 bytes and tokens 200 entries; the element text is
 * copied into buffer (at most 1023 characters, the rest is not seen) and cut
 * at the bracket set ("[]," and '"', or "()," and '"'); tokens[i] point
 * into buffer, at most 199 of them, followed by a null entry. Commas inside
 * double-quoted names are kept (as byte 127 until a reader turns them back);
 * an empty or blank quoted name becomes the token "_". *count receives the
 * token count: 0 for a null text or argument, or when no occurrence of the
 * keyword is followed by a bracket. Never writes outside buffer and tokens. */
KX_API void kx_objstring_tokens(const char *text, const char *keyword, char *buffer,
                                char **tokens, int *count);

/* ========================================================================
 * Objects: spheroid, prime meridian, unit, parameter
 * ======================================================================== */

/* Common family of every object kind K below (spheroid, primem, unit,
 * parameter, datum, geogcs, geoxyzcs):
 *  kx_K_new       a new object (status 1, name cut to 63 characters) or null
 *                 for a null name or component, a name whose kept part holds
 *                 '[', ']', '"' or byte 127 (the text form cannot carry it;
 *                 parentheses are fine), a value out of range, or no
 *                 memory. A failing constructor leaves components with the
 *                 caller; a succeeding one owns them.
 *  kx_K_del       deletes the object and the components it owns; null and
 *                 handles of another kind are ignored.
 *  kx_K_name      zero-fills the 64-byte buffer and copies the name into it
 *                 (a null buffer is ignored; an invalid handle leaves it
 *                 zeroed).
 *  kx_K_status    the status byte (1 constructed, 2 read from text, 4/8/16
 *                 from the catalogue), 0 for an invalid handle;
 *                 kx_K_status_set stores any byte, 1, or 0 when invalid.
 *  kx_K_p         1 for a valid object of the kind, else 0.
 *  kx_K_eq        1 when names are equal ignoring case and every number is
 *                 within |a - b| <= ((|a| + |b|)/2 + 1) * 2^-48 (a NaN equals
 *                 nothing), components compared likewise; 0 otherwise or
 *                 when either handle is invalid. The status is not compared.
 *  kx_K_clone     a deep copy with status 1, or null for an invalid handle.
 *  kx_K_to_string writes the element text into buffer and returns its
 *                 length (0 for a null buffer); the projected CS and
 *                 transformation writers return the buffer instead (null
 *                 for a null buffer). An invalid handle is written
 *                 with the default values and an empty name. The library
 *                 cannot bound the buffer: it must hold KX_TEXT_MAX_K + 1
 *                 bytes (limits below, reached with 63-character names and
 *                 the longest numbers kx_dtoa writes).
 *  kx_K_from_string reads the first element of the kind in text (null text,
 *                 no element or a failing element: null); status 2.
 *  kx_K_from_tokens reads the element from a kx_objstring_tokens array,
 *                 searching for the kind's keyword from index start; *first
 *                 and *last (either may be null) are set to start, then to
 *                 the keyword's index and the last token the element used.
 *                 Returns the object (status 2) or null.
 * Infinite numbers: an infinite axis or unit factor fails the range check
 * like NaN does; a parameter takes any value, NaN and infinities included. */

/* Largest texts written by kx_K_to_string, terminator not counted. */
#define KX_TEXT_MAX_NUMBER 25
#define KX_TEXT_MAX_SPHEROID 127  /* SPHEROID["<63>",<25>,<25>] */
#define KX_TEXT_MAX_PRIMEM 99     /* PRIMEM["<63>",<25>] */
#define KX_TEXT_MAX_UNIT 97       /* UNIT["<63>",<25>] */
#define KX_TEXT_MAX_PARAMETER 102 /* PARAMETER["<63>",<25>] */

/* Spheroid: semi-major axis (finite, > 0) and flattening (0 <= f < 1; 0 is a
 * sphere). Text: SPHEROID["name",axis,inverse flattening], the inverse
 * flattening written "0.0" when |f| <= 2^-48 and read as f = 1/value (0 for
 * exactly 0). Defaults for an invalid handle: axis 1.0, flattening 0.0. */
KX_API kx_spheroid kx_spheroid_new(const char *name, double axis, double flattening);
KX_API void kx_spheroid_del(kx_spheroid spheroid);
KX_API void kx_spheroid_name(kx_spheroid spheroid, char *name);
KX_API double kx_spheroid_axis(kx_spheroid spheroid);
KX_API double kx_spheroid_flattening(kx_spheroid spheroid);
KX_API uint8_t kx_spheroid_status(kx_spheroid spheroid);
KX_API int kx_spheroid_status_set(kx_spheroid spheroid, uint8_t status);
KX_API int kx_spheroid_p(kx_spheroid spheroid);
KX_API int kx_spheroid_eq(kx_spheroid a, kx_spheroid b);
KX_API kx_spheroid kx_spheroid_clone(kx_spheroid spheroid);
KX_API int kx_spheroid_to_string(kx_spheroid spheroid, char *buffer);
KX_API kx_spheroid kx_spheroid_from_string(const char *text);
KX_API kx_spheroid kx_spheroid_from_tokens(char *const *tokens, int count, int start, int *first,
                                           int *last);

/* Prime meridian: longitude in degrees east of Greenwich, -180 <= lon <= 180.
 * Text: PRIMEM["name",longitude]; a longitude that is not a number reads 0.
 * Default for an invalid handle: 0.0. */
KX_API kx_primem kx_primem_new(const char *name, double longitude);
KX_API void kx_primem_del(kx_primem primem);
KX_API void kx_primem_name(kx_primem primem, char *name);
KX_API double kx_primem_longitude(kx_primem primem);
KX_API uint8_t kx_primem_status(kx_primem primem);
KX_API int kx_primem_status_set(kx_primem primem, uint8_t status);
KX_API int kx_primem_p(kx_primem primem);
KX_API int kx_primem_eq(kx_primem a, kx_primem b);
KX_API kx_primem kx_primem_clone(kx_primem primem);
KX_API int kx_primem_to_string(kx_primem primem, char *buffer);
KX_API kx_primem kx_primem_from_string(const char *text);
KX_API kx_primem kx_primem_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last);

/* Unit: size of one unit in metres (linear) or radians (angular), finite and
 * > 0. Text: UNIT["name",factor]. Default for an invalid handle: 1.0. */
KX_API kx_unit kx_unit_new(const char *name, double factor);
KX_API void kx_unit_del(kx_unit unit);
KX_API void kx_unit_name(kx_unit unit, char *name);
KX_API double kx_unit_factor(kx_unit unit);
KX_API uint8_t kx_unit_status(kx_unit unit);
KX_API int kx_unit_status_set(kx_unit unit, uint8_t status);
KX_API int kx_unit_p(kx_unit unit);
KX_API int kx_unit_eq(kx_unit a, kx_unit b);
KX_API kx_unit kx_unit_clone(kx_unit unit);
KX_API int kx_unit_to_string(kx_unit unit, char *buffer);
KX_API kx_unit kx_unit_from_string(const char *text);
KX_API kx_unit kx_unit_from_tokens(char *const *tokens, int count, int start, int *first,
                                   int *last);

/* Parameter: a named value of a projection or transformation, any value.
 * Text: PARAMETER["name",value]; a value that is not a number reads 0.
 * Default value for an invalid handle: 0.0. Unlike the other kinds,
 * kx_parameter_name copies the name without zero-filling and leaves the
 * buffer untouched for an invalid handle. */
KX_API kx_parameter kx_parameter_new(const char *name, double value);
KX_API void kx_parameter_del(kx_parameter parameter);
KX_API void kx_parameter_name(kx_parameter parameter, char *name);
KX_API double kx_parameter_value(kx_parameter parameter);
KX_API uint8_t kx_parameter_status(kx_parameter parameter);
KX_API int kx_parameter_status_set(kx_parameter parameter, uint8_t status);
KX_API int kx_parameter_p(kx_parameter parameter);
KX_API int kx_parameter_eq(kx_parameter a, kx_parameter b);
KX_API kx_parameter kx_parameter_clone(kx_parameter parameter);
KX_API int kx_parameter_to_string(kx_parameter parameter, char *buffer);
KX_API kx_parameter kx_parameter_from_string(const char *text);
KX_API kx_parameter kx_parameter_from_tokens(char *const *tokens, int count, int start,
                                             int *first, int *last);
/* Replaces the name (cut to 63 characters): 1, or 0 (name unchanged) for a
 * null name, a name refused as by kx_K_new, or an invalid handle. */
KX_API int kx_parameter_name_set(kx_parameter parameter, const char *name);
/* Replaces the value: 1, or 0 for an invalid handle. */
KX_API int kx_parameter_value_set(kx_parameter parameter, double value);
/* Slot 0..15 of the parameter array for the parameter's name (case and
 * spaces/underscores ignored, e.g. "false easting" -> 0; names starting with
 * "Dataset_" -> 15); -1 for a name without a slot; -2 for an invalid handle. */
KX_API int kx_parameter_index(kx_parameter parameter);

/* ========================================================================
 * Objects: datum, geographic CS, geocentric CS
 * ======================================================================== */

/* Common family as for the leaf kinds above. Constructors take ownership of
 * their components without checking their kinds; accessors return the owned
 * handle (null for an invalid handle), which the caller must not delete and
 * which dies with its owner. Readers accept the components in any order and
 * correct the names "D_Deutsche_Hauptdreiecksnetz" and
 * "GCS_Deutsche_Hauptdreiecksnetz" to "...Deutsches...". */

#define KX_TEXT_MAX_DATUM 200    /* DATUM["<63>",<SPHEROID>] */
#define KX_TEXT_MAX_GEOGCS 472   /* GEOGCS["<63>",<DATUM>,<PRIMEM>,<UNIT>] */
#define KX_TEXT_MAX_GEOXYZCS 646 /* GEOXYZCS["<63>",<GEOGCS>,<UNIT>] */

/* Datum: a name and a spheroid. */
KX_API kx_datum kx_datum_new(const char *name, kx_spheroid spheroid);
KX_API void kx_datum_del(kx_datum datum);
KX_API void kx_datum_name(kx_datum datum, char *name);
KX_API kx_spheroid kx_datum_spheroid(kx_datum datum);
KX_API uint8_t kx_datum_status(kx_datum datum);
KX_API int kx_datum_status_set(kx_datum datum, uint8_t status);
KX_API int kx_datum_p(kx_datum datum);
KX_API int kx_datum_eq(kx_datum a, kx_datum b);
KX_API kx_datum kx_datum_clone(kx_datum datum);
KX_API int kx_datum_to_string(kx_datum datum, char *buffer);
KX_API kx_datum kx_datum_from_string(const char *text);
KX_API kx_datum kx_datum_from_tokens(char *const *tokens, int count, int start, int *first,
                                     int *last);

/* Geographic CS: datum, prime meridian and angular unit. */
KX_API kx_geogcs kx_geogcs_new(const char *name, kx_datum datum, kx_primem primem, kx_unit unit);
KX_API void kx_geogcs_del(kx_geogcs geogcs);
KX_API void kx_geogcs_name(kx_geogcs geogcs, char *name);
KX_API kx_datum kx_geogcs_datum(kx_geogcs geogcs);
KX_API kx_primem kx_geogcs_primem(kx_geogcs geogcs);
KX_API kx_unit kx_geogcs_unit(kx_geogcs geogcs);
KX_API uint8_t kx_geogcs_status(kx_geogcs geogcs);
KX_API int kx_geogcs_status_set(kx_geogcs geogcs, uint8_t status);
KX_API int kx_geogcs_p(kx_geogcs geogcs);
KX_API int kx_geogcs_eq(kx_geogcs a, kx_geogcs b);
KX_API kx_geogcs kx_geogcs_clone(kx_geogcs geogcs);
KX_API int kx_geogcs_to_string(kx_geogcs geogcs, char *buffer);
KX_API kx_geogcs kx_geogcs_from_string(const char *text);
KX_API kx_geogcs kx_geogcs_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last);

/* Geocentric CS: a geographic CS and the linear unit of X, Y, Z. */
KX_API kx_geoxyzcs kx_geoxyzcs_new(const char *name, kx_geogcs geogcs, kx_unit unit);
KX_API void kx_geoxyzcs_del(kx_geoxyzcs geoxyzcs);
KX_API void kx_geoxyzcs_name(kx_geoxyzcs geoxyzcs, char *name);
KX_API kx_geogcs kx_geoxyzcs_geogcs(kx_geoxyzcs geoxyzcs);
KX_API kx_unit kx_geoxyzcs_unit(kx_geoxyzcs geoxyzcs);
KX_API uint8_t kx_geoxyzcs_status(kx_geoxyzcs geoxyzcs);
KX_API int kx_geoxyzcs_status_set(kx_geoxyzcs geoxyzcs, uint8_t status);
KX_API int kx_geoxyzcs_p(kx_geoxyzcs geoxyzcs);
KX_API int kx_geoxyzcs_eq(kx_geoxyzcs a, kx_geoxyzcs b);
KX_API kx_geoxyzcs kx_geoxyzcs_clone(kx_geoxyzcs geoxyzcs);
KX_API int kx_geoxyzcs_to_string(kx_geoxyzcs geoxyzcs, char *buffer);
KX_API kx_geoxyzcs kx_geoxyzcs_from_string(const char *text);
KX_API kx_geoxyzcs kx_geoxyzcs_from_tokens(char *const *tokens, int count, int start, int *first,
                                           int *last);

/* ========================================================================
 * Objects: projection and method
 * ======================================================================== */

/* A projection names a map projection and carries its functions; a method
 * names a datum transformation method. Names read from text or built from a
 * catalogue code must be registry names (case-insensitive; a PROJECTION name
 * has its spaces turned into underscores). Rows whose functions are not yet
 * part of the library cannot be read (null). Accessors never fail: for an
 * invalid handle forward/inverse are identity functions returning the point
 * count, the horizon is kx_horizon_normal_cylindrical, the rest null. */

#define KX_TEXT_MAX_PROJECTION 77 /* PROJECTION["<63>"] */
#define KX_TEXT_MAX_METHOD 73     /* METHOD["<63>"] */

/* Null unless name, forward and inverse are non-null and the name is one
 * the text form carries (as for kx_K_new above); a null horizon is stored as
 * kx_horizon_normal_cylindrical; status 1. */
KX_API kx_projection kx_projection_new(const char *name, kx_projection_fn forward,
                                       kx_projection_fn inverse, kx_horizon_fn horizon);
KX_API kx_projection kx_projection_new_withconstfunc(const char *name, kx_projection_fn forward,
                                                     kx_projection_fn inverse,
                                                     kx_horizon_fn horizon,
                                                     kx_pcsconst_fn pcsconstfunc);
KX_API kx_projection kx_projection_new_extended(const char *name, kx_projection_fn forward,
                                                kx_projection_fn inverse, kx_horizon_fn horizon,
                                                kx_horizon_fn horizon_pcs,
                                                kx_horizon_fn horizon_gcs_raster,
                                                kx_horizon_fn horizon_pcs_raster,
                                                kx_pcsconst_fn pcsconstfunc);
KX_API void kx_projection_del(kx_projection projection);
KX_API void kx_projection_name(kx_projection projection, char *name);
KX_API kx_projection_fn kx_projection_forward(kx_projection projection);
KX_API kx_projection_fn kx_projection_inverse(kx_projection projection);
KX_API kx_horizon_fn kx_projection_horizon(kx_projection projection);
KX_API kx_horizon_fn kx_projection_horizon_pcs(kx_projection projection);
KX_API kx_horizon_fn kx_projection_horizon_gcs_raster(kx_projection projection);
KX_API kx_horizon_fn kx_projection_horizon_pcs_raster(kx_projection projection);
KX_API kx_pcsconst_fn kx_projection_pcsconstfunc(kx_projection projection);
KX_API uint8_t kx_projection_status(kx_projection projection);
KX_API int kx_projection_status_set(kx_projection projection, uint8_t status);
KX_API int kx_projection_p(kx_projection projection);
/* Equal names (case-insensitive) and identical forward, inverse and horizon. */
KX_API int kx_projection_eq(kx_projection a, kx_projection b);
KX_API kx_projection kx_projection_clone(kx_projection projection);
KX_API int kx_projection_to_string(kx_projection projection, char *buffer);
KX_API kx_projection kx_projection_from_string(const char *text);
KX_API kx_projection kx_projection_from_tokens(char *const *tokens, int count, int start,
                                               int *first, int *last);

/* Null unless name, forward and inverse are non-null and the name is one
 * the text form carries (as for kx_K_new above); status 1. */
KX_API kx_method kx_method_new(const char *name, kx_method_fn forward, kx_method_fn inverse);
KX_API kx_method kx_method_new_withconstfunc(const char *name, kx_method_fn forward,
                                             kx_method_fn inverse, kx_gtconst_fn gtconstfunc);
KX_API void kx_method_del(kx_method method);
KX_API void kx_method_name(kx_method method, char *name);
KX_API kx_method_fn kx_method_forward(kx_method method);
KX_API kx_method_fn kx_method_inverse(kx_method method);
KX_API kx_gtconst_fn kx_method_gtconstfunc(kx_method method);
KX_API uint8_t kx_method_status(kx_method method);
KX_API int kx_method_status_set(kx_method method, uint8_t status);
KX_API int kx_method_p(kx_method method);
/* Equal names (case-insensitive) and identical forward and inverse. */
KX_API int kx_method_eq(kx_method a, kx_method b);
KX_API kx_method kx_method_clone(kx_method method);
KX_API int kx_method_to_string(kx_method method, char *buffer);
KX_API kx_method kx_method_from_string(const char *text);
KX_API kx_method kx_method_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last);

/* ========================================================================
 * Objects: projected CS and projection constants
 * ======================================================================== */

/* Constants a projection precomputes from its spheroid pair and parameters:
 * an integer and a double array allocated with kx_allocate by the
 * projection's constants function (both null in a new record). Accessors
 * return the arrays, null for an invalid handle. */
KX_API kx_pcsconstants kx_pcsconstants_new(void);
KX_API void kx_pcsconstants_del(kx_pcsconstants pc);
KX_API int kx_pcsconstants_p(kx_pcsconstants pc);
KX_API int *kx_pcsconstants_ivals(kx_pcsconstants pc);
KX_API double *kx_pcsconstants_dvals(kx_pcsconstants pc);

/* Projected CS: geographic CS, projection, 16 parameter slots (null when
 * empty, see kx_parameter_index) and the linear unit. Constructors take
 * ownership (and none of it, returning null, for a name kx_K_new refuses);
 * kx_projcs_parameters fills a caller array of 16 borrowed handles. The reader accepts the components in any order; a parameter
 * without a slot is dropped, a repeated slot keeps the later one. */

/* PROJCS["<63>",<GEOGCS>,<PROJECTION>,16 x ,<PARAMETER>,<UNIT>] */
#define KX_TEXT_MAX_PROJCS 2370

KX_API kx_projcs kx_projcs_new(const char *name, kx_geogcs geogcs, kx_projection projection,
                               kx_parameter *parameters, kx_unit unit);
KX_API void kx_projcs_del(kx_projcs projcs);
KX_API void kx_projcs_name(kx_projcs projcs, char *name);
KX_API kx_geogcs kx_projcs_geogcs(kx_projcs projcs);
KX_API kx_projection kx_projcs_projection(kx_projcs projcs);
KX_API kx_unit kx_projcs_unit(kx_projcs projcs);
KX_API void kx_projcs_parameters(kx_projcs projcs, kx_parameter *parameters);
KX_API uint8_t kx_projcs_status(kx_projcs projcs);
KX_API int kx_projcs_status_set(kx_projcs projcs, uint8_t status);
KX_API int kx_projcs_p(kx_projcs projcs);
KX_API int kx_projcs_eq(kx_projcs a, kx_projcs b);
/* As kx_projcs_eq without comparing the two projected CS names. */
KX_API int kx_projcs_eqnn(kx_projcs a, kx_projcs b);
/* Deep copy without constants, status 1. */
KX_API kx_projcs kx_projcs_clone(kx_projcs projcs);
/* A copy whose linear and/or angular unit is the given one (null: unchanged),
 * with the linear and angular parameter values rescaled. */
KX_API kx_projcs kx_projcs_clone_alterunits(kx_projcs projcs, kx_unit linear, kx_unit angular);
/* Unlike the other kinds' writers, returns the buffer (null for a null
 * buffer) rather than the length; the rest of the kx_K_to_string contract
 * holds. */
KX_API char *kx_projcs_to_string(kx_projcs projcs, char *buffer);
KX_API kx_projcs kx_projcs_from_string(const char *text);
KX_API kx_projcs kx_projcs_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last);
/* Computes and attaches the projection's constants (previous ones are
 * dropped first); the constants function's result, 0 without one. */
KX_API int kx_projcs_load_constants(kx_projcs projcs);
KX_API void kx_projcs_unload_constants(kx_projcs projcs);
KX_API int kx_projcs_isconstloaded(kx_projcs projcs);
/* The attached constants (borrowed), null when none. */
KX_API kx_pcsconstants kx_projcs_pcsconstants(kx_projcs projcs);

/* ========================================================================
 * Objects: geographic transformation and transformation constants
 * ======================================================================== */

/* Constants of a grid method: integer, float and double arrays allocated
 * with kx_allocate by the method's constants function (null in a new
 * record). Accessors return the arrays, null for an invalid handle. */
KX_API kx_gtconstants kx_gtconstants_new(void);
KX_API void kx_gtconstants_del(kx_gtconstants gc);
KX_API int kx_gtconstants_p(kx_gtconstants gc);
KX_API int *kx_gtconstants_ivals(kx_gtconstants gc);
KX_API float *kx_gtconstants_fvals(kx_gtconstants gc);
KX_API double *kx_gtconstants_dvals(kx_gtconstants gc);

/* Geographic transformation from geogcs1 to geogcs2 by a method with up to
 * 16 parameter slots; the constructor refuses (null) the names kx_K_new
 * refuses. The reader takes the first GEOGCS of the text as the source
 * whatever the order of the other elements. */

/* GEOGTRAN["<63>",<GEOGCS>,<GEOGCS>,<METHOD>,16 x ,<PARAMETER>] */
#define KX_TEXT_MAX_GEOGTRAN 2743

KX_API kx_geogtran kx_geogtran_new(const char *name, kx_geogcs geogcs1, kx_geogcs geogcs2,
                                   kx_method method, kx_parameter *parameters);
KX_API void kx_geogtran_del(kx_geogtran geogtran);
KX_API void kx_geogtran_name(kx_geogtran geogtran, char *name);
KX_API kx_geogcs kx_geogtran_geogcs1(kx_geogtran geogtran);
KX_API kx_geogcs kx_geogtran_geogcs2(kx_geogtran geogtran);
KX_API kx_method kx_geogtran_method(kx_geogtran geogtran);
KX_API void kx_geogtran_parameters(kx_geogtran geogtran, kx_parameter *parameters);
KX_API uint8_t kx_geogtran_status(kx_geogtran geogtran);
KX_API int kx_geogtran_status_set(kx_geogtran geogtran, uint8_t status);
KX_API int kx_geogtran_p(kx_geogtran geogtran);
KX_API int kx_geogtran_eq(kx_geogtran a, kx_geogtran b);
KX_API kx_geogtran kx_geogtran_clone(kx_geogtran geogtran);
/* Returns the buffer (null for a null buffer), as kx_projcs_to_string. */
KX_API char *kx_geogtran_to_string(kx_geogtran geogtran, char *buffer);
KX_API kx_geogtran kx_geogtran_from_string(const char *text);
KX_API kx_geogtran kx_geogtran_from_tokens(char *const *tokens, int count, int start,
                                           int *first, int *last);
/* Loads the method's constants with the name of the slot-15 parameter (the
 * dataset); the constants function's result, 0 without one. */
KX_API int kx_geogtran_load_constants(kx_geogtran geogtran);
KX_API void kx_geogtran_unload_constants(kx_geogtran geogtran);
KX_API int kx_geogtran_isconstloaded(kx_geogtran geogtran);
KX_API kx_gtconstants kx_geogtran_gtconstants(kx_geogtran geogtran);

/* ========================================================================
 * Objects: generic coordinate system
 * ======================================================================== */

/* A kx_coordsys is a kx_geogcs or a kx_projcs; these dispatch on the kind.
 * kx_coordsys_p: 1 for a valid geographic or projected CS, else 0.
 * kx_coordsys_del: deletes it as its kind; other handles are ignored.
 * kx_coordsys_clone: a deep copy (status 1), null for other handles.
 * kx_coordsys_eq: 1 when both are geographic CSs and equal, or both are
 *   projected CSs and equal; a geographic CS never equals a projected CS.
 * kx_coordsys_to_string: empties the buffer, then writes the GEOGCS or
 *   PROJCS text and returns its length; 0 (buffer empty) for other handles.
 *   The buffer must hold KX_TEXT_MAX_GEOGCS + 1 or KX_TEXT_MAX_PROJCS + 1.
 * kx_coordsys_from_string: null for a null text; a text containing "PROJCS"
 *   anywhere (any case, even inside a name) is read as a projected CS,
 *   any other as a geographic CS. The caller owns the result. */
KX_API int kx_coordsys_p(kx_coordsys cs);
KX_API void kx_coordsys_del(kx_coordsys cs);
KX_API kx_coordsys kx_coordsys_clone(kx_coordsys cs);
KX_API int kx_coordsys_eq(kx_coordsys a, kx_coordsys b);
KX_API int kx_coordsys_to_string(kx_coordsys cs, char *buffer);
KX_API kx_coordsys kx_coordsys_from_string(const char *text);

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

/* Inverse problem on the ellipsoid {a, e2} (a sphere when e2 <= 2^-48):
 * distance (unit of a) and azimuths (radians clockwise from north) between
 * (lambda1, phi1) and (lambda2, phi2). azimuth12 is at point 1 toward point 2,
 * azimuth21 at point 2 toward point 1. Any output pointer may be null.
 * Coincident points give 0 for all three; non-finite input gives NaN. */
KX_API void kx_geodesic_distance(double a, double e2, double lambda1, double phi1, double lambda2,
                                 double phi2, double *distance, double *azimuth12, double *azimuth21);
/* Direct problem: the point reached from (lambda1, phi1) along azimuth after
 * distance. From a pole lambda1 is ignored. Either output may be null;
 * non-finite input gives NaN. */
KX_API void kx_geodesic_coordinate(double a, double e2, double lambda1, double phi1, double distance,
                                   double azimuth, double *lambda2, double *phi2);
/* Fills points (n longitude/latitude pairs, caller-owned) at equal geodesic
 * spacing from point 1 to point 2, both ends included exactly as given.
 * Nothing is written when points is null or n < 2. */
KX_API void kx_geodesic_coordarray(double a, double e2, double lambda1, double phi1, double lambda2,
                                   double phi2, double *points, int n);

/* ========================================================================
 * Mathematics: elliptic integrals, elliptic functions, complex arithmetic
 * ======================================================================== */

/* Elliptic parameter m = k^2 (not the modulus k) throughout; m1 = 1 - m.
 * Results are NaN for NaN arguments, for m > 1 and for infinite m or u (the
 * limits of tanh and sech at m = 1 excepted); every function returns. */

/* Complete elliptic integrals of the first and second kind, K(m) and E(m).
 * K(1) = +infinity, E(1) = 1. */
KX_API double kx_ellint1(double m);
KX_API double kx_ellint2(double m);
/* Incomplete integral of the second kind E(am u | m), and E(phi | m) of the
 * amplitude phi; both grow by 2 E(m) per half turn of the amplitude. */
KX_API double kx_iellint2(double u, double m);
KX_API double kx_iellint2amp(double phi, double m);
/* Jacobi elliptic functions sn, cn, dn of the real argument u. */
KX_API double kx_sn(double u, double m);
KX_API double kx_cn(double u, double m);
KX_API double kx_dn(double u, double m);

/* Complex value of the kx_dcomp_* family: real part, imaginary part. */
typedef struct kx_dcomp {
  double re;
  double im;
} kx_dcomp;

/* sn, cn, dn and E(am u | m) of u = x + iy (0 <= m <= 1), written through
 * re and im (a null pointer is skipped). Infinite or NaN at the poles. */
KX_API void kx_zsn(double x, double y, double m, double *re, double *im);
KX_API void kx_zcn(double x, double y, double m, double *re, double *im);
KX_API void kx_zdn(double x, double y, double m, double *re, double *im);
KX_API void kx_ziellint2(double x, double y, double m, double *re, double *im);
/* The same as complex values: write *result and return result (null when
 * result is null). */
KX_API kx_dcomp *kx_dcomp_sn(kx_dcomp *result, kx_dcomp z, double m);
KX_API kx_dcomp *kx_dcomp_iellint2(kx_dcomp *result, kx_dcomp z, double m);

/* Complex arithmetic on (real, imaginary) pairs of doubles. The kx_z*
 * functions write their result through the two pointers given last (a null
 * pointer is skipped). Principal branches; arg(0) = 0. */
KX_API double kx_zabs(double x, double y);
KX_API double kx_zarg(double x, double y);
KX_API void kx_zmul(double x1, double y1, double x2, double y2, double *re, double *im);
/* (x1 + iy1) / (x2 + iy2); infinite or NaN for a zero divisor. */
KX_API void kx_zdiv(double x1, double y1, double x2, double y2, double *re, double *im);
KX_API void kx_zinv(double x, double y, double *re, double *im);
KX_API void kx_zexp(double x, double y, double *re, double *im);
/* log 0 = (-infinity, 0). */
KX_API void kx_zlog(double x, double y, double *re, double *im);
KX_API void kx_zsqrt(double x, double y, double *re, double *im);
KX_API void kx_zasin(double x, double y, double *re, double *im);
KX_API void kx_zatan(double x, double y, double *re, double *im);
KX_API void kx_ztanh(double x, double y, double *re, double *im);
KX_API void kx_zatanh(double x, double y, double *re, double *im);

/* The kx_dcomp_* family: operands by value; each function that yields a
 * complex number writes *result and returns result (null when result is
 * null). */
KX_API double kx_dcomp_abs(kx_dcomp z);
KX_API double kx_dcomp_arg(kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_add(kx_dcomp *result, kx_dcomp a, kx_dcomp b);
KX_API kx_dcomp *kx_dcomp_sub(kx_dcomp *result, kx_dcomp a, kx_dcomp b);
KX_API kx_dcomp *kx_dcomp_mult(kx_dcomp *result, kx_dcomp a, kx_dcomp b);
/* a / b; infinite or NaN for a zero divisor. */
KX_API kx_dcomp *kx_dcomp_div(kx_dcomp *result, kx_dcomp a, kx_dcomp b);
KX_API kx_dcomp *kx_dcomp_conjg(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_exp(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_inv(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_log(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_sqrt(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_sin(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_asin(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_cos(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_tan(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_atan(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_cosh(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_sinh(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_tanh(kx_dcomp *result, kx_dcomp z);
KX_API kx_dcomp *kx_dcomp_atanh(kx_dcomp *result, kx_dcomp z);

/* ========================================================================
 * Mathematics: planar predicates
 * ======================================================================== */

/* Orientation of p1 -> p2 -> p3: *orientation receives 1 (counter-clockwise),
 * -1 (clockwise) or 0 (collinear); for collinear points *position receives
 * 5 (p3 on the far side of p1 from p2), 4 (p3 beyond p2), 3 (p3 between p1
 * and p2) or 6 (p3, or p2 and p3, at p1 within 2^-48 on the squared
 * length), otherwise 0. Null pointers are skipped; NaN coordinates classify
 * as collinear and degenerate. */
KX_API void kx_isccw(double x1, double y1, double x2, double y2, double x3, double y3,
                     int8_t *orientation, uint8_t *position);
/* 1 when (px, py) lies in the closed triangle p1 p2 p3 of either orientation
 * (edges and vertices included; a degenerate triangle is its segment or
 * point), else 0; 0 for any non-finite coordinate. */
KX_API uint8_t kx_intriangle(double x1, double y1, double x2, double y2, double x3, double y3,
                             double px, double py);

/* ========================================================================
 * Projections: driver
 * ======================================================================== */

/* Projects n longitude/latitude pairs in the geographic CS's angular unit,
 * in place, to x/y in the projected CS's linear unit with false easting and
 * northing; latitudes beyond a pole are taken as the pole. Uses the loaded
 * constants when present. Returns the projection's count of converted
 * points; failed points are NaN pairs (every point when the projection
 * rejects its parameter set). An invalid projection converts units only. 0 for n <= 0 or null coordinates. */
KX_API int kx_geog_to_proj(kx_projcs projcs, int n, double *coords);
/* The inverse of kx_geog_to_proj (no latitude clamping). */
KX_API int kx_proj_to_geog(kx_projcs projcs, int n, double *coords);

/* ========================================================================
 * Projections: algorithms (forward, inverse, constants)
 * ======================================================================== */

/* Every kx_<name>_fwd / _inv below follows kx_projection_fn: sph = {a, e2},
 * par = the 16 parameter slots in radians and metres, n points converted in
 * place (forward: longitude, latitude in radians to x, y in metres without
 * false easting/northing; inverse the reverse), ivals/dvals the loaded
 * constants or null (results are identical either way). Every point is
 * visited; the result is the number converted (0 for n <= 0), a failed point
 * becomes a NaN pair. A point with a NaN or infinite coordinate, or whose
 * result would not be finite, fails. A null sph or par sets every point to
 * NaN and returns 0.
 * Every kx_<name>_const follows kx_pcsconst_fn: allocates (kx_allocate) and
 * attaches ivals = {2, count} and count doubles to pc and returns count; 0
 * with nothing attached when pc is not a constants record, memory is
 * exhausted or the parameters are rejected. */

/* Transverse Mercator by series (Gauss-Kruger; registered as "Gauss_Kruger"
 * and "Transverse_Mercator"): slots 2 lambda0, 5 k0, 6 phi0, ellipsoid or
 * sphere. Latitudes at or past a pole are projected from just inside it.
 * Within 0.01 mm of the exact projection up to 3.5 degrees from the central
 * meridian, 0.5 mm at 6 and 20 mm at 10 degrees; the inverse within 3e-11,
 * 5e-9 and 5e-7 degrees there. NaN points and inverse
 * points whose latitude would pass a pole are NaN and not counted.
 * dvals: ellipsoid 3 {e2 / (1 - e2), M0 (arc to phi0), Mp (arc to the
 * pole)}, sphere 2 {a k0, a k0 / 2}. */
KX_API int kx_gauss_kruger_fwd(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals);
KX_API int kx_gauss_kruger_inv(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals);
KX_API int kx_gauss_kruger_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Cassini (slots 2 lambda0, 5 k, 6 phi0; k scales both coordinates),
 * ellipsoid by series or sphere; no constants (ivals and dvals are not
 * read). On the ellipsoid the inverse series undoes the forward one within
 * 2e-9 degrees up to 1 degree from the central meridian and 1.6e-6 up to 5.
 * Latitudes at or past a pole are projected from just inside it. NaN
 * points and inverse points whose latitude would pass a pole are NaN and not
 * counted. */
KX_API int kx_cassini_fwd(const double *sph, const double *par, int n, double *coords,
                          const int *ivals, const double *dvals);
KX_API int kx_cassini_inv(const double *sph, const double *par, int n, double *coords,
                          const int *ivals, const double *dvals);

/* Mercator (slot 2 lambda0, slot 3 phi1: true scale on +-phi1; the scale
 * factor is not used), ellipsoid or sphere. Every finite point is converted
 * and counted: a latitude at or beyond a pole is taken as
 * +-1.570796326794891, which gives a large finite northing; NaN or infinite
 * input gives a NaN pair, not counted.
 * dvals 2 {K, a K}, K = cos phi1 / w(phi1) (sphere cos phi1). */
KX_API int kx_mercator_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_mercator_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_mercator_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Stereographic (slots 2 lambda0, 5 k0, 6 phi0), every aspect, ellipsoid or
 * sphere. Converts and counts every finite point but the antipode of the
 * centre, which is a NaN pair and not counted. dvals: ellipsoid 7 {2a k0, e, m0, c_e, chi0,
 * sin chi0, cos chi0}, sphere 3 {2a k0, sin phi0, cos phi0}. */
KX_API int kx_stereographic_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_stereographic_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_stereographic_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Polar stereographic with the latitude of true scale in slot 3 (slot 2
 * lambda0). Every finite point counted; the inverse of (0, 0) is the pole.
 * dvals: ellipsoid 2 {D, c_e}, sphere 1 {D}. */
KX_API int kx_stereographic_np_fwd(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals);
KX_API int kx_stereographic_np_inv(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals);
KX_API int kx_stereographic_np_const(kx_pcsconstants pc, const double *sph, const double *par);
KX_API int kx_stereographic_sp_fwd(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals);
KX_API int kx_stereographic_sp_inv(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals);
KX_API int kx_stereographic_sp_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Double (oblique) stereographic: Gauss conformal sphere, then the
 * stereographic (slots 2, 5, 6). On a sphere it is kx_stereographic_*.
 * Every finite point counted. dvals: ellipsoid 8 {2R k0, sin chi0, cos chi0, R,
 * chi0, C lambda0, C, K}, sphere as the stereographic. */
KX_API int kx_double_stereographic_fwd(const double *sph, const double *par, int n,
                                       double *coords, const int *ivals, const double *dvals);
KX_API int kx_double_stereographic_inv(const double *sph, const double *par, int n,
                                       double *coords, const int *ivals, const double *dvals);
KX_API int kx_double_stereographic_const(kx_pcsconstants pc, const double *sph,
                                         const double *par);

/* Orthographic and gnomonic on the sphere of radius a (e2 unused), centre in
 * slots 10 and 11. Not counted and NaN: orthographic points on the far side
 * (cos c < 0) or inverse points farther than a from the centre; gnomonic
 * points 90 degrees or more from the centre; NaN input. dvals 2 {cos phi1,
 * sin phi1}. */
KX_API int kx_orthographic_fwd(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals);
KX_API int kx_orthographic_inv(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals);
KX_API int kx_orthographic_const(kx_pcsconstants pc, const double *sph, const double *par);
KX_API int kx_gnomonic_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_gnomonic_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_gnomonic_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Lambert azimuthal equal-area (slots 2 lambda0, 6 phi1), north and south
 * polar, equatorial (|phi1| <= 2^-48) and oblique aspects, ellipsoid or
 * sphere. Every finite point is converted and counted but the antipode of
 * an equatorial or oblique centre, a NaN pair not counted (a polar centre's
 * antipode maps onto the circle of radius 2 Rq); inverse points beyond that
 * circle give the antipode. Against the exact projection, 40 degrees around
 * the centre: spheres within 5 nm and 3e-13 degrees; ellipsoids within 5 um
 * forward (10 nm but next to a polar centre) and 2e-8 degrees inverse (the
 * authalic-latitude series). dvals: ellipsoid 6 {qp, Rq, sin beta1,
 * cos beta1, D, e}, sphere 3 {2a, cos phi1, sin phi1}. */
KX_API int kx_lambert_azimuthal_eqarea_fwd(const double *sph, const double *par, int n,
                                           double *coords, const int *ivals, const double *dvals);
KX_API int kx_lambert_azimuthal_eqarea_inv(const double *sph, const double *par, int n,
                                           double *coords, const int *ivals, const double *dvals);
KX_API int kx_lambert_azimuthal_eqarea_const(kx_pcsconstants pc, const double *sph,
                                             const double *par);
/* Azimuthal equidistant (slots 2 lambda0, 6 phi1): polar aspects through the
 * meridian arc, equatorial and oblique ellipsoids through geodesics from the
 * centre, spheres in closed form. Every finite point is counted. Against
 * the exact projection, 60 degrees around the centre: spheres within 10 nm
 * and 3e-13 degrees, ellipsoids 3e-5 m and 3e-10 degrees (the library's
 * geodesics and meridian-arc series). dvals: ellipsoid 1 {Mp, the arc
 * to the pole}, sphere 2 {sin phi1, cos phi1}. */
KX_API int kx_azimuthal_equidistant_fwd(const double *sph, const double *par, int n,
                                        double *coords, const int *ivals, const double *dvals);
KX_API int kx_azimuthal_equidistant_inv(const double *sph, const double *par, int n,
                                        double *coords, const int *ivals, const double *dvals);
KX_API int kx_azimuthal_equidistant_const(kx_pcsconstants pc, const double *sph,
                                          const double *par);
/* Vertical near-side perspective from the height h (slot 15, metres) above
 * the centre (slots 10 lambda1, 11 phi1), onto the plane tangent there;
 * ellipsoid or sphere. A height that is not a finite number above 2^-48
 * sets every point to NaN and returns 0 (_const returns 0). Not counted
 * and NaN: points beyond the horizon (both directions) and non-finite
 * input. Against the exact ray construction: within 5 nm and 1e-11 degrees.
 * dvals: ellipsoid 11 {cos phi1, sin phi1, P, 1/P, 0, P cos(phi1 - phig),
 * P sin(phi1 - phig), 1 - e2 cos^2 phi1, 1 - e2 sin^2 phi1, 2 e2 sin phi1
 * cos phi1, (1 - e2 cos^2 phig) P^2 - (1 - e2)}, P the distance of the point
 * of view from the earth's centre over a and phig its geocentric latitude;
 * sphere 5 {cos phi1, sin phi1, P = 1 + h/a, 1/P, rho_max = a sqrt((P - 1)
 * / (P + 1)), the radius of the visible disc}. */
KX_API int kx_vertical_ns_perspective_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_vertical_ns_perspective_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_vertical_ns_perspective_const(kx_pcsconstants pc, const double *sph,
                                            const double *par);

/* Hotine oblique Mercator family on the ellipsoid or sphere: k0 slot 5,
 * centre latitude phic slot 11; azimuth forms (_azimuth_, _rso_) the azimuth
 * alpha of the central line at the centre (slot 7) and the centre longitude
 * (slot 10); two-point forms two points of the central line (lambda1, phi1
 * in slots 8, 3; lambda2, phi2 in slots 9, 4). The _uv_ functions give the
 * skew coordinates (v, u) from the natural origin, unrotated; the others
 * rotate them onto the grid by alpha (two-point: the central line's azimuth
 * alpha_c at phic) or, for _rso_, by XY_Plane_Rotation (slot 14; the value
 * 4 pi asks for gamma0, the central line's azimuth on the aposphere), with
 * u from the natural origin (_natorigin) or from the centre (_center). A
 * pole as centre moves 2e-7 rad inside it, keeping its longitude and the
 * azimuth (the limit of centres approaching it). The two-point forms reject
 * control points that coincide or share a parallel (both poles included)
 * and central lines that never reach phic: _const returns 0 attaching
 * nothing and the functions return 0 leaving the coordinates unchanged.
 * Not counted and NaN: points 90 degrees from the central line and
 * non-finite input. dvals 11 {B, ln E, lambda0, sin gamma0, cos gamma0,
 * sin rotation, cos rotation, u_c, gamma0 / 2, A k0 / B, B / (A k0)}. */
KX_API int kx_hotine_azimuth_uv_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_hotine_azimuth_uv_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_hotine_two_point_uv_fwd(const double *sph, const double *par, int n, double *coords,
                                      const int *ivals, const double *dvals);
KX_API int kx_hotine_two_point_uv_inv(const double *sph, const double *par, int n, double *coords,
                                      const int *ivals, const double *dvals);
KX_API int kx_hotine_azimuth_natorigin_fwd(const double *sph, const double *par, int n,
                                           double *coords, const int *ivals, const double *dvals);
KX_API int kx_hotine_azimuth_natorigin_inv(const double *sph, const double *par, int n,
                                           double *coords, const int *ivals, const double *dvals);
KX_API int kx_hotine_azimuth_center_fwd(const double *sph, const double *par, int n, double *coords,
                                        const int *ivals, const double *dvals);
KX_API int kx_hotine_azimuth_center_inv(const double *sph, const double *par, int n, double *coords,
                                        const int *ivals, const double *dvals);
KX_API int kx_hotine_two_point_natorigin_fwd(const double *sph, const double *par, int n,
                                             double *coords, const int *ivals, const double *dvals);
KX_API int kx_hotine_two_point_natorigin_inv(const double *sph, const double *par, int n,
                                             double *coords, const int *ivals, const double *dvals);
KX_API int kx_hotine_two_point_center_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_hotine_two_point_center_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_rso_natorigin_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_rso_natorigin_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_rso_center_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_rso_center_inv(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_hotine_azimuth_const(kx_pcsconstants pc, const double *sph, const double *par);
KX_API int kx_hotine_two_point_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Krovak oblique conformal conic (slots 10 lambda_c, 11 phi_c, 3 the
 * pseudo standard parallel, 7 the azimuth of the cone's axis, 5 k0; 12 and
 * 13 scale x and y, 14 rotates the plane), on the Gaussian sphere of the
 * ellipsoid or directly on a sphere; no constants. A centre whose cos phi_c
 * is below 1e-5 takes the Gaussian sphere's limit at the pole. The cone's
 * apex maps to (0, 0) and back. A zero X_Scale or Y_Scale makes the inverse
 * fail (NaN, not counted), as do non-finite input and results. */
KX_API int kx_krovak_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
KX_API int kx_krovak_inv(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);

/* Two-point equidistant on the sphere of radius a (e2 unused): distances
 * from (lambda1, phi1) (slots 8, 3) and (lambda2, phi2) (slots 9, 4) are
 * true. Antipodal control points convert nothing and return 0; coincident
 * ones (within 2^-48 of an arc) give the azimuthal equidistant projection
 * centred on them on the same sphere. No constants. Non-finite input is
 * NaN, not counted. */
KX_API int kx_two_point_equidistant_fwd(const double *sph, const double *par, int n, double *coords,
                                        const int *ivals, const double *dvals);
KX_API int kx_two_point_equidistant_inv(const double *sph, const double *par, int n, double *coords,
                                        const int *ivals, const double *dvals);

/* New Zealand Map Grid (slots 2 lambda0, 6 phi0): complex polynomial of the
 * published tables on radius a (e2 unused); the inverse takes two
 * Newton steps, and points they do not converge for (the polynomial's
 * residual above 1e-9, far from New Zealand) are NaN, not counted, as is
 * non-finite input. No constants. */
KX_API int kx_new_zealand_map_grid_fwd(const double *sph, const double *par, int n, double *coords,
                                       const int *ivals, const double *dvals);
KX_API int kx_new_zealand_map_grid_inv(const double *sph, const double *par, int n, double *coords,
                                       const int *ivals, const double *dvals);

/* Conics: slots 2 lambda0, 3 and 4 the standard parallels phi1, phi2, 6 phi0,
 * and for the Lambert conformal conic 5 k0. Every finite point is counted (a
 * NaN or infinite input member gives a NaN pair, not counted).
 * Lambert conformal conic: phi1 = phi2 at a pole is the polar stereographic
 * kx_stereographic_* centred on that pole with scale k0 (dvals as
 * kx_stereographic_const), phi1 = -phi2 off the poles the Mercator with true
 * scale at phi1 times k0 (dvals as kx_mercator_const), both shifted so that
 * phi0 maps to y = 0; any other set with a parallel at a pole (one pole
 * parallel, or parallels on opposite poles) is rejected: _const returns 0
 * attaching nothing and _fwd/_inv return 0 leaving the coordinates
 * unchanged. A latitude at or beyond the pole the cone closes on (the pole
 * of n's sign) maps to the apex; at or beyond the other pole it is taken as
 * +-1.570796326794891. dvals: ellipsoid 11 {cos phi1, cos phi2, t0, t1,
 * t2, n, F, aF, rho0, m1, m2}, sphere the first 9. */
KX_API int kx_lambert_conformal_conic_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_lambert_conformal_conic_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_lambert_conformal_conic_const(kx_pcsconstants pc, const double *sph,
                                            const double *par);
/* Albers equal-area conic (no scale factor); phi1 = -phi2 is the
 * cylindrical equal-area projection shifted so that phi0 maps to y = 0
 * (dvals, count and rejection of polar parallels as
 * kx_cylindrical_eqarea_*). The inverse takes points beyond the poles' arcs
 * to the pole. dvals: ellipsoid 4 {rho0, C, n, (R_q/a)^2}, sphere 3
 * {rho0, C, n}. */
KX_API int kx_albers_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
KX_API int kx_albers_inv(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
KX_API int kx_albers_const(kx_pcsconstants pc, const double *sph, const double *par);
/* Equidistant conic; phi1 = -phi2 is the equidistant cylindrical with true
 * scale at phi1 (ellipsoid: y = meridian arc from phi0; sphere: y = a phi).
 * dvals: cone 3 {n, G, rho0}; cylinder: ellipsoid 2 {a m1, M0}, sphere 1
 * {a cos phi1}. */
KX_API int kx_equidistant_conic_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_equidistant_conic_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_equidistant_conic_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Cylindrical equal-area (slot 2 lambda0, slot 3 phi1) and Behrmann (phi1
 * fixed at 30 degrees), ellipsoid or sphere. A polar phi1 is rejected: _const
 * returns 0, _fwd/_inv set every point to NaN and return 0. Inverse points
 * beyond the poles' parallels give the pole. dvals: ellipsoid 8 {e, 2e, a k0,
 * a/(2 k0), 1 - e2, 2 k0, qp, a qp} (k0 = cos phi1 / w(phi1)), sphere 2
 * {a cos phi1, a / cos phi1}. */
KX_API int kx_cylindrical_eqarea_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_cylindrical_eqarea_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_cylindrical_eqarea_const(kx_pcsconstants pc, const double *sph, const double *par);
KX_API int kx_behrmann_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_behrmann_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_behrmann_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Simple cylindrical projections on the sphere of radius a (e2 unused),
 * slot 2 lambda0: plate carree; equidistant cylindrical (slot 3 phi1, true
 * scale there); Miller; Gall stereographic (dvals 2 {a/sqrt 2,
 * a + a/sqrt 2}). Inverse points whose latitude would pass a pole are NaN. */
KX_API int kx_plate_carree_fwd(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals);
KX_API int kx_plate_carree_inv(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals);
KX_API int kx_equidistant_cylindrical_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_equidistant_cylindrical_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals);
KX_API int kx_miller_cylindrical_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_miller_cylindrical_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_gall_stereographic_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_gall_stereographic_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_gall_stereographic_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Sinusoidal (slot 2 lambda0) and Bonne (slot 3 phi1; |phi1| <= 2^-48 is
 * the sinusoidal), ellipsoid or sphere; no constants. Inverse points whose
 * latitude would pass a pole are NaN. */
KX_API int kx_sinusoidal_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_sinusoidal_inv(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_bonne_fwd(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals);
KX_API int kx_bonne_inv(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals);

/* World projections, all on the sphere of radius a (Robinson: the authalic
 * radius; Times: the mean radius (a + b)/2 of the spheroid), slot 2 lambda0.
 * Non-finite input gives a NaN pair, not counted; other out-of-range inverse
 * input gives clamped results, counted, or a NaN pair, not counted
 * (Hammer-Aitoff: outside its ellipse of semi-axes 2 sqrt 2 a, sqrt 2 a),
 * except where stated. Constants (dvals): Mollweide 2
 * {sqrt 2 a, 2 sqrt 2 a / pi}; Robinson 3 {R, 0.8487 R, 0.8487 0.5072 pi R};
 * flat-polar quartic 2 {a / 3.2004125807650623, 1.874758284622695 a};
 * Craster parabolic 2 {0.9772050238058398 a, 3.0699801238394655 a}; Times 4
 * {Rt, 2.33246 Rt / pi, 1.086778 Rt / pi, 1.7071067811865475 Rt}; Winkel
 * Tripel 2 {cos phi1, a/2} with 244 integers: the two counts, then the
 * (X, Y) of its inverse's 11 x 11 grid of nodes, row after row. */
/* Mollweide (theta by Newton's method). */
KX_API int kx_mollweide_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_mollweide_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_mollweide_const(kx_pcsconstants pc, const double *sph, const double *par);
/* Eckert I to VI. */
KX_API int kx_eckert_i_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_eckert_i_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_eckert_ii_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_eckert_ii_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_eckert_iii_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_eckert_iii_inv(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_eckert_iv_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_eckert_iv_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_eckert_v_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_eckert_v_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_eckert_vi_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_eckert_vi_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
/* Robinson (tables at 5 degrees, authalic radius) and its second variant
 * "Robinson_VELMAR" (own lengths, radius a, no constants). */
KX_API int kx_robinson_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_robinson_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_robinson_const(kx_pcsconstants pc, const double *sph, const double *par);
KX_API int kx_robinson_velmar_fwd(const double *sph, const double *par, int n, double *coords,
                                  const int *ivals, const double *dvals);
KX_API int kx_robinson_velmar_inv(const double *sph, const double *par, int n, double *coords,
                                  const int *ivals, const double *dvals);
/* Winkel I and II (slot 3 phi1, true scale of the equirectangular part). */
KX_API int kx_winkel_i_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_winkel_i_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_winkel_ii_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_winkel_ii_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
/* Winkel Tripel (slot 3 phi1). Inverse: grid guess, then Newton passes;
 * NaN and not counted when |x| or |y| lies beyond the grid (past a pole or
 * 180 degrees), the passes do not settle or settle on a longitude past 180
 * degrees (beyond the rim; with |phi1| above about 65 degrees also some
 * points next to the rim in the polar regions). */
KX_API int kx_winkel_tripel_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_winkel_tripel_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_winkel_tripel_const(kx_pcsconstants pc, const double *sph, const double *par);
/* Quartic authalic. */
KX_API int kx_quartic_authalic_fwd(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals);
KX_API int kx_quartic_authalic_inv(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals);
/* McBryde-Thomas flat-polar quartic. */
KX_API int kx_flat_polar_quartic_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_flat_polar_quartic_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals);
KX_API int kx_flat_polar_quartic_const(kx_pcsconstants pc, const double *sph, const double *par);
/* Craster parabolic. */
KX_API int kx_craster_parabolic_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_craster_parabolic_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_craster_parabolic_const(kx_pcsconstants pc, const double *sph, const double *par);
/* Loximuthal, centred on (lambda0, slot 6 phi1). */
KX_API int kx_loximuthal_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_loximuthal_inv(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
/* Times. Inverse: NaN and not counted when |y| passes the pole's or x
 * the 180th meridian's value by more than 2^-48 (relative). */
KX_API int kx_times_fwd(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals);
KX_API int kx_times_inv(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals);
KX_API int kx_times_const(kx_pcsconstants pc, const double *sph, const double *par);
/* Hammer-Aitoff. */
KX_API int kx_hammer_aitoff_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_hammer_aitoff_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
/* Aitoff. */
KX_API int kx_aitoff_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
KX_API int kx_aitoff_inv(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
/* Van der Grinten I. */
KX_API int kx_van_der_grinten_i_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);
KX_API int kx_van_der_grinten_i_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals);

/* Polyconic (slot 2 lambda0, slot 6 phi0), ellipsoid or sphere. An inverse
 * point whose iteration does not settle in 500 passes is NaN and not counted
 * (the other points are still converted). dvals: ellipsoid 5 {M0, c1, c2,
 * c3, c4} (M'(phi)/a = c1 - c2 cos 2phi + c3 cos 4phi - c4 cos 6phi),
 * sphere 1 {a phi0}. */
KX_API int kx_polyconic_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_polyconic_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals);
KX_API int kx_polyconic_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Exact (complex-analytic) transverse Mercator (slots 2 lambda0, 5 k0,
 * 6 phi0) on the ellipsoid, by Newton's method on Jacobi elliptic functions
 * of parameter e2 (pole to pole, and over the pole); on a sphere the
 * spherical transverse Mercator. Latitudes at or past a pole move 25 ulp
 * inside it. NaN and not counted: an ellipsoidal point whose iteration does
 * not settle in 50 passes (within 2 degrees of the equator 83 degrees or
 * more from lambda0), non-finite input and non-finite results.
 * dvals: ellipsoid 7 {a k0, 1 - e2, e, 2^-64, 2^-63, 2^-32, y0} (y0 =
 * northing of (lambda0, phi0) from the equator), sphere 2 {a k0, a k0 / 2}. */
KX_API int kx_tm_complex_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_tm_complex_inv(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals);
KX_API int kx_tm_complex_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Popular visualisation pseudo-Mercator (library addition, code 43059): the
 * spherical Mercator with radius a applied to the geodetic latitude and
 * longitude (e2 unused), slot 2 lambda0: x = a (lambda - lambda0), y = a ln
 * tan(pi/4 + phi/2). Latitudes at or past a pole move inside it; NaN and not
 * counted: non-finite input or results. No constants. */
KX_API int kx_pseudo_mercator_fwd(const double *sph, const double *par, int n, double *coords,
                                  const int *ivals, const double *dvals);
KX_API int kx_pseudo_mercator_inv(const double *sph, const double *par, int n, double *coords,
                                  const int *ivals, const double *dvals);

/* Equal Earth (library addition, code 43060): equal-area pseudocylindrical
 * world map, slot 2 lambda0. On an ellipsoid the authalic latitude and the
 * authalic radius a sqrt(qp / 2) take phi's and a's places. NaN and not
 * counted: latitudes past a pole, inverse points outside the outline,
 * non-finite input or results. No constants. */
KX_API int kx_equal_earth_fwd(const double *sph, const double *par, int n, double *coords,
                              const int *ivals, const double *dvals);
KX_API int kx_equal_earth_inv(const double *sph, const double *par, int n, double *coords,
                              const int *ivals, const double *dvals);

/* Transverse Mercator (south orientated) (library addition, code 43061): the
 * transverse Mercator (slots and constants as kx_gauss_kruger) with x the
 * westing and y the southing, both negated. */
KX_API int kx_tm_south_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_tm_south_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);

/* Lambert conformal conic (west orientated) (library addition, code 43062):
 * the Lambert conformal conic (slots and constants as its own) with x the
 * westing, negated. */
KX_API int kx_lcc_west_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);
KX_API int kx_lcc_west_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals);

/* Bonne (south orientated) and Cassini (south orientated) (library
 * additions, codes 43063 and 43065): Bonne and Cassini (slots as their own)
 * with x the westing and y the southing, both negated. */
KX_API int kx_bonne_south_fwd(const double *sph, const double *par, int n, double *coords,
                              const int *ivals, const double *dvals);
KX_API int kx_bonne_south_inv(const double *sph, const double *par, int n, double *coords,
                              const int *ivals, const double *dvals);
KX_API int kx_cassini_south_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);
KX_API int kx_cassini_south_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals);

/* Polar stereographic, variant C (library addition, code 43064): the polar
 * stereographic with the latitude of true scale phi_c in slot 3 (the north
 * pole for phi_c >= 0, the south pole below) and lambda0 in slot 2, its
 * false origin where phi_c meets the central meridian: the northing of
 * kx_stereographic_np/sp plus h a cos(phi_c) / kx_w(e2, phi_c), h = +1 north
 * and -1 south. Constants as kx_stereographic_np/sp for that pole. Against
 * PROJ's polar stereographic moved by that northing: 8.1 um forward and
 * 9.2e-12 degrees inverse on ellipsoids, 2.3 nm and 1e-13 on spheres. */
KX_API int kx_stereographic_polar_c_fwd(const double *sph, const double *par, int n,
                                        double *coords, const int *ivals, const double *dvals);
KX_API int kx_stereographic_polar_c_inv(const double *sph, const double *par, int n,
                                        double *coords, const int *ivals, const double *dvals);
KX_API int kx_stereographic_polar_c_const(kx_pcsconstants pc, const double *sph,
                                          const double *par);

/* Local tangent-plane system around the centre (lambda_c, phi_c) (slots 10,
 * 11), grid turned by the azimuth alpha (slot 7) and scaled by k (slot 5):
 * the geocentric difference from the centre along the centre's east and
 * north, x = k (cos alpha E - sin alpha N), y = k (cos alpha N + sin alpha
 * E). Ellipsoid or sphere (there the orthographic view). Every finite point
 * is converted forward, the far side too. The inverse returns the point on
 * the centre's side (ellipsoid: closed form along the centre's normal, no
 * iteration); (0, 0) is the centre exactly. Not counted and NaN: inverse
 * points beyond the earth's outline seen from above the centre (sphere:
 * farther than a), a zero k, non-finite input. Inverse within 2e-13 degrees
 * (1.1e-13 measured) to 80 degrees from the centre. dvals: sphere 7 {cos
 * phi_c, sin phi_c, cos alpha, sin alpha, X0, Y0, Z0} (the centre,
 * geocentric, its meridian the X-Z plane), ellipsoid 13: those and {qa, qb0,
 * qbn, qcn, qcnn, qcee}, the surface along the normal through a plane point
 * (E, N) at height U: qa U^2 + 2 (qb0 + qbn N) U + qcn N + qcnn N^2 + qcee
 * E^2 = 0. */
KX_API int kx_local_fwd(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals);
KX_API int kx_local_inv(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals);
KX_API int kx_local_const(kx_pcsconstants pc, const double *sph, const double *par);

/* Cube on the sphere of radius a (e2 unused), slot 2 lambda0, slot 15
 * Option: the layout, the integer part of Option + 0.001 (below 0 is 0;
 * above 15 is 15 except 901 and 902). Layouts 0-15: within 45 degrees of
 * the equator the plate carree (x = a dlambda, y = a phi); each cap a
 * square face of side a pi/2 centred at (a (f pi/2 - 3 pi/4), +-a pi/2),
 * its pole at the centre, hanging from band face f = layout div 4 (north)
 * or layout mod 4 (south). Layouts 901 (north pole at (-3 pi/4 a, pi/2 a))
 * and 902 (south pole at (-pi/4 a, -pi/2 a)) spread the whole sphere in a
 * square of side 2 pi a around one pole. Every finite point is converted
 * forward. Not counted and NaN: inverse points off the layout's faces (the
 * edges included to 2^-48; the single-pole square ends 2e-7 a inside its
 * rim, the far pole), non-finite input. The inverse is exact to rounding:
 * round trips over a global 1-degree grid within 1e-13 degrees. No
 * constants (ivals and dvals are not read). */
KX_API int kx_cube_fwd(const double *sph, const double *par, int n, double *coords,
                       const int *ivals, const double *dvals);
KX_API int kx_cube_inv(const double *sph, const double *par, int n, double *coords,
                       const int *ivals, const double *dvals);

/* Fuller's icosahedral projection on the sphere of radius a (e2 unused),
 * slot 2 lambda0, slot 15 Option (the integer part of Option + 0.001): 1-20
 * prefer that face for points within its circumscribed circle (0.6524 a of
 * its centroid) that are not inside another face's inscribed circle; 6, 106
 * and 206 keep face 6 whole at net face 23, 6 or 21, 17, 117 and 217 face 17
 * at 17 or 22; any other value is 0 (nearest face, faces 6 and 17 cut: the
 * half of 6 east of its median at net face 21, the third of 17 between its
 * centroid, apex and left corner at net face 22). Every finite point is
 * converted forward. Not counted and NaN: inverse points off the net, a
 * Newton iteration not settled in 100 passes, non-finite input. Round trips
 * over a global 1-degree grid within 2e-13 degrees (6.5e-14 measured) with
 * the cut net; an option's preferred face takes points from beyond its
 * edges onto its plane, and those do not come back (1.8% of that grid for
 * Option 6). No constants (ivals and dvals are not read). */
KX_API int kx_fuller_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
KX_API int kx_fuller_inv(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals);
/* Fuller's face tables (radians; shifts in units of a): face centroids
 * (longitude, latitude) and the three rotations (about the polar axis, about
 * the X axis, about the polar axis again) carrying each face 1-20 into
 * standard position, its centroid at the pole; and for the 24 net faces (21
 * and 22 the cut pieces of faces 6 and 17, 23 face 6 whole) the turn in the
 * plane and the shift. Entry 0 is all zeros. */
KX_API extern const double gcentroid[21][2];
KX_API extern const double rotation[21][3];
KX_API extern const double plane_rotation[24];
KX_API extern const double xy_shift[24][2];

/* ========================================================================
 * Transformations: driver and methods
 * ======================================================================== */

/* Transforms n longitude/latitude pairs in place from the transformation's
 * first geographic CS to its second (kx_geog1_to_geog2) or back
 * (kx_geog2_to_geog1): input in the source CS's angular unit and prime
 * meridian, output in the target's. heights (n ellipsoidal heights in
 * metres, may be null) are read and rewritten by the methods that use them.
 * Returns the method's count of converted points (for the equation methods
 * those neither NaN, infinite nor beyond a pole, see below; for a grid
 * method the number shifted, whose unshifted points still come back in the
 * target unit). Returns 0 and leaves coords and
 * heights untouched for an invalid transformation, a method without a
 * function, null coords with n > 0, or a longitude rotation between
 * different datums. n <= 0 converts nothing and returns the method's
 * result (0, or n itself for the equation methods). */
KX_API int kx_geog1_to_geog2(kx_geogtran geogtran, int n, double *coords, double *heights);
KX_API int kx_geog2_to_geog1(kx_geogtran geogtran, int n, double *coords, double *heights);

/* Equation methods, all following kx_method_fn: sph1 and sph2 = {a, e2} of
 * the first and second CS (in this order for both directions), val = the 16
 * value slots (0-2 translations m, 3-5 rotations rad, 6 scale difference as
 * a ratio, 7-9 rotation origin m), coordinates in radians on Greenwich,
 * heights as for the driver (0 when null). _fwd converts from the first CS
 * to the second, _inv back. A point with a NaN or infinite coordinate or a
 * latitude beyond +-pi/2 (more than a rounding's worth), or whose result is
 * not finite, becomes a NaN pair (its height NaN) and is not counted; every
 * other point is converted, its latitude clamped to +-pi/2 and longitude
 * reduced to [-pi, pi]. Return the count converted; n <= 0 is returned
 * unchanged and converts nothing; a null sph1, sph2, val or coords with
 * n > 0 converts nothing and returns 0. The dataset name and the constants
 * arrays are ignored. */

/* Geocentric translation by slots 0-2 through geocentric coordinates. */
KX_API int kx_geocentric_translation_fwd(const double *sph1, const double *sph2,
                                         const double *val, const char *dataset, int n,
                                         double *coords, double *heights, const int *ivals,
                                         const float *fvals, const double *dvals);
KX_API int kx_geocentric_translation_inv(const double *sph1, const double *sph2,
                                         const double *val, const char *dataset, int n,
                                         double *coords, double *heights, const int *ivals,
                                         const float *fvals, const double *dvals);
/* Standard and abridged Molodensky (slots 0-2 and the spheroid differences).
 * Pole points keep their longitude. The inverses evaluate the forward
 * formulas with the spheroids exchanged and the translations negated, so a
 * round trip is only approximate (centimetres for typical shifts). */
KX_API int kx_molodensky_fwd(const double *sph1, const double *sph2, const double *val,
                             const char *dataset, int n, double *coords, double *heights,
                             const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_molodensky_inv(const double *sph1, const double *sph2, const double *val,
                             const char *dataset, int n, double *coords, double *heights,
                             const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_molodensky_abridged_fwd(const double *sph1, const double *sph2, const double *val,
                                      const char *dataset, int n, double *coords,
                                      double *heights, const int *ivals, const float *fvals,
                                      const double *dvals);
KX_API int kx_molodensky_abridged_inv(const double *sph1, const double *sph2, const double *val,
                                      const char *dataset, int n, double *coords,
                                      double *heights, const int *ivals, const float *fvals,
                                      const double *dvals);
/* Seven-parameter transformation X' = (1 + ds) R X + T, R the exact
 * coordinate-frame rotation matrix of slots 3-5; the inverse uses the
 * general matrix inverse. Coordinate frame is the same transformation;
 * position vector negates the three rotations first. */
KX_API int kx_bursa_wolf_fwd(const double *sph1, const double *sph2, const double *val,
                             const char *dataset, int n, double *coords, double *heights,
                             const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_bursa_wolf_inv(const double *sph1, const double *sph2, const double *val,
                             const char *dataset, int n, double *coords, double *heights,
                             const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_coordinate_frame_fwd(const double *sph1, const double *sph2, const double *val,
                                   const char *dataset, int n, double *coords, double *heights,
                                   const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_coordinate_frame_inv(const double *sph1, const double *sph2, const double *val,
                                   const char *dataset, int n, double *coords, double *heights,
                                   const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_position_vector_fwd(const double *sph1, const double *sph2, const double *val,
                                  const char *dataset, int n, double *coords, double *heights,
                                  const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_position_vector_inv(const double *sph1, const double *sph2, const double *val,
                                  const char *dataset, int n, double *coords, double *heights,
                                  const int *ivals, const float *fvals, const double *dvals);
/* Molodensky-Badekas: the seven-parameter transformation about the rotation
 * origin P0 of slots 7-9, X' = T + P0 + (1 + ds) R (X - P0). */
KX_API int kx_molodensky_badekas_fwd(const double *sph1, const double *sph2, const double *val,
                                     const char *dataset, int n, double *coords,
                                     double *heights, const int *ivals, const float *fvals,
                                     const double *dvals);
KX_API int kx_molodensky_badekas_inv(const double *sph1, const double *sph2, const double *val,
                                     const char *dataset, int n, double *coords,
                                     double *heights, const int *ivals, const float *fvals,
                                     const double *dvals);
/* Longitude rotation, both directions: adds slot 5 (radians) to every
 * longitude and reduces it to [-pi, pi]; latitudes and heights untouched.
 * Points fail as for the equation methods (NaN pair, not counted). Returns
 * the count converted (n <= 0 unchanged); 0 for a null val or coords with
 * n > 0. */
KX_API int kx_longitude_rotation_ccw(const double *sph1, const double *sph2, const double *val,
                                     const char *dataset, int n, double *coords,
                                     double *heights, const int *ivals, const float *fvals,
                                     const double *dvals);

/* Grid methods. They follow kx_method_fn but read only the dataset name
 * (the "Dataset_" parameter's name), n, coords and the loaded constants;
 * heights are never changed. With all three constants arrays they shift
 * from them; otherwise they find the grid files under the data home and
 * read them for this call. They return the number of points shifted;
 * points outside the grid, or whose inverse iteration leaves the grid or
 * does not settle within 51 evaluations to 2^-48 degrees, are left as
 * given and not counted. No data home or no file: 0, nothing changed. */

/* Size of every path buffer the grid functions write. */
#define KX_GRID_PATH_SIZE 1024

/* NADCON and HARN: a .los/.las pair in the subdirectory "nadcon" or
 * "harn" of the data home. */
KX_API int kx_nadcon_fwd(const double *sph1, const double *sph2, const double *val,
                         const char *dataset, int n, double *coords, double *heights,
                         const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_nadcon_inv(const double *sph1, const double *sph2, const double *val,
                         const char *dataset, int n, double *coords, double *heights,
                         const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_harn_fwd(const double *sph1, const double *sph2, const double *val,
                       const char *dataset, int n, double *coords, double *heights,
                       const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_harn_inv(const double *sph1, const double *sph2, const double *val,
                       const char *dataset, int n, double *coords, double *heights,
                       const int *ivals, const float *fvals, const double *dvals);
/* The two paths of a dataset (buffers of KX_GRID_PATH_SIZE bytes): data
 * home / subdir / file part + ".los" and ".las"; untouched without a data
 * home or when the path would not fit. */
KX_API void kx_nadcon_harn_setpath(const char *dataset, const char *subdir, char *los_path,
                                   char *las_path);
/* File form and loaded form of the shift, coords in radians. The file form
 * serves grids of at most 1024 columns. */
KX_API int kx_nadcon_harn_fwd(const char *los_path, const char *las_path, int n, double *coords);
KX_API int kx_nadcon_harn_inv(const char *los_path, const char *las_path, int n, double *coords);
KX_API int kx_nadcon_harn_const_fwd(const int *ivals, const float *fvals, const double *dvals,
                                    int n, double *coords);
KX_API int kx_nadcon_harn_const_inv(const int *ivals, const float *fvals, const double *dvals,
                                    int n, double *coords);
/* Reads the .los/.las header from the start of fp; 1, or 0 on a short read
 * or a header no grid can have (fewer than 2 rows, fewer than 23 columns,
 * a spacing that is not positive and finite). */
KX_API int kx_read_harn_header(FILE *fp, int *nc, int *nr, float *xmin, float *dx, float *ymin,
                               float *dy, int *record_length, int *swapped);
/* The four nodes (i, j), (i+1, j), (i, j+1), (i+1, j+1) of one file; 4, or 0. */
KX_API int kx_read_harn_shifts(FILE *fp, int i, int j, int record_length, int swapped,
                               float *values);
/* Loaders: ivals {NR, NC}, fvals all longitude shifts then all latitude
 * shifts (arc-seconds, node (i, j) at j*NC + i), dvals {XMIN, YMIN, XMAX,
 * YMAX, DX, DY}. Return 2*NR*NC, or 0 with the record left empty. */
KX_API int kx_nadcon_constants(kx_gtconstants gc, const char *dataset);
KX_API int kx_harn_constants(kx_gtconstants gc, const char *dataset);
KX_API int kx_nadcon_harn_constants(kx_gtconstants gc, const char *los_path,
                                    const char *las_path);

/* NTv2: one file in the subdirectory "ntv2" of the data home, found as
 * named, with ".GSB", in lower case, or in lower case with ".GSB". */
KX_API int kx_ntv2_fwd(const double *sph1, const double *sph2, const double *val,
                       const char *dataset, int n, double *coords, double *heights,
                       const int *ivals, const float *fvals, const double *dvals);
KX_API int kx_ntv2_inv(const double *sph1, const double *sph2, const double *val,
                       const char *dataset, int n, double *coords, double *heights,
                       const int *ivals, const float *fvals, const double *dvals);
/* data home / subdir / file part of the dataset (its first "/" or "\\"
 * becomes a directory separator), with ".gsb" appended unless the name
 * already ends in ".gsb" in any case or in another three-letter extension.
 * path (KX_GRID_PATH_SIZE bytes) is untouched without a data home. */
KX_API void kx_ntv2_setpath(const char *dataset, const char *subdir, char *path);
KX_API int kx_ntv2_file_exists(const char *path);
KX_API int kx_ntv2_file_fwd(const char *path, int n, double *coords);
KX_API int kx_ntv2_file_inv(const char *path, int n, double *coords);
/* Loads the dataset's file; returns kx_ntv2_constants_get's result. */
KX_API int kx_ntv2_constants(kx_gtconstants gc, const char *dataset);
/* Loads an NTv2 file into gc: returns the number of floats loaded (twice
 * the node count), or 0 with the record left empty. Refused: a header that
 * is not NTv2, an unknown GS_TYPE, NUM_FILE, GS_COUNT or sizes the file
 * cannot hold, GS_COUNT other than rows x columns, fewer than 2 rows or
 * columns, increments not positive and finite, bounds not finite or out of
 * order, and parent links that form a cycle. */
KX_API int kx_ntv2_constants_get(kx_gtconstants gc, const char *path);
/* Overview header from the start of fp: 11, the number of value fields,
 * when NUM_OREC is 11 and all were read, else 0; unit 1-4 (seconds, minutes, degrees,
 * radians) or 0 for another GS_TYPE. */
KX_API int kx_read_ntv2_ovrvw_header(FILE *fp, int *num_file, int *unit, int *padded,
                                     int *swapped);
KX_API int kx_ntv2_const_fwd(const int *ivals, const float *fvals, const double *dvals, int n,
                             double *coords);
KX_API int kx_ntv2_const_inv(const int *ivals, const float *fvals, const double *dvals, int n,
                             double *coords);

/* ========================================================================
 * Catalogue: factories, macro names, listings
 * ======================================================================== */

/* Factories by catalogue code (EPSG numbering where one exists, the
 * library's own codes above 100000). Each returns a new object owned by the
 * caller, or null for a code without an entry. The unit, spheroid, prime
 * meridian, datum, geographic CS, projected CS and transformation factories
 * first look in the kind's user definition file (below); a definition found
 * there that builds wins over the built-in entry. Status: 8 built from a user
 * file, 4 built from the built-in table, 16 built through a deprecated code
 * (the current entry it maps to); components carry the status of their own
 * factories.
 *
 * User definition files: the text files "spheroid", "primem", "unit",
 * "datum", "geogcs", "projcs" and "geogtran" in the directory of
 * kx_get_objedithome(), read anew on every call. Each line is split at commas
 * and double quotes, blank tokens dropped and the others trimmed; the first
 * token equal (ignoring case) to the kind's keyword (SPHEROID, PRIMEM, UNIT,
 * DATUM, GEOGCS, PROJCS, GEOGTRAN) is followed by:
 *   SPHEROID  code, name, semi-major axis, flattening (a value > 1 is 1/f)
 *   PRIMEM    code, name, longitude in degrees
 *   UNIT      code, name, factor (metres or radians)
 *   DATUM     code, name, spheroid code
 *   GEOGCS    code, name, datum code, prime meridian code, unit code
 *   PROJCS    code, name, geographic CS code, projection code, then items:
 *             a pair (parameter code 100001-100039, value) or a unit code;
 *             other parameter pairs and other codes are passed over
 *   GEOGTRAN  code, name, source and target geographic CS codes, method
 *             code, then (parameter code 100040-100046 or 100048-100050,
 *             value) pairs: none for 9601, 3 for 9603-9605, 7 for 9606, 9607
 *             and 109607, 10 for 9636; for the grid methods 9613, 9615 and
 *             109613 the pair (100047, data set), the data set naming the
 *             Dataset_ parameter ("Dataset_" is put in front when missing).
 * A code is a decimal integer or a symbolic name ("KX_GCS_WGS_1984");
 * numbers use the "C" notation whatever the process locale (never changed).
 * Components come from the full factories, so user objects may use other
 * user objects. The first well-formed line with the code decides; lines with
 * too few tokens, unreadable codes or numbers, NUL bytes or more than 1023
 * characters are passed over. Only regular files are read; an unset or empty
 * home reads nothing. */
KX_API kx_unit kx_factory_unit(int code);
KX_API kx_spheroid kx_factory_spheroid(int code);
KX_API kx_primem kx_factory_primem(int code);
/* Built-in table, then the deprecated map. */
KX_API kx_datum kx_factory_datum(int code);
/* Built-in table only; the status is left as the constructor set it (1). */
KX_API kx_datum kx_factory_datum_normal(int code);
/* Deprecated map only: the current entry with status 16, or null. */
KX_API kx_datum kx_factory_datum_depracated(int code);
/* User file "datum" only: status 8, or null. */
KX_API kx_datum kx_factory_datum_objedit(int code);
/* Built-in table, then the deprecated map; datum, prime meridian and unit are
 * built by their factories. */
KX_API kx_geogcs kx_factory_geogcs(int code);
/* Built-in table only; status left at 1 (components keep status 4). */
KX_API kx_geogcs kx_factory_geogcs_normal(int code);
/* Deprecated map only: the current entry with status 16, or null. */
KX_API kx_geogcs kx_factory_geogcs_depracated(int code);
/* User file "geogcs" only: status 8, or null. */
KX_API kx_geogcs kx_factory_geogcs_objedit(int code);
/* Projected CS (2000-3999, 20000-32799, 53000-65799, 102000-103999,
 * 202000-203999): built-in table, then the deprecated map. The geographic
 * CS, projection and unit come from their factories, the parameters from
 * kx_factory_parameter with the entry's values (angles in the geographic
 * CS's unit, lengths in the projected CS's unit). Null when the projection's
 * functions are not in the library. */
KX_API kx_projcs kx_factory_projcs(int code);
/* Built-in table only; status left at 1. */
KX_API kx_projcs kx_factory_projcs_normal(int code);
/* Deprecated map only: the current entry with status 16, or null. */
KX_API kx_projcs kx_factory_projcs_depracated(int code);
/* User file "projcs" only: status 8, or null (also for a line without a unit). */
KX_API kx_projcs kx_factory_projcs_objedit(int code);
/* The built-in projected CS families that kx_factory_projcs_normal asks in
 * this order; each serves its own codes (null for any other) with status
 * left at 1. */
/* Entries of no other family. */
KX_API kx_projcs kx_factory_projcs_misc(int code);
/* UTM and Gauss-Kruger zone blocks, computed from the code's zone number
 * (32601-32660 "WGS_1984_UTM_Zone_%dN", 32701-32760 "..._%dS", ...). */
KX_API kx_projcs kx_factory_projcs_utm(int code);
/* NAD 1927 state-plane zones. */
KX_API kx_projcs kx_factory_projcs_spcs27(int code);
/* NAD 1983 state-plane zones in metres. */
KX_API kx_projcs kx_factory_projcs_spcs83(int code);
/* NAD 1983 state-plane zones in US or international feet. */
KX_API kx_projcs kx_factory_projcs_spcs83_feet(int code);
/* NAD 1983 HARN state-plane zones. */
KX_API kx_projcs kx_factory_projcs_spcs83_harn(int code);
/* Minnesota county systems (none in the catalogue yet). */
KX_API kx_projcs kx_factory_projcs_minnesota_counties(int code);
/* Wisconsin county systems (none in the catalogue yet). */
KX_API kx_projcs kx_factory_projcs_wisconsin_counties(int code);
/* Geographic transformation (1000-1999, 8000-8899, 108000-108899,
 * 208000-208899): built-in table, then the deprecated map. Both geographic
 * CSs and the method come from their factories; the parameters are the
 * method's default group with the entry's values (translations in metres,
 * rotations in arc-seconds, scale difference in ppm), a grid method's
 * Dataset_ parameter named after its data set ("Dataset_conus"). Null when
 * the method's functions are not in the library. */
KX_API kx_geogtran kx_factory_geogtran(int code);
/* Built-in table only; status left at 1. */
KX_API kx_geogtran kx_factory_geogtran_normal(int code);
/* Deprecated map only: the current entry with status 16, or null. */
KX_API kx_geogtran kx_factory_geogtran_depracated(int code);
/* Accuracy in metres that the registry states for the transformation of a
 * built-in or deprecated code; -1 when unknown or not in the catalogue. */
KX_API double kx_factory_geogtran_accuracy(int code);
/* 1 when EPSG has deprecated the built-in transformation of the code (its
 * entry stays for the data that names it; a caller choosing among the
 * transformations between two datums should prefer the others), else 0. */
KX_API int kx_factory_geogtran_epsg_deprecated(int code);
/* User file "geogtran" only: status 8, or null. */
KX_API kx_geogtran kx_factory_geogtran_objedit(int code);
/* Projection (43000-52999) or method (9600-9699, 109600-109699) of the
 * registry row with that catalogue code, status 4; null without such a row
 * or when its functions are not in the library. Library additions to the
 * registry: 43059 Popular_Visualisation_Pseudo_Mercator, 43060 Equal_Earth,
 * 43061 Transverse_Mercator_South_Orientated, 43062
 * Lambert_Conformal_Conic_West_Orientated, 43063 Bonne_South_Orientated,
 * 43064 Polar_Stereographic_Variant_C, 43065 Cassini_South_Orientated. */
KX_API kx_projection kx_factory_projection(int code);
KX_API kx_method kx_factory_method(int code);
/* Parameter 100001-100050 with its slot-table default value, status 4. */
KX_API kx_parameter kx_factory_parameter(int code);

/* Default parameters: sets all 16 slots to null, then places the catalogue
 * parameters (kx_factory_parameter: slot-table default values, status 4)
 * that the projection or transformation method expects in their slots and
 * returns how many it placed. 0 for a null or invalid argument or a
 * projection or method without a default group. The new parameters belong to
 * the caller (for kx_projcs_new or kx_geogtran_new). */
KX_API int kx_parameter_projection_defaults(kx_projection projection, kx_parameter *slots);
KX_API int kx_parameter_method_defaults(kx_method method, kx_parameter *slots);

/* The object of any catalogue code; tell the kind with the kx_K_p tests.
 * The kind whose code range holds the code is asked first, in this order:
 * linear units 9000-9099, angular units 9100-9199, spheroids 7000-7999,
 * prime meridians 8900-8999, datums 6000-6999, projections 43000-52999,
 * methods 9600-9699, parameters 100000-100099, geographic CSs 4000-4999 and
 * 37000-37999, projected CSs 2000-3999, 20000-32799 and 53000-65799,
 * transformations 1000-1999 and 8000-8899, each with the library's 1xxxxx
 * and 2xxxxx blocks. The catalogue also holds the EPSG registry's objects
 * numbered outside their kind's ranges (datums from 1024, geographic CSs
 * such as 4490 on them, projected CSs such as 5514 and 7846-7859,
 * transformations such as 15948); every kind's factory gives its own entries
 * whatever the code. When the code is in no range, or the range's kind has
 * no entry for it, each kind is asked in the order above and the first entry
 * found is returned. EPSG numbers some objects of different kinds alike
 * (1024 is a spheroid, a datum and a transformation): kx_factory gives the
 * first of the order, the kind's own factory each one. Null for a code no
 * kind holds. */
KX_API void *kx_factory(int code);

/* The catalogue code of an object equal (kx_K_eq) to the given one: the
 * lowest such code of its kind (angular units before linear ones); for
 * datums and geographic CSs a current code before a deprecated one; a code
 * inside the kind's ranges before any outside them. 0 when none is equal or
 * for null. */
KX_API int kx_factory_code(void *object);

/* Code lists: a new array (kx_allocate) of the codes of the kind's
 * macro-name table in that table's (name) order, its length in *count.
 * Null with *count 0 for a null count or no memory. The unit lists select
 * the angular codes 9100-9199 or the linear codes 9000-9099 and
 * 109000-109099. Free with kx_factory_codelist_del (null is ignored). */
KX_API int *kx_factory_datum_codelist(int *count);
KX_API int *kx_factory_projcs_codelist(int *count);
KX_API int *kx_factory_geogtran_codelist(int *count);
KX_API int *kx_factory_geogcs_codelist(int *count);
KX_API int *kx_factory_method_codelist(int *count);
KX_API int *kx_factory_parameter_codelist(int *count);
KX_API int *kx_factory_primem_codelist(int *count);
KX_API int *kx_factory_projection_codelist(int *count);
KX_API int *kx_factory_spheroid_codelist(int *count);
KX_API int *kx_factory_angular_unit_codelist(int *count);
KX_API int *kx_factory_linear_unit_codelist(int *count);
KX_API void kx_factory_codelist_del(int *list);

/* The code of a symbolic catalogue name such as "KX_GCS_WGS_1984" (4326;
 * case-sensitive, the whole text is the name; include/kx_def.h defines every
 * name as its code), or 0 for an unknown name or null. */
KX_API int kx_defstring_to_int(const char *text);

/* Predefined listings: everything the catalogue can build for one kind,
 * user definitions included, as (code, name) records sorted by name ignoring
 * case (equal names by code). Every code of the kind's ranges, and every
 * built-in, deprecated or user code of the kind outside them, is built with
 * its factory and kept when its status is below 9 (deprecated aliases are
 * left out); angular units are 9100-9199 and 209100-209199, linear units
 * 9000-9099, 109000-109099 and 209000-209099. Each user file is read once per
 * listing. A new array and its length in *count; null with *count 0 for a
 * null count, an empty listing or no memory. Free with kx_table_del. */
typedef struct kx_predefined {
  int32_t code;
  char name[64]; /* as the kind's kx_K_name writes it */
} kx_predefined;
KX_API kx_predefined *kx_predefined_spheroid(int *count);
KX_API kx_predefined *kx_predefined_primem(int *count);
KX_API kx_predefined *kx_predefined_angular_unit(int *count);
KX_API kx_predefined *kx_predefined_linear_unit(int *count);
KX_API kx_predefined *kx_predefined_datum(int *count);
KX_API kx_predefined *kx_predefined_projection(int *count);
KX_API kx_predefined *kx_predefined_method(int *count);
KX_API kx_predefined *kx_predefined_parameter(int *count);
KX_API kx_predefined *kx_predefined_geogcs(int *count);
KX_API kx_predefined *kx_predefined_projcs(int *count);
KX_API kx_predefined *kx_predefined_geogtran(int *count);
/* Takes a sequence of kx_predefined records (always destroying it, also on
 * failure or a wrong element size) and returns its records as a new array
 * sorted as above, the length in *count; null with *count 0 (when count is
 * not null) for an empty or invalid sequence, a null count or no memory. */
KX_API kx_predefined *kx_table_create(kx_seq seq, int *count);
/* Frees a listing; null is ignored. */
KX_API void kx_table_del(kx_predefined *table);

/* ========================================================================
 * Horizons
 * ======================================================================== */

/* Frees every part's vertices (for the part count of the first record) and
 * the part array; null is ignored. */
KX_API void kx_horizon_del(kx_horizon *horizon);
/* One envelope over all latitudes and the longitudes of the whole world
 * around the central meridian (slot 2), radians; null on allocation failure. */
KX_API kx_horizon *kx_horizon_normal_cylindrical(const double *sph, const double *par);

/* ========================================================================
 * Legacy projection files
 * ======================================================================== */

/* Keyword projection files: one keyword and its value per line ("Projection
 * UTM", "Datum NAD27", "Units METERS", "Zone 13"; also Fipszone, Spheroid,
 * Xshift, Yshift, Zunits; Densify, Flip, Format, Generalize, Quadrant and
 * Switch lines are ignored), then "Parameters" and up to 15 further lines
 * of one value each. Case does not matter; "/" "*" starts a comment that runs
 * to the end of the line. Every line counts, the last one also without a
 * line feed. Numbers use the "C" notation whatever the process locale
 * (never changed); an angle line holds degrees, minutes and seconds, each a
 * number ("34.3333", "34 20 0"), negative when it holds a '-' anywhere.
 *
 * Status codes (0 is success):
 *  -100 no input: null path, null or empty string, empty file
 *  -101 the file cannot be opened (reading or writing), is not a regular
 *       file (FIFO, directory, device), is larger than KX_PRJFILE_MAX_BYTES,
 *       or cannot be written and closed completely
 *  -102 a line begins with an unknown keyword, or a line is longer than
 *       KX_PRJFILE_MAX_LINE characters after its comment and outer blanks
 *       are removed (such a line is refused, never cut)
 *  -103 more than 16 parameter lines
 *  -104 a numeric unit value that is not positive (or not a number)
 *  -105 unknown spheroid keyword, or bad user-defined spheroid numbers
 *  -106 unknown datum keyword, a keyword whose datum the catalogue does not
 *       hold, or a state-plane system on a datum other than NAD27, NAD83, HPGN
 *  -107 unsupported projection keyword or variant (STEREOGRAPHIC with a type
 *       other than 1 or 2, SIMPLE_CONIC with other than 1 or 2 parallels,
 *       CYLINDRICAL not of type 1, a UTM zone outside 1-60), or a parameter
 *       line that is not a number, or an angle line that is not one to three
 *       numbers
 *  -108 an RSO projection whose variant (line 1: 1 Brunei, 2 Malaysia) is
 *       neither
 *  -109 unknown state-plane zone
 *  -110 no vertical unit (Zunits missing, empty or beginning "NO")
 *  -200 memory exhausted
 *
 * Datum keywords map to catalogue datums; the legacy codes BOR, DEI, SHU,
 * VOR, EST and SRL name datums the catalogue does not hold, and IND_B,
 * IND_I and ALASKA name library datums it cannot build: all give -106. SAN
 * is South American 1969 as 6618 (6291 is withdrawn for its ellipsoid); the
 * spheroid keywords INT1967 and INTERNATIONAL1967 give 6036 (GRS 1967),
 * SAMERICAN1969 and SOUTHAMERICAN1969 give 6618. The definition names most
 * three-letter keywords without their datums; they are matched to the EPSG
 * datums of those legacy codes, GSF taken as Serindung (6295) and SOA as
 * South Asia on the modified Fischer spheroid (106004).
 *
 * State plane ("Projection STATEPLANE"): the zone is the FIPS zone of the
 * Fipszone line, or a legacy number on the Zone line; the only legacy
 * number known is 4726 (FIPS 3001), any other gives -109. The zones are the
 * 124 FIPS zones of the EPSG NAD 1983 state-plane conversions, each with its
 * NAD27 (US feet), NAD83 (metres, US feet) and HPGN (metres) systems; other
 * units are the zone rebuilt in that unit, its name extended by "_Meters",
 * "_Feet", "_Feet_Intl" or "_AltUnits". Non-zero Xshift/Yshift are added to
 * the false easting and northing and extend the name by "_Shifted" (so also
 * for GREATBRITAIN, NEWZEALAND and RSO). UTM takes the zone from the Zone
 * line (a negative zone is the southern half) or from the central meridian
 * and latitude on lines 1 and 2. */

/* Largest file the readers accept, in bytes. */
#define KX_PRJFILE_MAX_BYTES 1048576
/* Longest keyword value or parameter line, in characters. */
#define KX_PRJFILE_MAX_LINE 255

/* A new geographic or projected CS (owned by the caller, status of the
 * catalogue objects it is made of) from the file at path or from text; null
 * with *status set on failure, *status 0 on success. Null at once, *status
 * untouched, for a null status. */
KX_API kx_coordsys kx_coordsys_from_prjfile(const char *path, int *status);
KX_API kx_coordsys kx_coordsys_from_prjstring(const char *text, int *status);
/* The vertical unit of the Zunits line: METERS 9001, FEET 9003, a number v
 * > 0 of units per metre a new "User_Defined_Unit" of factor 1/v. */
KX_API kx_unit kx_zunit_from_prjfile(const char *path, int *status);
KX_API kx_unit kx_zunit_from_prjstring(const char *text, int *status);

/* Largest text kx_coordsys_to_prjstring writes, terminator not counted. */
#define KX_PRJSTRING_MAX 2048

/* The keyword form of a kx_projcs or kx_geogcs (anything else: -100), with
 * a Zunits line for the vertical unit when it is not null. A datum the
 * keywords do not name is written by its spheroid's keyword, or as its two
 * axes on the Parameters line. A state-plane zone (named "..._FIPS_SSZZ...")
 * or an RSO grid is written by its keyword when that reads back as the
 * system, a moved false origin as Xshift/Yshift; otherwise by its
 * projection. Angles are converted to degrees and written as degrees,
 * minutes and seconds ("%4d %2d %s", seconds to 6 decimals, a negative value
 * above -1 with "  -0" for its degrees), lengths at 16 digits, each parameter line
 * with a comment. Systems the keywords cannot express give -107: a
 * projection without a keyword form (or the Lambert conic with a scale
 * factor other than 1), a sphere keyword on an ellipsoid, a prime meridian
 * other than Greenwich, a parameter that is not finite or an angle beyond
 * 1e6 degrees; a text that would exceed KX_PRJSTRING_MAX (none does) too.
 * kx_coordsys_to_prjfile creates or replaces the file (-101 when it cannot
 * be opened, written or closed); kx_coordsys_to_prjstring writes to text,
 * which must hold KX_PRJSTRING_MAX + 1 bytes and is emptied first (also on
 * failure). Both return the status they store in *status (which may be
 * null). */
KX_API int kx_coordsys_to_prjfile(kx_coordsys cs, kx_unit zunit, const char *path, int *status);
KX_API int kx_coordsys_to_prjstring(kx_coordsys cs, kx_unit zunit, char *text, int *status);

/* ========================================================================
 * MGRS
 * ======================================================================== */

/* Longitude/latitude pairs (the geogcs's angular unit; coords is read only)
 * to MGRS references: UTM zones from 80 S to 84 N (Norway and Svalbard
 * zones included), UPS beyond, on the geogcs's spheroid. Each strings[i] is
 * the caller's buffer of at least 22 characters (21 and the terminator are
 * the most ever written). precision: digits of easting and of northing,
 * clamped to 0..8 (5 is 1 m, 8 is 1 mm). round non-zero rounds to the
 * nearest grid unit, zero truncates. scheme 1 standard lettering, 2 rows
 * shifted by ten letters, anything else chosen from the spheroid (Bessel
 * 1841, Clarke 1880 and Clarke 1866 grids use 2, the last not in zones 47 to
 * 55). Returns the number of references written; a point with a NaN or
 * infinite member or a latitude beyond a pole, or a null strings[i], gets an
 * empty string (if it has a buffer) and is not counted; 0 for an invalid
 * geogcs or null arrays. Truncated strings agree with the exact transverse
 * Mercator grid except within the series' error (0.5 mm at 6 degrees from
 * the central meridian) of a digit boundary: all of 35882 oracle points at
 * precisions 0 to 5 and of 200000 random points at 5 and 6, 99.98 % at 8. */
KX_API int kx_geog_to_mgrs_extended(kx_geogcs geogcs, int n, const double *coords, int precision,
                                    int round, int scheme, char **strings);
/* kx_geog_to_mgrs_extended with scheme 1. */
KX_API int kx_geog_to_mgrs(kx_geogcs geogcs, int n, const double *coords, int precision, int round,
                           char **strings);
/* MGRS references to longitude/latitude pairs (the geogcs's angular unit)
 * of each square's south-west corner. A reference is: leading blanks, a
 * one- or two-digit zone 1 to 60 and a band letter C to X, or no zone and a
 * polar letter A, B, Y or Z; the two square letters of that zone's (or
 * cap's) own tables; an even number of digits, at most 16, up to the
 * terminator. Nothing past a string's terminator is read. scheme as above.
 * Returns the number of strings read; a malformed string, a null one, or a
 * square that lies outside its band (beyond two grid units) gives a NaN pair
 * and is not counted; every pair is NaN and 0 is returned for an invalid
 * geogcs or null strings. Corners are within 13 mm of the exact grid's
 * (100 km squares of the wide Svalbard zones), 2 mm in the standard zones. */
KX_API int kx_mgrs_to_geog_extended(kx_geogcs geogcs, int n, const char *const *strings, int scheme,
                                    double *coords);
/* kx_mgrs_to_geog_extended with scheme 1. */
KX_API int kx_mgrs_to_geog(kx_geogcs geogcs, int n, const char *const *strings, double *coords);

/* ========================================================================
 * Projected-CS information
 * ======================================================================== */

#ifdef __cplusplus
}
#endif

#endif /* KX_H */
