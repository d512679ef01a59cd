#include "engine/normal.h"

#include "engine/chargerpeau2.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "engine/params.h"
#include "engine/timers.h"
#include "display/affichage.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

class Normal : public PartieNeuve {};

TEST_F(Normal, EndOfGameSettlesTheRacks) {
    MessageRecorder messages;
    const struct { const char* chevalets[3]; short courant; bool passe; short scores[3]; } cas[] = {
        // A empties his rack: B loses Z + A = 11, C loses E = 1, A gains both; the same from B.
        {{"", "ZA", "E"}, 0, false, {112, 79, 79}},
        {{"ZA", "", "E"}, 1, false, {89, 102, 79}},
        // The last of three passes in a row: each loses his rack (Z + Z + A = 21), nobody gains.
        {{"ZZA", "ZA", "E"}, 2, true, {79, 79, 79}},
    };
    for (auto& c : cas) {
        // Three players A, B, C with 100, 90 and 80 points.
        parametresParDefaut();
        partie.nbJoueurs = 3;
        init_board();
        for (int i = 0; i < 3; ++i) {
            partie.joueurs[i].nom = std::string(1, static_cast<char>('A' + i));
            partie.joueurs[i].score = static_cast<short>(100 - 10 * i);
            alimChevalet(i, c.chevalets[i]);
        }
        partie.partieEnCours = 1;
        partie.joueurEnCours = c.courant;
        partie.nbPasses = c.passe ? 2 : 0;
        passer_joueur_suiv(c.passe);
        ASSERT_FALSE(partie.partieEnCours);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(partie.joueurs[i].scoreFinal, c.scores[i]) << i;
            EXPECT_EQ(drawarea.scores[i], std::to_string(c.scores[i])) << "the info zone shows the final score";
        }
        const c_historique& fin = v_histo.back();
        EXPECT_EQ(fin.typeCoup, COUP_FIN_PARTIE);
        EXPECT_EQ(fin.joueur, c.courant + 1);
        EXPECT_EQ(fin.nbLettresPosees, 0);
        EXPECT_EQ(fin.score, 0);
        EXPECT_EQ(fin.coupJoue, "Fin de partie");
    }
    EXPECT_EQ(messages.boites(),
              (std::vector<std::string>{std::string(TXT_FIN_LETTRES_PLACEES) + "\nLe gagnant est A avec 112 points",
                                        std::string(TXT_FIN_LETTRES_PLACEES) + "\nLe gagnant est B avec 102 points",
                                        std::string(TXT_FIN_PASSES) + "\nEgalit\351 entre A, B, C avec 79 points"}));
    end_game();  // nothing left to end: racks are not charged twice
    EXPECT_EQ(partie.joueurs[0].scoreFinal, 79);
    EXPECT_EQ(messages.boites().size(), 3u);
}

TEST_F(Normal, TurnGoesRoundAndPassesAreCounted) {
    MessageRecorder messages;
    partie.nbJoueurs = 3;
    init_board();
    alimChevalet(0, "A");  // one letter is still a rack
    alimChevalet(1, "B?x-C");
    alimChevalet(2, "Q");
    EXPECT_EQ(std::string(partie.joueurs[1].lettres), "B?C");
    EXPECT_EQ(valeurChevalet(1), 6);  // the joker is worth 0
    EXPECT_EQ(valeurChevalet(9), 0);
    EXPECT_EQ(valeurChevalet(-1), 0);
    EXPECT_TRUE(chevaletVide(8));
    EXPECT_TRUE(chevaletVide(-1));
    partie.modeTest = 1;
    alimChevalet(8, "AZ");  // no ninth seat: nothing of the game changes
    alimChevalet(-1, "AZ");
    EXPECT_EQ(partie.modeTest, 1);
    partie.modeTest = 0;
    partie.partieEnCours = 1;
    partie.coupEnCours = "MOT";
    params.chrono = true;  // each turn restarts the move's chrono
    params.dureeCoup = 45;
    const struct { bool passe; short joueur, passes; } tours[] = {{true, 1, 1}, {false, 2, 0}, {true, 0, 1}, {true, 1, 2}};
    for (const auto& t : tours) {
        passer_joueur_suiv(t.passe);
        ASSERT_TRUE(partie.partieEnCours);
        EXPECT_EQ(partie.joueurEnCours, t.joueur);
        EXPECT_EQ(partie.nbPasses, t.passes);
        EXPECT_EQ(drawarea.joueurEnCours, t.joueur);
        EXPECT_EQ(partie.coupEnCours, "");
        EXPECT_EQ(drawarea.zones[ZONE_CHRONO].valeur, 45);
        EXPECT_TRUE(Fl::has_timeout(callbackChrono));
        partie.chronoCoup = 3;
        drawarea.zones[ZONE_CHRONO].valeur = 3;
    }
    EXPECT_TRUE(messages.messages.empty());
    armerTimerPas();
    passer_joueur_suiv(true);  // the third pass in a row ends it, and its clocks
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_FALSE(Fl::has_timeout(callbackChrono));
    EXPECT_FALSE(Fl::has_timeout(callbacktimer));
    EXPECT_EQ(messages.boites().size(), 1u);
    // A game of one player has its winner too.
    partie.nbJoueurs = 1;
    init_board();
    partie.joueurs[0].nom = "Solo";
    partie.partieEnCours = 1;
    passer_joueur_suiv(true);
    EXPECT_EQ(messages.boites().at(1), std::string(TXT_FIN_LETTRES_PLACEES) + "\nLe gagnant est Solo avec 0 points");
}
