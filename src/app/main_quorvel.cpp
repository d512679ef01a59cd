// quorvel RECAP.qv2: loads a recap file into the game, then writes the running
// recap files "_recap/histo.qv2" and "_recap/histo.html" as the history
// command does. Messages go to standard error. Game data (settings, game
// parameters, word lists, definitions) are read from the current folder.
#include "app/interface.h"
#include "core/utile_gcc.h"
#include "engine/chargerpeau2.h"
#include "engine/partie.h"
#include "engine/params.h"
#include "reports/export_html.h"
#include "reports/recap.h"
#include "reports/records.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

const char* const DOSSIER_RECAP = "_recap";
const char* const PEA1_DEFAUT = "dezediziziz640_480_1.pea1";

// What identifies one writing of a file: a rename gives a new inode, a rewrite
// in place a new modification time.
struct Empreinte {
    bool existe = false;
    ino_t inode = 0;
    timespec modif{};
};

Empreinte empreinte(const std::string& f) {
    struct stat st;
    Empreinte e;
    if (::stat(f.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        e.existe = true;
        e.inode = st.st_ino;
        e.modif = st.st_mtim;
    }
    return e;
}

bool reecrit(const Empreinte& avant, const Empreinte& apres) {
    return apres.existe && (!avant.existe || avant.inode != apres.inode || avant.modif.tv_sec != apres.modif.tv_sec ||
                            avant.modif.tv_nsec != apres.modif.tv_nsec);
}

bool dossierPret(const char* dossier) {
    struct stat st;
    if (::stat(dossier, &st) == 0) {
        // The message names the reason: no stale errno from an earlier call.
        if (!S_ISDIR(st.st_mode)) errno = ENOTDIR;
        return S_ISDIR(st.st_mode);
    }
    return ::mkdir(dossier, 0777) == 0 || errno == EEXIST;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel RECAP.qv2\n");
        return 2;
    }
    if (estFichierRegulier(FIC_MSGMENUS)) gini_msg.open(FIC_MSGMENUS, false);
    // The settings are optional here: without them the built-in ones stand.
    lireFichierOptions();
    partie.fichierPea1 = PEA1_DEFAUT;
    // The default game parameters are read when the working folder holds them,
    // so that a recap naming them finds its dictionaries there; one that is
    // there but cannot be used (a folder, a pipe, unreadable) says why.
    struct stat pea2;
    if (::lstat(PEA2_DEFAUT, &pea2) == 0) {
        ChargerPeau2(PEA2_DEFAUT);
    } else {
        parametresParDefaut();
        partie.fichierPea2 = PEA2_DEFAUT;
        InitLangue(params.ficRecords);
    }
    ouvrirDefinitionsPerso();

    if (!chargerRecapitulatif(argv[1])) return 1;

    if (!dossierPret(DOSSIER_RECAP)) {
        std::fprintf(stderr, "quorvel: cannot create the folder '%s': %s\n", DOSSIER_RECAP, std::strerror(errno));
        return 1;
    }
    const std::string recap = std::string(DOSSIER_RECAP) + "/histo.qv2";
    const std::string page = std::string(DOSSIER_RECAP) + "/histo.html";
    const Empreinte avantRecap = empreinte(recap), avantPage = empreinte(page);
    save_recap_vsc(std::string(DOSSIER_RECAP) + "/histo.vsc");
    save_recap(recap);
    export_html(page);
    int ecrits = 0;
    if (reecrit(avantRecap, empreinte(recap))) {
        std::printf("%s\n", recap.c_str());
        ++ecrits;
    }
    if (reecrit(avantPage, empreinte(page))) {
        std::printf("%s\n", page.c_str());
        ++ecrits;
    }
    if (ecrits == 0) std::fprintf(stderr, "quorvel: nothing was written for this game\n");
    gini_msg.close();
    return 0;
}
