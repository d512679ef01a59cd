#include "app/interface.h"

#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"
#include "support/PartieNeuve.h"

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
    gini_msg.close();
}

TEST_F(Interface, MenuStateFollowsTheGame) {
    partie.partieJoker = 1;
    alimMenuJoker();
    alimMenuModeResolution(true);  // the flag given is not used
    boutonsE(false);
    EXPECT_TRUE(menu_joker_coche());
    EXPECT_FALSE(valMenuModeResolution() || gl_menus.boutonPlacerActif);
    partie.modeResolution = 1;
    alimMenuModeResolution(false);
    boutonsE(false);  // resolution mode keeps "Placer"
    EXPECT_TRUE(valMenuModeResolution() && gl_menus.boutonPlacerActif);
    EXPECT_FALSE(gl_menus.boutonsActifs);
}

TEST_F(Interface, SauveFichierAsksTheHandler) {
    MessageRecorder rec;
    rec.reponsesFichiers = {"_recap/ma partie.qv2"};
    std::string out = "old";
    sauveFichier(out);
    EXPECT_EQ(out, "_recap/ma partie.qv2");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].texte + " " + rec.messages[0].titre, "Sauver dans: *.qv2");
    sauveFichier(out);  // cancelled
    EXPECT_EQ(out, "");
}

TEST_F(Interface, ChercherDefinitionJoinsEverySource) {
    EXPECT_EQ(chercherDefinition("CHAT"), TXT_DEFINITION_NON_TROUVEE);
    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Animaux]\nCHAT=f\351lin\n[Jeu]\nCHAT=mot de 4 lettres\n");
    gl_indexDefinitions["CHAT"] = "petit mammif\350re";
    gl_definitionsChargees = true;
    EXPECT_EQ(chercherDefinition("CHAT"), "petit mammif\350re / f\351lin / mot de 4 lettres");
    EXPECT_EQ(chercherDefinition("LOUP"), TXT_DEFINITION_NON_TROUVEE);
}
