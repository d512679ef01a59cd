#include "app/interface.h"

#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

#include <filesystem>

class Interface : public PartieNeuve {};

TEST_F(Interface, MenusAndButtonsFollowTheGame) {
    // joker, duplicate, resolution, buttons active -> menus checked and option, "Placer" and buttons active
    const struct { short joker, duplicate, resolution; bool actifs; const char* attendu; } cas[] = {
        {1, 1, 0, false, "jd-- --"}, {0, 0, 0, true, "---- PB"}, {0, 1, 1, false, "-dro P-"}, {0, 0, 0, false, "---- --"}};
    for (auto& c : cas) {
        partie.partieJoker = c.joker;
        partie.modeDuplicate = c.duplicate;
        partie.modeResolution = c.resolution;
        alimMenuJoker();
        alimMenuDuplicate();
        alimMenuModeResolution(!c.resolution);  // the flag given is not used
        boutonsE(c.actifs);
        std::string vu = std::string(valMenuJoker() && menu_joker_coche() ? "j" : "-") + (valMenuDuplicate() ? "d" : "-") +
                         (valMenuModeResolution() ? "r" : "-") + (params.optionResolution ? "o" : "-") + " " +
                         (gl_menus.boutonPlacerActif ? "P" : "-") + (gl_menus.boutonsActifs ? "B" : "-");
        EXPECT_EQ(vu, c.attendu) << &c - cas;
    }
}

TEST_F(Interface, JokerOptionSwitchesTheRecordsFileAndSaveAsksTheHandler) {
    MessageRecorder rec;
    params.ficRecords = "bst/mes.bst";
    for (const auto& [joker, fichier] : {std::pair{true, "bst/jmes.bst"}, {false, "bst/mes.bst"}}) {
        changerPartieJoker(joker);
        EXPECT_EQ(partie.partieJoker * 10 + menu_joker_coche(), joker ? 11 : 0);
        EXPECT_EQ(partie.ficRecords, fichier);
    }
    rec.reponsesFichiers = {"_recap/ma partie.qv2"};
    gs_dernierRecap = "_recap/lue.qv2";  // the question starts from the last recap read
    std::string out = "old";
    sauveFichier(out);
    EXPECT_EQ(out + "|" + rec.messages.at(0).texte + " " + rec.messages[0].titre + " " + rec.departFichier,
              "_recap/ma partie.qv2|Sauver dans: *.qv2 _recap/lue.qv2");
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
    EXPECT_EQ(chercherDefinition("LOUP") + "|" + chercherDefinition("CHAT"), "canid\351|petit mammif\350re");
}
