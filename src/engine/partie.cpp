#include "engine/partie.h"

#include "engine/duplicate.h"
#include "engine/historic.h"

#include <algorithm>

Partie partie;
std::string gs_finPartie;
std::vector<short> vect_regpt;

bool estDuplicateHorsTest() { return partie.modeDuplicate && !partie.modeTest; }

void Partie::AlimDernCoupDuplSaisi() {
    int n = std::min<int>(std::max<int>(nbJoueurs, 0), NB_JOUEURS_MAX);
    if (n == 0) {
        dernCoupDuplSaisi = 0;
        return;
    }
    size_t plusPetit = 9999;
    for (int i = 0; i < n; ++i) {
        size_t compte = saisie_duplicate[i].size();
        // While a round is open a human's last entry is the empty one of
        // that round, until he has typed it; a game without an open round
        // (finished, or loaded without being resumed) has none.
        if (joueurs[i].type == 0 && gl_tourDuplicateOuvert && !saisieDuplicateEnCours && compte > 0) --compte;
        plusPetit = std::min(plusPetit, compte);
    }
    dernCoupDuplSaisi = static_cast<unsigned short>(plusPetit);
}

unsigned short Partie::NombreEnregsRecap() {
    if (estDuplicateHorsTest()) {
        AlimDernCoupDuplSaisi();
        return dernCoupDuplSaisi;
    }
    size_t n = v_histo.size();
    if (n > 0 && v_histo.back().joueur == 0) --n;
    return static_cast<unsigned short>(std::min<size_t>(n, 65535));
}

void Partie::noterCoupAnnule() {
    ++nbCoupsAnnules_;
    short n = static_cast<short>(std::min<unsigned>(NombreEnregsRecap(), 32767));
    if (n > nivDernierCoupAnnule_) nivDernierCoupAnnule_ = n;
}

// Within a game the undo level is only raised; a new game starts it from 0,
// or one undo would stop the best moves of every later game from counting.
void Partie::nouvellePartie() {
    nbCoupsAnnules_ = 0;
    nivDernierCoupAnnule_ = 0;
}
