#include "app/interface.h"

#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

class Interface : public PartieNeuve {};

TEST_F(Interface, PtraduireFallsBackToTheText) {
    params.langue = "en";
    EXPECT_EQ(ptraduire("Passer"), "Passer");  // no table open
    ecrireFichier(FIC_MSGMENUS, "[Passer]\r\nen=Pass\r\nde=\r\n");
    ASSERT_TRUE(gini_msg.open(FIC_MSGMENUS, false));
    const char* cas[][3] = {{"en", "Passer", "Pass"}, {"en", "Placer", "Placer"}, {"de", "Passer", "Passer"},
                            {"fr", "Passer", "Passer"}};
    for (auto& c : cas) {
        params.langue = c[0];
        EXPECT_EQ(ptraduire(c[1]), c[2]) << c[0] << " " << c[1];
    }
}

TEST_F(Interface, MenuStateFollowsTheGame) {
    partie.partieJoker = partie.modeDuplicate = 1;
    alimMenuJoker();
    alimMenuDuplicate();
    alimMenuModeResolution(true);  // the flag given is not used
    boutonsE(false);
    EXPECT_TRUE(menu_joker_coche() && valMenuJoker() && valMenuDuplicate());
    EXPECT_FALSE(valMenuModeResolution() || gl_menus.boutonPlacerActif || gl_menus.boutonsActifs);
    boutonsE(true);
    EXPECT_TRUE(gl_menus.boutonsActifs && gl_menus.boutonPlacerActif);
    partie.modeResolution = 1;
    alimMenuModeResolution(false);
    EXPECT_TRUE(gl_menus.boutonPlacerActif) << "resolution mode offers \"Placer\" at once";
    boutonsE(false);  // and keeps it
    EXPECT_TRUE(valMenuModeResolution() && gl_menus.boutonPlacerActif);
    EXPECT_FALSE(gl_menus.boutonsActifs);
    // Back to a normal game: "Placer" follows the other buttons again.
    partie.modeResolution = partie.partieJoker = partie.modeDuplicate = 0;
    alimMenuModeResolution(true);
    alimMenuJoker();
    alimMenuDuplicate();
    boutonsE(false);
    EXPECT_FALSE(valMenuModeResolution() || gl_menus.boutonPlacerActif || params.optionResolution);
    EXPECT_FALSE(menu_joker_coche() || valMenuJoker() || valMenuDuplicate());
}

TEST_F(Interface, JokerOptionSwitchesTheRecordsFile) {
    MessageRecorder rec;
    params.ficRecords = "bst/mes.bst";
    for (const auto& [joker, fichier] : {std::pair{true, "bst/jmes.bst"}, {false, "bst/mes.bst"}}) {
        changerPartieJoker(joker);
        EXPECT_EQ(partie.partieJoker, joker ? 1 : 0);
        EXPECT_EQ(menu_joker_coche(), joker);
        EXPECT_EQ(partie.ficRecords, fichier);
    }
}

TEST_F(Interface, SauveFichierAsksTheHandler) {
    MessageRecorder rec;
    rec.reponsesFichiers = {"_recap/ma partie.qv2"};
    gs_dernierRecap = "_recap/lue.qv2";  // the question starts from the last recap read
    std::string out = "old";
    sauveFichier(out);
    EXPECT_EQ(out, "_recap/ma partie.qv2");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].texte + " " + rec.messages[0].titre + " " + rec.departFichier,
              "Sauver dans: *.qv2 _recap/lue.qv2");
    EXPECT_TRUE(rec.sauverFichier);
    sauveFichier(out);  // cancelled
    EXPECT_EQ(out, "");
}

TEST_F(Interface, ChercherDefinitionJoinsEverySource) {
    gl_indexDefinitions = {{"CHAT", "petit mammif\350re"}, {"LOUP", TXT_DEFINITION_NON_TROUVEE}};
    std::filesystem::create_directory("_dicos");
    EXPECT_EQ(chercherDefinition("CHAT"), TXT_DEFINITION_NON_TROUVEE) << "an index not loaded is not read";
    EXPECT_FALSE(fichierExiste(FIC_DEFINITIONS_PERSO)) << "looking up creates no file";
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Animaux]\nCHAT=f\351lin\n[Jeu]\nCHAT=mot de 4 lettres\n=vide\n");
    gl_definitionsChargees = true;
    EXPECT_EQ(chercherDefinition("CHAT"), "petit mammif\350re / f\351lin / mot de 4 lettres");
    EXPECT_EQ(chercherDefinition("LOUP"), TXT_DEFINITION_NON_TROUVEE);
    EXPECT_EQ(chercherDefinition(""), TXT_DEFINITION_NON_TROUVEE);
    // The shell's open copy, when it holds one, stands for the file.
    ecrireFichier("autres.ini", "[Jeu]\nLOUP=canid\351\n");
    ASSERT_TRUE(gini_def.open("autres.ini", false));
    gini_def_ok = true;
    EXPECT_EQ(chercherDefinition("LOUP"), "canid\351");
    EXPECT_EQ(chercherDefinition("CHAT"), "petit mammif\350re");
}
