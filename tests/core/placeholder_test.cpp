#include "core/text/number_text.h"

#include <gtest/gtest.h>

TEST(NumberText, GeneralFormSmoke) {
    EXPECT_EQ(kova::FormatGeneral(10.5), "10.5");
}
