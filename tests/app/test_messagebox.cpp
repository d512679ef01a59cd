#include "app/messagebox.h"

#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class MessageBox : public PartieNeuve {};

TEST_F(MessageBox, TextsAreShownVerbatimFormatsOnlyWhenAskedDebugWhenEnabled) {
    MessageRecorder rec;
    char chemin[] = "C:\\jeux\\100%s\\%n.qv2";
    msgAffiche(chemin);
    msgAffiche("taux : 100%d");
    msgAffiche(std::string("50% %s"));
    const std::string longue(3000, 'L');
    msgAffiche("%s a %d points", longue.c_str(), 42);
    EXPECT_EQ(rec.boites(), (std::vector<std::string>{chemin, "taux : 100%d", "50% %s", longue + " a 42 points"}));
    affDebug("invisible %d", 1);
    gl_debugAfficher = true;
    affDebug("visible %d\n", 2);
    EXPECT_EQ(rec.journal(), std::vector<std::string>{"visible 2\n"});
}

TEST_F(MessageBox, CommandLineHandlerWritesLinesAnswersNoAndCancels) {
    {
        MessageRecorder rec;  // replacing a handler gives it back; the standard one reads as none
        EXPECT_EQ(setGestionnaireMessages(&rec), &rec);
    }
    EXPECT_EQ(setGestionnaireMessages(nullptr), nullptr);
    testing::internal::CaptureStderr();
    msgAffiche("info 100%s");
    msgAfficheErr("erreur");
    std::string valeur = "Andr\351";
    const bool oui = msgQuestion("Quitter ?", "Titre");
    const bool saisi = msgSaisie("Nom", valeur);
    affErreur("code %d", 3);
    const std::string fichier = gestionnaireMessages().choixFichier("Sauver", "*.qv2", "a.qv2", true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "info 100%s\nerreur\nQuitter ? -> Non\nERR : code 3\n");
    EXPECT_FALSE(oui);
    EXPECT_FALSE(saisi);
    EXPECT_EQ(valeur, "Andr\351");
    EXPECT_EQ(fichier, "");
}
