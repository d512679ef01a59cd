#include "app/interface.h"
#include "display/affichage.h"
#include "engine/chargerpeau2.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"

#include "support/MessageRecorder.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <chrono>

class Timers : public ::testing::Test {
protected:
    void SetUp() override {
        parametresParDefaut();
        partie.nbJoueurs = 2;
        init_board();
        partie.partieEnCours = 1;
    }
    void TearDown() override {
        couperTimerPas();
        couperChrono();
    }
    // Runs the event loop until the step timer has fired; false after 2 s.
    static bool attendrePas() {
        auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (Fl::has_timeout(callbacktimer))
            if (std::chrono::steady_clock::now() > fin || Fl::wait(0.02) < 0) return false;
        return true;
    }
    MessageRecorder messages;
};

TEST_F(Timers, StepFiresOnceAndCuttingIsAlwaysSafe) {
    couperTimerPas();
    couperChrono();
    armerTimerPas();
    armerTimerPas();
    int avant = drawarea.tracesPlateau;
    ASSERT_TRUE(attendrePas());
    Fl::wait(0.2);
    EXPECT_EQ(drawarea.tracesPlateau, avant + 1);
}

TEST_F(Timers, DuplicateStepStartsARoundOnlyWhenNoneIsOpen) {
    partie.modeDuplicate = 1;
    int avant = drawarea.tracesPlateau;
    partie.partieEnCours = 0;
    callbacktimer(nullptr);  // no game: nothing at all
    partie.partieEnCours = 1;
    gl_tourDuplicateOuvert = true;
    callbacktimer(nullptr);
    EXPECT_TRUE(result_best.empty());
    EXPECT_EQ(drawarea.tracesPlateau, avant + 1);
    gl_tourDuplicateOuvert = false;
    callbacktimer(nullptr);
    ASSERT_TRUE(attendrePas());  // the round's own step only redraws
    EXPECT_EQ(result_best.size(), 1u);
}

TEST_F(Timers, ChronosCountDownToTimeOut) {
    struct Cas {
        bool duplicate, chrono, chronoPartie;
        short secondes;  // lancerChronoPartie(true, secondes); -1: lancerChrono()
        int affiche;     // -1: not started
        short* compteur;
    } cas[] = {
        {false, true, false, -1, 2, &partie.chronoCoup},
        {true, false, true, 2, 2, &partie.chronoPartie},
        {false, true, true, -1, 2, &partie.joueurs[1].chrono},  // the player's own time
        {true, false, true, 0, CHRONO_ARRETE, nullptr},
        {false, false, true, 5, -1, nullptr},  // whole-game chrono outside duplicate
        {true, true, true, -1, -1, nullptr},   // move chrono under the whole-game one
    };
    params.dureeCoup = 2;
    partie.joueurEnCours = 1;
    for (const Cas& c : cas) {
        SCOPED_TRACE(&c - cas);
        couperChrono();
        drawarea.reinitialiser();
        gl_menus.boutonPlacerActif = true;
        partie.modeDuplicate = c.duplicate;
        params.chrono = c.chrono;
        params.chronoPartie = c.chronoPartie;
        partie.joueurs[1].chrono = 2;
        partie.tempsEcoule = 1;
        c.secondes < 0 ? lancerChrono() : lancerChronoPartie(true, c.secondes);
        EXPECT_EQ(drawarea.zones[ZONE_CHRONO].traces ? drawarea.zones[ZONE_CHRONO].valeur : -1, c.affiche);
        EXPECT_EQ(Fl::has_timeout(callbackChrono) != 0, c.compteur != nullptr);
        if (!c.compteur) continue;
        EXPECT_FALSE(partie.tempsEcoule);
        callbackChrono(nullptr);
        EXPECT_EQ(*c.compteur, 1);
        callbackChrono(nullptr);
        EXPECT_TRUE(partie.tempsEcoule);
        EXPECT_FALSE(Fl::has_timeout(callbackChrono));
        EXPECT_EQ(gl_menus.boutonPlacerActif, c.duplicate);  // play stops in a normal game
    }
}
