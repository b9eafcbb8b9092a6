#include <gtest/gtest.h>

#include "platform/OSVersion.h"

TEST(OSVersion, AnswersAsWindowsTen)
{
    EXPECT_EQ(platform::GetVersionEx().majorVersion, 10u);
}
