#include "app/messagebox.h"

#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class MessageBox : public PartieNeuve {};

TEST_F(MessageBox, TextsAreShownVerbatimAndFormatsOnlyWhenAsked) {
    MessageRecorder rec;
    char chemin[] = "C:\\jeux\\100%s\\%n.qv2";
    msgAffiche(chemin);
    msgAffiche("taux : 100%d");
    msgAffiche(std::string("50% %s"));
    const std::string longue(3000, 'L');
    msgAffiche("%s a %d points", longue.c_str(), 42);
    EXPECT_EQ(rec.boites(), (std::vector<std::string>{chemin, "taux : 100%d", "50% %s", longue + " a 42 points"}));
}

TEST_F(MessageBox, DebugOutputOnlyWhenEnabled) {
    MessageRecorder rec;
    affDebug("invisible %d", 1);
    gl_debugAfficher = true;
    affDebug("visible %d\n", 2);
    EXPECT_EQ(rec.journal(), std::vector<std::string>{"visible 2\n"});
    EXPECT_TRUE(rec.boites().empty());
}
