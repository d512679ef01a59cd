#ifndef QV_APP_MESSAGEBOX_FLTK_H
#define QV_APP_MESSAGEBOX_FLTK_H

#include "app/messagebox.h"

// The message layer on the toolkit's standard dialogs, for when a display is
// open. Texts are Latin-1 on our side and UTF-8 on the toolkit's; file names
// are bytes and pass as they are.
class GestionnaireMessagesFltk : public GestionnaireMessages {
public:
    void information(const std::string& texte) override;
    void erreur(const std::string& texte) override;
    bool question(const std::string& question, const std::string& titre) override;
    bool saisie(const std::string& invite, std::string& valeur) override;
    void journal(const std::string& ligne) override;
    // The program's file chooser; the name comes back relative to the
    // working folder.
    std::string choixFichier(const std::string& invite, const std::string& motif,
                             const std::string& depart, bool sauver) override;
};

#endif
