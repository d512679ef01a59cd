#include "widgets/Fl_File_Chooser2.h"

#include "display/Fl_Pix_Button2.h"
#include "display/chargerpeau.h"
#include "support/ModalDriver.h"
#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Tile.H>
#include <FL/fl_ask.H>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Chooser = Fl_File_Chooser2;
using Textes = std::vector<std::string>;

Textes lignes(const Fl_Browser* b) {
    Textes v;
    for (int i = 1; i <= b->size(); ++i) v.push_back(b->text(i));
    return v;
}

Textes entrees(const Fl_Menu_* m) {
    Textes v;
    for (int i = 0; i < m->size() - 1; ++i)
        if (m->menu()[i].label()) v.push_back(m->menu()[i].label());
    return v;
}

void choisir(Fl_Menu_* m, const std::string& libelle) {
    for (int i = 0; i < m->size() - 1; ++i)
        if (m->menu()[i].label() && libelle == m->menu()[i].label()) return void(m->picked(&m->menu()[i]));
    ADD_FAILURE() << "no entry " << libelle;
}

int ligneDe(const Fl_Browser* b, const std::string& texte) {
    for (int i = 1; i <= b->size(); ++i)
        if (texte == b->text(i)) return i;
    return 0;
}

// A click or a double click on a line, as the list's callback sees them.
void clic(Fl_Browser* b, const char* ligne, bool deux = false) {
    b->select(ligneDe(b, ligne));
    for (int n = 0; n <= int(deux); ++n) {
        Fl::event_clicks(n);
        b->do_callback();
    }
    Fl::event_clicks(0);
}

std::string texte(const char* s) { return s ? s : "<null>"; }

void taper(Fl_Widget* w, const char* texte) {
    for (const char* c = texte; *c; ++c) {
        const char t[2] = {*c, 0};
        qvtest::key(w, *c, 0, t);
    }
}

// Types into the toolkit's input dialog, replacing its default, and confirms.
void repondre(Fl_Window& w, const char* texte) {
    for (int i = 0; i < w.children(); ++i)
        if (Fl_Input* in = dynamic_cast<Fl_Input*>(w.child(i))) {
            in->take_focus();
            in->position(in->size(), 0);
        }
    taper(&w, texte);
    qvtest::clickWidget(qvtest::findWidget(&w, fl_ok));
}

std::string geometrie(const Fl_Widget* w) {
    return std::to_string(w->x()) + "," + std::to_string(w->y()) + "," + std::to_string(w->w()) + "," +
           std::to_string(w->h());
}

void attendre(double secondes) {
    const auto fin = std::chrono::steady_clock::now() + std::chrono::duration<double>(secondes);
    while (std::chrono::steady_clock::now() < fin) Fl::wait(0.05);
}

// Each test runs in a fresh current folder holding ABC.qv2, abd.txt,
// zebra.qv2, zeta.qv2, notes.dat and sub/.
class FileChooser2 : public ::testing::Test {
protected:
    FileChooser2() {
        for (const char* f : {"ABC.qv2", "abd.txt", "zebra.qv2", "zeta.qv2", "notes.dat"}) ecrireFichier(f, "x");
        mkdir("sub", 0755);
    }
    std::string p(const std::string& n) const { return dir.file(n); }
    Chooser& ouvrir(int type) {
        c = std::make_unique<Chooser>(d.c_str(), "*", type, "t", false, false);
        return *c;
    }

    InTempDir dir;
    const std::string d = dir.dir().path();
    std::unique_ptr<Chooser> c;
};

