#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/timers.h"

#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

// A human and a computer, classic board, draws in a fixed order.
class Duplicate : public PartieNeuve {
protected:
    void SetUp() override {
        PartieNeuve::SetUp();
        params.listeLettresOrdonnees = "Ze-STEABQXUV";  // any case; what is not a letter is skipped
        partie.nbJoueurs = 2;
        partie.modeDuplicate = 1;
        init_board();
        partie.joueurs[1].type = 6;
        partie.partieEnCours = 1;
        dicP.lexique.definir({"ZESTE"});
    }
    MessageRecorder messages;
};

TEST_F(Duplicate, RoundOpensWithTheTopAndAnEntryForEveryPlayer) {
    gestDebDuplicate();
    EXPECT_TRUE(gl_tourDuplicateOuvert);
    EXPECT_TRUE(Fl::has_timeout(callbacktimer));
    // ZESTE over (8,4) and H8: 48, along row H and down column 8.
    ASSERT_EQ(result_best.size(), 1u);
    const saisieDP& top = result_best[0];
    EXPECT_EQ(top.tirage + " " + top.position + " " + std::to_string(top.score) + " " + std::to_string(top.nbTops) + " " +
                  std::to_string(top.nbLettresPosees) + (top.horizontal ? " H" : " V"),
              "ZESTEAB H4 48 2 5 H");
    EXPECT_EQ(v_histo[0].texteTops + " | " + v_histo[0].meilleurCoup + " | " + v_histo[0].reglette, "ZESTE H4, ZESTE 8D | ZESTE H4 48 | ZESTEAB");
    // The human's entry waits for his move; the computer plays the top, without the draw.
    ASSERT_EQ(saisie_duplicate[0].size(), 1u);
    ASSERT_EQ(saisie_duplicate[1].size(), 1u);
    EXPECT_EQ(saisie_duplicate[0][0].mot, "");
    EXPECT_EQ(saisie_duplicate[1][0].mot, "ZESTE");
    EXPECT_EQ(saisie_duplicate[1][0].tirage, "");
    // Both players hold the draw, and no seat beyond them.
    EXPECT_EQ(std::string(partie.joueurs[0].lettres) + "|" + partie.joueurs[1].lettres, "ZESTEAB|ZESTEAB");
    EXPECT_TRUE(chevaletVide(2));
    EXPECT_EQ(partie.nbLettresSac, 4);  // of the eleven letters of the order
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Duplicate, NoMoveAsksWhetherToEndTheGame) {
    for (bool oui : {false, true}) {
        SetUp();
        messages.messages.clear();
        dicP.lexique.definir({"QI"});
        messages.reponsesQuestions = {oui};
        gestDebDuplicate();
        EXPECT_EQ(messages.messages[0].texte,
                  "Aucun mot ne peut \352tre plac\351 avec le tirage ZESTEAB\nvoulez-vous terminer la partie ?");
        EXPECT_EQ(partie.partieEnCours, !oui);
        EXPECT_EQ(gl_tourDuplicateOuvert, !oui);
        EXPECT_EQ(saisie_duplicate[1].size(), oui ? 0u : 1u);
    }
    EXPECT_EQ(gs_finPartie, "Partie terminee car aucun mot ne peut etre place");
}

TEST_F(Duplicate, NothingLeftToDrawEndsTheGame) {
    std::fill(partie.sac, partie.sac + NB_LETTRES, 0);
    partie.nbLettresSac = 0;
    gestDebDuplicate();
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_FALSE(gl_tourDuplicateOuvert);
    EXPECT_FALSE(Fl::has_timeout(callbacktimer));
    EXPECT_EQ(gs_finPartie, TXT_FIN_LETTRES_PLACEES);
    ASSERT_EQ(messages.boites().size(), 1u);
    EXPECT_EQ(messages.boites()[0].rfind(TXT_FIN_LETTRES_PLACEES, 0), 0u);
    ASSERT_GE(v_histo.size(), 2u);
    EXPECT_EQ(v_histo[v_histo.size() - 2].typeCoup, COUP_FIN_DUPLICATE);
    EXPECT_EQ(v_histo[v_histo.size() - 2].joueur, 1);
    EXPECT_TRUE(result_best.empty());
}

TEST_F(Duplicate, KeptLettersThenDrawsFromTheBag) {
    alimChevalet(0, "AE");  // left from the round before
    gestDebDuplicate();
    EXPECT_EQ(result_best.at(0).tirage, "AE+ZESTE");
    EXPECT_EQ(partie.chevaletEnCours, "AEEESTZ");
    alimChevalet(0, "QUATRES");  // a full rack kept draws nothing
    gestDebDuplicate();
    EXPECT_EQ(result_best.at(1).tirage, "AEQRSTU");
    EXPECT_EQ(partie.nbLettresSac, 6);
    // Without a fixed order the draw is at random, but only from what the bag holds.
    SetUp();
    params.listeLettresOrdonnees.clear();
    partie.nbLettresSac = 2;
    for (unsigned graine : {1u, 2u, 3u}) {
        std::srand(graine);
        alimChevalet(0, "");
        std::fill(partie.sac, partie.sac + NB_LETTRES, 0);
        partie.sac[1] = partie.sac[2] = 1;
        gestDebDuplicate();
        EXPECT_EQ(partie.chevaletEnCours, "AB") << graine;
        EXPECT_EQ(partie.sac[1], 0) << graine;
        EXPECT_EQ(partie.sac[2], 0) << graine;
        EXPECT_EQ(partie.sac[IDX_JOKER], 0) << graine;
    }
    alimChevalet(0, "");
    partie.sac[1] = 1;  // an A alone
    gestDebDuplicate();
    EXPECT_EQ(partie.chevaletEnCours, "A");
}
