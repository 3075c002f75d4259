// Fuller's projection: the sphere of radius a on the 20 faces of an
// icosahedron, unfolded into one net. A point goes to the face whose centroid
// is nearest (the first face within the inscribed circle at once); the face
// frame puts that centroid at the pole; the point's gnomonic image on the
// face plane is mapped onto the face triangle by the three angles A1, A2, A3
// its distances from the edges subtend at the sphere's centre; the net face
// is then turned and shifted into place. Faces 6 and 17 are cut: the half of
// face 6 east of its median (apex, foot of the median, right corner) lies at
// net face 21, the third of face 17 between its centroid, apex and left
// corner at net face 22. Options choose a preferred face and keep the cut
// faces whole (6, 106, 206: face 6 at net face 23, 6 or 21; 17, 117, 217:
// face 17 at 17 or 22).
//
// Inverse: the net triangle holding the point, then the triangle mapping
// undone. tan A1 + tan A2 + tan A3 = -h/d (h half the edge, d the midradius)
// for every point of the face plane, and x, y fix A2 - A3 and 2 A1 - A2 -
// A3, so A1 is the root of one increasing function (derivative sec^2 A1 +
// sec^2 A2 + sec^2 A3), found by Newton's method; then the gnomonic image and
// the face rotations backwards. Round trips over a global 1-degree grid
// within 7.2e-14 deg, the face centroids back within 9.3e-14 deg
// (net_points.csv, oracle_grids.csv).
#include <cmath>

#include "kx.h"
#include "projections/net_common.h"
#include "projections/projection_common.h"

extern "C" {

// Face centroids (longitude, latitude), the rotations carrying each face into
// standard position, and the placement of the 24 net faces (entry 0 unused;
// 21 and 22 the cut pieces of faces 6 and 17, 23 face 6 whole at the net's
// west end), radians and units of a.
KX_API extern const double gcentroid[21][2] = {{0.0, 0.0},
                                               {0.5064955821866585, -0.2309616470581348},
                                               {0.4019881984816286, 0.4917154256877437},
                                               {-0.4506039126914772, 0.6001915946468012},
                                               {-0.7334295185659687, -0.07906611869194431},
                                               {-0.187669330297767, -0.6059293230963856},
                                               {1.794075293757429, -1.054751254964798},
                                               {1.252716448838791, -0.4273705207445582},
                                               {1.678146879941444, 0.1727453257194},
                                               {1.248397413390763, 0.803582647298159},
                                               {2.536944995020629, 1.307747883944323},
                                               {-1.347517359832363, 1.054751254964799},
                                               {-1.888876204751, 0.4273705207445587},
                                               {-1.463445773648349, -0.1727453257194},
                                               {-1.89319524019903, -0.8035826472981589},
                                               {-0.6046476585691638, -1.307747883944323},
                                               {2.690988740898316, -0.6001915946468012},
                                               {2.408163135023824, 0.07906611869194431},
                                               {2.953923323292026, 0.6059293230963855},
                                               {-2.635097071403135, 0.230961647058135},
                                               {-2.739604455108165, -0.4917154256877436}};

KX_API extern const double rotation[21][3] = {
    {0.0, 0.0, 0.0},
    {-2.077291908981555, 1.801757973853031, -1.185576034523458},
    {-1.972784525276525, 1.079080901107153, -2.247311285091269},
    {-1.120192414103419, 0.9706047321480954, 2.524864469470249},
    {-0.8373668082289278, 1.649862445486841, 1.399909904577838},
    {-1.38312699649713, 2.176725649891282, 0.1586296528331375},
    {2.91831368662726, 2.625547581759695, -1.827411210233713},
    {-2.823512775633688, 1.998166847539455, 1.703075751850868},
    {3.034242100443246, 1.398051001075497, -1.495912500396974},
    {-2.819193740185659, 0.7672136794967376, 1.43116806199316},
    {2.175443985364061, 0.2630484428505735, -0.5228462357039394},
    {-0.2232789669625335, 0.516045071830098, -1.314181443356081},
    {0.3180798779561054, 1.143425806050338, 1.438516901738925},
    {-0.1073505531465477, 1.743541652514296, -1.645680153192819},
    {0.3223989134041336, 2.374378974093055, 1.710424591596633},
    {-0.9661486682257328, 2.87854421073922, -2.618746417885854},
    {2.021400239486374, 2.170987921441698, 0.6167281841195429},
    {2.304225845360865, 1.491730208102952, 1.741682749011956},
    {1.758465657092664, 0.9648670036985111, 2.982963000756656},
    {1.064300744608238, 1.339834679736762, -1.956016619066336},
    {1.168808128313268, 2.06251175248264, -0.8942813684985254}};

KX_API extern const double plane_rotation[24] = {0.0,
                                                 -1.0471975511965979,
                                                 0.0,
                                                 1.0471975511965979,
                                                 0.0,
                                                 0.0,
                                                 0.0,
                                                 3.141592653589793,
                                                 0.0,
                                                 3.141592653589793,
                                                 0.0,
                                                 3.141592653589793,
                                                 0.0,
                                                 3.141592653589793,
                                                 0.0,
                                                 3.141592653589793,
                                                 -2.0943951023931957,
                                                 3.141592653589793,
                                                 3.141592653589793,
                                                 3.141592653589793,
                                                 2.0943951023931957,
                                                 1.0471975511965979,
                                                 -2.0943951023931957,
                                                 0.0};

KX_API extern const double xy_shift[24][2] = {{0.0, 0.0},
                                              {-1.3839358972426132, 1.1186220679398926},
                                              {-0.8303615383455679, 0.7990157628142089},
                                              {-0.2767871794485226, 1.1186220679398926},
                                              {1.3839358972426132, 0.7990157628142089},
                                              {2.4910846150367036, 0.7990157628142089},
                                              {3.044658973933749, -0.15980315256284178},
                                              {-1.9375102561396584, 0.15980315256284178},
                                              {-1.3839358972426132, -0.15980315256284178},
                                              {-0.8303615383455679, 0.15980315256284178},
                                              {-0.2767871794485226, -0.15980315256284178},
                                              {0.2767871794485226, 0.15980315256284178},
                                              {0.8303615383455679, -0.15980315256284178},
                                              {1.3839358972426132, 0.15980315256284178},
                                              {1.9375102561396584, -0.15980315256284178},
                                              {2.4910846150367036, 0.15980315256284178},
                                              {-1.9375102561396584, -1.1186220679398926},
                                              {-1.3839358972426132, -0.7990157628142089},
                                              {-0.2767871794485226, -0.7990157628142089},
                                              {0.8303615383455679, -0.7990157628142089},
                                              {1.3839358972426132, -1.1186220679398926},
                                              {-2.4910846150367036, -0.7990157628142089},
                                              {-0.8303615383455679, -1.1186220679398926},
                                              {-2.4910846150367036, -0.15980315256284178}};

}  // extern "C"

