#include "app/interface.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/timers.h"

#include "support/MessageRecorder.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

// Two players, classic board, draws in a fixed order.
class Duplicate : public ::testing::Test {
protected:
    void SetUp() override {
        parametresParDefaut();
        params.listeLettresOrdonnees = "ZESTEABQXUV";
        partie.nbJoueurs = 2;
        partie.modeDuplicate = 1;
        init_board();
        partie.partieEnCours = 1;
        dicP.lexique.definir({"ZESTE"});
    }
    void TearDown() override { couperTimerPas(); }
    // What closing a round leaves: the rack less the top's tiles, the record used.
    static void fermerTour(const std::string& reste) {
        alimChevalet(0, reste);
        v_histo.back().joueur = 1;
        gl_tourDuplicateOuvert = false;
    }
    int questions() const { return messages.nombre(MessageRecorder::Message::Question); }
    MessageRecorder messages;
};

TEST_F(Duplicate, RoundDrawsTheRackAndRecordsTheTop) {
    gestDebDuplicate();
    EXPECT_EQ(partie.chevaletEnCours, "ABEESTZ");
    EXPECT_EQ(partie.chevalet[1][26], 1);  // every player holds the rack
    EXPECT_EQ(partie.nbLettresSac, 4);
    ASSERT_EQ(result_best.size(), 1u);
    // ZESTE over (8,4) and H8: 48, along row H and down column 8.
    const saisieDP& top = result_best[0];
    EXPECT_EQ(top.tirage, "ZESTEAB");
    EXPECT_EQ(top.score * 100 + top.nbTops * 10 + top.nbLettresPosees, 4825);
    EXPECT_EQ(top.position + " " + top.mot, "H4 ZESTE");
    ASSERT_EQ(v_histo.size(), 1u);  // the new game's record is round 0's
    EXPECT_EQ(v_histo[0].reglette, "ZESTEAB");
    EXPECT_EQ(v_histo[0].scoreMeilleurCoup, 48);
    EXPECT_EQ(v_histo[0].texteTops, "ZESTE H4, ZESTE 8D");
    EXPECT_TRUE(gl_tourDuplicateOuvert && gl_menus.boutonsActifs && Fl::has_timeout(callbacktimer));
    EXPECT_EQ(questions(), 0);

    // Kept letters first; the bag runs short of a full rack; no move: asked,
    // answered "Non", the round opens all the same.
    fermerTour("AB");
    callbacktimer(nullptr);
    ASSERT_EQ(result_best.size(), 2u);
    EXPECT_EQ(result_best[1].tirage + " " + result_best[1].mot, "AB+QXUV Rien trouve");
    EXPECT_EQ(v_histo.size(), 2u);
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(partie.partieEnCours && gl_tourDuplicateOuvert);
}

TEST_F(Duplicate, NoMoveAndYesEndsTheGame) {
    dicP.lexique.definir({"QI"});
    messages.reponsesQuestions = {true};
    gestDebDuplicate();
    EXPECT_FALSE(partie.partieEnCours || gl_tourDuplicateOuvert || Fl::has_timeout(callbacktimer));
    EXPECT_EQ(result_best.size(), 1u);
    ASSERT_EQ(v_histo.size(), 2u);
    EXPECT_EQ(v_histo[0].typeCoup, COUP_FIN_DUPLICATE);
    EXPECT_EQ(v_histo[1].typeCoup, COUP_FIN_PARTIE);
    EXPECT_EQ(gs_finPartie, "Partie terminee car aucun mot ne peut etre place");
}

TEST_F(Duplicate, NothingLeftToDrawEndsWithoutAsking) {
    params.listeLettresOrdonnees = "ZESTE";
    fillsock();
    gestDebDuplicate();
    fermerTour("");
    callbacktimer(nullptr);
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_EQ(result_best.size(), 1u);
    EXPECT_EQ(questions(), 0);
    EXPECT_EQ(v_histo[1].typeCoup, COUP_FIN_DUPLICATE);
    EXPECT_EQ(gs_finPartie, TXT_FIN_LETTRES_PLACEES);
}
