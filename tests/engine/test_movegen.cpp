#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"

#include <gtest/gtest.h>

// Classic 15 x 15 board, French values: Z 10, G 2, the other letters used
// here 1; H8 doubles the word; (8,4), (4,8), (8,12) and (12,8) double a
// letter, (10,10) triples one.
class MoveGen : public ::testing::Test {
protected:
    void SetUp() override {
        parametresParDefaut();
        partie.nbJoueurs = 1;
        init_board();
    }
    static void jouer(const std::vector<std::string>& mots, const std::string& chevalet) {
        dicP.lexique.definir(mots);
        alimChevalet(0, chevalet);
        dicP.suggestmove(true);
    }
    static void poserMot(int lig, int col, const std::string& mot) {
        for (size_t k = 0; k < mot.size(); ++k) dicP.plateau[lig][col + k] = dicP.plateauT[col + k][lig] = mot[k];
    }
};

TEST_F(MoveGen, FirstMoveCoversTheStartCell) {
    jouer({"ZESTE"}, "ZESTE");
    ASSERT_EQ(v_result.size(), 10u);  // five placements each way over H8
    // Z on the double letter (8,4): (20 + 4) x 2 = 48, along row H and down column 8.
    const solution& top = v_result[0];
    EXPECT_EQ(top.score, 48);
    EXPECT_EQ(top.position, "H4");
    EXPECT_EQ(top.mot + top.lettres + top.mots, "ZESTEZESTEZESTE");
    EXPECT_EQ(top.nbLettresPosees, 5);
    EXPECT_EQ(top.col[0] * 100 + top.lig[0], 408);
    EXPECT_EQ(v_result[1].position, "8D");
    EXPECT_EQ(v_result[1].score, 48);
    EXPECT_EQ(v_result[2].score, 30);      // last E on (8,12): 15 x 2
    EXPECT_EQ(v_result.back().score, 28);  // 14 x 2
    EXPECT_EQ(bestmove.position, "H4");
    EXPECT_EQ(v_histo.back().scoreMeilleurCoup, 48);
    EXPECT_TRUE(result_best.empty());  // offered moves add no top
}

TEST_F(MoveGen, HookAndExtensionScoreOnlyNewSquares) {
    poserMot(10, 7, "RAT");  // J7
    jouer({"RAT", "RATS", "IS"}, "IS");
    ASSERT_EQ(v_result.size(), 2u);
    // IS down column 10, S on the triple letter: IS 1 + 3, RATS 3 + 3.
    EXPECT_EQ(v_result[0].score, 10);
    EXPECT_EQ(v_result[0].position, "10I");
    EXPECT_EQ(v_result[0].mots, "IS, RATS");
    // The S alone makes RATS.
    EXPECT_EQ(v_result[1].score, 6);
    EXPECT_EQ(v_result[1].position + v_result[1].lettres, "J7S");

    // With an I above (10,10) the S alone makes RATS and IS: 6 + 4, found once;
    // and IS along row I: 2.
    poserMot(9, 10, "I");
    jouer({"RAT", "RATS", "IS"}, "S");
    ASSERT_EQ(v_result.size(), 2u);
    EXPECT_EQ(v_result[0].score, 10);
    EXPECT_EQ(v_result[0].mots, "RATS, IS");

    init_board();
    poserMot(8, 4, "ZESTE");  // over (8,4) and H8: their multipliers are spent
    jouer({"ZESTE", "ZESTES"}, "S");
    ASSERT_EQ(v_result.size(), 1u);
    EXPECT_EQ(v_result[0].score, 15);  // 10 + 5 x 1
}

TEST_F(MoveGen, JokerStandsForAnyLetterAndIsWorthNothing) {
    jouer({"ZESTE"}, "?ESTE");
    // E on (8,12): (0 + 1 + 1 + 1 + 2) x 2 = 10; the joker on (8,4) earns nothing: 4 x 2.
    EXPECT_EQ(v_result[0].score, 10);
    EXPECT_EQ(v_result[0].mot + v_result[0].lettres, "zESTEzESTE");
    EXPECT_EQ(v_result[0].position + v_result[1].position, "H88H");
    EXPECT_EQ(v_result.back().score, 8);
}

TEST_F(MoveGen, WholeRackBonusReplacesTheLengthBonus) {
    params.bonus[7] = 5;
    // ORANGES from H8, G on (8,12): (6 + 4) x 2 = 20; all of a 7-tile rack: + 50,
    // else the 7-letter bonus: + 5.
    for (auto [taille, attendu] : {std::pair<short, short>{7, 70}, {8, 25}}) {
        partie.tailleChevalet = taille;
        jouer({"ORANGES"}, "ORANGES");
        EXPECT_EQ(v_result[0].score, attendu) << taille;
    }
}

TEST_F(MoveGen, NoLegalMove) {
    struct Cas {
        const char* mot;
        const char* chevalet;
        bool noires;
    } cas[] = {{"QI", "ZX", false}, {"ZESTE", "ZESTE", true}, {"ZESTE", "", false}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.chevalet);
        parametresParDefaut();
        init_board();
        if (c.noires)  // no run of five cells through H8
            for (auto [l, k] : {std::pair{8, 6}, {8, 10}, {6, 8}, {10, 8}}) dicP.special[l][k] = CASE_NOIRE;
        jouer({c.mot}, c.chevalet);
        EXPECT_TRUE(v_result.empty());
        EXPECT_EQ(v_histo.back().scoreMeilleurCoup, 0);
    }
}
