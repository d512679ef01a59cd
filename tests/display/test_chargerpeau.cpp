#include "display/chargerpeau.h"

#include <gtest/gtest.h>

TEST(ChargerPeau, DetermineRgbPicksTheColourCubeEntry) {
    const std::pair<const char*, double> cas[] = {
        {"0,0,0", 56},      {"205,0,0", 88},      {"0,0,205", 216},   {"0,224,0", 63},   {"255,255,255", 255},
        {"128,0,0", 72},    {"52,36,52", 105},    {"255", 88},        {"", 56},          {"300,-20,999", 248},
        {" 128 , x ,0", 72}, {"12|40|200", 56}};
    for (const auto& [couleur, attendu] : cas) EXPECT_EQ(determineRGB(couleur), attendu) << couleur;
}
