#include "stats/stattable.h"

#include <gtest/gtest.h>

using namespace zorv::stats;

namespace {

StatBin sample(float total, float fresh, float sea, float chamber)
{
    StatBin s;
    s.sum = { total, fresh, sea, chamber };
    s.used = 1;
    return s;
}

} // namespace

TEST(RoundUpToStep, SmallestMultipleNeverBelowStep)
{
    struct Case {
        int value, step, expected;
    };
    for (const Case c : { Case { 0, 10, 10 }, Case { 37, 10, 40 }, Case { 40, 10, 40 }, Case { 41, 10, 50 },
             Case { 3, 1, 3 }, Case { 0, 1, 1 } })
        EXPECT_EQ(roundUpToStep(c.value, c.step), c.expected) << c.value << " step " << c.step;
}

TEST(StatTable, AddKeepsCountsMinimaAndMaximaPerColumnAndDropsWhenFull)
{
    StatTable t;
    t.size(2);
    t.add(7, sample(1, 1, 0, 0));
    t.add(7, sample(3, 0, 3, 0));
    t.add(9, sample(2, 0, 0, 2));
    t.add(11, sample(5, 5, 5, 0)); // no free bin: dropped

    const StatBin seven = t.get(7);
    EXPECT_EQ(seven.count, 2u);
    EXPECT_EQ(seven.countFresh, 1u);
    EXPECT_EQ(seven.countSea, 1u);
    EXPECT_EQ(seven.countChamber, 0u);
    EXPECT_FLOAT_EQ(seven.sum[0], 4.0f);
    EXPECT_FLOAT_EQ(seven.min[0], 1.0f);
    EXPECT_FLOAT_EQ(seven.max[0], 3.0f);
    EXPECT_FLOAT_EQ(seven.min[3], 0.0f); // unseen minimum shows 0
    EXPECT_EQ(t.get(11).count, 0u);
    EXPECT_FLOAT_EQ(t.get(11).min[0], 0.0f);
}

TEST(StatTable, AveragesPerDiveAndAcrossUsedBins)
{
    StatTable perDive;
    perDive.size(3);
    perDive.add(1, sample(10, 10, 0, 0));
    perDive.add(1, sample(20, 0, 20, 0));
    perDive.add(2, sample(30, 30, 0, 0));
    perDive.averagePerBin();
    EXPECT_FLOAT_EQ(perDive.get(1).sum[0], 15.0f);
    EXPECT_FLOAT_EQ(perDive.get(1).sum[1], 10.0f);
    EXPECT_FLOAT_EQ(perDive.get(1).sum[2], 20.0f);
    EXPECT_FLOAT_EQ(perDive.total().sum[0], 20.0f); // 60 over three dives
    EXPECT_FLOAT_EQ(perDive.total().sum[1], 20.0f); // 40 over two fresh dives

    StatTable perYear;
    perYear.size(5);
    perYear.add(1, sample(4, 4, 0, 0));
    perYear.add(3, sample(2, 0, 0, 2));
    perYear.averageAcrossBins(); // empty bins do not count
    EXPECT_FLOAT_EQ(perYear.total().sum[0], 3.0f);
    EXPECT_FLOAT_EQ(perYear.total().sum[3], 1.0f);
}

TEST(StatTable, CategoryScaleFromTheChosenAggregate)
{
    StatTable t;
    t.size(6);
    t.add(1, sample(12.5f, 12.5f, 0, 0));
    t.add(1, sample(30.2f, 30.2f, 0, 0));
    t.finishCategory(Aggregate::Maximum, 10);
    EXPECT_FLOAT_EQ(t.scale, 40.0f); // truncate(30.2) + 1 = 31 -> 40
    t.clear();
    t.add(1, sample(2.4f, 0, 2.4f, 0));
    t.finishCategory(Aggregate::Average, 1);
    EXPECT_FLOAT_EQ(t.scale, 3.0f);
}
