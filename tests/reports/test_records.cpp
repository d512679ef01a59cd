#include "reports/records.h"

#include "support/MessageRecorder.h"
#include "support/TempDir.h"
#include "app/interface.h"
#include "engine/chargerpeau2.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

Records& rec() { return partie.records; }

struct Place {
    std::string nom;
    short type;  // 0 human, else computer level
    short score;
    short max;
};

// A game of these players as end_game leaves it: final scores set, no longer running.
void partieTerminee(const std::vector<Place>& places, bool duplicate = false) {
    partie.nbJoueurs = static_cast<short>(places.size());
    partie.modeDuplicate = duplicate;
    for (size_t i = 0; i < places.size(); ++i) {
        partie.joueurs[i].nom = places[i].nom;
        partie.joueurs[i].type = places[i].type;
    }
    init_board();
    for (size_t i = 0; i < places.size(); ++i) {
        Joueur& j = partie.joueurs[i];
        j.score = j.scoreFinal = places[i].score;
        j.sommeMeilleursCoups = places[i].max;
    }
}

std::vector<std::string> lignes(const std::string& texte) {
    std::vector<std::string> out;
    size_t debut = 0;
    for (size_t fin; (fin = texte.find('\n', debut)) != std::string::npos; debut = fin + 1)
        out.push_back(texte.substr(debut, fin - debut));
    if (debut < texte.size()) out.push_back(texte.substr(debut));
    return out;
}

std::vector<std::string> fichiersDe(const std::string& dossier) {
    std::vector<std::string> noms;
    for (const auto& e : fs::directory_iterator(dossier)) noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
}

// Every table sorted best first, as the insertion rule needs.
void verifierTables() {
    auto triee = [](const auto& t) {
        return std::is_sorted(t, t + Records::NB, [](const auto& a, const auto& b) { return a.score > b.score; });
    };
    for (int t = 0; t < 8; ++t) EXPECT_TRUE(triee(rec().scoresHumains[t]) && triee(rec().scoresOrdi[t])) << t;
    EXPECT_TRUE(triee(rec().bestGosHumains) && triee(rec().bestGosOrdi) && triee(rec().meilleuresParties));
}

// Counts the files renamed into the current folder under a name. Creations are
// watched too, so that two renames in a row are not merged into one event.
class Remplacements {
public:
    Remplacements() : fd_(inotify_init1(IN_NONBLOCK)) { inotify_add_watch(fd_, ".", IN_CREATE | IN_MOVED_TO); }
    ~Remplacements() { close(fd_); }
    int compter(const std::string& nom) {
        alignas(inotify_event) char buf[8192];
        int n = 0;
        for (ssize_t lus; (lus = read(fd_, buf, sizeof buf)) > 0;)
            for (char* p = buf; p < buf + lus;) {
                auto* e = reinterpret_cast<inotify_event*>(p);
                n += (e->mask & IN_MOVED_TO) && e->len > 0 && nom == e->name;
                p += sizeof(inotify_event) + e->len;
            }
        return n;
    }

private:
    int fd_;
};

class RecordsTest : public ::testing::Test {
protected:
    InTempDir dir;
    MessageRecorder messages;
    void TearDown() override { EXPECT_TRUE(messages.boites().empty()); }
};

TEST_F(RecordsTest, UnePartieNormaleEcritDeuxFoisLeFichierComplet) {
    InitLangue("defaut.bst");
    Remplacements remplacements;
    partieTerminee({{"Alice", 0, 25, 40}});
    rec().alterscores();
    EXPECT_EQ(remplacements.compter("defaut.bst"), 2);

    const auto& t = rec().scoresHumains[0];
    EXPECT_EQ(t[0].score, 25);
    EXPECT_EQ(t[0].texte, "Alice (max=40)");
    EXPECT_EQ(t[1].score, 20);
    EXPECT_EQ(t[19].score, 2);
    EXPECT_EQ(rec().meilleuresParties[0].score, 25);
    EXPECT_EQ(rec().meilleuresParties[0].texte, "Alice (25)");

    std::vector<std::string> l = lignes(lireFichier("defaut.bst"));
    ASSERT_EQ(l.size(), 1180u);
    auto estDate = [](const std::string& d) {
        const std::string modele = "00/00/0000 00:00:00";
        if (d.size() != modele.size()) return false;
        for (size_t i = 0; i < d.size(); ++i)
            if (modele[i] == '0' ? !std::isdigit(static_cast<unsigned char>(d[i])) : d[i] != modele[i]) return false;
        return true;
    };
    const std::vector<std::pair<size_t, std::string>> attendu = {
        {0, "Alice (max=40)"}, {1, "25"},    {3, "Initialisation"}, {4, "20"},     {58, "2"},
        {60, "Initialisation"}, {61, "20"},  {480, "Initialisation"}, {481, "20"}, {483, "----"},
        {559, "----"},          {560, "Ordi0"}, {561, "20"},      {1040, "Ordi0"}, {1041, "20"},
        {1043, "----"},         {1120, "25"}, {1121, "Alice (25)"}, {1177, "2"}, {1178, "----"}};
    for (const auto& [i, valeur] : attendu) EXPECT_EQ(l[i], valeur) << "line " << i + 1;
    for (size_t i : {2, 482, 562, 1042, 1122, 1179}) EXPECT_TRUE(estDate(l[i])) << l[i];
}

