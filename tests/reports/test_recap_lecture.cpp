#include "app/interface.h"
#include "core/Inifile.h"
#include "core/maChaine.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"
#include "reports/recap.h"
#include "support/Fixtures.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

const std::string kScores = "Scores finaux (tiennent compte du r\351ajustement)";

// What a loaded game must give back, field by field.
struct Instantane {
    std::string plateau, plateauT;
    short nbJoueurs, joueurEnCours, nbLettresSac;
    std::vector<std::string> joueurs;
    std::vector<std::string> enregs;
    std::vector<int> sac;

    static Instantane prendre() {
        Instantane s;
        s.plateau.assign(&dicP.plateau[0][0], sizeof dicP.plateau);
        s.plateauT.assign(&dicP.plateauT[0][0], sizeof dicP.plateauT);
        s.nbJoueurs = partie.nbJoueurs;
        s.joueurEnCours = partie.joueurEnCours;
        s.nbLettresSac = partie.nbLettresSac;
        for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
            const Joueur& j = partie.joueurs[i];
            std::string rack(j.lettres, NB_LETTRES);
            std::string compteurs(reinterpret_cast<const char*>(partie.chevalet[i]), NB_LETTRES);
            s.joueurs.push_back(chaine("%d|%d|", j.type, j.score) + j.nom + "|" + rack + "|" + compteurs);
        }
        for (size_t r = 0; r < v_histo.size(); ++r) {
            std::string e;
            for (short f = 1; f <= 64; ++f) e += valRec(f, static_cast<short>(r)) + "|";
            s.enregs.push_back(e);
        }
        for (int k = 0; k < NB_LETTRES; ++k) s.sac.push_back(partie.sac[k]);
        return s;
    }
};

void memeJeu(const Instantane& a, const Instantane& b) {
    EXPECT_EQ(a.plateau, b.plateau);
    EXPECT_EQ(a.plateauT, b.plateauT);
    EXPECT_EQ(a.nbJoueurs, b.nbJoueurs);
    EXPECT_EQ(a.joueurs, b.joueurs);
    // The last record is the empty one of the move to come: the loader gives it the new rack.
    ASSERT_EQ(a.enregs.size(), b.enregs.size());
    EXPECT_EQ(std::vector<std::string>(a.enregs.begin(), a.enregs.end() - 1),
              std::vector<std::string>(b.enregs.begin(), b.enregs.end() - 1));
    EXPECT_EQ(a.sac, b.sac);
    EXPECT_EQ(a.nbLettresSac, b.nbLettresSac);
}

// Another game in place, to be replaced by the loaded one.
void autrePartie() {
    fixtures::partieCommencee();
    fixtures::joueur(2, "Zoe", 2);
    fixtures::jouerMot(1, "VIE", "B2", 9, "EIV", "VIE");
    partie.partieEnCours = 0;
}

// Writes a file from a saved recap with some keys changed ("" removes the key).
void modifier(const std::string& path, const std::vector<std::array<std::string, 3>>& changes) {
    std::string texte = lireFichier(path);
    for (const auto& c : changes) {
        const std::string debut = "\n" + c[1] + "=";
        size_t pos = texte.find("[" + c[0] + "]");
        ASSERT_NE(pos, std::string::npos) << c[0];
        size_t cle = texte.find(debut, pos);
        size_t fin = cle == std::string::npos ? std::string::npos : texte.find('\n', cle + 1);
        if (cle == std::string::npos) {
            size_t apres = texte.find('\n', pos);
            texte.insert(apres, debut + c[2]);
        } else if (c[2].empty() && c[1] != "") {
            texte.erase(cle, fin - cle);
        } else {
            texte.replace(cle, fin - cle, debut + c[2]);
        }
    }
    ecrireFichier(path, texte);
}

}  // namespace

