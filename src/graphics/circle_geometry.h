// Where CIRCLE's figure goes: the bounding box from the radius and aspect,
// and the radial points of the start and end angles on the 78-pixel square
// around the centre.
#pragma once

#include <cstdint>

namespace gfx {

struct RadialOffset {
  int32_t dx = 0, dy = 0; // dy positive points up
};

// The point for A hundredths of a radian (0 to 628), walking
// counter-clockwise along the square of half-side 78 from the middle of its
// right edge, one pixel per hundredth.
RadialOffset OffsetForAngle(double a);

struct CircleFigure {
  enum Kind { kEllipse, kFullArc, kArc, kPie };
  Kind kind = kFullArc;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t xStart = 0, yStart = 0, xEnd = 0, yEnd = 0;
};

// The figure for centre (X, Y), radius R, angles START and END (radians)
// and ASPECT; FILL selects an ellipse when both angles are 0. False when an
// angle lies beyond 6.28 radians either way.
bool PlanCircle(int32_t x, int32_t y, double r, double start, double end, double aspect, bool fill,
                CircleFigure &out);

} // namespace gfx
