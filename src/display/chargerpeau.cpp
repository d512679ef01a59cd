#include "display/chargerpeau.h"

#include "core/maChaine.h"

#include <algorithm>

Fl_Image* imgFondsMsg = nullptr;

double determineRGB(const std::string& couleur) {
    auto composante = [&couleur](int n) { return std::clamp(champInt(couleur, n, ","), 0, 255); };
    const int rouge = composante(1), vert = composante(2), bleu = composante(3);
    // The cube is 5 reds x 8 greens x 5 blues from entry 56; every term is
    // divided on its own, as the cube's index is built.
    return 56 + vert * 8 / 256 + 8 * (5 * (bleu * 5 / 256) + rouge * 5 / 256);
}
