#include "core/maChaine.h"
#include <gtest/gtest.h>
TEST(Placeholder, Builds) { EXPECT_EQ(chaine("%d", 3), "3"); }
