#include "reports/records.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

Records& rec() { return partie.records; }

struct Place { std::string nom; short type, score, max; };  // type 0 human, else a computer level

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
        partie.joueurs[i].score = partie.joueurs[i].scoreFinal = places[i].score;
        partie.joueurs[i].sommeMeilleursCoups = places[i].max;
    }
}

long nbLignes(const std::string& texte) { return std::count(texte.begin(), texte.end(), '\n'); }

long nbFichiers(const std::string& dossier) { return std::distance(fs::directory_iterator(dossier), {}); }

void verifierTablesTriees() {
    auto triee = [](const auto& t) {
        return std::is_sorted(t, t + Records::NB, [](const auto& a, const auto& b) { return a.score > b.score; });
    };
    for (int t = 0; t < 8; ++t) EXPECT_TRUE(triee(rec().scoresHumains[t]) && triee(rec().scoresOrdi[t])) << t;
    EXPECT_TRUE(triee(rec().bestGosHumains) && triee(rec().bestGosOrdi) && triee(rec().meilleuresParties));
}

// A records file whose every entry is marked, scores 120 down to 101.
std::string fichierMarque(const std::string& marque) {
    Records r;
    for (int j = 0; j < Records::NB; ++j) {
        const short s = static_cast<short>(120 - j);
        for (int t = 0; t < 8; ++t) r.scoresHumains[t][j] = r.scoresOrdi[t][j] = {s, marque, "d"};
        r.bestGosHumains[j] = r.bestGosOrdi[j] = {s, marque, "d", "m"};
        r.meilleuresParties[j] = {s, marque, "d"};
    }
    return r.contenuFichier();
}

class RecordsTest : public ::testing::Test {
protected:
    InTempDir dir;
    MessageRecorder messages;
    void SetUp() override { InitLangue("defaut.bst"); }
    void TearDown() override { EXPECT_TRUE(messages.boites().empty()); }
};

