#include "engine/partie.h"

#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"

#include <gtest/gtest.h>

namespace {

// n moves played by player 1, as the turn engine appends them.
void jouerCoups(int n) {
    for (int i = 0; i < n; ++i) {
        ajouterEnregHisto();
        v_histo.back().joueur = 1;
    }
}

TEST(Partie, AlimDernCoupDuplSaisiTakesTheSlowestPlayer) {
    struct Cas {
        const char* nom;
        short nbJoueurs;
        std::vector<short> types;
        std::vector<size_t> saisies;
        bool humainEnSaisie;
        bool tourOuvert;
        unsigned short attendu;
    } cas[] = {
        {"no player", 0, {}, {4}, false, true, 0},
        {"computers", 2, {1, 8}, {3, 5}, false, true, 3},
        {"open round: the human's empty entry is not a round", 2, {0, 3}, {3, 5}, false, true, 2},
        {"human typing", 2, {0, 3}, {3, 5}, true, true, 3},
        {"no open round: every entry counts", 2, {0, 3}, {3, 5}, false, false, 3},
        {"never below 0", 2, {0, 0}, {0, 4}, false, true, 0},
        {"slots beyond the players are ignored", 1, {2, 0}, {6, 1}, false, true, 6},
        {"starts from 9999", 1, {1}, {10000}, false, true, 9999},
        {"at most eight slots", 12, {1, 1, 1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 2, 2, 2, 1}, false, true, 1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        partie.nbJoueurs = c.nbJoueurs;
        partie.saisieDuplicateEnCours = c.humainEnSaisie;
        gl_tourDuplicateOuvert = c.tourOuvert;
        for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
            partie.joueurs[i].type = i < static_cast<int>(c.types.size()) ? c.types[i] : 0;
            saisie_duplicate[i].assign(i < static_cast<int>(c.saisies.size()) ? c.saisies[i] : 0, saisieDP());
        }
        partie.AlimDernCoupDuplSaisi();
        EXPECT_EQ(partie.dernCoupDuplSaisi, c.attendu);
    }
}

TEST(Partie, NombreEnregsRecap) {
    EXPECT_EQ(partie.NombreEnregsRecap(), 0u);  // empty history
    partie.nbJoueurs = 2;
    init_board();
    EXPECT_EQ(partie.NombreEnregsRecap(), 0u);  // the new game's empty record
    jouerCoups(2);
    EXPECT_EQ(partie.NombreEnregsRecap(), 3u);
    ajouterEnregHisto();  // a record not yet given to a player
    EXPECT_EQ(partie.NombreEnregsRecap(), 3u);

    // A duplicate game counts the rounds typed by every player, but not in test mode.
    partie.modeDuplicate = 1;
    partie.joueurs[0].type = 1;
    partie.joueurs[1].type = 1;
    saisie_duplicate[0].resize(2);
    saisie_duplicate[1].resize(1);
    EXPECT_EQ(partie.NombreEnregsRecap(), 1u);
    EXPECT_EQ(partie.dernCoupDuplSaisi, 1u);
    partie.modeTest = 1;
    EXPECT_EQ(partie.NombreEnregsRecap(), 3u);
}

TEST(Partie, UndoCountersAndLevel) {
    partie.nbJoueurs = 1;
    init_board();
    EXPECT_EQ(partie.nbCoupsAnnules(), 0);
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 0);
    jouerCoups(4);
    partie.noterCoupAnnule();
    EXPECT_EQ(partie.nbCoupsAnnules(), 1);
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 5);
    v_histo.resize(3);
    partie.noterCoupAnnule();  // fewer records now: the level is not lowered
    EXPECT_EQ(partie.nbCoupsAnnules(), 2);
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 5);

    // A new game forgets both: an undo in one game must not block the next.
    init_board();
    EXPECT_EQ(partie.nbCoupsAnnules(), 0);
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 0);
    jouerCoups(2);
    partie.noterCoupAnnule();
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 3);
}

}  // namespace