TEST_F(FileChooser2, FoldersAreNormalisedUpToTheRoot) {
    const std::string ici = std::filesystem::current_path().string();
    const std::vector<std::pair<const char*, std::string>> cas = {
        {"/t/a/b/..", "/t/a"}, {"/a/..", "/"}, {"/..", "/"}, {"/a/.", "/a"}, {"/a/b/", "/a/b"}, {"/", "/"},
        {"//", "/"},           {"/.", "/"},    {"", ""},     {"x", ici + "/x"}, {nullptr, ici}};
    for (const auto& [entree, attendu] : cas)
        EXPECT_EQ(Chooser::normaliserDossier(entree), attendu) << (entree ? entree : "null");

    ouvrir(Chooser::MULTI | Chooser::CREATE).directory("/etc/..");
    EXPECT_EQ(std::string(c->directory()) + "|" + c->fileName->value(), "/|/");
    EXPECT_EQ(c->count(), 0);  // the folder itself
    c->value("/no-such-file");  // a file right under the root
    EXPECT_EQ(c->type(), Chooser::CREATE);
    EXPECT_EQ(std::string(c->directory()) + "|" + c->value(), "/|/no-such-file");
    EXPECT_EQ(c->count(), true);
    EXPECT_TRUE(c->okButton->active());
    c->value("");  // the mounted file systems, which typing does not leave
    EXPECT_EQ(c->value(), nullptr);
    EXPECT_FALSE(c->okButton->active());
    taper(c->fileName, "z");
    EXPECT_EQ(std::string(c->directory()) + "|" + c->fileName->value(), "|z");
}

TEST_F(FileChooser2, BothWindowsAreLaidOutWithTheSkinBackground) {
    Fl_RGB_Image fond(reinterpret_cast<const uchar*>("\377\0\0"), 1, 1, 3);
    imgFondsMsg = &fond;
    ouvrir(Chooser::SINGLE);
    imgFondsMsg = nullptr;
    EXPECT_NE(c->window->child(0)->image(), nullptr);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "ABC.qv2", "abd.txt", "notes.dat", "zebra.qv2", "zeta.qv2"}));
    const Fl_Group *ligne = c->previewButton->parent(), *boutons = c->okButton->parent();
    const std::string centre = std::to_string((Fl::w() - 490) / 2) + "," + std::to_string((Fl::h() - 380) / 2);
    const std::vector<std::pair<const Fl_Widget*, std::string>> attendu = {
        {c->window, centre + ",490,380"},     {c->window->child(0), "0,0,490,380"},
        {c->showChoice->parent(), "65,10,415,25"}, {c->showChoice, "65,10,215,25"},
        {c->favoritesButton, "290,10,155,25"}, {c->newButton, "455,10,25,25"},
        {c->tile, "10,45,470,225"},           {c->fileList, "10,45,320,225"},  // preview: 2/3 of its height
        {c->previewBox, "330,45,150,225"},    {c->fileName->parent(), "0,275,480,95"},
        {ligne, "10,275,470,20"},             {ligne->resizable(), "10,275,395,20"},
        {c->previewButton, "10,275,170,20"},  {c->fileName, "85,300,395,35"},
        {qvtest::findWidget(c->window, "Filename:"), "0,310,85,25"},
        {boutons, "10,345,470,25"},           {boutons->resizable(), "10,345,300,25"},
        {c->okButton, "320,345,75,25"},       {c->cancelButton, "405,345,75,25"},
        {c->favList, "10,10,300,95"},         {c->favUpButton, "320,10,25,25"},
        {c->favDeleteButton, "320,45,25,25"}, {c->favDownButton, "320,80,25,25"},
        {c->favCancelButton, "270,115,75,25"}, {c->favOkButton, "185,115,75,25"}};
    for (const auto& [w, g] : attendu) EXPECT_EQ(geometrie(w), g) << (w->label() ? w->label() : "");
    EXPECT_EQ(c->favWindow->w() * 1000 + c->favWindow->h(), 355150);
    for (const Fl_Pix_Button2* b : {c->okButton, c->cancelButton, c->favOkButton, c->favCancelButton})
        EXPECT_EQ(b->etat(), 2);
    for (const char* l : {"Show:", "Favorites", "Preview", "Filename:", "Ok", "Annuler"})
        EXPECT_NE(qvtest::findWidget(c->window, l), nullptr) << l;
    EXPECT_STREQ(c->favWindow->label(), "Manage Favorites");
    EXPECT_EQ(c->previewButton->shortcut(), FL_ALT + 'p');
    EXPECT_EQ(c->favList->type(), FL_HOLD_BROWSER);
    EXPECT_EQ(c->previewBox->box(), FL_DOWN_BOX);
    c->textsize(20);  // icons grow with the text
    EXPECT_EQ(c->textsize() * 100 + c->iconsize(), 2030);
    c->window->position(0, 0);
    c->show();
    EXPECT_EQ(geometrie(c->window), attendu[0].second);
    c->hide();
    c->window->size(690, 480);  // the list grows, the controls keep their size
    EXPECT_EQ(geometrie(c->tile) + " " + geometrie(c->newButton) + " " + geometrie(c->okButton),
              "10,45,670,325 478,10,25,25 520,445,75,25");
}