TEST_F(RecordsTest, UnePartieNormaleEcritDeuxFoisLeFichierComplet) {
    const int fd = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(fd, ".", IN_CREATE | IN_MOVED_TO);  // creations too, so that two renames stay two events
    partieTerminee({{"Alice", 0, 25, 40}});
    rec().alterscores();
    alignas(inotify_event) char buf[8192];
    int remplacements = 0;
    for (ssize_t lus; (lus = read(fd, buf, sizeof buf)) > 0;)
        for (char* p = buf; p < buf + lus; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            remplacements += (reinterpret_cast<inotify_event*>(p)->mask & IN_MOVED_TO) != 0;
    close(fd);
    EXPECT_EQ(remplacements, 2);
    const std::string f = lireFichier("defaut.bst");
    EXPECT_EQ(nbLignes(f), 1180);
    EXPECT_EQ(f.substr(0, 18) + f.substr(18 + 20, 18), "Alice (max=40)\n25\nInitialisation\n20\n");  // a date between
    EXPECT_NE(f.find("\n25\nAlice (25)\n"), std::string::npos);
}

TEST_F(RecordsTest, InsertionSousLesScoresEgaux) {
    partieTerminee({{"Alice", 0, 0, 0}});
    // new score -> index it takes, -1 when it does not enter (the defaults run 20 down to 1)
    for (const auto& [score, index] : std::vector<std::pair<int, int>>{{1, -1}, {-7, -1}, {2, 19}, {20, 1}, {21, 0}}) {
        rec().defauts();
        std::remove("defaut.bst");
        rec().alterbestgo(score, "MOT");
        EXPECT_EQ(fichierExiste("defaut.bst"), index >= 0) << score;
        for (int j = 0; j < Records::NB; ++j)
            EXPECT_EQ(rec().bestGosHumains[j].score, j == index ? score : 20 - (index >= 0 && j > index ? j - 1 : j));
    }
}

void normale() { partieTerminee({{"Alice", 0, 100, 150}, {"Bot", 3, 90, 0}}); }

void duplicate() {
    partieTerminee({{"Alice", 0, 100, 150}, {"Bot", 3, 90, 0}}, true);
    result_best.assign(3, saisieDP{40, 0, 0, "", "", "", "", "", true});  // tops summing to 120
    saisie_duplicate[0].resize(3);
    saisie_duplicate[1].resize(3);
}

// tableHumains: the scoresHumains table that gets Alice, -1 none.
struct CasGarde { const char* nom; void (*preparer)(); int tableHumains; bool ordi, meilleurePartie; };

const CasGarde kCasGardes[] = {
    {"Normale", normale, 1, true, true},
    {"CoupAnnule", [] { normale(); partie.noterCoupAnnule(); }, -1, false, false},
    {"OrdreFixe", [] { normale(); params.listeLettresOrdonnees = "ABCDEFG"; }, -1, false, false},
    {"TiragesSaisis", [] { duplicate(); params.saisieTirage = true; }, -1, false, false},
    {"EnCours", [] { normale(); partie.partieEnCours = 1; }, 1, true, false},
    {"ModeTest", [] { normale(); partie.modeTest = 1; }, 1, true, false},
    {"Duplicate", duplicate, 0, false, false},
    {"DuplicateGeneration", [] { duplicate(); gl_generationParties = true; }, 0, true, true},
    {"AucunJoueur", [] { normale(); partie.nbJoueurs = 0; }, -1, false, false},
    {"NeufJoueurs", [] { normale(); partie.nbJoueurs = 9; }, -1, false, false},
};

class GardesAlterscores : public RecordsTest, public ::testing::WithParamInterface<CasGarde> {};

TEST_P(GardesAlterscores, EnregistreCeQueLaPartiePermet) {
    const CasGarde& c = GetParam();
    c.preparer();
    rec().alterscores();
    const char* alice = partie.modeDuplicate ? "Alice (top=120), (3,90)" : "Alice (max=150), (3,90)";
    for (int t : {0, 1}) EXPECT_EQ(rec().scoresHumains[t][0].texte, t == c.tableHumains ? alice : "Initialisation");
    EXPECT_EQ(rec().scoresOrdi[1][0].score, c.ordi ? 90 : 20);
    EXPECT_EQ(rec().meilleuresParties[0].texte, c.meilleurePartie ? "Alice (100), Bot [3] (90)" : "----");
    EXPECT_EQ(fichierExiste("defaut.bst"), c.tableHumains >= 0);
}

INSTANTIATE_TEST_SUITE_P(Records, GardesAlterscores, ::testing::ValuesIn(kCasGardes),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(RecordsTest, PartieASixJoueurs) {
    partieTerminee({{"A", 0, 312, 400}, {"B", 3, 287, 0}, {"C", 0, 250, 300},
                    {"D", 5, 240, 0}, {"E", 0, 230, 10}, {"F", 0, 220, 5}});
    rec().alterscores();
    // A human's record names at most three others, from the first four slots.
    EXPECT_EQ(rec().scoresHumains[5][2].texte, "E (max=10), (A,312), (3,287), (C,250)");
    EXPECT_EQ(rec().meilleuresParties[0].texte, "A (312), B [3] (287), C (250), D [5] (240), E (230), F (220)");
}

TEST_F(RecordsTest, MeilleursCoupsHumainOrdiEtAnnulation) {
    partieTerminee({{"Alice", 0, 0, 0}, {"Bot", 2, 0, 0}});
    partie.joueurEnCours = 1;
    rec().alterbestgo(55, "MOT H8");
    EXPECT_TRUE(alimBestGosOrdi && valBestGosOrdi == 55);
    EXPECT_EQ(rec().bestGosOrdi[0].joueur + rec().bestGosOrdi[0].mot, "BotMOT H8");
    alimBestGosOrdi = false;
    partie.joueurEnCours = 0;
    rec().alterbestgo(30, "CHAT, CHATS");
    EXPECT_FALSE(alimBestGosOrdi);
    EXPECT_EQ(rec().bestGosHumains[0].joueur + rec().bestGosHumains[0].mot, "AliceCHAT, CHATS");
    // An undo at record 5: moves count again once the game is back there.
    for (int i = 0; i < 4; ++i) ajouterEnregHisto();
    partie.noterCoupAnnule();
    v_histo.pop_back();
    rec().alterbestgo(400, "ANNULE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 30);
    ajouterEnregHisto();
    rec().alterbestgo(401, "REJOUE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 401);
}

TEST_F(RecordsTest, InitLangueChargeUneFoisEtLaPartieJokerASonFichier) {
    ecrireFichier("ord.bst", fichierMarque("Ord"));
    ecrireFichier("jord.bst", fichierMarque("Jok"));
    InitLangue("ord.bst");
    ecrireFichier("ord.bst", fichierMarque("Autre"));
    InitLangue("ord.bst");
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Ord") << "the same name is loaded once";
    params.ficRecords = "ord.bst";
    changerPartieJoker(true);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Jok");
    changerPartieJoker(false);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Autre");
    fs::create_directory("bst");
    params.ficRecords = "bst/x.bst";
    changerPartieJoker(true);
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(600, "DOSSIER");
    EXPECT_TRUE(fichierExiste("bst/jx.bst") && nbFichiers("bst") == 1);
}

TEST_F(RecordsTest, AllerRetourDesTextesEtDesNombres) {
    const std::string longNom(300, '\351');
    const std::vector<std::pair<std::string, std::string>> noms = {
        {"", ""}, {" tete", " tete"}, {longNom, longNom.substr(0, 255)}, {"%s%n%d", "%s%n%d"}, {"a\nb\rc", "a b c"}};
    partieTerminee({{"Alice", 0, 0, 0}});
    for (size_t i = 0; i < noms.size(); ++i) rec().alterbestgo(static_cast<int>(100 - i), noms[i].first);
    const std::string fichier = lireFichier("defaut.bst");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().contenuFichier(), fichier);
    for (size_t i = 0; i < noms.size(); ++i) EXPECT_EQ(rec().bestGosHumains[i].mot, noms[i].second) << i;

    // A score line as a hand edit may leave it, in either line end; nullopt: the entry is not read.
    const std::vector<std::pair<std::string, std::optional<short>>> nombres = {
        {"012", 10}, {"0x1A", 26}, {" 7\t", 7}, {"-32768", -32768}, {"32768", {}}, {"12abc", {}}, {"", {}}, {"09", {}}};
    for (const char* fin : {"\n", "\r\n"})
        for (const auto& [ligne, score] : nombres) {
            std::string f = fichierMarque("x").replace(0, 5, "N\n" + ligne);
            replaceAllNb(f, "\n", fin);
            ecrireFichier("defaut.bst", f);
            rec().defauts();
            rec().loadscores();
            verifierTablesTriees();
            const auto& t = rec().scoresHumains[0];
            auto e = std::find_if(t, t + Records::NB, [](const c_record& r) { return r.texte == "N"; });
            EXPECT_EQ(e == t + Records::NB ? std::optional<short>() : e->score, score) << ligne;
        }
}

TEST_F(RecordsTest, FichiersAbimesDonnentDesTablesTrieesPuisUnFichierComplet) {
    const std::string marque = fichierMarque("F");
    auto tronque = [&marque](int n) {
        size_t p = 0;
        while (n-- > 0) p = marque.find('\n', p) + 1;
        return marque.substr(0, p);
    };
    std::vector<std::string> abimes = {tronque(0), tronque(1), tronque(500), tronque(1179), marque,
                                       std::string(100000, 'z') + marque, std::string(60000, 0)};
    abimes[4].replace(marque.find("\n120\n") + 1, 3, "vingt");  // text in a score line
    for (size_t i = 0; i < 60000; ++i) abimes[6][i] = static_cast<char>((i * 2654435761u) >> 24);  // random bytes
    partieTerminee({{"Alice", 0, 0, 0}});
    for (size_t i = 0; i < abimes.size(); ++i) {
        const std::string nom = "abime" + std::to_string(i) + ".bst";
        ecrireFichier(nom, abimes[i]);
        InitLangue(nom);
        verifierTablesTriees();
        rec().alterbestgo(30000, "APRES");
        const std::string fichier = lireFichier(nom);
        EXPECT_EQ(nbLignes(fichier), 1180) << i;
        rec().loadscores();
        EXPECT_EQ(rec().contenuFichier(), fichier) << i;
    }
}

TEST_F(RecordsTest, SauvegardeRateeLaisseLAncienFichier) {
    TempDir repli;
    utiliserChemin = repli.path() + "/";
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(50, "PREMIER");
    const std::string ancien = lireFichier("defaut.bst");
    // A disk that takes no more than 4 KB: both paths fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit avant;
    getrlimit(RLIMIT_FSIZE, &avant);
    const rlimit limite{4096, avant.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    rec().alterbestgo(60, "SECOND");
    setrlimit(RLIMIT_FSIZE, &avant);
    EXPECT_EQ(lireFichier("defaut.bst"), ancien);
    EXPECT_EQ(nbFichiers(".") + nbFichiers(repli.path()), 1) << "no temporary left";
    // "bst" is not a folder here: the save and the next load go to the fallback folder.
    ecrireFichier("bst", "pas un dossier");
    fs::create_directory(repli.file("bst"));
    InitLangue("bst/x.bst");
    rec().alterbestgo(70, "REPLI");
    EXPECT_EQ(nbLignes(lireFichier(repli.file("bst/x.bst"))), 1180);
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().bestGosHumains[0].mot, "REPLI");
}

}  // namespace
