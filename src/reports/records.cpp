#include "reports/records.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/utile_gcc.h"
#include "engine/duplicate.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

const size_t TEXTE_MAX = Records::LONGUEUR_TEXTE_MAX;

short versScore(long v) { return static_cast<short>(std::clamp<long>(v, SHRT_MIN, SHRT_MAX)); }

// Appends a text so that it stays one line of the file: line breaks become
// blanks (NULs too, which would cut the text where it is shown), and it is cut
// at 255 characters.
void ajouterTexteLigne(std::string& out, const std::string& texte) {
    size_t n = std::min(texte.size(), TEXTE_MAX);
    for (size_t i = 0; i < n; ++i) {
        char c = texte[i];
        out += (c == '\n' || c == '\r' || c == '\0') ? ' ' : c;
    }
}

std::string texteLigne(const std::string& texte) {
    std::string s;
    ajouterTexteLigne(s, texte);
    return s;
}

// Reads the file line by line in blocks. Only the first bytes of a line are
// kept, so a huge line costs no memory; it is reported as over-long.
class LecteurLignes {
public:
    explicit LecteurLignes(std::FILE* f) : f_(f) {}

    // false when the file has no more lines or the 1,180 are read
    bool ligne(std::string& out, bool& tropLongue) {
        if (lues_ >= Records::NB_LIGNES_FICHIER) return false;
        out.clear();
        size_t total = 0, retoursFin = 0;
        bool fin = false;
        for (;;) {
            if (pos_ == lus_ && !remplir()) {
                fin = true;
                break;
            }
            char c = buf_[pos_++];
            if (c == '\n') break;
            if (out.size() < TEXTE_MAX + 2) out += c;
            ++total;
            retoursFin = c == '\r' ? retoursFin + 1 : 0;
        }
        if (fin && total == 0) return false;
        ++lues_;
        // Every trailing '\r' goes: "\r\r\n" is a CRLF file converted twice.
        total -= retoursFin;
        out.resize(std::min(out.size(), total));
        tropLongue = total > TEXTE_MAX;
        return true;
    }

    // A text value; false (field left as it is) when missing or over-long.
    bool texte(std::string& out) {
        bool tropLongue;
        if (!ligne(tmp_, tropLongue) || tropLongue) return false;
        out = texteLigne(tmp_);
        return true;
    }

    // A number as "%i" reads it (decimal, 0x hexadecimal, leading 0 octal),
    // the whole line being the number and its value fitting 16 bits.
    bool nombre(short& out) {
        bool tropLongue;
        if (!ligne(tmp_, tropLongue) || tropLongue) return false;
        const char* debut = tmp_.c_str();
        char* fin = nullptr;
        errno = 0;
        long v = std::strtol(debut, &fin, 0);
        if (fin == debut || errno == ERANGE || v < SHRT_MIN || v > SHRT_MAX) return false;
        while (*fin == ' ' || *fin == '\t') ++fin;
        if (fin != debut + tmp_.size()) return false;  // trailing text, or a NUL
        out = static_cast<short>(v);
        return true;
    }

private:
    bool remplir() {
        lus_ = std::fread(buf_, 1, sizeof buf_, f_);
        pos_ = 0;
        return lus_ > 0;
    }

    std::FILE* f_;
    char buf_[16384];
    size_t pos_ = 0;
    size_t lus_ = 0;
    int lues_ = 0;
    std::string tmp_;
};

// An entry is taken from the file only when all its lines are good; otherwise
// it keeps its default. Every line is consumed either way, so the following
// values keep their places.
void lireRecord(LecteurLignes& l, c_record& r, bool scoreDAbord) {
    c_record lu;
    bool ok = true;
    if (scoreDAbord) ok = l.nombre(lu.score) && ok;
    ok = l.texte(lu.texte) && ok;
    if (!scoreDAbord) ok = l.nombre(lu.score) && ok;
    ok = l.texte(lu.date) && ok;
    if (ok) r = std::move(lu);
}

void lireCoup(LecteurLignes& l, c_recordCoup& r) {
    c_recordCoup lu;
    bool ok = l.texte(lu.joueur);
    ok = l.nombre(lu.score) && ok;
    ok = l.texte(lu.date) && ok;
    ok = l.texte(lu.mot) && ok;
    if (ok) r = std::move(lu);
}

// A hand-edited file may list scores in any order; insertion needs them sorted.
template <class Entree>
void trier(Entree (&table)[Records::NB]) {
    std::stable_sort(std::begin(table), std::end(table),
                     [](const Entree& a, const Entree& b) { return a.score > b.score; });
}

// The entry goes above the first strictly lower score, below any equal one.
template <class Entree>
bool inserer(Entree (&table)[Records::NB], Entree entree) {
    int j = 0;
    while (j < Records::NB && table[j].score >= entree.score) ++j;
    if (j == Records::NB) return false;
    for (int k = Records::NB - 1; k > j; --k) table[k] = std::move(table[k - 1]);
    table[j] = std::move(entree);
    return true;
}

