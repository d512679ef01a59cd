#ifndef QV_APP_INTERFACE_H
#define QV_APP_INTERFACE_H

#include "core/Inifile.h"

#include <string>

// Translation of a French text through "msgmenus.ini" (the text itself when
// there is none).
std::string ptraduire(const std::string& texte);
extern INIfile gini_msg;
extern const char* const FIC_MSGMENUS;  // "msgmenus.ini"

// What to say of a file that cannot be read, one text per cause, each with a
// %s for the file's name.
struct TextesFichierIllisible {
    const char* introuvable;
    const char* pasUnFichier;  // a folder, a pipe, a device
    const char* illisible;
    const char* tropGrand;     // over TAILLE_FICHIER_MAX
};
extern const TextesFichierIllisible TEXTES_FICHIER;  // "Le fichier '%s' est introuvable", ...
// The translated text for the errno with which a file could not be read
// (ouvrirFichierLecture, INIfile::erreur).
std::string texteFichierIllisible(const TextesFichierIllisible& textes, const std::string& fichier, int erreur);

// Menu check marks and the command buttons, kept as plain state: this build
// has no menu bar.
struct EtatMenus {
    bool resolution = false;
    bool duplicate = false;
    bool joker = false;
    bool boutonsActifs = false;
    bool boutonPlacerActif = false;
};
extern EtatMenus gl_menus;

void alimMenuModeResolution(bool flag);
void alimMenuDuplicate();
void alimMenuJoker();
bool valMenuModeResolution();
bool valMenuDuplicate();
bool valMenuJoker();
bool menu_joker_coche();
// Sets the joker-game option and switches to the records file that goes with it.
void changerPartieJoker(bool joker);
void boutonsE(bool actifs);

// Asks for the name of a recap file to save; "" when cancelled.
void sauveFichier(std::string& out);
extern std::string gs_dernierRecap;  // last recap name read, start of the save question

// Definition of an upper-case word, the definitions joined by " / ".
std::string chercherDefinition(const std::string& mot);

extern INIfile gini_def;
extern bool gini_def_ok;
extern const char* const FIC_DEFINITIONS_PERSO;  // "_dicos/definitions_personnelles.ini"

// The program's settings file, "quorvel.ini".
extern std::string strFicIni;
// Takes from the settings what this build follows: [Debug] Afficher (the
// debug output), [Definitions] ChargtIniUniq (the personal definitions
// opened once at start-up rather than read at each look-up) and [Thematique]
// rubrique_definitions (the rubric that defines a themed game's words).
void lireOptions(const INIfile& ini);
// lireOptions on strFicIni when it is there; one that cannot be read is reported.
void lireFichierOptions();
// At start-up: opens the personal definitions into gini_def when the
// settings ask for it; a file there that cannot be read is reported.
void ouvrirDefinitionsPerso();

extern bool gl_generationParties;
extern bool gl_generationParties2;
extern bool gl_affLetOrdi;
extern bool gl_affValLet;
extern bool alimBestGosOrdi;
extern short valBestGosOrdi;
extern std::string utiliserChemin;
extern std::string strLabelBoutons;
extern std::string strLabelBtOk;

// The bell that sounds when a message or input box opens.
void MessageBeep();

#endif
