#include "app/messagebox_fltk.h"

#include "app/interface.h"
#include "core/maChaine.h"

#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_ask.H>
#include <FL/filename.H>
#include <FL/fl_utf8.h>

#include <algorithm>
#include <cstdio>
#include <vector>

std::string utf8VersLatin1(const std::string& texte) {
    if (texte.empty()) return texte;
    // Latin-1 never needs more bytes than the UTF-8 it comes from.
    std::vector<char> sortie(texte.size() + 1);
    unsigned n = fl_utf8toa(texte.data(), unsigned(texte.size()), sortie.data(), unsigned(sortie.size()));
    return std::string(sortie.data(), std::min<size_t>(n, texte.size()));
}

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
                                                   const std::string& depart, bool sauver) {
    Fl_Native_File_Chooser dialogue(sauver ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                                           : Fl_Native_File_Chooser::BROWSE_FILE);
    // The dialog keeps the title's pointer until it is shown: the text must outlive show().
    const std::string titre = latin1VersUtf8(invite);
    dialogue.title(titre.c_str());
    if (!motif.empty()) dialogue.filter(motif.c_str());
    if (sauver) dialogue.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM);
    if (!depart.empty()) {
        const char* nom = fl_filename_name(depart.c_str());
        const std::string dossier = depart.substr(0, size_t(nom - depart.c_str()));
        if (!dossier.empty()) dialogue.directory(dossier.c_str());
        if (sauver && *nom) dialogue.preset_file(nom);
    }
    // 0 chosen, 1 cancelled, -1 failed: only a choice gives a name.
    if (dialogue.show() != 0 || !dialogue.filename()) return std::string();
    return dialogue.filename();
}