TEST(ChargementRecap, PartieNormaleRepriseAuJoueurSuivant) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieNormale();
    // The last move was Ordi's pass: the turn comes back to Alice.
    const Instantane avant = Instantane::prendre();
    save_recap("partie.qv2");
    autrePartie();

    ASSERT_TRUE(chargerRecapitulatif("partie.qv2"));
    Instantane apres = Instantane::prendre();
    memeJeu(avant, apres);
    EXPECT_TRUE(messages.boites().empty()) << messages.boites()[0];
    EXPECT_TRUE(partie.partieEnCours);
    EXPECT_EQ(partie.joueurEnCours, 0);
    EXPECT_EQ(partie.nbPasses, 0);
    EXPECT_EQ(partie.nbLignesHisto, 7);
    EXPECT_EQ(partie.chevaletEnCours, "BCDEFGH");
    EXPECT_EQ(v_histo.back().reglette, "BCDEFGH");
    EXPECT_EQ(partie.joueurs[0].type, 0) << "the human's level is given back after the moves are offered";
    EXPECT_TRUE(gl_menus.boutonsActifs);
    ASSERT_EQ(v_listeContenu.size(), 6u);
    EXPECT_EQ(v_listeContenu[0].texte, "MAISON");
    EXPECT_EQ(v_listeContenu[0].score, 22);
    EXPECT_EQ(v_listeContenu[2].nbLettres, 7);
    EXPECT_EQ(v_listeContenu[3].texte, "echange 'VWX'");
    EXPECT_EQ(v_listeContenu[4].texte, "coup errone");
    EXPECT_EQ(v_listeContenu[5].texte, "passe son tour");
    EXPECT_EQ(v_listeContenu[5].reglette, "TUABCDE");

    // The same file stopped: shown, not playable.
    modifier("partie.qv2", {{"Partie", "En Cours", "non"}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("partie.qv2"));
    memeJeu(avant, Instantane::prendre());
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_FALSE(gl_menus.boutonsActifs);
}

TEST(ChargementRecap, PartieDuplicateRouvreUnTour) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieDuplicate();
    save_recap("dup.qv2");
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("dup.qv2"));
    EXPECT_TRUE(partie.modeDuplicate);
    EXPECT_EQ(partie.joueurEnCours, 0);
    EXPECT_TRUE(gl_tourDuplicateOuvert);
    ASSERT_GE(result_best.size(), 3u);
    EXPECT_EQ(result_best[1].tirage, "TUVW+ER");
    EXPECT_EQ(result_best[2].score, 64);
    EXPECT_EQ(result_best[2].nbLettresPosees, 7);
    EXPECT_EQ(result_best[0].nbTops, 2);
    EXPECT_EQ(result_best.back().tirage, "TUVW+EES") << "the open round's draw is player 1's letters";
    ASSERT_EQ(saisie_duplicate[1].size(), 4u) << "three rounds of the file, then the open round's";
    EXPECT_EQ(saisie_duplicate[1][3].score, 0);
    partie.AlimDernCoupDuplSaisi();
    EXPECT_EQ(partie.dernCoupDuplSaisi, 3) << "the reloaded game keeps all its rounds";
    EXPECT_EQ(saisie_duplicate[1][0].position, "8D");
    EXPECT_FALSE(saisie_duplicate[1][0].horizontal);
    EXPECT_EQ(saisie_duplicate[1][2].mots, "RELATION");
    EXPECT_EQ(saisie_duplicate[0][2].score, 0);
    EXPECT_EQ(partie.joueurs[1].score, 88);
}

TEST(ChargementRecap, NumerosDeVersion) {
    struct Cas {
        const char* version;  // nullptr: no key
        bool charge;
        std::vector<std::string> messages;
    };
    const std::string ancienne = "Version un peu ancienne, le resultat n'est pas garanti";
    const std::string mauvaise = "Mauvais n\260 de version";
    const std::string v31 = "Recapitulatif cree avec une version <= 1.4, on garde donc les parametres actuels";
    const std::vector<Cas> cas = {
        {nullptr, false, {mauvaise}}, {"20", false, {mauvaise}}, {"21", true, {ancienne}},
        {"27", true, {ancienne}},     {"29", false, {mauvaise}}, {"30", true, {}},
        {"31", true, {v31}},          {"32", true, {}},          {"34", true, {}},
        {"65567", false, {mauvaise}}, {"-1", false, {mauvaise}},
    };
    for (const Cas& c : cas) {
        InTempDir ici;
        MessageRecorder messages;
        fixtures::partieNormale();
        partie.partieEnCours = 0;
        save_recap("v.qv2");
        modifier("v.qv2", {{"General", "Version", c.version ? c.version : ""}});
        autrePartie();
        const Instantane avant = Instantane::prendre();
        EXPECT_EQ(chargerRecapitulatif("v.qv2"), c.charge) << (c.version ? c.version : "none");
        EXPECT_EQ(messages.boites(), c.messages) << (c.version ? c.version : "none");
        if (!c.charge) memeJeu(avant, Instantane::prendre());
    }
}

