#include "engine/partie.h"

#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class EtatPartie : public PartieNeuve {};

TEST_F(EtatPartie, AlimDernCoupDuplSaisiTakesTheSlowestPlayer) {
    const struct {
        short nbJoueurs;
        std::vector<short> types;
        std::vector<size_t> saisies;  // entries of each player
        bool humainEnSaisie, tourOuvert;
        unsigned short attendu;
    } cas[] = {
        {2, {0, 3}, {3, 5}, false, true, 2},   // open round: the human's empty entry is not a round
        {2, {0, 3}, {3, 5}, true, true, 3},    // human typing
        {2, {0, 3}, {3, 5}, false, false, 3},  // no open round: every entry counts
        {2, {0, 0}, {0, 4}, false, true, 0},   // never below 0
        {1, {2, 0}, {6, 1}, false, true, 6},   // slots beyond the players are ignored
        {12, {1, 1, 1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 2, 2, 2, 1}, false, true, 1},  // at most eight
        {0, {1}, {4}, false, true, 0},
    };
    for (auto& c : cas) {
        SCOPED_TRACE(&c - cas);
        partie.nbJoueurs = c.nbJoueurs;
        partie.saisieDuplicateEnCours = c.humainEnSaisie;
        gl_tourDuplicateOuvert = c.tourOuvert;
        for (size_t i = 0; i < NB_JOUEURS_MAX; ++i) {
            partie.joueurs[i].type = i < c.types.size() ? c.types[i] : 0;
            saisie_duplicate[i].assign(i < c.saisies.size() ? c.saisies[i] : 0, saisieDP());
        }
        partie.AlimDernCoupDuplSaisi();
        EXPECT_EQ(partie.dernCoupDuplSaisi, c.attendu);
    }
}

TEST_F(EtatPartie, RecordsOfTheRecapAndUndoCounters) {
    partie.nbJoueurs = 2;
    init_board();
    EXPECT_EQ(partie.NombreEnregsRecap(), 0u);  // the new game's empty record
    for (int i = 0; i < 3; ++i) ajouterEnregHisto();
    v_histo[2].joueur = 1;  // the last one, not yet given to a player, is not counted
    EXPECT_EQ(partie.NombreEnregsRecap(), 3u);
    v_histo.back().joueur = 1;
    partie.noterCoupAnnule();
    v_histo.resize(3);
    partie.noterCoupAnnule();  // fewer records now: the level is not lowered
    EXPECT_EQ(partie.nbCoupsAnnules(), 2);
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 4);
    // A duplicate game counts the rounds typed by every player, but not in test mode.
    partie.modeDuplicate = 1;
    partie.joueurs[0].type = partie.joueurs[1].type = 1;
    saisie_duplicate[0].resize(2);
    saisie_duplicate[1].resize(1);
    EXPECT_EQ(partie.NombreEnregsRecap(), 1u);
    partie.modeTest = 1;
    EXPECT_EQ(partie.NombreEnregsRecap(), 3u);
    init_board();  // an undo in one game must not block the next
    EXPECT_EQ(partie.nbCoupsAnnules(), 0);
    EXPECT_EQ(partie.nivDernierCoupAnnule(), 0);
}