void ajouterNombre(std::string& out, short v) {
    out += std::to_string(v);
    out += '\n';
}

void ajouterTexte(std::string& out, const std::string& t) {
    ajouterTexteLigne(out, t);
    out += '\n';
}

void ecrireRecord(std::string& out, const c_record& r) {
    ajouterTexte(out, r.texte);
    ajouterNombre(out, r.score);
    ajouterTexte(out, r.date);
}

void ecrireCoup(std::string& out, const c_recordCoup& r) {
    ajouterTexte(out, r.joueur);
    ajouterNombre(out, r.score);
    ajouterTexte(out, r.date);
    ajouterTexte(out, r.mot);
}

std::string premierChemin(const std::string& nom) {
    return params.utiliserRepCourant ? nom : utiliserChemin + nom;
}

std::string secondChemin(const std::string& nom) { return utiliserChemin + nom; }

// "j" before the last component, so that a name with a folder stays in it.
std::string nomJoker(const std::string& nom) {
    size_t sep = nom.find_last_of("/\\");
    size_t debut = sep == std::string::npos ? 0 : sep + 1;
    return nom.substr(0, debut) + "j" + nom.substr(debut);
}

// Games with a fixed letter order or typed draws are not comparable with others.
bool sauvegardeInterdite() {
    return !params.listeLettresOrdonnees.empty() || (partie.modeDuplicate && params.saisieTirage);
}

}  // namespace

// An exclusive advisory lock on a lock file beside the records file: two
// programs ending games at once take turns at reading, inserting and saving,
// so that neither writes over the other's entries. The records file itself
// cannot carry the lock, since every save replaces it by a rename.
class VerrouRecords {
public:
    VerrouRecords() = default;
    ~VerrouRecords() {
        if (fd_ != -1) ::close(fd_);
    }
    VerrouRecords(const VerrouRecords&) = delete;
    VerrouRecords& operator=(const VerrouRecords&) = delete;