TEST(ChargementRecap, ParametresNommesParLeFichier) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieNormale();
    partie.partieEnCours = 0;
    save_recap("p.qv2");

    // Version 32 naming the parameters already loaded: nothing loaded, nothing shown.
    modifier("p.qv2", {{"General", "Version", "32"}});
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_TRUE(messages.boites().empty());

    // Another file that exists: "%s" in its name is shown, never read as a format.
    ecrireFichier("autre%s.pea2", "[Bonus]\n7=12\n");
    modifier("p.qv2", {{"General", "Pea2", "autre%s.pea2"}});
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_EQ(messages.boites(), std::vector<std::string>{"On charge les parametres du fichier autre%s.pea2"});
    EXPECT_EQ(partie.fichierPea2, "autre%s.pea2");
    EXPECT_EQ(params.bonus[7], 12);

    // A name that is not a regular file is not loaded.
    messages.messages.clear();
    modifier("p.qv2", {{"General", "Pea2", "."}});
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_TRUE(messages.boites().empty());
    EXPECT_EQ(partie.fichierPea2, "autre%s.pea2");
}

TEST(ChargementRecap, SacDesVersions33Et34) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieNormale();
    partie.partieEnCours = 0;
    save_recap("s.qv2");
    modifier("s.qv2", {{"Sac", "0", "3"}, {"Sac", "taille", "76"}});
    ASSERT_TRUE(chargerRecapitulatif("s.qv2"));
    EXPECT_EQ(partie.sac[0], 3);
    EXPECT_EQ(partie.nbLettresSac, 76);
    modifier("s.qv2", {{"General", "Version", "33"}});
    ASSERT_TRUE(chargerRecapitulatif("s.qv2"));
    EXPECT_EQ(partie.sac[0], 0);
    EXPECT_EQ(partie.nbLettresSac, 73);
    // A count that disagrees with the counters is recomputed from them.
    modifier("s.qv2", {{"General", "Version", "34"}, {"Sac", "taille", "5000"}});
    ASSERT_TRUE(chargerRecapitulatif("s.qv2"));
    EXPECT_EQ(partie.nbLettresSac, 76);
}

TEST(ChargementRecap, FichiersHostilesRefusesSansToucherLaPartie) {
    struct Cas {
        const char* nom;
        std::vector<std::array<std::string, 3>> changes;
    };
    const std::vector<Cas> cas = {
        {"no players", {{"Partie", "Nb Joueurs", "0"}}},
        {"nine players", {{"Partie", "Nb Joueurs", "9"}}},
        {"kind 9", {{kScores, "Joueur 1", "9,22"}}},
        {"negative kind", {{kScores, "Joueur 2", "-1,5"}}},
        {"record player 3", {{"Recap", "2", "3|5|2|0|0||||"}}},
        {"16 tiles", {{"Recap", "1", "1|22|16|0|1|"}}},
        {"coordinate 23", {{"Recap", "1", "1|22|6|0|1|MAISON||MAISON|M|A|I|S|O|N|-|-|||||||||23|"}}},
        {"bag counter 128", {{"Sac", "5", "128"}}},
        {"negative bag counter", {{"Sac", "5", "-1"}}},
        {"rack of 29", {{kScores, "Lettres Joueur 1", std::string(29, 'A')}}},
        {"board character", {{"Plateau", "3", "..#"}}},
        {"too many records", {{"Partie", "Nb Enreg. Recap", "32767"}}},
        {"negative records", {{"Partie", "Nb Enreg. Recap", "-2"}}},
    };
    for (const Cas& c : cas) {
        InTempDir ici;
        fixtures::partieNormale();
        partie.partieEnCours = 0;
        save_recap("h.qv2");
        modifier("h.qv2", c.changes);
        autrePartie();
        const Instantane avant = Instantane::prendre();
        MessageRecorder messages;
        EXPECT_FALSE(chargerRecapitulatif("h.qv2")) << c.nom;
        ASSERT_EQ(messages.boites().size(), 1u) << c.nom;
        EXPECT_EQ(messages.boites()[0].rfind("Le fichier 'h.qv2' n'est pas un r\351capitulatif valide (", 0), 0u)
            << messages.boites()[0];
        memeJeu(avant, Instantane::prendre());
    }
}

TEST(ChargementRecap, FichiersDuplicateHostiles) {
    const std::vector<std::vector<std::array<std::string, 3>>> cas = {
        {{"RecapTop", "Taille", "4"}},
        {{"RecapJoueurDuplicate2", "Taille", "40000"}},
        {{"RecapJoueurDuplicate3", "1", ""}},
    };
    for (const auto& changes : cas) {
        InTempDir ici;
        fixtures::partieDuplicate();
        save_recap("d.qv2");
        modifier("d.qv2", changes);
        autrePartie();
        MessageRecorder messages;
        EXPECT_FALSE(chargerRecapitulatif("d.qv2"));
        EXPECT_EQ(messages.boites().size(), 1u);
    }
}