namespace {

using kx::kHalfPi;
using kx::kPi;

constexpr int kFaces = 20;
constexpr double kInradius = 0.36486382811348317;     // centroid to edge, units of a
constexpr double kCircumradius = 0.6523581397843682;  // centroid to corner
constexpr double kPlane = 0.7946544722917661;         // face plane's distance from the centre
constexpr double kHalfEdge = 0.5257311121191336;      // half an edge on the face plane
constexpr double kMidradius = 0.8506508083520399;     // centre to an edge's middle
constexpr double kRoot3Inv = 0.5773502691896257;
constexpr double kRoot3Half = 0.8660254037844386;
constexpr double kC = 0.5535743588970452;  // atan(kHalfEdge / kMidradius), half an edge's angle
constexpr int kMaxPasses = 100;

// The face triangle in net units: apex, left and right corners (centroid at 0).
constexpr double kApexY = 2 * kC * kRoot3Inv, kBaseY = -kC * kRoot3Inv;

struct Point {
  double x, y;
};

// One triangle of the net: which face's frame, which net placement, and its
// corners in the face frame.
struct Piece {
  int face, net;
  Point p[3];
};

constexpr Point kApex{0, kApexY}, kLeft{-kC, kBaseY}, kRight{kC, kBaseY};
constexpr Point kFoot{0, kBaseY}, kCentroid{0, 0};

struct Options {
  int n;  // 0 when none
  int preferred() const { return n % 100; }
};

Options options_of(const double *par) {
  const int n = kx::layout_option(par);
  if (n < 0 || (n > 20 && n != 106 && n != 117 && n != 206 && n != 217)) return {0};
  return {n};
}

// The net face that shows the point (xf, yf) of face under the option.
int net_face(const Options &o, int face, double xf, double yf) {
  int f = face;
  if (face == 6) {
    const bool cut = kx_intriangle(kApex.x, kApex.y, kFoot.x, kFoot.y, kRight.x, kRight.y, xf, yf);
    if (cut || xf > 0.0) f = 21;
  } else if (face == 17) {
    const bool cut =
        kx_intriangle(kCentroid.x, kCentroid.y, kApex.x, kApex.y, kLeft.x, kLeft.y, xf, yf);
    const double t = std::atan2(yf, xf);
    if (cut || t > kHalfPi || t < -5 * kPi / 6) f = 22;
  }
  if (o.n == 106 && f == 21) f = 6;
  if (o.n == 6 && (f == 6 || f == 21)) f = 23;
  if ((o.n == 17 || o.n == 117) && f == 22) f = 17;
  if (o.n == 206 && f == 6) f = 21;
  if (o.n == 217 && f == 17) f = 22;
  return f;
}

// The net's triangles under an option; returns their count.
int pieces_of(const Options &o, Piece *out) {
  int k = 0;
  for (int f = 1; f <= kFaces; ++f) {
    if (f == 6) {
      if (o.n == 6 || o.n == 106 || o.n == 206) {
        out[k++] = {6, o.n == 6 ? 23 : (o.n == 106 ? 6 : 21), {kApex, kLeft, kRight}};
      } else {
        out[k++] = {6, 6, {kApex, kLeft, kFoot}};
        out[k++] = {6, 21, {kApex, kFoot, kRight}};
      }
    } else if (f == 17) {
      if (o.n == 17 || o.n == 117 || o.n == 217) {
        out[k++] = {17, o.n == 217 ? 22 : 17, {kApex, kLeft, kRight}};
      } else {
        out[k++] = {17, 17, {kCentroid, kLeft, kRight}};
        out[k++] = {17, 17, {kCentroid, kRight, kApex}};
        out[k++] = {17, 22, {kCentroid, kApex, kLeft}};
      }
    } else {
      out[k++] = {f, f, {kApex, kLeft, kRight}};
    }
  }
  return k;
}

Point place(int net, Point f) {
  const double r = plane_rotation[net], c = std::cos(r), s = std::sin(r);
  return {xy_shift[net][0] + c * f.x - s * f.y, xy_shift[net][1] + s * f.x + c * f.y};
}

Point unplace(int net, Point p) {
  const double r = plane_rotation[net], c = std::cos(r), s = std::sin(r);
  const double dx = p.x - xy_shift[net][0], dy = p.y - xy_shift[net][1];
  return {c * dx + s * dy, -s * dx + c * dy};
}

// How far p lies inside triangle t (the least distance to its edge lines,
// negative outside), to settle points that rounding puts just outside every
// triangle along a shared edge.
double inside_by(const Point t[3], Point p) {
  double least = INFINITY;
  for (int i = 0; i < 3; ++i) {
    const Point &u = t[i], &v = t[(i + 1) % 3], &w = t[(i + 2) % 3];
    const double ex = v.x - u.x, ey = v.y - u.y, len = std::sqrt(ex * ex + ey * ey);
    const double side = (ex * (p.y - u.y) - ey * (p.x - u.x)) / len;
    const double third = (ex * (w.y - u.y) - ey * (w.x - u.x)) / len;
    least = std::fmin(least, third > 0 ? side : -side);
  }
  return least;
}

// The face frame's (x, y, z) of the point (lambda, phi), z toward the centroid.
void to_frame(double a, int face, double lam, double phi, double *X, double *Y, double *Z) {
  const double *r = rotation[face];
  double x, y, z, p, l, h;
  kx_curv_to_cart(a, 0.0, phi, kx_delta(lam + r[0]), 0.0, &x, &y, &z);
  const double s2 = std::sin(r[1]), c2 = std::cos(r[1]);
  kx_cart_to_curv(a, 0.0, x, s2 * z + c2 * y, c2 * z - s2 * y, &p, &l, &h);
  kx_curv_to_cart(a, 0.0, p, kx_delta(l + r[2]), 0.0, X, Y, Z);
}

// The inverse of to_frame: longitude and latitude of the frame's (X, Y, Z).
void from_frame(double a, int face, double X, double Y, double Z, double *lam, double *phi) {
  const double *r = rotation[face];
  double p, l, h, x, y, z;
  kx_cart_to_curv(a, 0.0, X, Y, Z, &p, &l, &h);
  kx_curv_to_cart(a, 0.0, p, kx_delta(l - r[2]), 0.0, &x, &y, &z);
  const double s2 = std::sin(r[1]), c2 = std::cos(r[1]);
  kx_cart_to_curv(a, 0.0, x, c2 * y - s2 * z, s2 * y + c2 * z, phi, &l, &h);
  *lam = kx_delta(l - r[0]);
}

// The triangle mapping of the face plane point (gx, gy) (units of a).
Point to_triangle(double gx, double gy) {
  const double h1 = (kHalfEdge * kRoot3Inv + gy) / kRoot3Half, h2 = 2 * kHalfEdge - h1;
  const double h3 = h2 / 2 + gx;
  const double a1 = std::atan((h1 - kHalfEdge) / kMidradius);
  const double a2 = std::atan((h3 - kHalfEdge) / kMidradius);
  const double a3 = std::atan((h2 - h3 - kHalfEdge) / kMidradius);
  return {((kC + a2) - (kC + a3)) / 2, (2 * (kC + a1) - (kC + a2) - (kC + a3)) * kRoot3Inv / 2};
}

// Its inverse by Newton's method on A1; false without convergence.
bool from_triangle(Point f, double *gx, double *gy) {
  const double dx = 2 * f.x, dy = 2 * f.y / kRoot3Inv;  // A2 - A3, 2 A1 - A2 - A3
  const double sum = -kHalfEdge / kMidradius;           // tan A1 + tan A2 + tan A3
  double a1 = (3 * std::atan(sum / 3) + dy) / 3;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const double a2 = (2 * a1 - dy + dx) / 2, a3 = (2 * a1 - dy - dx) / 2;
    const double t1 = std::tan(a1), t2 = std::tan(a2), t3 = std::tan(a3);
    const double next = a1 - (t1 + t2 + t3 - sum) / (3 + t1 * t1 + t2 * t2 + t3 * t3);
    if (!(std::fabs(next) < kHalfPi)) return false;  // off the face plane (or NaN)
    const bool done = kx::near_eq(next, a1);
    a1 = next;
    if (done) {
      const double h1 = kHalfEdge + kMidradius * std::tan(a1);
      const double h3 = kHalfEdge + kMidradius * std::tan((2 * a1 - dy + dx) / 2);
      *gy = h1 * kRoot3Half - kHalfEdge * kRoot3Inv;
      *gx = h3 - (2 * kHalfEdge - h1) / 2;
      return true;
    }
  }
  return false;
}