TEST_F(RecordsTest, InsertionSousLesScoresEgaux) {
    InitLangue("defaut.bst");
    partieTerminee({{"Alice", 0, 0, 0}});
    // new score -> index it takes, -1 when it does not enter
    const std::vector<std::pair<int, int>> cas = {{1, -1}, {0, -1}, {-7, -1}, {2, 19}, {20, 1}, {21, 0}};
    for (const auto& [score, index] : cas) {
        SCOPED_TRACE(score);
        rec().defauts();
        std::remove("defaut.bst");
        const std::string avant = rec().contenuFichier();
        rec().alterbestgo(score, "MOT");
        if (index < 0) {
            EXPECT_EQ(rec().contenuFichier(), avant);
            EXPECT_FALSE(fichierExiste("defaut.bst"));
            continue;
        }
        EXPECT_EQ(rec().bestGosHumains[index].joueur, "Alice");
        EXPECT_EQ(rec().bestGosHumains[index].score, score);
        for (int j = 0; j < Records::NB; ++j)
            if (j != index) { EXPECT_EQ(rec().bestGosHumains[j].score, 20 - (j < index ? j : j - 1)); }
        EXPECT_EQ(lireFichier("defaut.bst"), rec().contenuFichier());
    }
}

struct CasGarde {
    const char* nom;
    void (*preparer)();
    int tableHumains;  // scoresHumains table that gets Alice, -1 none
    const char* texteHumain;
    bool ordi;
    bool meilleurePartie;
};

void partieDuplicate() {
    partieTerminee({{"Alice", 0, 100, 150}, {"Bot", 3, 90, 0}}, true);
    for (short s : {30, 40, 50}) {
        saisieDP top;
        top.score = s;
        result_best.push_back(top);
        saisie_duplicate[0].push_back(saisieDP());
        saisie_duplicate[1].push_back(saisieDP());
    }
}

void partieNormale() { partieTerminee({{"Alice", 0, 100, 150}, {"Bot", 3, 90, 0}}); }

const CasGarde kCasGardes[] = {
    {"Normale", partieNormale, 1, "Alice (max=150), (3,90)", true, true},
    {"CoupAnnule", [] { partieNormale(); partie.noterCoupAnnule(); }, -1, "", false, false},
    {"OrdreFixe", [] { partieNormale(); params.listeLettresOrdonnees = "ABCDEFG"; }, -1, "", false, false},
    {"TiragesSaisis", [] { partieDuplicate(); params.saisieTirage = true; }, -1, "", false, false},
    {"EnCours", [] { partieNormale(); partie.partieEnCours = 1; }, 1, "Alice (max=150), (3,90)", true, false},
    {"ModeTest", [] { partieNormale(); partie.modeTest = 1; }, 1, "Alice (max=150), (3,90)", true, false},
    {"Duplicate", partieDuplicate, 0, "Alice (top=120), (3,90)", false, false},
    {"DuplicateGeneration", [] { partieDuplicate(); gl_generationParties = true; }, 0, "Alice (top=120), (3,90)", true, true},
    {"AucunJoueur", [] { partieNormale(); partie.nbJoueurs = 0; }, -1, "", false, false},
    {"NeufJoueurs", [] { partieNormale(); partie.nbJoueurs = 9; }, -1, "", false, false},
};

class GardesAlterscores : public RecordsTest, public ::testing::WithParamInterface<CasGarde> {};

