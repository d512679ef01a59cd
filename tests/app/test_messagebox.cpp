#include "app/messagebox.h"

#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

using Kind = MessageRecorder::Message::Kind;

TEST(MessageBox, TextsAreShownVerbatimAndFormatsOnlyWhenAsked) {
    MessageRecorder rec;
    char chemin[] = "C:\\jeux\\100%s\\%n.qv2";
    msgAffiche(chemin);
    msgAffiche("taux : 100%d");
    msgAffiche(std::string("50% %s"));
    msgAffiche("%s a %d points", "Ana", 42);
    const std::string longue(3000, 'L');
    msgAffiche("%s!", longue.c_str());
    msgAfficheErr("erreur %s");
    EXPECT_EQ(rec.boites(), (std::vector<std::string>{chemin, "taux : 100%d", "50% %s", "Ana a 42 points",
                                                      longue + "!", "erreur %s"}));
    EXPECT_EQ(rec.nombre(Kind::Erreur), 1);
}

TEST(MessageBox, QuestionsLogAndDebug) {
    MessageRecorder rec;
    rec.reponsesQuestions = {true, false};
    EXPECT_TRUE(msgQuestion("Voulez-vous vraiment quitter le programme ?", "Quitter"));
    EXPECT_FALSE(msgQuestion("Encore ?", "T"));
    EXPECT_FALSE(msgQuestion("Plus de r\351ponse", "T"));  // unanswered: "Non"
    ASSERT_EQ(rec.messages.size(), 3u);
    EXPECT_EQ(rec.messages[0].titre, "Quitter");

    affErreur("fichier '%s' illisible (%d)", "a%s.ini", 5);
    affDebug("invisible %d", 1);
    gl_debugAfficher = true;
    affDebug("visible %d\n", 2);
    EXPECT_EQ(rec.journal(), (std::vector<std::string>{"ERR : fichier 'a%s.ini' illisible (5)\n", "visible 2\n"}));
    EXPECT_TRUE(rec.boites().empty());
}

TEST(MessageBox, HandlersNestAndTheDefaultAnswersNo) {
    std::string valeur = "def";
    EXPECT_FALSE(msgQuestion("Sur la sortie d'erreur ?", ""));
    EXPECT_FALSE(msgSaisie("Nom", valeur));
    EXPECT_EQ(valeur, "def");
    {
        MessageRecorder externe;
        {
            MessageRecorder interne;
            msgAffiche("dedans");
            EXPECT_EQ(interne.boites().size(), 1u);
        }
        msgAffiche("dehors");
        EXPECT_EQ(externe.boites(), std::vector<std::string>{"dehors"});
        EXPECT_EQ(&gestionnaireMessages(), &externe);
    }
    EXPECT_EQ(setGestionnaireMessages(nullptr), nullptr);  // the default was back
}

}  // namespace
