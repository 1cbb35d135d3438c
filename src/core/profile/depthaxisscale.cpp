#include "profile/depthaxisscale.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

namespace {

    // The first even number above the depth; the 0.1 keeps 11.95 from falling to 11.
    int nextEvenAbove(double maxDepth)
    {
        const int v = static_cast<int>(maxDepth + 0.1) + 1;
        return v % 2 != 0 ? v + 1 : v;
    }

    int roundDown(int value, int multiple)
    {
        return value / multiple * multiple;
    }

} // namespace

DepthScale depthAxisScale(double maxDepth, logbook::UnitSystem units)
{
    const int d = maxDepth > 0 && std::isfinite(maxDepth) ? static_cast<int>(std::min(maxDepth, 1e6)) : 0;
    if (units == logbook::UnitSystem::Metric) {
        if (d == 0)
            return { -5, 1 };
        if (d <= 5)
            return { -5, 1 };
        if (d <= 9)
            return { -(d + 1), 1 };
        if (d <= 19)
            return { -nextEvenAbove(maxDepth), 2 };
        if (d <= 49)
            return { -(roundDown(d, 5) + 5), 5 };
        // The old table gave deeper dives an axis end of -5, which cut their curve
        // off at 5 m; the steps of ten simply go on instead.
        return { -(roundDown(d, 10) + 10), 10 };
    }
    if (d == 0)
        return { -6, 1 };
    if (d <= 6)
        return { -6, 1 };
    if (d <= 29)
        return { -(d + 1), 3 };
    if (d <= 59)
        return { -nextEvenAbove(maxDepth), 6 };
    if (d <= 149)
        return { -(roundDown(d, 10) + 10), 20 };
    // Counted in thirties from 150 ft; beyond 400 ft the same steps go on (see above).
    return { -(150 + roundDown(d - 150, 30) + 30), 30 };
}

} // namespace zorv::profile
