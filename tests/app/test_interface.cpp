#include "app/interface.h"

#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(Interface, PtraduireUsesTheLanguageOfTheGameParameters) {
    InTempDir tmp;
    EXPECT_EQ(ptraduire("Passer"), "Passer");  // no table open
    ecrireFichier("msgmenus.ini",
                  "[Passer]\r\nen=Pass\r\nde=\r\n"
                  "[Le fichier '%s' est introuvable]\r\nen=File '%s' not found\r\n");
    ASSERT_TRUE(gini_msg.open(FIC_MSGMENUS, false));
    params.langue = "en";
    EXPECT_EQ(ptraduire("Passer"), "Pass");
    EXPECT_EQ(ptraduire("Le fichier '%s' est introuvable"), "File '%s' not found");
    EXPECT_EQ(ptraduire("Placer"), "Placer");  // no section
    params.langue = "de";
    EXPECT_EQ(ptraduire("Passer"), "Passer");  // empty translation
    params.langue = "fr";
    EXPECT_EQ(ptraduire("Passer"), "Passer");  // no key
    gini_msg.close();
}

TEST(Interface, MenuStateFollowsTheGame) {
    partie.modeDuplicate = 1;
    partie.partieJoker = 0;
    alimMenuDuplicate();
    alimMenuJoker();
    alimMenuModeResolution(true);  // the flag given is not used
    EXPECT_TRUE(valMenuDuplicate());
    EXPECT_FALSE(valMenuJoker());
    EXPECT_FALSE(menu_joker_coche());
    EXPECT_FALSE(valMenuModeResolution());
    EXPECT_FALSE(params.optionResolution);
    boutonsE(false);
    EXPECT_FALSE(gl_menus.boutonsActifs);
    EXPECT_FALSE(gl_menus.boutonPlacerActif);

    partie.partieJoker = 1;
    partie.modeResolution = 1;
    alimMenuJoker();
    alimMenuModeResolution(false);
    EXPECT_TRUE(menu_joker_coche());
    EXPECT_TRUE(valMenuModeResolution());
    EXPECT_TRUE(params.optionResolution);
    boutonsE(false);  // resolution mode keeps "Placer"
    EXPECT_FALSE(gl_menus.boutonsActifs);
    EXPECT_TRUE(gl_menus.boutonPlacerActif);
    boutonsE(true);
    EXPECT_TRUE(gl_menus.boutonsActifs);
}

TEST(Interface, SauveFichierAsksTheFileChooser) {
    struct Chooser : MessageRecorder {
        std::string depart;
        bool sauver = false;
        std::string choixFichier(const std::string& invite, const std::string& motif, const std::string& d,
                                 bool s) override {
            depart = d;
            sauver = s;
            return MessageRecorder::choixFichier(invite, motif, d, s);
        }
    } rec;
    rec.reponsesFichiers = {"_recap/ma partie.qv2"};
    gs_dernierRecap = "_recap/histo.qv2";
    std::string out = "old";
    sauveFichier(out);
    EXPECT_EQ(out, "_recap/ma partie.qv2");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].texte, "Sauver dans:");
    EXPECT_EQ(rec.messages[0].titre, "*.qv2");
    EXPECT_EQ(rec.depart, "_recap/histo.qv2");
    EXPECT_TRUE(rec.sauver);
    sauveFichier(out);  // cancelled
    EXPECT_EQ(out, "");
}

TEST(Interface, ChercherDefinitionJoinsEverySource) {
    InTempDir tmp;
    const std::string nonTrouvee = "la d\351finition n'a pas \351t\351 trouv\351e";
    EXPECT_EQ(chercherDefinition("CHAT"), nonTrouvee);

    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO,
                  "[Animaux]\nCHAT=f\351lin domestique\nCHIEN=\n[Jeu]\nCHAT=mot de 4 lettres\n[Animaux]\nCHIEN=canid\n");
    EXPECT_EQ(chercherDefinition("CHAT"), "f\351lin domestique / mot de 4 lettres");
    EXPECT_EQ(chercherDefinition("CHIEN"), "canid");
    EXPECT_EQ(chercherDefinition("chat"), nonTrouvee);  // words are upper-case
    EXPECT_EQ(chercherDefinition(""), nonTrouvee);

    gl_indexDefinitions["CHAT"] = "petit mammif\350re";
    gl_indexDefinitions["LOUP"] = "canid\351 sauvage";
    gl_definitionsChargees = true;
    EXPECT_EQ(chercherDefinition("CHAT"), "petit mammif\350re / f\351lin domestique / mot de 4 lettres");
    EXPECT_EQ(chercherDefinition("LOUP"), "canid\351 sauvage");

    // Once opened at start-up, the personal definitions come from gini_def.
    ecrireFichier("autre.ini", "[Perso]\nLOUP=animal\n");
    ASSERT_TRUE(gini_def.open("autre.ini", false));
    gini_def_ok = true;
    EXPECT_EQ(chercherDefinition("LOUP"), "canid\351 sauvage / animal");
    EXPECT_EQ(chercherDefinition("CHAT"), "petit mammif\350re");
    gini_def.close();
}

}  // namespace