    // false when the lock is not held within the delay: the caller must not write.
    bool prendre(const std::string& nom) {
        for (const std::string& chemin : {premierChemin(nom), secondChemin(nom)}) {
            fd_ = ::open((chemin + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (fd_ != -1) break;
        }
        if (fd_ == -1) {
            affDebug("records : verrou de '%s' impossible, score non enregistr\351\n", nom.c_str());
            return false;
        }
        const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(Records::DELAI_VERROU_MS);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (std::chrono::steady_clock::now() >= limite) {
                affDebug("records : verrou de '%s' non obtenu, score non enregistr\351\n", nom.c_str());
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    int fd_ = -1;
};

Records::Records() = default;

void Records::defauts() {
    const std::string now = JourHeureNow();
    for (int j = 0; j < NB; ++j) {
        const short s = static_cast<short>(NB - j);
        for (int t = 0; t < NB_JOUEURS_MAX; ++t) {
            scoresHumains[t][j] = {s, "Initialisation", now};
            scoresOrdi[t][j] = {s, "Ordi0", now};
        }
        bestGosHumains[j] = {s, "Initialisation", now, "----"};
        bestGosOrdi[j] = {s, "Ordi0", now, "----"};
        meilleuresParties[j] = {s, "----", now};
    }
}

void Records::loadscores() {
    const std::string& nom = partie.ficRecords;
    if (nom.empty()) return;
    std::FILE* f = nullptr;
    for (const std::string& chemin : {premierChemin(nom), secondChemin(nom)}) {
        // A folder, a device or a huge file at that name is not a records file.
        const int fd = ouvrirFichierLecture(chemin);
        if (fd != -1 && !(f = fdopen(fd, "rb"))) ::close(fd);
        if (f) break;
    }
    if (!f) return;

    LecteurLignes l(f);
    for (auto& table : scoresHumains)
        for (c_record& r : table) lireRecord(l, r, false);
    for (c_recordCoup& r : bestGosHumains) lireCoup(l, r);
    for (auto& table : scoresOrdi)
        for (c_record& r : table) lireRecord(l, r, false);
    for (c_recordCoup& r : bestGosOrdi) lireCoup(l, r);
    for (c_record& r : meilleuresParties) lireRecord(l, r, true);
    std::fclose(f);

    for (auto& table : scoresHumains) trier(table);
    for (auto& table : scoresOrdi) trier(table);
    trier(bestGosHumains);
    trier(bestGosOrdi);
    trier(meilleuresParties);
}

std::string Records::contenuFichier() const {
    std::string out;
    out.reserve(48 * 1024);
    for (const auto& table : scoresHumains)
        for (const c_record& r : table) ecrireRecord(out, r);
    for (const c_recordCoup& r : bestGosHumains) ecrireCoup(out, r);
    for (const auto& table : scoresOrdi)
        for (const c_record& r : table) ecrireRecord(out, r);
    for (const c_recordCoup& r : bestGosOrdi) ecrireCoup(out, r);
    for (const c_record& r : meilleuresParties) {
        ajouterNombre(out, r.score);
        ajouterTexte(out, r.texte);
        ajouterTexte(out, r.date);
    }
    return out;
}

// The file is replaced whole through a temporary, so a crash or a full disk
// leaves the previous records intact.
void Records::savescores() {
    const std::string& nom = partie.ficRecords;
    nonSauve_ = true;
    if (sauvegardeInterdite() || nom.empty()) return;
    const std::string contenu = contenuFichier();
    const std::string premier = premierChemin(nom);
    const std::string second = secondChemin(nom);
    nonSauve_ = !ecrireFichierAtomique(premier, contenu) && (second == premier || !ecrireFichierAtomique(second, contenu));
}

bool Records::debutMiseAJour(VerrouRecords& verrou) {
    if (sauvegardeInterdite() || partie.ficRecords.empty()) return true;  // nothing will be written
    if (!verrou.prendre(partie.ficRecords)) return false;
    // A change that never reached the file would be lost by reading it again:
    // then the tables in memory are the ones to save.
    if (!nonSauve_) loadscores();
    return true;
}

void Records::alterscores() {
    if (sauvegardeInterdite() || partie.nbCoupsAnnules() != 0) return;
    const int n = partie.nbJoueurs;
    if (n < 1 || n > NB_JOUEURS_MAX) return;
    VerrouRecords verrou;
    if (!debutMiseAJour(verrou)) return;
    const std::string now = JourHeureNow();
    const Joueurs& js = partie.joueurs;

    int sommeTops = 0;
    if (partie.modeDuplicate) {
        partie.AlimDernCoupDuplSaisi();
        size_t nbTours = std::min<size_t>(partie.dernCoupDuplSaisi, result_best.size());
        for (size_t i = 0; i < nbTours; ++i) sommeTops += result_best[i].score;
    }

    for (int p = 0; p < n; ++p) {
        if (js[p].type != 0) continue;
        std::string texte = js[p].nom;
        if (partie.modeDuplicate) texte += " (top=" + std::to_string(sommeTops) + ")";
        else texte += " (max=" + std::to_string(js[p].sommeMeilleursCoups) + ")";
        // At most three others, taken among the first four slots.
        int nommes = 0;
        for (int q = 0; q < std::min(n, 4) && nommes < 3; ++q) {
            if (q == p) continue;
            ++nommes;
            texte += ", (" + (js[q].type == 0 ? js[q].nom : std::to_string(js[q].type)) + "," +
                     std::to_string(js[q].scoreFinal) + ")";
        }
        c_record (&table)[NB] = scoresHumains[partie.modeDuplicate ? 0 : n - 1];
        if (inserer(table, c_record{js[p].scoreFinal, texteLigne(texte), now})) savescores();
    }

    if (partie.modeDuplicate && !gl_generationParties) return;

    for (int p = 0; p < n; ++p) {
        if (js[p].type == 0) continue;
        if (inserer(scoresOrdi[n - 1], c_record{js[p].scoreFinal, texteLigne(js[p].nom), now})) savescores();
    }

    if (partie.partieEnCours || partie.modeTest) return;

    // Slots not in play hold 0 after a new game, so the first four always add up.
    long somme = 0;
    for (int p = 0; p < 4; ++p) somme += js[p].scoreFinal;
    std::string texte;
    for (int p = 0; p < n; ++p) {
        if (p > 0) texte += ", ";
        texte += js[p].nom;
        if (js[p].type != 0) texte += " [" + std::to_string(js[p].type) + "]";
        texte += " (" + std::to_string(js[p].scoreFinal) + ")";
    }
    if (inserer(meilleuresParties, c_record{versScore(somme), texteLigne(texte), now})) savescores();
}

void Records::alterbestgo(int score, const std::string& mot) {
    if (!params.listeLettresOrdonnees.empty() || partie.nivDernierCoupAnnule() > partie.NombreEnregsRecap())
        return;
    const int p = partie.joueurEnCours;
    if (p < 0 || p >= NB_JOUEURS_MAX) return;
    VerrouRecords verrou;
    if (!debutMiseAJour(verrou)) return;
    const Joueur& j = partie.joueurs[p];
    c_recordCoup entree{versScore(score), texteLigne(j.nom), JourHeureNow(), texteLigne(mot)};
    if (j.type == 0) {
        if (inserer(bestGosHumains, std::move(entree))) savescores();
    } else if (inserer(bestGosOrdi, std::move(entree))) {
        alimBestGosOrdi = true;
        valBestGosOrdi = versScore(score);
        savescores();
    }
}

void InitLangue(const std::string& ficRecords) {
    const std::string nom = partie.partieJoker ? nomJoker(ficRecords) : ficRecords;
    if (nom == partie.ficRecords) return;
    partie.records.defauts();
    partie.records.nonSauve_ = false;
    partie.ficRecords = nom;
    partie.records.loadscores();
}
