#include "engine/normal.h"

#include "engine/chargerpeau2.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class Normal : public PartieNeuve {};

TEST_F(Normal, EndOfGameSettlesTheRacks) {
    MessageRecorder messages;
    const struct { const char* chevalets[3]; short courant; bool passe; short scores[3]; } cas[] = {
        // A empties his rack: B loses Z + A = 11, C loses E = 1, A gains both.
        {{"", "ZA", "E"}, 0, false, {112, 79, 79}},
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
        for (int i = 0; i < 3; ++i) EXPECT_EQ(partie.joueurs[i].scoreFinal, c.scores[i]) << i;
        EXPECT_EQ(v_histo.back().typeCoup, COUP_FIN_PARTIE);
    }
    EXPECT_EQ(messages.boites(),
              (std::vector<std::string>{std::string(TXT_FIN_LETTRES_PLACEES) + "\nLe gagnant est A avec 112 points",
                                        std::string(TXT_FIN_PASSES) + "\nEgalit\351 entre A, B, C avec 79 points"}));
    end_game();  // nothing left to end: racks are not charged twice
    EXPECT_EQ(partie.joueurs[0].scoreFinal, 79);
    EXPECT_EQ(messages.boites().size(), 2u);
}
