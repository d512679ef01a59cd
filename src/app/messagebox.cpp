#include "app/messagebox.h"

#include "core/maChaine.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <langinfo.h>

bool gl_debugAfficher = false;

namespace {

// The character set that the user's locale names, asked once; the program's
// own locale is left as it was, so that nothing else changes behaviour.
bool localeUtf8() {
    static const bool utf8 = [] {
        const char* actuelle = std::setlocale(LC_CTYPE, nullptr);
        const std::string avant = actuelle ? actuelle : "C";
        bool oui = false;
        if (std::setlocale(LC_CTYPE, "")) oui = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
        std::setlocale(LC_CTYPE, avant.c_str());
        return oui;
    }();
    return utf8;
}

void ecrireStderr(const std::string& texte) { std::fputs(texteTerminal(texte).c_str(), stderr); }

// The command-line handler: every message is a line on standard error;
// questions get "Non" and input boxes are cancelled, which never loses data.
class GestionnaireStderr : public GestionnaireMessages {
public:
    void information(const std::string& texte) override { ecrireStderr(texte + "\n"); }
    void erreur(const std::string& texte) override { ecrireStderr(texte + "\n"); }
    bool question(const std::string& question, const std::string&) override {
        ecrireStderr(question + " -> Non\n");
        return false;
    }
    bool saisie(const std::string&, std::string&) override { return false; }
    void journal(const std::string& ligne) override { ecrireStderr(ligne); }
    std::string choixFichier(const std::string&, const std::string&, const std::string&, bool) override {
        return std::string();
    }
    bool surErreurStandard() const override { return true; }
};

GestionnaireStderr gestionnaireParDefaut;
GestionnaireMessages* courant = &gestionnaireParDefaut;

}  // namespace

std::string texteTerminal(const std::string& texte) { return localeUtf8() ? latin1VersUtf8(texte) : texte; }

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

void msgAfficheEtErreurStandard(const std::string& texte) {
    courant->information(texte);
    if (!courant->surErreurStandard()) ecrireStderr("\n" + texte);
}

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
