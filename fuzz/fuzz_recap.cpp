// fuzz-seconds: 60
// Arbitrary bytes as a recap file: loading must never crash, hang or read
// outside a table, whatever the file holds.
#include "app/messagebox.h"
#include "engine/chargerpeau2.h"
#include "engine/partie.h"
#include "reports/recap.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

class Silencieux : public GestionnaireMessages {
public:
    void information(const std::string&) override {}
    void erreur(const std::string&) override {}
    bool question(const std::string&, const std::string&) override { return true; }
    bool saisie(const std::string&, std::string&) override { return false; }
    void journal(const std::string&) override {}
    std::string choixFichier(const std::string&, const std::string&, const std::string&, bool) override {
        return std::string();
    }
};

Silencieux silencieux;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool pret = false;
    if (!pret) {
        setGestionnaireMessages(&silencieux);
        pret = true;
    }
    parametresParDefaut();
    partie.fichierPea2 = PEA2_DEFAUT;
    partie.partieEnCours = 0;
    const char* nom = "fuzz_recap.qv2";
    FILE* f = std::fopen(nom, "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    AffRecap2(nom);
    return 0;
}