TEST(ChargementRecap, FichiersBizarresMaisUtilisables) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieNormale();
    partie.partieEnCours = 0;
    partie.joueurs[0].nom = "%s%n%s";
    save_recap("b.qv2");
    // CRLF line ends, a short board line, a record with missing fields.
    std::string texte = lireFichier("b.qv2");
    replaceAllNb(texte, "\n", "\r\n");
    ecrireFichier("b.qv2", texte);
    modifier("b.qv2", {{"Plateau", "8", "...MAI"}, {"Recap", "2", "2|5"}, {"Plateau", "2", std::string(1 << 20, 'A')}});
    ASSERT_TRUE(chargerRecapitulatif("b.qv2"));
    EXPECT_EQ(partie.joueurs[0].nom, "%s%n%s");
    EXPECT_EQ(dicP.plateau[8][6], 'I');
    EXPECT_EQ(dicP.plateau[8][7], 0);
    EXPECT_EQ(dicP.plateau[2][15], 'A') << "a 1 MB line fills its row and no more";
    EXPECT_EQ(dicP.plateau[2][16], 0);
    EXPECT_EQ(v_histo[1].score, 5);
    EXPECT_EQ(v_histo[1].nbLettresPosees, 0) << "missing fields read 0, not the last field's value";
    EXPECT_EQ(v_histo[1].position, "");
    // A missing file and a folder are "not found".
    EXPECT_FALSE(chargerRecapitulatif("absent.qv2"));
    EXPECT_FALSE(chargerRecapitulatif("."));
    EXPECT_EQ(messages.boites(), (std::vector<std::string>{"Le fichier 'absent.qv2' est introuvable",
                                                           "Le fichier '.' est introuvable"}));
}

TEST(ChargementRecap, PartieEnCoursEtQuestion) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieNormale();
    save_recap("q.qv2");
    autrePartie();
    partie.partieEnCours = 1;
    const Instantane avant = Instantane::prendre();
    EXPECT_FALSE(chargerRecapitulatif("q.qv2"));
    ASSERT_EQ(messages.nombre(MessageRecorder::Message::Question), 1);
    EXPECT_EQ(messages.messages[0].texte, "Une partie est en cours\nsouhaitez-vous vraiment l'arreter ?");
    memeJeu(avant, Instantane::prendre());
    messages.reponsesQuestions.push_back(true);
    EXPECT_TRUE(chargerRecapitulatif("q.qv2"));
    EXPECT_EQ(partie.joueurs[0].nom, "Alice");
}

TEST(ChargementRecap, PartieSauveeAvantLePremierCoup) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieCommencee();
    save_recap("c.qv2");
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("c.qv2"));
    EXPECT_TRUE(partie.partieEnCours);
    EXPECT_EQ(partie.joueurEnCours, 0) << "the first turn is player 1's";
    EXPECT_EQ(partie.chevaletEnCours, "AEINRST");
}

namespace {

const char* const kAncienNormal =
    "[General]\nVersion=30\n"
    "[Plateau]\n8=...MAISON......\n"
    "[Scores finaux (tiennent compte du r\351ajustement)]\n"
    "Joueur 1=0,22\nNom Joueur 1=Alice\nLettres Joueur 1=EEIRSTU\n"
    "Joueur 2=6,0\nNom Joueur 2=Ordi\nLettres Joueur 2=ABCDEFG\n"
    "[Partie]\nDuplicate=non\nJoker Tessarel=non\nEn Cours=oui\nNb Joueurs=2\nTotal=22\nNb Enreg. Recap=1\n"
    "[Recap]\n1=1|22|6|0|1|MAISON||MAISON|M|A|I|S|O|N|-|-|AIMNOSE||AIMNOSE|| | | | "
    "|4|5|6|7|8|9|0|0|8|8|8|8|8|8|0|0|H4|0|0|0|0|0|0|0|0|0|0|0|0|0|0|-|-|-|-|-|-|-|2||\n";

const char* const kAncienDuplicate =
    "[General]\nVersion=27\n"
    "[Plateau]\n8=...MAISON......\n"
    "[Scores finaux (tiennent compte du r\351ajustement)]\n"
    "Joueur 1=0,20\nNom Joueur 1=Alice\nLettres Joueur 1=EERSTUV\n"
    "[Partie]\nDuplicate=oui\nJoker Tessarel=non\nEn Cours=oui\nNb Joueurs=1\nTotal=22\nNb Enreg. Recap=1\n"
    "[Recap]\n1=1|22|6|0|1|MAISON||MAISON|M|A|I|S|O|N|-|-|AIMNOSE||AIMNOSE|| | | | "
    "|4|5|6|7|8|9|0|0|8|8|8|8|8|8|0|0|H4|0|0|0|0|0|0|0|0|0|0|0|0|0|0|-|-|-|-|-|-|-|2||\n"
    "[RecapTop]\n0=AIMNOSE|22|22|6| |H4|MAISON|2\n1=EERT+SUV|0|22|0| |||0\n"
    "[RecapJoueurHumain]\nTaille=1\n0=AIMNOSE|20|20|6| |H5|MAISON| |MAISON\n";

}  // namespace

