#include "PartieNeuve.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "display/affichage.h"
#include "engine/arbitrage.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"
#include "lexicon/dico2.h"
#include "reports/export_html_cadre.h"

namespace fixtures {

void etatDeDemarrage() {
    couperTimerPas();
    couperChrono();
    gini_msg.close();
    gini_def.close();
    gini_def_ok = false;
    gl_indexDefinitions.clear();
    gl_definitionsChargees = false;
    gl_debugAfficher = false;
    gl_generationParties = gl_generationParties2 = false;
    gl_affLetOrdi = gl_affValLet = false;
    utiliserChemin.clear();
    alimBestGosOrdi = false;
    valBestGosOrdi = 0;
    gs_dernierRecap.clear();
    gl_menus = EtatMenus();
    arbitrage = Arbitrage();
    params = Params();
    partie = Partie();
    dicP = DicoPartie();
    bestmove = c_bestmove();
    viderVdef();
    gi_nb_affcach = 0;
    parametresParDefaut();
    init_board();
    drawarea.reinitialiser();
}

}  // namespace fixtures

void PartieNeuve::SetUp() { fixtures::etatDeDemarrage(); }

void PartieNeuve::TearDown() {
    couperTimerPas();
    couperChrono();
}
