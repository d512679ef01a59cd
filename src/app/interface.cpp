#include "app/interface.h"

#include "app/messagebox.h"
#include "core/maChaine.h"
#include "core/utile_gcc.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "reports/records.h"

#include <FL/fl_ask.H>

#include <cerrno>

INIfile gini_msg;
const char* const FIC_MSGMENUS = "msgmenus.ini";
INIfile gini_def;
bool gini_def_ok = false;
const char* const FIC_DEFINITIONS_PERSO = "_dicos/definitions_personnelles.ini";

std::string strFicIni = "quorvel.ini";

EtatMenus gl_menus;
std::string gs_dernierRecap;

bool gl_generationParties = false;
bool gl_generationParties2 = false;
bool gl_affLetOrdi = false;
bool gl_affValLet = false;
bool alimBestGosOrdi = false;
short valBestGosOrdi = 0;
std::string utiliserChemin;
std::string strLabelBoutons = "Ok|Annuler|Fermer|Sortir|Suivant";
std::string strLabelBtOk = "Ok";

std::string ptraduire(const std::string& texte) {
    if (!gini_msg.isOpen()) return texte;
    std::string t = gini_msg(texte, params.langue, "");
    return t.empty() ? texte : t;
}

static_assert(TAILLE_FICHIER_MAX == 16L * 1024 * 1024, "the messages say 16 Mo");

const TextesFichierIllisible TEXTES_FICHIER = {
    "Le fichier '%s' est introuvable",
    "Le fichier '%s' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)",
    "Le fichier '%s' ne peut pas \352tre lu",
    "Le fichier '%s' est trop grand (plus de 16 Mo)",
};

std::string texteFichierIllisible(const TextesFichierIllisible& textes, const std::string& fichier, int erreur) {
    const char* texte;
    switch (erreur) {
        case ENOENT:
        case ENOTDIR:  // a path through a file
        case ENAMETOOLONG: texte = textes.introuvable; break;
        case EINVAL:
        case EISDIR:
        case ENXIO:  // a socket, a device without its driver
        case ENODEV: texte = textes.pasUnFichier; break;
        case EFBIG: texte = textes.tropGrand; break;
        default: texte = textes.illisible; break;  // permissions, a read error
    }
    return formaterTexte(ptraduire(texte), {fichier});
}

// Leaving resolution mode clears its option too, or "Placer" would stay
// active in every later game.
void alimMenuModeResolution(bool) {
    gl_menus.resolution = partie.modeResolution != 0;
    params.optionResolution = gl_menus.resolution;
    if (gl_menus.resolution) gl_menus.boutonPlacerActif = true;
}

void alimMenuDuplicate() { gl_menus.duplicate = partie.modeDuplicate != 0; }
void alimMenuJoker() { gl_menus.joker = partie.partieJoker != 0; }
bool valMenuModeResolution() { return gl_menus.resolution; }
bool valMenuDuplicate() { return gl_menus.duplicate; }
bool valMenuJoker() { return gl_menus.joker; }
bool menu_joker_coche() { return gl_menus.joker; }

void changerPartieJoker(bool joker) {
    partie.partieJoker = joker ? 1 : 0;
    alimMenuJoker();
    InitLangue(params.ficRecords);
}

void boutonsE(bool actifs) {
    gl_menus.boutonsActifs = actifs;
    gl_menus.boutonPlacerActif = actifs || params.optionResolution;
}

void sauveFichier(std::string& out) {
    out = gestionnaireMessages().choixFichier(ptraduire("Sauver dans:"), "*.qv2", gs_dernierRecap, true);
}

std::string chercherDefinition(const std::string& mot) {
    std::string resultat;
    auto ajoute = [&resultat](const std::string& d) {
        if (d.empty()) return;
        if (!resultat.empty()) resultat += " / ";
        resultat += d;
    };
    if (gl_definitionsChargees) {
        std::string d = valeurDefinition(mot);
        if (d != TXT_DEFINITION_NON_TROUVEE) ajoute(d);
    }
    // The personal definitions: every rubric that defines the word.
    INIfile local;
    const INIfile* perso = &gini_def;
    if (!gini_def_ok) perso = local.open(FIC_DEFINITIONS_PERSO, false) ? &local : nullptr;
    if (perso && !mot.empty())
        for (const std::string& rubrique : perso->sectionNames()) ajoute((*perso)(rubrique, mot, ""));
    return resultat.empty() ? std::string(TXT_DEFINITION_NON_TROUVEE) : resultat;
}

void lireOptions(const INIfile& ini) {
    gl_debugAfficher = ini.get("Debug", "Afficher", false);
    params.chargtIniUniq = ini.get("Definitions", "ChargtIniUniq", false) ? 1 : 0;
    partie.rubriqueDefinitions = ini("Thematique", "rubrique_definitions", "");
}

void lireFichierOptions() {
    INIfile ini;
    if (ini.open(strFicIni, false)) lireOptions(ini);
    else if (ini.erreur() != ENOENT) msgAffiche(texteFichierIllisible(TEXTES_FICHIER, strFicIni, ini.erreur()));
}

void ouvrirDefinitionsPerso() {
    gini_def.close();
    gini_def_ok = false;
    if (!params.chargtIniUniq) return;
    gini_def_ok = gini_def.open(FIC_DEFINITIONS_PERSO, false);
    // Having no personal definitions is ordinary.
    if (!gini_def_ok && gini_def.erreur() != ENOENT)
        msgAffiche(texteFichierIllisible(TEXTES_FICHIER, FIC_DEFINITIONS_PERSO, gini_def.erreur()));
}

void MessageBeep() { fl_beep(); }
