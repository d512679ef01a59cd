#include "engine/timers.h"

#include "app/interface.h"
#include "display/affichage.h"
#include "engine/divers.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/PartieNeuve.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <chrono>

// A game of two players in progress.
class Timers : public PartieNeuve {
protected:
    void SetUp() override {
        PartieNeuve::SetUp();
        partie.nbJoueurs = 2;
        init_board();
        partie.partieEnCours = 1;
    }
};

TEST_F(Timers, StepFiresOnceAndCuttingIsAlwaysSafe) {
    couperTimerPas();
    couperChrono();
    armerTimerPas();
    armerTimerPas();
    const int avant = drawarea.tracesPlateau;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (Fl::has_timeout(callbacktimer) && std::chrono::steady_clock::now() < fin) Fl::wait(0.02);
    Fl::wait(0.2);
    EXPECT_EQ(drawarea.tracesPlateau, avant + 1);
}

TEST_F(Timers, ChronosCountDownToTimeOut) {
    const struct { bool duplicate, chronoPartie; short* compteur; } cas[] = {
        {false, false, &partie.chronoCoup},
        {true, true, &partie.chronoPartie},
        {false, true, &partie.joueurs[1].chrono},  // the player's own time
    };
    params.dureeCoup = 2;
    params.chrono = true;
    partie.joueurEnCours = 1;
    for (auto& c : cas) {
        SCOPED_TRACE(&c - cas);
        gl_menus.boutonPlacerActif = true;
        partie.modeDuplicate = c.duplicate;
        params.chronoPartie = c.chronoPartie;
        partie.joueurs[1].chrono = 2;
        partie.tempsEcoule = 1;  // a new count-down clears it
        c.duplicate ? lancerChronoPartie(true, 2) : lancerChrono();
        EXPECT_EQ(drawarea.zones[ZONE_CHRONO].valeur, 2);
        EXPECT_EQ(drawarea.zones[ZONE_CHRONO].joueur, 0);
        callbackChrono(nullptr);
        // One more second to count.
        EXPECT_EQ(*c.compteur, 1);
        EXPECT_EQ(partie.tempsEcoule, 0);
        EXPECT_EQ(drawarea.zones[ZONE_CHRONO].valeur, 1);
        EXPECT_TRUE(Fl::has_timeout(callbackChrono));
        callbackChrono(nullptr);
        EXPECT_TRUE(partie.tempsEcoule);
        EXPECT_FALSE(Fl::has_timeout(callbackChrono));
        EXPECT_EQ(gl_menus.boutonPlacerActif, c.duplicate);  // play stops in a normal game
    }
    // No time to count down: the zone shows the stopped chrono and nothing is armed.
    partie.modeDuplicate = 0;
    params.chronoPartie = false;
    params.dureeCoup = -5;
    lancerChrono();
    EXPECT_EQ(partie.chronoCoup, 0);
    EXPECT_EQ(drawarea.zones[ZONE_CHRONO].valeur, CHRONO_ARRETE);
    EXPECT_EQ(drawarea.zones[ZONE_CHRONO].joueur, 0);
    // Without the option, or in a duplicate game on the game's chrono, a move has no chrono.
    params.dureeCoup = 5;
    for (bool option : {false, true}) {
        params.chrono = option;
        partie.modeDuplicate = option;
        params.chronoPartie = option;
        lancerChrono();
        EXPECT_FALSE(Fl::has_timeout(callbackChrono)) << option;
    }
}