TEST_F(FileChooser2, SeveralFilesAreChosenInMultiMode) {
    ouvrir(Chooser::MULTI);
    EXPECT_EQ(c->fileList->type(), FL_MULTI_BROWSER);
    auto selectionner = [this]() {
        for (const char* l : {"zeta.qv2", "sub/", "ABC.qv2"}) c->fileList->select(ligneDe(c->fileList, l));
    };
    selectionner();
    EXPECT_EQ(c->count(), 2);  // folders are no choice
    EXPECT_EQ(texte(c->value(1)) + " " + texte(c->value(2)), p("ABC.qv2") + " " + p("zeta.qv2"));
    EXPECT_EQ(c->value(3), nullptr);
    taper(c->fileName, "zeta.qv2");  // the whole name: its line alone
    EXPECT_EQ(c->count(), true);
    EXPECT_EQ(texte(c->value(1)), p("zeta.qv2"));

    c->value(p("zeta.qv2").c_str());  // one file, its line selected
    EXPECT_EQ(c->fileList->type(), FL_HOLD_BROWSER);
    EXPECT_EQ(c->fileList->value(), ligneDe(c->fileList, "zeta.qv2"));
    EXPECT_EQ(c->fileName->mark(), 0);  // all of the name selected

    c->type(Chooser::DIRECTORY);  // folders only, and a folder is a choice
    c->directory(d.c_str());
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/"}));
    EXPECT_TRUE(c->okButton->active());
    c->fileName->value((p("sub") + "/").c_str());
    EXPECT_EQ(texte(c->value()), p("sub"));
}

TEST_F(FileChooser2, FiltersListTheirEntriesAndApplyTheirPattern) {
    struct Cas {
        const char* motifs;
        Textes entrees;
        std::string filtre;
    };
    const std::vector<Cas> cas = {
        {"*", {"All Files (*)", "Custom Filter"}, "*"},
        {nullptr, {"All Files (*)", "Custom Filter"}, "*"},
        {"*.qv2\t*.txt", {"*.qv2", "*.txt", "All Files (*)", "Custom Filter"}, "*.qv2"},
        {"R (*.qv2)\tTout (*)", {"R (*.qv2)", "Tout (*)", "Custom Filter"}, "*.qv2"},
        {"Bad (*.qv2", {"Bad (*.qv2", "All Files (*)", "Custom Filter"}, "*.qv2"},
        {"a/b & c@d", {"a/b && c@@d", "All Files (*)", "Custom Filter"}, "a/b & c@d"},
    };
    ouvrir(Chooser::SINGLE);
    for (const Cas& k : cas) {
        c->filter(k.motifs);
        EXPECT_EQ(entrees(c->showChoice), k.entrees) << k.motifs;
        EXPECT_EQ(c->filter(), k.filtre) << k.motifs;
        EXPECT_EQ(c->filter_value(), 0);
    }
    c->filter("*.qv2\t*.txt");
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "ABC.qv2", "zebra.qv2", "zeta.qv2"}));
    c->filter_value(1);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "abd.txt"}));

    qvtest::ModalDriver driver;
    driver.onModal([](Fl_Window& w) { repondre(w, "*.dat"); });
    c->filter_value(3);  // "Custom Filter"
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(entrees(c->showChoice), (Textes{"*.qv2", "*.txt", "All Files (*)", "Custom Filter", "*.dat"}));
    EXPECT_EQ(c->filter_value(), 4);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "notes.dat"}));
}

