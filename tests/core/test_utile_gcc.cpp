#include "core/utile_gcc.h"

#include <gtest/gtest.h>

#include <cctype>

TEST(utile_gcc, JourHeureNowHasTwoDigitFields) {
    std::string forme = JourHeureNow();
    for (char& c : forme)
        if (std::isdigit(static_cast<unsigned char>(c))) c = '9';
    EXPECT_EQ(forme, "99/99/9999 99:99:99");
}