// The face of (lambda, phi) under the option; 0 when no distance is a number.
int face_of(double a, const Options &o, double lam, double phi) {
  int best = 0;
  double best_d = INFINITY, preferred_d = INFINITY;
  bool at_once = false;
  for (int f = 1; f <= kFaces; ++f) {
    double d;
    kx_geodesic_distance(a, 0.0, gcentroid[f][0], gcentroid[f][1], lam, phi, &d, nullptr, nullptr);
    if (!(d == d)) return 0;
    if (f == o.preferred()) preferred_d = d;
    if (d < kInradius * a) {
      best = f;
      at_once = true;
      break;
    }
    if (d < best_d) best = f, best_d = d;
  }
  if (o.n != 0 && !at_once && best != o.preferred()) {
    if (preferred_d == INFINITY)  // not reached in the loop's order: measure it
      kx_geodesic_distance(a, 0.0, gcentroid[o.preferred()][0], gcentroid[o.preferred()][1], lam,
                           phi, &preferred_d, nullptr, nullptr);
    const double limit = kCircumradius * a;
    if (preferred_d <= limit || kx::near_eq(preferred_d, limit)) best = o.preferred();
  }
  return best;
}

}  // namespace

extern "C" {

KX_API int kx_fuller_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const Options o = options_of(par);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double lam = kx_delta(x - lam0), phi = y;
    const int face = face_of(a, o, lam, phi);
    if (face == 0) return false;
    double X, Y, Z;
    to_frame(a, face, lam, phi, &X, &Y, &Z);
    const double g = kPlane / (Z / a);
    const Point f = to_triangle(g * X / a, g * Y / a);
    const Point p = place(net_face(o, face, f.x, f.y), f);
    x = a * p.x;
    y = a * p.y;
    return true;
  });
}