TEST_F(FileChooser2, CompletionKeepsWhatWasTypedAndSelectsTheRest) {
    for (int i = 0; i < 30; ++i) ecrireFichier("m" + std::to_string(i), "x");  // the z lines lie below the fold
    ouvrir(Chooser::CREATE).show();
    c->window->wait_for_expose();
    auto etat = [this]() {
        const std::string v = c->fileName->value();
        const size_t m = size_t(std::min(c->fileName->mark(), c->fileName->position()));
        return v.substr(0, m) + "[" + v.substr(m) + "]";
    };
    taper(c->fileName, "z");
    EXPECT_EQ(etat(), d + "/z[e]");  // zebra and zeta share "ze"
    qvtest::flushDrawing();
    EXPECT_TRUE(c->fileList->displayed(ligneDe(c->fileList, "zebra.qv2")));
    taper(c->fileName, "et");
    EXPECT_EQ(etat(), d + "/zet[a.qv2]");
    taper(c->fileName, "a.qv2");
    EXPECT_EQ(etat(), d + "/zeta.qv2[]");
    EXPECT_EQ(c->fileList->value(), ligneDe(c->fileList, "zeta.qv2"));
    EXPECT_TRUE(c->okButton->active());
    taper(c->fileName, "x");  // matching nothing leaves the list alone
    EXPECT_EQ(c->fileList->value(), ligneDe(c->fileList, "zeta.qv2"));
    c->fileName->position(0, c->fileName->size());
    qvtest::key(c->fileName, FL_Delete);  // an empty name is no choice
    EXPECT_FALSE(c->okButton->active());
    c->fileName->value((d + "/").c_str());
    taper(c->fileName, "su");  // a folder is no file to choose
    EXPECT_EQ(etat(), d + "/su[b]");
    EXPECT_FALSE(c->okButton->active());

    c->fileName->value((d + "/").c_str());
    taper(c->fileName, "abc");  // the file is ABC.qv2: the typed case stays
    EXPECT_EQ(etat(), d + "/abc[.qv2]");
    qvtest::key(c->fileName, FL_BackSpace);
    EXPECT_EQ(c->fileList->value(), 0);
    EXPECT_FALSE(c->okButton->active());

    c->fileName->value("/");
    c->fileName->position(1);
    taper(c->fileName, "et");  // a folder right under the root
    EXPECT_STREQ(c->directory(), "/");
    EXPECT_EQ(etat(), "/et[c]");
    c->hide();
}

TEST_F(FileChooser2, FrontEndReturnsTheChoiceOrNothing) {
    detruireFileChooser2();
    qvtest::ModalDriver driver;
    Textes vus;
    auto voir = [&vus](Fl_Window& w) {
        vus.push_back(std::string(w.label()) + " " + fileChooser2Partage()->filter() + " " +
                      fileChooser2Partage()->fileName->value());
    };
    driver.onModal([&](Fl_Window& w) {
        voir(w);
        taper(&w, "partie.qv2");
        qvtest::clickWidget(fileChooser2Partage()->okButton);
    });
    driver.onModal([&](Fl_Window& w) {  // another pattern: the folder stays, the name goes
        EXPECT_EQ(fileChooser2Partage()->type(), Chooser::CREATE);
        voir(w);
        clic(fileChooser2Partage()->fileList, "sub/", true);
        voir(w);
        clic(fileChooser2Partage()->fileList, "../", true);
        voir(w);
        clic(fileChooser2Partage()->fileList, "abd.txt", true);
    });
    driver.onModal([&](Fl_Window& w) {  // the same pattern: the name stays
        voir(w);
        w.do_callback();  // the close box
    });
    driver.onModal([&](Fl_Window& w) {
        taper(&w, "x");
        qvtest::clickWidget(fileChooser2Partage()->cancelButton);
    });
    // A typed name is relative to the working folder.
    EXPECT_STREQ(fl_file_chooser2("Sauver dans:", "*.qv2", "sub", 1, 0), "partie.qv2");
    fileChooser2Partage()->type(Chooser::SINGLE);  // every question accepts new names again
    EXPECT_EQ(texte(fl_file_chooser2("Charger", "Texte (*.txt)", nullptr, 0, 0)), p("abd.txt"));
    EXPECT_EQ(fl_file_chooser2("Lire", "*.txt", "", 1, 0), nullptr);
    EXPECT_EQ(fl_file_chooser2("Lire", "*", "", 1, 0), nullptr);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(vus, (Textes{"Sauver dans: *.qv2 " + p("sub") + "/", "Charger *.txt " + d + "/",
                           "Charger *.txt " + p("sub") + "/", "Charger *.txt " + d + "/",
                           "Lire *.txt " + p("abd.txt")}));
    EXPECT_FALSE(fileChooser2Partage()->previewButton->visible() || fileChooser2Partage()->previewButton->active());
    detruireFileChooser2();
    EXPECT_EQ(fileChooser2Partage(), nullptr);
}

