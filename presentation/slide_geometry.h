// Where the parts of the mechanism stand on each slide, in pixels from the top-left corner.
#pragma once

#include <cmath>

namespace vk::slides {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kCount = 24;
constexpr double kPi = 3.14159265358979323846;

constexpr double kBigPivotX = 512, kBigPivotY = 384;
constexpr double kSmallPivotX = 700, kSmallPivotY = 192;
constexpr double kRollerRadius = 41;  // the discs at the bars' ends
constexpr double kStroke = 105;       // the yoke's swing either way

// Roller-centre path of the three-lobed cam in slide 1's position, in polar form about its pivot
// (angles anticlockwise on screen from the positive x axis): its opposite points lie 640 apart.
inline double BigPath(double theta) { return 320 + kStroke * std::cos(3 * (theta - kPi / 2)); }
// Roller-centre path of the kidney cam: a dimpled limaçon, its lobe above the pivot on slide 1.
inline double SmallPath(double theta) { return 129 + kStroke * std::sin(theta); }

// Turn of each cam on slide k (1 to 24), anticlockwise positive: the big cam turns clockwise by
// 5° a slide, the small one anticlockwise by 15°.
inline double BigTurn(int k) { return -5.0 * (k - 1) * kPi / 180; }
inline double SmallTurn(int k) { return 15.0 * (k - 1) * kPi / 180; }

// Horizontal shift of both bars on slide k, positive to the right.
inline double BarShift(int k) { return -kStroke * std::sin(15.0 * (k - 1) * kPi / 180); }

// The bars' end points on slide k: where each path meets the horizontal through its pivot.
inline double BigLeftX(int k) { return kBigPivotX - BigPath(kPi - BigTurn(k)); }
inline double BigRightX(int k) { return kBigPivotX + BigPath(-BigTurn(k)); }
inline double SmallLeftX(int k) { return kSmallPivotX - SmallPath(kPi - SmallTurn(k)); }
inline double SmallRightX(int k) { return kSmallPivotX + SmallPath(-SmallTurn(k)); }

}  // namespace vk::slides
