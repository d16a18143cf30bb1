#include "tools/glyphs/Raster.h"

#include <algorithm>
#include <cmath>

#include "indicators/QEL_onoffbut.h"

namespace qel::glyphs {

namespace {
constexpr int kSamples = 6;       // per axis
constexpr double kCovered = 0.3;  // less coverage than this shows the background
constexpr double kPi = 3.14159265358979323846;

double DistToSegment(double X, double Y, Pt A, Pt B) {
  const double dx = B.X - A.X, dy = B.Y - A.Y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((X - A.X) * dx + (Y - A.Y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = A.X + t * dx - X, py = A.Y + t * dy - Y;
  return std::sqrt(px * px + py * py);
}
}  // namespace

RGBA Hex(unsigned RGB, double Alpha) {
  return {((RGB >> 16) & 0xFF) / 255.0, ((RGB >> 8) & 0xFF) / 255.0, (RGB & 0xFF) / 255.0, Alpha};
}

RGBA Mix(RGBA A, RGBA B, double T) {
  T = std::clamp(T, 0.0, 1.0);
  return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T,
          A.A + (B.A - A.A) * T};
}

Shape Circle(double CX, double CY, double R) {
  return [=](double X, double Y) { return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= R * R; };
}

Shape Ellipse(double CX, double CY, double RX, double RY) {
  return [=](double X, double Y) {
    const double u = (X - CX) / RX, v = (Y - CY) / RY;
    return u * u + v * v <= 1;
  };
}

Shape RoundRect(double X0, double Y0, double X1, double Y1, double Radius) {
  return [=](double X, double Y) {
    if (X < X0 || X > X1 || Y < Y0 || Y > Y1) return false;
    const double cx = std::clamp(X, X0 + Radius, X1 - Radius);
    const double cy = std::clamp(Y, Y0 + Radius, Y1 - Radius);
    return (X - cx) * (X - cx) + (Y - cy) * (Y - cy) <= Radius * Radius;
  };
}

Shape Polygon(std::vector<Pt> P) {
  return [P = std::move(P)](double X, double Y) {
    bool in = false;
    for (size_t i = 0, j = P.size() - 1; i < P.size(); j = i++) {
      if ((P[i].Y > Y) != (P[j].Y > Y) &&
          X < (P[j].X - P[i].X) * (Y - P[i].Y) / (P[j].Y - P[i].Y) + P[i].X)
        in = !in;
    }
    return in;
  };
}

Shape Stroke(std::vector<Pt> P, double Width, bool Closed) {
  if (Closed && !P.empty()) P.push_back(P.front());
  return [P = std::move(P), h = Width / 2](double X, double Y) {
    for (size_t i = 0; i + 1 < P.size(); ++i)
      if (DistToSegment(X, Y, P[i], P[i + 1]) <= h) return true;
    return P.size() == 1 && DistToSegment(X, Y, P[0], P[0]) <= h;
  };
}

Shape Arc(double CX, double CY, double R, double A0, double A1, double Width) {
  std::vector<Pt> p;
  const int n = std::max(8, static_cast<int>(std::fabs(A1 - A0) / 4));
  for (int i = 0; i <= n; ++i) {
    const double a = (A0 + (A1 - A0) * i / n) * kPi / 180;
    p.push_back({CX + R * std::cos(a), CY + R * std::sin(a)});
  }
  return Stroke(std::move(p), Width);
}

Shape Ring(double CX, double CY, double R0, double R1) {
  return Minus(Circle(CX, CY, R1), Circle(CX, CY, R0));
}

Shape Minus(Shape A, Shape B) {
  return [=](double X, double Y) { return A(X, Y) && !B(X, Y); };
}
Shape Union(Shape A, Shape B) {
  return [=](double X, double Y) { return A(X, Y) || B(X, Y); };
}
Shape Intersect(Shape A, Shape B) {
  return [=](double X, double Y) { return A(X, Y) && B(X, Y); };
}

std::vector<Pt> Rotate(std::vector<Pt> P, double CX, double CY, double Degrees) {
  const double a = Degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
  for (Pt& q : P) {
    const double x = q.X - CX, y = q.Y - CY;
    q = {CX + x * c - y * s, CY + x * s + y * c};
  }
  return P;
}

std::vector<Pt> MirrorX(std::vector<Pt> P, double CX) {
  for (Pt& q : P) q.X = 2 * CX - q.X;
  return P;
}

Fill Solid(RGBA C) {
  return [=](double, double) { return C; };
}

Fill Linear(double X0, double Y0, RGBA C0, double X1, double Y1, RGBA C1) {
  const double dx = X1 - X0, dy = Y1 - Y0, len2 = dx * dx + dy * dy;
  return [=](double X, double Y) {
    const double t = len2 > 0 ? ((X - X0) * dx + (Y - Y0) * dy) / len2 : 0;
    return Mix(C0, C1, t);
  };
}

Fill Radial(double CX, double CY, double R, RGBA C0, RGBA C1) {
  return [=](double X, double Y) {
    const double d = std::sqrt((X - CX) * (X - CX) + (Y - CY) * (Y - CY));
    return Mix(C0, C1, R > 0 ? d / R : 1);
  };
}

void Drawing::RenderInto(TBitmap& Target, int X0, int Y0, bool Disabled) const {
  const TColor face = ColorToRGB(clBtnFace);
  const double faceR = GetRValue(face) / 255.0, faceG = GetGValue(face) / 255.0,
               faceB = GetBValue(face) / 255.0;
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x < FWidth; ++x) {
      // Premultiplied sums over the samples.
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          double px = x + (sx + 0.5) / kSamples, py = y + (sy + 0.5) / kSamples;
          if (FMap) {
            const Pt m = FMap(px, py);
            px = m.X;
            py = m.Y;
          }
          double cr = 0, cg = 0, cb = 0, ca = 0;
          for (const Layer& l : FLayers) {
            if (!l.S(px, py)) continue;
            const RGBA c = l.F(px, py);
            cr = c.R * c.A + cr * (1 - c.A);
            cg = c.G * c.A + cg * (1 - c.A);
            cb = c.B * c.A + cb * (1 - c.A);
            ca = c.A + ca * (1 - c.A);
          }
          r += cr;
          g += cg;
          b += cb;
          a += ca;
        }
      }
      const double n = kSamples * kSamples;
      r /= n;
      g /= n;
      b /= n;
      a /= n;
      TColor out = kOnOffSeeThrough;
      if (a >= kCovered) {
        // Back to straight colour, washed out when disabled, then onto the face.
        double cr = r / a, cg = g / a, cb = b / a;
        if (Disabled) {
          const double lum = 0.30 * cr + 0.59 * cg + 0.11 * cb;
          cr = cg = cb = lum * 0.5 + 0.82 * 0.5;
        }
        cr = cr * a + faceR * (1 - a);
        cg = cg * a + faceG * (1 - a);
        cb = cb * a + faceB * (1 - a);
        auto byte = [](double v) {
          return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
        };
        out = RGB(byte(cr), byte(cg), byte(cb));
        // A drawn pixel must never read as see-through.
        if (out == kOnOffSeeThrough) out ^= 0x010000;
      }
      Target.Canvas()->SetPixel(X0 + x, Y0 + y, out);
    }
  }
}

}  // namespace qel::glyphs
