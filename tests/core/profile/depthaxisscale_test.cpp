#include "profile/depthaxisscale.h"

#include <gtest/gtest.h>

using namespace zorv::profile;
using zorv::logbook::UnitSystem;

namespace {

struct ScaleCase {
    UnitSystem units;
    double depth;
    int step;
    int axisEnd;
};

class DepthAxisScaleTest : public testing::TestWithParam<ScaleCase> { };

TEST_P(DepthAxisScaleTest, StepAndAxisEnd)
{
    const ScaleCase &c = GetParam();
    const DepthScale scale = depthAxisScale(c.depth, c.units);
    EXPECT_EQ(scale.step, c.step) << c.depth;
    EXPECT_EQ(scale.axisEnd, c.axisEnd) << c.depth;
}

constexpr UnitSystem M = UnitSystem::Metric;
constexpr UnitSystem I = UnitSystem::Imperial;

INSTANTIATE_TEST_SUITE_P(Metric, DepthAxisScaleTest,
    testing::Values(ScaleCase { M, 0, 1, -5 }, ScaleCase { M, -3, 1, -5 }, ScaleCase { M, 0.9, 1, -5 },
        ScaleCase { M, 5.9, 1, -5 }, ScaleCase { M, 6, 1, -7 }, ScaleCase { M, 9.8, 1, -10 },
        ScaleCase { M, 10, 2, -12 }, ScaleCase { M, 12, 2, -14 }, ScaleCase { M, 13, 2, -14 },
        // 11.95 counts as 12 in the even-number rule.
        ScaleCase { M, 11.95, 2, -14 }, ScaleCase { M, 19.5, 2, -20 }, ScaleCase { M, 20, 5, -25 },
        ScaleCase { M, 23.4, 5, -25 }, ScaleCase { M, 35, 5, -40 }, ScaleCase { M, 49.9, 5, -50 },
        ScaleCase { M, 50, 10, -60 }, ScaleCase { M, 75, 10, -80 }, ScaleCase { M, 139, 10, -140 },
        // Deeper dives keep growing their axis instead of collapsing to -5.
        ScaleCase { M, 140, 10, -150 }, ScaleCase { M, 159.2, 10, -160 }));

INSTANTIATE_TEST_SUITE_P(Imperial, DepthAxisScaleTest,
    testing::Values(ScaleCase { I, 0, 1, -6 }, ScaleCase { I, 6, 1, -6 }, ScaleCase { I, 7, 3, -8 },
        ScaleCase { I, 29, 3, -30 }, ScaleCase { I, 30, 6, -32 }, ScaleCase { I, 31, 6, -32 },
        ScaleCase { I, 59, 6, -60 }, ScaleCase { I, 60, 20, -70 }, ScaleCase { I, 149, 20, -150 },
        ScaleCase { I, 150, 30, -180 }, ScaleCase { I, 179, 30, -180 }, ScaleCase { I, 180, 30, -210 },
        ScaleCase { I, 399, 30, -420 }, ScaleCase { I, 400, 30, -420 }, ScaleCase { I, 522.3, 30, -540 }));

TEST(DepthAxisScale, SurvivesNonsenseDepths)
{
    EXPECT_EQ(depthAxisScale(std::numeric_limits<double>::quiet_NaN(), M).step, 1);
    EXPECT_EQ(depthAxisScale(std::numeric_limits<double>::infinity(), I).axisEnd, -6);
    EXPECT_LT(depthAxisScale(1e30, M).axisEnd, -100000);
}

} // namespace