KX_API int kx_fuller_inv(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const Options o = options_of(par);
  Piece pieces[2 * kFaces];
  const int count = pieces_of(o, pieces);
  Point net[2 * kFaces][3];
  for (int i = 0; i < count; ++i)
    for (int j = 0; j < 3; ++j) net[i][j] = place(pieces[i].net, pieces[i].p[j]);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const Point p{x / a, y / a};
    int hit = -1;
    double deepest = -INFINITY;
    for (int i = 0; i < count && hit < 0; ++i) {
      const Point *t = net[i];
      if (kx_intriangle(t[0].x, t[0].y, t[1].x, t[1].y, t[2].x, t[2].y, p.x, p.y)) hit = i;
    }
    // On an edge, rounding may leave the point just outside both triangles.
    for (int i = 0; i < count && hit < 0; ++i) deepest = std::fmax(deepest, inside_by(net[i], p));
    for (int i = 0; i < count && hit < 0; ++i)
      if (inside_by(net[i], p) == deepest && deepest >= -kx::kEps) hit = i;
    if (hit < 0) return false;  // off the net
    const Point f = unplace(pieces[hit].net, p);
    double gx, gy;
    if (!from_triangle(f, &gx, &gy)) return false;
    double lam, phi;
    from_frame(a, pieces[hit].face, a * gx, a * gy, a * kPlane, &lam, &phi);
    x = kx_delta(lam + lam0);
    y = phi;
    return true;
  });
}

}  // extern "C"
