#include "app/messagebox_fltk.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "widgets/Fl_File_Chooser2.h"

#include <FL/fl_ask.H>
#include <FL/fl_utf8.h>

#include <algorithm>
#include <cstdio>
#include <vector>

void GestionnaireMessagesFltk::information(const std::string& texte) {
    MessageBeep();
    fl_message("%s", latin1VersUtf8(texte).c_str());
}

void GestionnaireMessagesFltk::erreur(const std::string& texte) {
    MessageBeep();
    fl_alert("%s", latin1VersUtf8(texte).c_str());
}

bool GestionnaireMessagesFltk::question(const std::string& question, const std::string& titre) {
    MessageBeep();
    const std::string non = latin1VersUtf8(ptraduire("Non"));
    const std::string oui = latin1VersUtf8(ptraduire("Oui"));
    fl_message_title(latin1VersUtf8(titre).c_str());
    return fl_choice("%s", non.c_str(), oui.c_str(), nullptr, latin1VersUtf8(question).c_str()) == 1;
}

bool GestionnaireMessagesFltk::saisie(const std::string& invite, std::string& valeur) {
    MessageBeep();
    const char* r = fl_input("%s", latin1VersUtf8(valeur).c_str(), latin1VersUtf8(invite).c_str());
    if (!r) return false;
    valeur = utf8VersLatin1(r);
    return true;
}

void GestionnaireMessagesFltk::journal(const std::string& ligne) { std::fputs(ligne.c_str(), stderr); }

std::string GestionnaireMessagesFltk::choixFichier(const std::string& invite, const std::string& motif,
                                                   const std::string& depart, bool) {
    // The shared chooser accepts new names: saving and loading ask alike.
    const char* nom = fl_file_chooser2(latin1VersUtf8(invite).c_str(), motif.c_str(), depart.c_str(), 1, 0);
    return nom ? nom : std::string();
}
