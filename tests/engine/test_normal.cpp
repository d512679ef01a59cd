#include "engine/chargerpeau2.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"

#include "support/MessageRecorder.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

// Three players A, B, C with 100, 90 and 80 points and an E each.
class Normal : public ::testing::Test {
protected:
    void SetUp() override {
        parametresParDefaut();
        partie.nbJoueurs = 3;
        init_board();
        for (int i = 0; i < 3; ++i) {
            partie.joueurs[i].nom = std::string(1, static_cast<char>('A' + i));
            partie.joueurs[i].score = static_cast<short>(100 - 10 * i);
            alimChevalet(i, "E");
        }
        partie.partieEnCours = 1;
    }
    MessageRecorder messages;
};

TEST_F(Normal, TurnGoesRoundAndPassesEndTheGame) {
    partie.coupEnCours = "ZESTE";
    passer_joueur_suiv(false);
    EXPECT_EQ(partie.joueurEnCours, 1);
    EXPECT_TRUE(partie.coupEnCours.empty());
    passer_joueur_suiv(true);
    passer_joueur_suiv(true);
    EXPECT_EQ(partie.joueurEnCours, 0);  // after the last, the first
    passer_joueur_suiv(false);           // a move breaks the run of passes
    EXPECT_EQ(partie.nbPasses, 0);
    for (int k = 0; k < 3; ++k) passer_joueur_suiv(true);
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_EQ(gs_finPartie, TXT_FIN_PASSES);
}

TEST_F(Normal, EndOfGameSettlesTheRacks) {
    struct Cas {
        const char* chevalets[3];
        short courant;
        bool passe;
        short scores[3];
    } cas[] = {
        // A empties his rack: B loses Z + A = 11, C loses E = 1, A gains both.
        {{"", "ZA", "E"}, 0, false, {112, 79, 79}},
        // All passed: each loses his rack (Z + Z + A = 21), nobody gains.
        {{"ZZA", "ZA", "E"}, 2, true, {79, 79, 79}},
    };
    for (const Cas& c : cas) {
        SetUp();
        for (int i = 0; i < 3; ++i) alimChevalet(i, c.chevalets[i]);
        partie.joueurEnCours = c.courant;
        partie.nbPasses = c.passe ? 2 : 0;
        passer_joueur_suiv(c.passe);
        ASSERT_FALSE(partie.partieEnCours);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(partie.joueurs[i].scoreFinal, c.scores[i]) << i;
        EXPECT_EQ(v_histo.back().typeCoup, COUP_FIN_PARTIE);
        EXPECT_EQ(v_histo.back().joueur, c.courant + 1);
    }
    EXPECT_EQ(messages.boites(),
              (std::vector<std::string>{std::string(TXT_FIN_LETTRES_PLACEES) + "\nLe gagnant est A avec 112 points",
                                        std::string(TXT_FIN_PASSES) + "\nEgalit\351 entre A, B, C avec 79 points"}));
}

TEST_F(Normal, EndGameStopsTimersAndRunsOnce) {
    params.chrono = true;
    params.dureeCoup = 30;
    lancerChrono();
    armerTimerPas();
    end_game();
    EXPECT_FALSE(Fl::has_timeout(callbackChrono) || Fl::has_timeout(callbacktimer));
    end_game();  // nothing left to end: racks are not charged twice
    EXPECT_EQ(partie.joueurs[0].score, 99);
    EXPECT_EQ(messages.boites().size(), 1u);
    partie.partieEnCours = 1;
    partie.modeDuplicate = 1;  // duplicate scores are the rounds' sum
    end_game();
    EXPECT_EQ(partie.joueurs[0].scoreFinal, 99);
}
