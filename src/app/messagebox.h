#ifndef QV_APP_MESSAGEBOX_H
#define QV_APP_MESSAGEBOX_H

#include <string>

// Where messages go: dialogs when a display is open, standard error in the
// command-line program, recorders in tests.
class GestionnaireMessages {
public:
    virtual ~GestionnaireMessages() = default;
    virtual void information(const std::string& texte) = 0;
    virtual void erreur(const std::string& texte) = 0;
    // true for "Oui"
    virtual bool question(const std::string& question, const std::string& titre) = 0;
    // false when cancelled; `valeur` holds the default on entry
    virtual bool saisie(const std::string& invite, std::string& valeur) = 0;
    virtual void journal(const std::string& ligne) = 0;  // debug and error log lines
    // A file name chosen by the user, "" when cancelled.
    virtual std::string choixFichier(const std::string& invite, const std::string& motif,
                                     const std::string& depart, bool sauver) = 0;
    // Whether the messages themselves are written on standard error.
    virtual bool surErreurStandard() const { return false; }
};

// Replaces the handler (nullptr restores the standard-error one); returns the old.
GestionnaireMessages* setGestionnaireMessages(GestionnaireMessages* g);
GestionnaireMessages& gestionnaireMessages();

// A Latin-1 text as a terminal shows it: UTF-8 when the user's locale says
// so, the bytes unchanged otherwise.
std::string texteTerminal(const std::string& texte);

// Texts are shown verbatim: a '%' in a path is never read as a format.
void msgAffiche(const char* texte);
void msgAffiche(const std::string& texte);
// printf form, for formats written in the code only (never a translated text).
// A template, so that a call with the text alone picks the verbatim form above
// (two plain overloads would make every such call ambiguous).
template <typename = void>
void msgAffiche(const char* format, ...) __attribute__((format(printf, 1, 2)));
extern template void msgAffiche<void>(const char* format, ...);
void msgAfficheErr(const std::string& texte);
// A message that is also written, after a newline, on standard error in the
// terminal's character set; once only where messages go there already.
void msgAfficheEtErreurStandard(const std::string& texte);
bool msgQuestion(const std::string& question, const std::string& titre);
bool msgSaisie(const std::string& invite, std::string& valeur);
// "ERR : %s\n" on the error log.
void affErreur(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Only when [Debug] Afficher is set.
void affDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));

extern bool gl_debugAfficher;

#endif
