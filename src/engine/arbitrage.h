#ifndef QV_ENGINE_ARBITRAGE_H
#define QV_ENGINE_ARBITRAGE_H

#include <string>
#include <vector>

// The tournament score sheet.
class Arbitrage {
public:
    std::string nomFichierSvg;  // save-file base name
    std::string nomFichierIni;  // set-up file name
    std::vector<std::string> noms;

    bool lireFichierSVG(const std::string& fichier);
};

extern Arbitrage arbitrage;

#endif