TEST_F(FileChooser2, EnterOnAMissingFileAlertsUnlessNewNamesAreAccepted) {
    ouvrir(Chooser::SINGLE);
    Textes choix;
    c->callback([](Chooser* ch, void* v) { static_cast<Textes*>(v)->push_back(ch->value()); }, &choix);
    bool alerte = false;
    qvtest::ModalDriver driver;
    driver.onModal([&](Fl_Window&) {
        taper(c->fileName, "zeta.qv");
        EXPECT_TRUE(c->okButton->active());  // an existing file
        c->fileName->value("");
        taper(c->fileName, "nouveau");
        EXPECT_FALSE(c->okButton->active());
        qvtest::key(c->fileName, FL_Enter, 0, "\r");
    });
    driver.onModal([&](Fl_Window& w) {
        alerte = qvtest::findWidget(&w, Chooser::existing_file_label);
        w.hide();
    });
    driver.after(0.05, [&]() {
        EXPECT_TRUE(c->shown());
        c->type(Chooser::CREATE);
        qvtest::key(c->fileName, FL_Enter, 0, "\r");
    });
    c->show();
    while (c->shown()) Fl::wait();
    EXPECT_TRUE(alerte);
    c->type(Chooser::SINGLE);  // an existing file, named relative to the working folder
    driver.onModal([&](Fl_Window&) {
        c->fileName->value("./notes.dat");
        qvtest::key(c->fileName, FL_Enter, 0, "\r");
    });
    c->show();
    while (c->shown()) Fl::wait();
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(choix, (Textes{p("nouveau"), p("notes.dat")}));
}

