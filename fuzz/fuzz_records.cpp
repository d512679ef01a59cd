// fuzz-seconds: 30
// loadscores on arbitrary bytes: every table comes out with 20 sorted entries
// whose texts fit one line, and what was read is written and read back unchanged.
#include "app/interface.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/records.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const NOM = "fuzz_records.bst";

bool ecrire(const void* data, size_t size) {
    std::FILE* f = std::fopen(NOM, "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void exiger(bool condition) {
    if (!condition) std::abort();
}

void verifierTexte(const std::string& t) {
    exiger(t.size() <= Records::LONGUEUR_TEXTE_MAX && t.find_first_of(std::string("\n\r\0", 3)) == std::string::npos);
}

template <class Entree>
void verifierTable(const Entree (&table)[Records::NB]) {
    for (int j = 1; j < Records::NB; ++j) exiger(table[j - 1].score >= table[j].score);
    for (const Entree& e : table) verifierTexte(e.date);
}

void verifier(const Records& r) {
    for (int t = 0; t < 8; ++t) {
        verifierTable(r.scoresHumains[t]);
        verifierTable(r.scoresOrdi[t]);
        for (int j = 0; j < Records::NB; ++j) {
            verifierTexte(r.scoresHumains[t][j].texte);
            verifierTexte(r.scoresOrdi[t][j].texte);
        }
    }
    verifierTable(r.bestGosHumains);
    verifierTable(r.bestGosOrdi);
    verifierTable(r.meilleuresParties);
    for (int j = 0; j < Records::NB; ++j) {
        verifierTexte(r.bestGosHumains[j].joueur);
        verifierTexte(r.bestGosHumains[j].mot);
        verifierTexte(r.bestGosOrdi[j].joueur);
        verifierTexte(r.bestGosOrdi[j].mot);
        verifierTexte(r.meilleuresParties[j].texte);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool pret = [] {
        params.utiliserRepCourant = true;
        utiliserChemin.clear();
        InitLangue(NOM);
        return true;
    }();
    (void)pret;
    if (!ecrire(data, size)) return 0;

    Records& r = partie.records;
    r.defauts();
    r.loadscores();
    verifier(r);

    const std::string contenu = r.contenuFichier();
    exiger(std::count(contenu.begin(), contenu.end(), '\n') == Records::NB_LIGNES_FICHIER);
    if (!ecrire(contenu.data(), contenu.size())) return 0;
    r.defauts();
    r.loadscores();
    exiger(r.contenuFichier() == contenu);
    return 0;
}
