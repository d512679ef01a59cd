#include "app/messagebox.h"

#include "core/maChaine.h"

#include <cstdarg>
#include <cstdio>

bool gl_debugAfficher = false;

namespace {

// The command-line handler: every message is a line on standard error;
// questions get "Non" and input boxes are cancelled, which never loses data.
class GestionnaireStderr : public GestionnaireMessages {
public:
    void information(const std::string& texte) override { std::fprintf(stderr, "%s\n", texte.c_str()); }
    void erreur(const std::string& texte) override { std::fprintf(stderr, "%s\n", texte.c_str()); }
    bool question(const std::string& question, const std::string&) override {
        std::fprintf(stderr, "%s -> Non\n", question.c_str());
        return false;
    }
    bool saisie(const std::string&, std::string&) override { return false; }
    void journal(const std::string& ligne) override { std::fputs(ligne.c_str(), stderr); }
    std::string choixFichier(const std::string&, const std::string&, const std::string&, bool) override {
        return std::string();
    }
};

GestionnaireStderr gestionnaireParDefaut;
GestionnaireMessages* courant = &gestionnaireParDefaut;

}  // namespace

GestionnaireMessages* setGestionnaireMessages(GestionnaireMessages* g) {
    GestionnaireMessages* ancien = courant;
    courant = g ? g : &gestionnaireParDefaut;
    return ancien == &gestionnaireParDefaut ? nullptr : ancien;
}

GestionnaireMessages& gestionnaireMessages() { return *courant; }

void msgAffiche(const char* texte) { courant->information(texte ? texte : ""); }
void msgAffiche(const std::string& texte) { courant->information(texte); }

template <typename>
void msgAffiche(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string texte = vchaine(format, args);
    va_end(args);
    courant->information(texte);
}
template void msgAffiche<void>(const char* format, ...);

void msgAfficheErr(const std::string& texte) { courant->erreur(texte); }

bool msgQuestion(const std::string& question, const std::string& titre) {
    return courant->question(question, titre);
}

bool msgSaisie(const std::string& invite, std::string& valeur) { return courant->saisie(invite, valeur); }

void affErreur(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string texte = vchaine(format, args);
    va_end(args);
    courant->journal("ERR : " + texte + "\n");
}

void affDebug(const char* format, ...) {
    if (!gl_debugAfficher) return;
    va_list args;
    va_start(args, format);
    std::string texte = vchaine(format, args);
    va_end(args);
    courant->journal(texte);
}
