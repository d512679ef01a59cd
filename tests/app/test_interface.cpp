#include "app/interface.h"
#include "app/messagebox.h"

#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

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
        EXPECT_EQ(partie.partieJoker, joker ? 1 : 0);
        EXPECT_EQ(menu_joker_coche(), joker);
        EXPECT_EQ(partie.ficRecords, fichier);
    }
    rec.reponsesFichiers = {"_recap/ma partie.qv2"};
    gs_dernierRecap = "_recap/lue.qv2";  // the question starts from the last recap read
    std::string out = "old";
    sauveFichier(out);
    EXPECT_EQ(out, "_recap/ma partie.qv2");
    EXPECT_EQ(rec.messages.at(0).texte, "Sauver dans:");
    EXPECT_EQ(rec.messages[0].titre, "*.qv2");
    EXPECT_EQ(rec.departFichier, "_recap/lue.qv2");
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

// Each cause that an open reports has its own text, translated.
TEST_F(Interface, TexteFichierIllisibleNamesTheCause) {
    const TextesFichierIllisible textes = {"absent %s", "pas un fichier %s", "illisible %s", "trop grand %s"};
    const std::pair<int, const char*> cas[] = {
        {ENOENT, "absent f"},          {ENOTDIR, "absent f"},         {ENAMETOOLONG, "absent f"},
        {EINVAL, "pas un fichier f"},  {EISDIR, "pas un fichier f"},  {ENXIO, "pas un fichier f"},
        {ENODEV, "pas un fichier f"},  {EFBIG, "trop grand f"},       {EACCES, "illisible f"},
        {EIO, "illisible f"},          {ELOOP, "illisible f"}};
    for (const auto& [erreur, texte] : cas) EXPECT_EQ(texteFichierIllisible(textes, "f", erreur), texte) << erreur;
    ecrireFichier("msgmenus.ini", "[Le fichier '%s' est trop grand (plus de 16 Mo)]\nfr=%s : trop grand\n");
    ASSERT_TRUE(gini_msg.open("msgmenus.ini", false));
    EXPECT_EQ(texteFichierIllisible(TEXTES_FICHIER, "f%s", EFBIG), "f%s : trop grand");
    EXPECT_EQ(texteFichierIllisible(TEXTES_FICHIER, "f", EACCES), "Le fichier 'f' ne peut pas \352tre lu");
}

// The settings that this build follows: the debug output and the personal
// definitions opened at start-up.
TEST_F(Interface, SettingsOfTheDebugOutputAndThePersonalDefinitions) {
    MessageRecorder rec;
    params.chargtIniUniq = 1;
    lireFichierOptions();  // none: nothing to say, nothing changed or created
    EXPECT_EQ(params.chargtIniUniq, 1);
    EXPECT_FALSE(fichierExiste(strFicIni));
    ecrireFichier(strFicIni, "[Debug]\nAfficher=True\n[Definitions]\nChargtIniUniq=True\n"
                             "[Thematique]\nrubrique_definitions=Jeu\n");
    lireFichierOptions();
    EXPECT_TRUE(gl_debugAfficher);
    EXPECT_EQ(params.chargtIniUniq, 1);
    EXPECT_EQ(partie.rubriqueDefinitions, "Jeu");
    ouvrirDefinitionsPerso();  // none: nothing to say
    EXPECT_FALSE(gini_def_ok);
    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Jeu]\nLOUP=canid\351\n");
    ouvrirDefinitionsPerso();
    EXPECT_TRUE(gini_def_ok);
    std::filesystem::remove(FIC_DEFINITIONS_PERSO);
    EXPECT_EQ(chercherDefinition("LOUP"), "canid\351") << "the copy opened at start-up";
    EXPECT_TRUE(rec.boites().empty());
    // A file without them: nothing is opened, a debug line is dropped.
    ecrireFichier(strFicIni, "[Autre]\nAfficher=True\n");
    lireFichierOptions();
    EXPECT_FALSE(gl_debugAfficher);
    EXPECT_EQ(params.chargtIniUniq, 0);
    EXPECT_EQ(partie.rubriqueDefinitions, "");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Jeu]\nLOUP=canid\351\n");
    ouvrirDefinitionsPerso();
    EXPECT_FALSE(gini_def_ok);
    EXPECT_FALSE(gini_def.isOpen()) << "the copy of before is closed";
    affDebug("ligne\n");
    EXPECT_TRUE(rec.messages.empty());
    // Files there that cannot be read are reported.
    params.chargtIniUniq = 1;
    std::filesystem::remove(FIC_DEFINITIONS_PERSO);
    std::filesystem::create_directory(FIC_DEFINITIONS_PERSO);
    ouvrirDefinitionsPerso();
    EXPECT_FALSE(gini_def_ok);
    std::filesystem::remove(strFicIni);
    ASSERT_EQ(mkfifo(strFicIni.c_str(), 0600), 0);
    lireFichierOptions();
    EXPECT_EQ(params.chargtIniUniq, 1) << "the settings of before stand";
    const std::string pasUnFichier = "' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)";
    EXPECT_EQ(rec.boites(), (std::vector<std::string>{"Le fichier '_dicos/definitions_personnelles.ini" + pasUnFichier,
                                                      "Le fichier 'quorvel.ini" + pasUnFichier}));
}
