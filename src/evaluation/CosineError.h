#pragma once
// The cosine error of a straightness run: how much longer the straight path from the first to
// the last position is than the run's length along the axis, when the least-squares lines of
// both planes tilt it. Also the points the 3-D view draws. Positions (Dystans) are cm,
// deviations (Xa horizontal, Xr vertical) µm.
#include "foundations/PomiarCol.h"

namespace evaluation {

// With L the run's length (last position − first, in µm) and H, V the rises of the
// least-squares lines of Xa and Xr over it, the end error D − |L| with D = √(L² + H² + V²), in
// µm. It does not depend on the direction of the run. No point, one point, equal first and last
// positions or a non-finite figure: 0.
double CosineEndError(const TPunkt& points);

// What the 3-D view draws for each point, chosen by the statistics method: 0 the residuals of
// the end-point line, 1 those of the least-squares line, any other value the points as they are.
// One item per given point, in their order.
void ViewResiduals(const TPunkt& points, int statisticsMethod, TPunkt& dest);

}  // namespace evaluation
