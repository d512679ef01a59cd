// fuzz-seconds: 30
// INIfile parsing, setters and writer. The input is the file's content,
// optionally followed by "\n@@\n" and one operation a line:
// "section<TAB>key<TAB>value" sets a value, "section<TAB>key" looks one up.
// Checked: the text held matches the content read (line ends aside, a leading
// byte-order mark kept apart from the first line), every lookup agrees with a
// plain line-by-line reading of that text, a value just set reads back, and
// what close() writes reads back to the same text.
#include "core/Inifile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// One folder under /tmp for the whole run, removed at exit. Kept in a plain
// array: a static string would be destroyed before the exit handler runs.
char gDossier[64] = "/tmp/fuzz_inifile.XXXXXX";

void nettoyer() {
    std::remove((std::string(gDossier) + "/f.ini").c_str());
    std::remove((std::string(gDossier) + "/f.in~").c_str());
    rmdir(gDossier);
}

void verifier(bool condition, const char* quoi) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", quoi);
        nettoyer();
        std::abort();
    }
}

std::string dossier() {
    static const bool pret = [] {
        verifier(mkdtemp(gDossier) != nullptr, "mkdtemp");
        std::atexit(nettoyer);
        return true;
    }();
    (void)pret;
    return gDossier;
}

std::string lire(const std::string& chemin) {
    std::ifstream in(chemin, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void ecrire(const std::string& chemin, const std::string& contenu) {
    std::ofstream out(chemin, std::ios::binary | std::ios::trunc);
    out << contenu;
    verifier(static_cast<bool>(out), "writing the input file");
}

// The lines of a file: split at '\n', trailing '\r's dropped; a last piece
// without '\n' is a line when it holds anything.
std::vector<std::string> lignes(const std::string& contenu) {
    std::vector<std::string> out;
    size_t debut = 0;
    while (debut < contenu.size()) {
        size_t fin = contenu.find('\n', debut);
        size_t stop = fin == std::string::npos ? contenu.size() : fin;
        while (stop > debut && contenu[stop - 1] == '\r') --stop;
        out.push_back(contenu.substr(debut, stop - debut));
        if (fin == std::string::npos) break;
        debut = fin + 1;
    }
    return out;
}

// An editor's byte-order mark, kept apart from the first line.
const std::string BOM = "\357\273\277";
bool avecBom(const std::string& contenu) { return contenu.compare(0, BOM.size(), BOM) == 0; }
std::string sansBom(const std::string& contenu) { return avecBom(contenu) ? contenu.substr(BOM.size()) : contenu; }

// The text the object should hold for a content it read.
std::string texteAttendu(const std::string& contenu) {
    if (avecBom(contenu)) return BOM + texteAttendu(sansBom(contenu));
    std::string out;
    for (const std::string& l : lignes(contenu)) out += l + "\n";
    if (!contenu.empty() && contenu.back() != '\n' && !out.empty()) out.pop_back();
    return out;
}

bool entete(const std::string& ligne, std::string& nom) {
    size_t d = ligne.find_first_not_of(" \t");
    size_t f = ligne.rfind(']');
    if (d == std::string::npos || ligne[d] != '[' || f == std::string::npos || f <= d) return false;
    nom = ligne.substr(d + 1, f - d - 1);
    return true;
}

// A plain reading of a file, one line after the other, without any index.
struct Lecture {
    struct Cle {
        std::string section;
        std::string cle;
    };
    std::vector<std::string> lignes_;
    std::vector<Cle> cles;              // key lines in file order
    std::vector<std::string> sections;  // names in file order, each once

    explicit Lecture(const std::string& contenu) : lignes_(lignes(sansBom(contenu))) {
        std::string section;
        for (size_t i = 0; i < lignes_.size(); ++i) {
            if (entete(lignes_[i], section)) {
                noter(section);
                continue;
            }
            if (i == 0) noter("");  // lines before any header
            size_t eq = lignes_[i].find('=');
            if (eq != std::string::npos) cles.push_back({section, lignes_[i].substr(0, eq)});
        }
    }
    void noter(const std::string& nom) {
        for (const std::string& s : sections)
            if (s == nom) return;
        sections.push_back(nom);
    }
    // The sections of that name in file order, the first line of the key in
    // each, the first non-empty value winning.
    std::string valeur(const std::string& section, const std::string& cle) const {
        std::string nom;
        bool vu = false;
        for (const std::string& ligne : lignes_) {
            if (entete(ligne, nom)) {
                vu = false;
                continue;
            }
            size_t eq = ligne.find('=');
            if (nom != section || vu || eq != cle.size() || ligne.compare(0, eq, cle) != 0) continue;
            vu = true;
            if (eq + 1 < ligne.size()) return ligne.substr(eq + 1);
        }
        return "<def>";
    }
};

std::string uneLigne(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

bool cleRefusee(const std::string& cle) {
    size_t d = cle.find_first_not_of(" \t");
    return cle.find('=') != std::string::npos || (d != std::string::npos && cle[d] == '[');
}

// Every lookup of the object agrees with a plain reading of `contenu`.
void comparer(const INIfile& ini, const std::string& contenu,
              const std::vector<std::pair<std::string, std::string>>& paires) {
    Lecture lecture(contenu);
    verifier(ini.sectionNames() == lecture.sections, "section names");
    for (const auto& p : paires) verifier(ini(p.first, p.second, "<def>") == lecture.valeur(p.first, p.second), "lookup");
    for (const Lecture::Cle& l : lecture.cles) {
        verifier(ini(l.section, l.cle, "<def>") == lecture.valeur(l.section, l.cle), "lookup of a file key");
        ini.get(l.section, l.cle, 0);
        ini.get(l.section, l.cle, false);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string entree(reinterpret_cast<const char*>(data), size);
    const std::string marque = "\n@@\n";
    size_t m = entree.find(marque);
    const std::string contenu = entree.substr(0, m);
    std::vector<std::string> operations;
    if (m != std::string::npos) {
        std::istringstream in(entree.substr(m + marque.size()));
        std::string ligne;
        while (std::getline(in, ligne)) operations.push_back(ligne);
    }

    const std::string chemin = dossier() + "/f.ini";
    ecrire(chemin, contenu);
    INIfile ini;
    verifier(ini.open(chemin, false), "open");
    verifier(ini.text() == texteAttendu(contenu), "text held");

    std::vector<std::pair<std::string, std::string>> paires;
    bool change = false;
    for (const std::string& op : operations) {
        size_t t1 = op.find('\t');
        if (t1 == std::string::npos) continue;
        size_t t2 = op.find('\t', t1 + 1);
        std::string section = op.substr(0, t1);
        std::string cle = op.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1);
        if (t2 == std::string::npos) {
            paires.emplace_back(section, cle);
            continue;
        }
        std::string valeur = op.substr(t2 + 1);
        bool ok = ini.set(section, cle, valeur);
        verifier(ok != cleRefusee(uneLigne(cle)), "set refused only an unreadable key");
        if (!ok) continue;
        change = true;
        paires.emplace_back(uneLigne(section), uneLigne(cle));
        if (!valeur.empty()) verifier(ini(uneLigne(section), uneLigne(cle), "") == uneLigne(valeur), "value just set");
    }
    const std::string avant = ini.text();
    comparer(ini, change ? avant : contenu, paires);

    ini.close();
    verifier(!ini.isOpen(), "closed");
    verifier(lire(chemin) == (change ? avant : contenu), "file written");
    verifier(access((chemin.substr(0, chemin.size() - 1) + "~").c_str(), F_OK) != 0, "temporary left");

    INIfile relu;
    verifier(relu.open(chemin, false), "reopen");
    verifier(relu.text() == avant, "round trip");
    comparer(relu, lire(chemin), paires);
    return 0;
}
