#include "common/result.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using zorv::common::Result;
using zorv::common::ResultOr;
using zorv::common::Status;

TEST(ResultOr, AFailureCarriesItsStatusAndASuccessItsValue)
{
    const ResultOr<std::string> failed = Result::failure(Status::BadFormat, "Mauvais format");
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.status(), Status::BadFormat);
    EXPECT_EQ(failed.message(), "Mauvais format");

    // A success handed in as a failure must not read as a success without a value.
    const ResultOr<int> notAValue = Result::success();
    EXPECT_FALSE(notAValue.ok());
    EXPECT_EQ(notAValue.status(), Status::IoError);

    ResultOr<std::string> good = std::string("dive");
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good->size(), 4U);
    EXPECT_EQ(std::move(good).value(), "dive");
}

TEST(ResultOrDeathTest, ReadingTheValueOfAFailureStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ResultOr<std::string> failed = Result::failure(Status::NotFound, "absent");
    EXPECT_DEATH((void)failed.value(), "failed result was read \\(absent\\)");
    EXPECT_DEATH((void)failed->size(), "failed result");
    EXPECT_DEATH((void)*failed, "failed result");
}

} // namespace