TEST_F(FileChooser2, NewFolderIsCreatedOpenedOrRefused) {
    ouvrir(Chooser::CREATE);
    Textes alertes;
    qvtest::ModalDriver driver;
    auto alerte = [&](Fl_Window& w) {
        for (int e : {EEXIST, ENOTDIR})
            if (qvtest::findWidget(&w, std::strerror(e))) alertes.push_back(std::strerror(e));
        w.hide();
    };
    driver.onModal([](Fl_Window& w) { repondre(w, "neuf"); }).onModal(alerte).onModal(alerte);
    c->newdir();
    struct stat st {};
    ASSERT_EQ(stat(p("neuf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0700, 0700u);
    EXPECT_EQ(c->directory(), p("neuf"));
    c->newdir(p("ABC.qv2").c_str());  // an existing file is no folder
    c->newdir((p("ABC.qv2") + "/x").c_str());
    EXPECT_EQ(c->directory(), p("neuf"));
    c->newdir(p("sub").c_str());  // an existing folder opens
    EXPECT_EQ(c->directory(), p("sub"));
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(alertes, (Textes{std::strerror(EEXIST), std::strerror(ENOTDIR)}));
}

TEST_F(FileChooser2, FavouritesAreAddedMovedAndDeletedInThePreferences) {
    // Emptied rather than deleted: the toolkit does not free a deleted entry.
    auto remplir = [](int n, const char* valeur) {
        for (int i = 0; i < n; ++i) Chooser::prefs_.set(Fl_Preferences::Name("favorite%02d", i), valeur);
    };
    auto stockes = []() {
        Textes v;
        for (int i = 0; i < 4; ++i) {
            char buf[1024];
            Chooser::prefs_.get(Fl_Preferences::Name("favorite%02d", i), buf, "?", sizeof buf);
            v.push_back(buf);
        }
        return v;
    };
    remplir(101, "");
    ouvrir(Chooser::CREATE);
    const std::string A = p("sub"), B = d, C = "/";
    for (const std::string& x : {A, B, C, std::string()}) {  // the file systems have no path
        c->directory(x.c_str());
        choisir(c->favoritesButton, "Add to Favorites");
    }
    EXPECT_EQ(stockes(), (Textes{A, B, C, ""}));
    const int n = c->favoritesButton->size() - 1;
    EXPECT_EQ(c->favoritesButton->menu()[n - 1].shortcut(), FL_ALT + '2');
    EXPECT_EQ(entrees(c->favoritesButton),
              (Textes{"Add to Favorites", "Manage Favorites", "My Computer", getenv("HOME"), A, B, C}));
    choisir(c->favoritesButton, A);
    EXPECT_EQ(c->directory(), A);

    auto gerer = [this](int ligne) {
        choisir(c->favoritesButton, "Manage Favorites");
        c->favList->select(ligne);
        c->favList->do_callback();
    };
    auto actifs = [this]() {
        std::string s;
        for (Fl_Widget* b : {(Fl_Widget*)c->favUpButton, (Fl_Widget*)c->favDeleteButton,
                             (Fl_Widget*)c->favDownButton, (Fl_Widget*)c->favOkButton})
            s += b->active() ? "1" : "0";
        return s;
    };
    gerer(1);
    qvtest::clickWidget(c->favDownButton);
    qvtest::clickWidget(c->favCancelButton);
    choisir(c->favoritesButton, "Manage Favorites");
    ASSERT_TRUE(c->favWindow->shown());
    int sx = 0, sy = 0;
    Fl::get_mouse(sx, sy);
    EXPECT_EQ(c->favWindow->x() + 160, sx);  // the list under the pointer
    EXPECT_EQ(lignes(c->favList), (Textes{A, B, C}));
    EXPECT_EQ(actifs(), "0000");
    c->favList->select(3);
    c->favList->do_callback();
    EXPECT_EQ(actifs(), "1100");
    qvtest::clickWidget(c->favUpButton);  // A C B
    EXPECT_EQ(c->favList->value(), 2);
    c->favList->select(1);
    c->favList->do_callback();
    c->favoritesWindowCB(c->favUpButton);  // nothing above the first line
    qvtest::clickWidget(c->favDeleteButton);  // C B
    EXPECT_EQ(c->favList->value(), true);
    qvtest::clickWidget(c->favDownButton);  // B C
    EXPECT_EQ(c->favList->value(), 2);
    EXPECT_EQ(lignes(c->favList), (Textes{B, C}));
    qvtest::clickWidget(c->favOkButton);
    EXPECT_FALSE(c->favWindow->shown());
    EXPECT_EQ(stockes(), (Textes{B, C, "", ""}));
    EXPECT_EQ(c->nbFavoris(), 2);

    gerer(1);
    qvtest::clickWidget(c->favDeleteButton);
    qvtest::clickWidget(c->favDeleteButton);
    EXPECT_EQ(actifs(), "0001");  // nothing left to move or delete
    qvtest::clickWidget(c->favCancelButton);
    EXPECT_EQ(stockes(), (Textes{B, C, "", ""}));
    choisir(c->favoritesButton, "Manage Favorites");
    c->favWindow->do_callback();  // its close box
    EXPECT_FALSE(c->favWindow->shown());
    choisir(c->favoritesButton, "My Computer");
    EXPECT_STREQ(c->directory(), "");
    choisir(c->favoritesButton, getenv("HOME"));
    EXPECT_EQ(c->directory(), Chooser::normaliserDossier(getenv("HOME")));

    remplir(101, "/");  // a full list takes no more
    choisir(c->favoritesButton, "Add to Favorites");
    EXPECT_EQ(c->nbFavoris(), 100);
    EXPECT_FALSE(c->favoritesButton->menu()[0].active());
    remplir(101, "");
}

TEST_F(FileChooser2, PreviewShowsTextOrAScaledImage) {
    ecrireFichier("texte.txt", "ligne 1\n@bold\tfin\n");
    ecrireFichier("binaire.dat", "abc\200def");
    const auto ppm = [](int w, int h) { return "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n" +
                                               std::string(size_t(w * h * 3), '\x40'); };
    ecrireFichier("large.ppm", ppm(400, 100));
    ecrireFichier("fil.ppm", ppm(400, 1));
    ecrireFichier("mince.ppm", ppm(1, 400));
    ecrireFichier("petit.ppm", ppm(50, 40));
    const std::string xbm = "#define v_width 0\n#define v_height 4\nstatic char v_bits[] = {0};\n";
    ecrireFichier("vide.xbm", xbm);
    ouvrir(Chooser::SINGLE).show();
    auto apercu = [this](const char* nom) {
        c->value(nom);
        c->update_preview();
        const Fl_Image* im = c->previewBox->image();
        return std::string(c->previewBox->label() ? c->previewBox->label() : "<none>") + "|" + c->previewText() +
               "|" + (im ? std::to_string(im->w()) + "x" + std::to_string(im->h()) : "-");
    };
    EXPECT_EQ(apercu("texte.txt"), "ligne 1\n@@bold\tfin\n|ligne 1\n@bold\tfin\n|-");
    EXPECT_EQ(c->previewBox->labelfont(), FL_COURIER);
    EXPECT_EQ(apercu("binaire.dat"), "?||-");
    EXPECT_EQ(c->previewBox->labelsize(), 100);
    const std::vector<std::pair<const char*, std::string>> images = {
        {"large.ppm", "<none>||130x32"},  // 150 - 20 wide
        {"petit.ppm", "<none>||50x40"},
        {"fil.ppm", "?||-"},  // scaled to no height at all
        {"mince.ppm", "?||-"},  // nor width
        {"vide.xbm", xbm + "|" + xbm + "|-"}};  // no picture: its text
    for (const auto& [nom, vu] : images) EXPECT_EQ(apercu(nom), vu) << nom;
    c->previewBox->size(15, 225);  // no room at all
    EXPECT_EQ(apercu("large.ppm"), "?||-");

    // Off, then on again: the preview is shown at once.
    c->preview(0);
    EXPECT_EQ(geometrie(c->fileList) + " " + geometrie(c->previewBox), "10,45,470,225 480,45,0,225");
    int stocke = -1;
    Chooser::prefs_.get("preview", stocke, -1);
    EXPECT_EQ(stocke, 0);
    c->value("texte.txt");
    c->preview(1);
    EXPECT_STREQ(c->previewText(), "ligne 1\n@bold\tfin\n");

    // A click on a line shows its preview a second later; Cancel drops it.
    int rappels = 0;
    c->callback([](Chooser*, void* n) { ++*static_cast<int*>(n); }, &rappels);
    c->value("");
    c->directory(d.c_str());
    clic(c->fileList, "sub/");
    EXPECT_EQ(c->fileName->value(), p("sub"));
    EXPECT_FALSE(c->okButton->active());  // a folder is no file to choose
    EXPECT_EQ(rappels, true);
    clic(c->fileList, "texte.txt");
    EXPECT_TRUE(c->okButton->active());
    EXPECT_STREQ(c->previewText(), "");
    attendre(1.3);
    EXPECT_STREQ(c->previewBox->label(), "ligne 1\n@@bold\tfin\n");
    clic(c->fileList, "binaire.dat");
    qvtest::clickWidget(c->cancelButton);
    attendre(1.3);
    EXPECT_STREQ(c->previewText(), "ligne 1\n@bold\tfin\n");
}

}  // namespace