TEST(ChargementAncienneVersion, LeSacEstRejoueSansHorloge) {
    InTempDir ici;
    MessageRecorder messages;
    autrePartie();
    ecrireFichier("v30.qv2", kAncienNormal);
    ASSERT_TRUE(chargerRecapitulatif("v30.qv2"));
    EXPECT_TRUE(messages.boites().empty());
    // Record 1 takes its rack AIMNOSE out of the bag, then the six letters
    // drawn to replace MAISON: 102 - 7 - 6.
    EXPECT_EQ(partie.nbLettresSac, 89);
    EXPECT_EQ(partie.sac[1], 9 - 2);
    EXPECT_EQ(partie.sac[5], 15 - 1);
    EXPECT_EQ(partie.sac[13], 3 - 2);
    EXPECT_EQ(partie.joueurEnCours, 1) << "Ordi plays after Alice's move";
    EXPECT_TRUE(partie.partieEnCours);
    EXPECT_EQ(partie.chevaletEnCours, "ABCDEFG");
    EXPECT_EQ(dicP.plateau[8][4], 'M');
    EXPECT_FALSE(Fl::has_timeout(callbackChrono)) << "older files restart no clock";

    // Stopped: the game is shown, its flags as the file gives them.
    std::string stoppe = kAncienNormal;
    replaceAllNb(stoppe, "En Cours=oui", "En Cours=non");
    replaceAllNb(stoppe, "Joker Tessarel=non", "Joker Tessarel=oui");
    ecrireFichier("v30.qv2", stoppe);
    gl_menus.joker = false;
    messages.reponsesQuestions.push_back(true);  // end the game in progress
    ASSERT_TRUE(chargerRecapitulatif("v30.qv2"));
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_TRUE(partie.partieJoker);
    EXPECT_FALSE(gl_menus.boutonsActifs);
}

TEST(ChargementAncienneVersion, DuplicateDuSeulJoueurHumain) {
    InTempDir ici;
    MessageRecorder messages;
    autrePartie();
    ecrireFichier("v27.qv2", kAncienDuplicate);
    ASSERT_TRUE(chargerRecapitulatif("v27.qv2"));
    EXPECT_EQ(messages.boites(),
              (std::vector<std::string>{"Version un peu ancienne, le resultat n'est pas garanti",
                                        "Il s'agit d'une partie duplicate creee avec une version anterieure a la v1.3, "
                                        "seul le joueur humain sera traite"}));
    // The shared rack EERSTUV and the six tiles of MAISON leave the bag.
    EXPECT_EQ(partie.sac[5], 15 - 2);
    EXPECT_EQ(partie.sac[1], 9 - 1);
    ASSERT_EQ(saisie_duplicate[0].size(), 2u) << "the file's entry, then the open round's";
    EXPECT_EQ(saisie_duplicate[0][0].score, 20);
    EXPECT_EQ(saisie_duplicate[0][0].position, "H5");
    ASSERT_GE(result_best.size(), 2u);
    EXPECT_EQ(result_best[0].score, 22);
    EXPECT_EQ(result_best.back().tirage, "EERT+SUV") << "the draw of the round open in the file";
    EXPECT_TRUE(partie.partieEnCours);
    EXPECT_FALSE(Fl::has_timeout(callbackChrono));
}

TEST(ChargementRecap, DuplicateArreteeGardeTousSesTours) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieDuplicate();
    save_recap("dup.qv2");
    modifier("dup.qv2", {{"Partie", "En Cours", "non"}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("dup.qv2"));
    EXPECT_FALSE(partie.partieEnCours);
    // Saved again, the stopped game loses no round.
    save_recap("encore.qv2");
    const std::string avant = lireFichier("dup.qv2"), apres = lireFichier("encore.qv2");
    const std::string top = avant.substr(avant.find("[RecapTop]"), avant.find("[RecapTxt]") - avant.find("[RecapTop]"));
    EXPECT_NE(apres.find(top), std::string::npos) << apres;
}