TEST_P(GardesAlterscores, EnregistreCeQueLaPartiePermet) {
    const CasGarde& c = GetParam();
    InitLangue("defaut.bst");
    c.preparer();
    rec().alterscores();
    for (int t : {0, 1}) {
        const c_record& e = rec().scoresHumains[t][0];
        EXPECT_EQ(e.score, t == c.tableHumains ? 100 : 20) << t;
        if (t == c.tableHumains) { EXPECT_EQ(e.texte, c.texteHumain); }
    }
    EXPECT_EQ(rec().scoresOrdi[1][0].score, c.ordi ? 90 : 20);
    EXPECT_EQ(rec().meilleuresParties[0].score, c.meilleurePartie ? 190 : 20);
    if (c.meilleurePartie) { EXPECT_EQ(rec().meilleuresParties[0].texte, "Alice (100), Bot [3] (90)"); }
    if (c.tableHumains >= 0) EXPECT_EQ(lireFichier("defaut.bst"), rec().contenuFichier());
    else EXPECT_FALSE(fichierExiste("defaut.bst"));
}

INSTANTIATE_TEST_SUITE_P(Records, GardesAlterscores, ::testing::ValuesIn(kCasGardes),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(RecordsTest, PartieASixJoueurs) {
    InitLangue("defaut.bst");
    partieTerminee({{"A", 0, 312, 400}, {"B", 3, 287, 0}, {"C", 0, 250, 300},
                    {"D", 5, 240, 0}, {"E", 0, 230, 10}, {"F", 0, 220, 5}});
    rec().alterscores();
    const auto& h = rec().scoresHumains[5];
    EXPECT_EQ(h[0].texte, "A (max=400), (3,287), (C,250), (5,240)");
    EXPECT_EQ(h[1].texte, "C (max=300), (A,312), (3,287), (5,240)");
    EXPECT_EQ(h[2].texte, "E (max=10), (A,312), (3,287), (C,250)");  // three others, from the first four slots
    EXPECT_EQ(h[3].score, 220);
    EXPECT_EQ(h[4].score, 20);
    EXPECT_EQ(rec().scoresOrdi[5][0].texte, "B");
    EXPECT_EQ(rec().scoresOrdi[5][1].texte, "D");
    EXPECT_EQ(rec().meilleuresParties[0].score, 312 + 287 + 250 + 240);
    EXPECT_EQ(rec().meilleuresParties[0].texte, "A (312), B [3] (287), C (250), D [5] (240), E (230), F (220)");
}

TEST_F(RecordsTest, MeilleursCoupsEtGardeDAnnulationParPartie) {
    InitLangue("defaut.bst");
    partieTerminee({{"Alice", 0, 0, 0}, {"Bot", 2, 0, 0}});
    partie.joueurEnCours = 1;
    rec().alterbestgo(0, "RIEN");
    EXPECT_FALSE(alimBestGosOrdi);
    rec().alterbestgo(55, "MOT H8");
    EXPECT_TRUE(alimBestGosOrdi);
    EXPECT_EQ(valBestGosOrdi, 55);
    EXPECT_EQ(rec().bestGosOrdi[0].joueur, "Bot");
    EXPECT_EQ(rec().bestGosOrdi[0].mot, "MOT H8");

    alimBestGosOrdi = false;
    partie.joueurEnCours = 0;
    rec().alterbestgo(30, "CHAT, CHATS");
    EXPECT_FALSE(alimBestGosOrdi);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Alice");
    EXPECT_EQ(rec().bestGosHumains[0].mot, "CHAT, CHATS");
    EXPECT_EQ(rec().bestGosOrdi[1].score, 20);

    // An undo at record 5: moves count again once the game is back there.
    for (int i = 0; i < 4; ++i) {
        ajouterEnregHisto();
        v_histo.back().joueur = 1;
    }
    partie.noterCoupAnnule();
    v_histo.pop_back();
    rec().alterbestgo(400, "ANNULE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 30);
    ajouterEnregHisto();
    v_histo.back().joueur = 1;
    rec().alterbestgo(401, "REJOUE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 401);

    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(402, "PARTIE2");
    EXPECT_EQ(rec().bestGosHumains[0].score, 402);

    // Typed draws: the table changes, the file waits for the next allowed save.
    partie.modeDuplicate = 1;
    params.saisieTirage = true;
    const std::string fichier = lireFichier("defaut.bst");
    rec().alterbestgo(403, "TIRAGE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 403);
    EXPECT_EQ(lireFichier("defaut.bst"), fichier);
}

// A records file whose every entry is marked, scores 120 down to 101.
std::string fichierMarque(const std::string& marque) {
    Records r;
    r.defauts();
    for (int j = 0; j < Records::NB; ++j) {
        short s = static_cast<short>(120 - j);
        for (int t = 0; t < 8; ++t) r.scoresHumains[t][j] = r.scoresOrdi[t][j] = {s, marque, "d"};
        r.bestGosHumains[j] = r.bestGosOrdi[j] = {s, marque, "d", "m"};
        r.meilleuresParties[j] = {s, marque, "d"};
    }
    return r.contenuFichier();
}

TEST_F(RecordsTest, InitLangueChargeUneFoisEtLaPartieJokerASonFichier) {
    ecrireFichier("defaut.bst", fichierMarque("Ord"));
    ecrireFichier("jdefaut.bst", fichierMarque("Jok"));
    InitLangue("defaut.bst");
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Ord");
    ecrireFichier("defaut.bst", fichierMarque("Autre"));
    InitLangue("defaut.bst");
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Ord");
    ecrireFichier("defaut.bst", fichierMarque("Ord"));
    const std::string ordinaire = lireFichier("defaut.bst");

    params.ficRecords = "defaut.bst";
    changerPartieJoker(true);
    EXPECT_TRUE(valMenuJoker());
    EXPECT_EQ(partie.ficRecords, "jdefaut.bst");
    EXPECT_EQ(rec().scoresOrdi[7][19].texte, "Jok");
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(500, "JOKER");
    EXPECT_EQ(lireFichier("defaut.bst"), ordinaire);

    changerPartieJoker(false);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Ord");
    changerPartieJoker(true);
    EXPECT_EQ(rec().bestGosHumains[0].mot, "JOKER");

    fs::create_directory("bst");
    params.ficRecords = "bst/x.bst";
    InitLangue(params.ficRecords);
    EXPECT_EQ(partie.ficRecords, "bst/jx.bst");
    rec().alterbestgo(600, "DOSSIER");
    EXPECT_EQ(fichiersDe("bst"), std::vector<std::string>{"jx.bst"});

    // The game parameters name the file.
    ecrireFichier("perso.bst", fichierMarque("Perso"));
    ecrireFichier("p.pea2", "[Fichier des Records]\nfic=perso.bst\n");
    changerPartieJoker(false);
    ChargerPeau2("p.pea2");
    EXPECT_EQ(partie.ficRecords, "perso.bst");
    EXPECT_EQ(rec().meilleuresParties[0].texte, "Perso");
}

TEST_F(RecordsTest, AllerRetourDesTextesEtDesNombres) {
    InitLangue("defaut.bst");
    const std::string longNom(300, '\351');
    const std::vector<std::pair<std::string, std::string>> noms = {
        {"", ""}, {" tete", " tete"}, {longNom, longNom.substr(0, 255)}, {"%s%n%d", "%s%n%d"}, {"a\nb\rc", "a b c"}};
    partieTerminee({{"", 0, 0, 0}});
    for (size_t i = 0; i < noms.size(); ++i) {
        partie.joueurs[0].nom = noms[i].first;
        rec().alterbestgo(static_cast<int>(100 - i), noms[i].first);
    }
    // Eight long names make a best-game text beyond what a line holds.
    std::vector<Place> huit;
    for (int i = 0; i < 8; ++i) huit.push_back({std::string(40, static_cast<char>('A' + i)), 0, 10, 0});
    partieTerminee(huit);
    rec().alterscores();
    EXPECT_EQ(rec().meilleuresParties[0].texte.size(), 255u);
    EXPECT_EQ(rec().meilleuresParties[0].texte.substr(0, 46), std::string(40, 'A') + " (10),");

    const std::string fichier = lireFichier("defaut.bst");
    EXPECT_EQ(lignes(fichier).size(), 1180u);
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().contenuFichier(), fichier);
    for (size_t i = 0; i < noms.size(); ++i) {
        EXPECT_EQ(rec().bestGosHumains[i].joueur, noms[i].second);
        EXPECT_EQ(rec().bestGosHumains[i].mot, noms[i].second);
    }

    // Score lines as a hand edit may leave them; std::nullopt: the entry keeps its default.
    const std::vector<std::pair<std::string, std::optional<short>>> nombres = {
        {"012", 10}, {"0x1A", 26}, {" 7\t", 7}, {"-3", -3}, {"+5", 5}, {"32767", 32767}, {"-32768", -32768},
        {"32768", {}}, {"abc", {}}, {"12abc", {}}, {"", {}}, {"0x", {}}, {"1 2", {}}, {"09", {}}};
    for (const char* fin : {"\n", "\r\n"}) {
        std::vector<std::string> l = lignes(fichierMarque("x"));
        for (size_t k = 0; k < nombres.size(); ++k) {
            l[3 * k] = "N" + std::to_string(k);
            l[3 * k + 1] = nombres[k].first;
        }
        std::string texte;
        for (const std::string& s : l) texte += s + fin;
        ecrireFichier("defaut.bst", texte);
        rec().defauts();
        rec().loadscores();
        verifierTables();
        for (size_t k = 0; k < nombres.size(); ++k) {
            const auto& t = rec().scoresHumains[0];
            auto e = std::find_if(t, t + Records::NB, [&](const c_record& r) { return r.texte == "N" + std::to_string(k); });
            SCOPED_TRACE(nombres[k].first);
            ASSERT_EQ(e != t + Records::NB, nombres[k].second.has_value());
            if (nombres[k].second) { EXPECT_EQ(e->score, *nombres[k].second); }
        }
        EXPECT_EQ(rec().scoresHumains[1][0].texte, "x");
    }
}

struct CasFichierAbime {
    const char* nom;
    std::string (*contenu)();
    int coupsMarques;  // entries of bestGosHumains still read from the file, -1 not checked
};

std::string tronque(size_t n) {
    std::vector<std::string> l = lignes(fichierMarque("F"));
    std::string s;
    for (size_t i = 0; i < n; ++i) s += l[i] + "\n";
    return s;
}

const CasFichierAbime kFichiersAbimes[] = {
    {"Vide", [] { return tronque(0); }, 0},
    {"UneLigne", [] { return tronque(1); }, 0},
    {"CinqCentsLignes", [] { return tronque(500); }, 5},
    {"DerniereLigneManquante", [] { return tronque(1179); }, 20},
    {"SansFinDeLigne", [] { return tronque(1180).substr(0, tronque(1180).size() - 1); }, 20},
    {"OctetsAleatoires", [] {
         std::mt19937 alea(42);
         std::string s(60000, '\0');
         for (char& c : s) c = static_cast<char>(alea() % 256);
         return s;
     }, -1},
    {"TexteDansUnScore", [] { std::string s = fichierMarque("F"); return s.replace(s.find("\n120\n") + 1, 3, "vingt"); }, 20},
    {"LigneTropLongue", [] { return std::string(100000, 'z') + fichierMarque("F").substr(1); }, 20},
};

class FichierAbime : public RecordsTest, public ::testing::WithParamInterface<CasFichierAbime> {};

TEST_P(FichierAbime, TablesCompletesPuisFichierComplet) {
    ecrireFichier("defaut.bst", GetParam().contenu());
    InitLangue("defaut.bst");
    verifierTables();
    if (GetParam().coupsMarques >= 0) {
        EXPECT_EQ(std::count_if(rec().bestGosHumains, rec().bestGosHumains + Records::NB,
                                [](const c_recordCoup& c) { return c.joueur == "F"; }),
                  GetParam().coupsMarques);
    }

    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(30000, "APRES");
    const std::string fichier = lireFichier("defaut.bst");
    EXPECT_EQ(lignes(fichier).size(), 1180u);
    rec().loadscores();
    EXPECT_EQ(rec().contenuFichier(), fichier);
}

INSTANTIATE_TEST_SUITE_P(Records, FichierAbime, ::testing::ValuesIn(kFichiersAbimes),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(RecordsTest, SauvegardeRateeLaisseLAncienFichier) {
    TempDir repli;
    utiliserChemin = repli.path() + "/";
    InitLangue("defaut.bst");
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(50, "PREMIER");
    const std::string ancien = lireFichier("defaut.bst");

    // A disk that takes no more than 4 KB: both paths fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit avant;
    getrlimit(RLIMIT_FSIZE, &avant);
    rlimit limite = avant;
    limite.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    rec().alterbestgo(60, "SECOND");
    setrlimit(RLIMIT_FSIZE, &avant);
    EXPECT_EQ(rec().bestGosHumains[0].mot, "SECOND");
    EXPECT_EQ(lireFichier("defaut.bst"), ancien);
    EXPECT_EQ(fichiersDe("."), std::vector<std::string>{"defaut.bst"});
    EXPECT_TRUE(fichiersDe(repli.path()).empty());

    // The current folder cannot take the file ("bst" is not a folder): the save
    // and the next load go to the fallback folder.
    ecrireFichier("bst", "pas un dossier");
    fs::create_directory(repli.file("bst"));
    InitLangue("bst/x.bst");
    rec().alterbestgo(70, "REPLI");
    EXPECT_EQ(lignes(lireFichier(repli.file("bst/x.bst"))).size(), 1180u);
    EXPECT_EQ(lireFichier("bst"), "pas un dossier");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().bestGosHumains[0].mot, "REPLI");

    // Outside the current folder, the fallback folder is the only place.
    params.utiliserRepCourant = false;
    InitLangue("y.bst");
    rec().alterbestgo(80, "AILLEURS");
    EXPECT_TRUE(fichierExiste(repli.file("y.bst")));
    EXPECT_FALSE(fichierExiste("y.bst"));
}

}  // namespace
