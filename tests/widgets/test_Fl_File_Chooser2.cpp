#include "widgets/Fl_File_Chooser2.h"

#include "app/interface.h"
#include "display/Fl_Pix_Button2.h"
#include "display/chargerpeau.h"
#include "engine/params.h"
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

#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
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
    for (int i = 0; i < m->size() - 1; ++i) v.push_back(m->menu()[i].label() ? m->menu()[i].label() : "");
    return v;
}

void choisir(Fl_Menu_* m, const std::string& libelle) {
    const Textes e = entrees(m);
    const auto i = std::find(e.begin(), e.end(), libelle);
    ASSERT_NE(i, e.end()) << libelle;
    m->picked(&m->menu()[i - e.begin()]);
}

int ligneDe(const Fl_Browser* b, const std::string& texte) {
    const Textes l = lignes(b);
    return int(std::find(l.begin(), l.end(), texte) - l.begin()) + 1;
}

// A click or a double click on a line, as the list's callback sees them.
void clic(Fl_Browser* b, const char* ligne, bool deux = false) {
    b->select(ligneDe(b, ligne));
    for (int n = 0; n <= int(deux); ++n) Fl::event_clicks(n), b->do_callback();
    Fl::event_clicks(0);
}

std::string texte(const char* s) { return s ? s : "<null>"; }

void taper(Fl_Widget* w, const char* texte) {
    for (const char* c = texte; *c; ++c) qvtest::key(w, *c, 0, std::string(1, *c).c_str());
}

// The whole text selected, as the focus leaves it, so that typing replaces
// it whenever the server's focus events come.
void toutChoisi(Fl_Input* in) { in->position(in->size(), 0); }

// Types into the toolkit's input dialog, replacing its default, and confirms.
void repondre(Fl_Window& w, const char* texte) {
    for (int i = 0; i < w.children(); ++i)
        if (Fl_Input* in = dynamic_cast<Fl_Input*>(w.child(i))) in->take_focus(), in->position(in->size(), 0);
    taper(&w, texte);
    qvtest::clickWidget(qvtest::findWidget(&w, fl_ok));
}

std::string geometrie(const Fl_Widget* w) {
    return std::to_string(w->x()) + "," + std::to_string(w->y()) + "," + std::to_string(w->w()) + "," +
           std::to_string(w->h());
}

// Sets the typed name, then a key (Enter) ends it.
void saisie(Chooser& c, const std::string& nom, int touche = 0) {
    c.fileName->value(nom.c_str());
    c.fileName->position(c.fileName->size());
    if (touche) qvtest::key(c.fileName, touche, 0, "\r");
}

// The shared chooser waits for the user, no alert over it.
bool attendUnChoix() {
    const Fl_File_Chooser2* f = fileChooser2Partage();
    return f && f->shown() && Fl::modal() == f->window;
}

// An alert of the chooser on screen.
Fl_Window* uneAlerte() {
    Fl_Window* w = qvtest::shownWindowWith(Fl_File_Chooser2::path_too_long_label);
    return w ? w : qvtest::shownWindowWith(Fl_File_Chooser2::existing_file_label);
}

// Whether a gesture raises no alert; one that comes is closed, so that the
// test fails rather than waits.
bool sansAlerte(const std::function<void()>& geste) {
    qvtest::ModalDriver driver;
    bool alerte = false;
    driver.onShown(uneAlerte, [&alerte](Fl_Window& w) { alerte = true, w.hide(); });
    geste();
    return !alerte;
}

// Runs `action` on the shared chooser's window once it waits alone.
void auChoix(qvtest::ModalDriver& driver, std::function<void(Fl_Window&)> action) {
    driver.when(attendUnChoix, [action]() { action(*fileChooser2Partage()->window); });
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
        // An input given the focus places its cursor by the last key the
        // toolkit saw: a key left by an earlier test must not move it.
        Fl::e_keysym = 0;
        Fl::e_state = 0;
        for (const char* f : {"ABC.qv2", "abd.txt", "zebra.qv2", "zeta.qv2", "notes.dat"}) ecrireFichier(f, "x");
        mkdir("sub", 0755);
    }
    std::string p(const std::string& n) const { return dir.file(n); }
    Chooser& ouvrir(int type) { return *(c = std::make_unique<Chooser>(d.c_str(), "*", type, "t", false, false)); }
    InTempDir dir;
    const std::string d = dir.dir().path();
    std::unique_ptr<Chooser> c;
};

TEST_F(FileChooser2, FoldersAreNormalisedUpToTheRoot) {
    const std::string ici = std::filesystem::current_path().string();
    const std::vector<std::pair<const char*, std::string>> cas = {
        {"/t/a/b/..", "/t/a"}, {"/a/..", "/"}, {"/..", "/"}, {"/a/.", "/a"}, {"/a/b/", "/a/b"}, {"/", "/"},
        {"//", "/"},           {"/.", "/"},    {"", ""},     {"x", ici + "/x"}, {nullptr, ici},
        {"absent/..", ici}};  // what the system cannot follow goes by the text
    for (const auto& [entree, attendu] : cas) EXPECT_EQ(Chooser::normaliserDossier(entree), attendu) << texte(entree);

    ouvrir(Chooser::MULTI | Chooser::CREATE).directory("/etc/..");
    EXPECT_EQ(std::string(c->directory()) + "|" + c->fileName->value() + "|" + std::to_string(c->count()), "/|/|0");
    c->value("/no-such-file");  // a file right under the root
    EXPECT_EQ(c->type(), Chooser::CREATE);
    EXPECT_EQ(std::string(c->directory()) + "|" + c->value() + "|" + std::to_string(c->count()), "/|/no-such-file|1");
    EXPECT_TRUE(c->okButton->active());
    c->value("");  // the mounted file systems, which typing does not leave
    EXPECT_FALSE(c->value() || c->okButton->active());
    taper(c->fileName, "z");
    EXPECT_EQ(std::string(c->directory()) + "|" + c->fileName->value(), "|z");
}

TEST_F(FileChooser2, BothWindowsAreLaidOutWithTheSkinBackground) {
    Fl_RGB_Image fond(reinterpret_cast<const uchar*>("\377\0\0"), 1, 1, 3);
    imgFondsMsg = &fond, ouvrir(Chooser::SINGLE), imgFondsMsg = nullptr;
    EXPECT_NE(c->window->child(0)->image(), nullptr);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "ABC.qv2", "abd.txt", "notes.dat", "zebra.qv2", "zeta.qv2"}));
    const Fl_Group *ligne = c->previewButton->parent(), *boutons = c->okButton->parent();
    const std::string centre = std::to_string((Fl::w() - 490) / 2) + "," + std::to_string((Fl::h() - 380) / 2);
    const std::vector<std::pair<const Fl_Widget*, std::string>> attendu = {
        {c->window, centre + ",490,380"}, {c->window->child(0), "0,0,490,380"}, {c->tile, "10,45,470,225"},
        {c->showChoice->parent(), "10,10,470,25"}, {c->showChoice, "65,10,215,25"}, {c->newButton, "455,10,25,25"},
        {c->favoritesButton, "290,10,155,25"}, {c->fileList, "10,45,320,225"}, {c->previewBox, "330,45,150,225"},
        {c->fileName->parent(), "0,275,480,95"}, {ligne, "10,275,470,20"}, {ligne->resizable(), "10,275,395,20"},
        {c->previewButton, "10,275,170,20"}, {c->fileName, "85,300,395,35"}, {boutons, "10,345,470,25"},
        {qvtest::findWidget(c->window, "Filename:"), "0,310,85,25"}, {boutons->resizable(), "10,345,300,25"},
        {c->okButton, "320,345,75,25"}, {c->cancelButton, "405,345,75,25"}, {c->favList, "10,10,300,95"},
        {c->favUpButton, "320,10,25,25"}, {c->favDeleteButton, "320,45,25,25"}, {c->favDownButton, "320,80,25,25"},
        {c->favCancelButton, "270,115,75,25"}, {c->favOkButton, "185,115,75,25"}};
    for (const auto& [w, g] : attendu) EXPECT_EQ(geometrie(w), g) << texte(w->label());
    EXPECT_EQ(c->favWindow->w() * 1000 + c->favWindow->h(), 355150);
    for (const Fl_Pix_Button2* b : {c->okButton, c->cancelButton, c->favOkButton, c->favCancelButton})
        EXPECT_EQ(b->etat(), 2);
    for (const char* l : {"Show:", "Favorites", "Preview", "Filename:", "Ok", "Annuler"})
        EXPECT_NE(qvtest::findWidget(c->window, l), nullptr) << l;
    EXPECT_STREQ(c->favWindow->label(), "Manage Favorites");
    EXPECT_EQ(c->previewButton->shortcut(), FL_ALT + 'p');
    EXPECT_TRUE(c->favList->type() == FL_HOLD_BROWSER && c->previewBox->box() == FL_DOWN_BOX);
    c->textsize(20);  // icons grow with the text
    EXPECT_EQ(c->textsize() * 100 + c->iconsize(), 2030);
    c->window->position(0, 0), c->show();  // centred again
    EXPECT_EQ(geometrie(c->window), attendu[0].second);
    c->hide();
    c->window->size(690, 480);  // the list grows, the controls keep their size
    EXPECT_EQ(geometrie(c->tile) + " " + geometrie(c->newButton) + " " + geometrie(c->okButton),
              "10,45,670,325 455,10,25,25 520,445,75,25");
}

TEST_F(FileChooser2, SeveralFilesAreChosenInMultiMode) {
    ouvrir(Chooser::MULTI);
    EXPECT_EQ(c->fileList->type(), FL_MULTI_BROWSER);
    for (const char* l : {"zeta.qv2", "sub/", "ABC.qv2"}) c->fileList->select(ligneDe(c->fileList, l));
    EXPECT_EQ(c->count(), 2);  // folders are no choice
    EXPECT_EQ(texte(c->value(1)) + " " + texte(c->value(2)) + " " + texte(c->value(3)),
              p("ABC.qv2") + " " + p("zeta.qv2") + " <null>");
    taper(c->fileName, "zeta.qv2");  // the whole name: its line alone
    EXPECT_EQ(std::to_string(c->count()) + texte(c->value(1)), "1" + p("zeta.qv2"));

    c->value(p("zeta.qv2").c_str());  // one file, its line selected, all of its name too
    EXPECT_TRUE(c->fileList->type() == FL_HOLD_BROWSER && c->fileName->mark() == 0);
    EXPECT_EQ(c->fileList->value(), ligneDe(c->fileList, "zeta.qv2"));

    c->type(Chooser::DIRECTORY), c->directory(d.c_str());  // folders only, and a folder is a choice
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/"}));
    EXPECT_TRUE(c->okButton->active());
    c->fileName->value((p("sub") + "/").c_str());
    EXPECT_EQ(texte(c->value()), p("sub"));
}

TEST_F(FileChooser2, FiltersListTheirEntriesAndApplyTheirPattern) {
    const Textes tous = {"All Files (*)", "Custom Filter"};
    const std::vector<std::tuple<const char*, Textes, std::string>> cas = {
        {"*", tous, "*"}, {nullptr, tous, "*"}, {"*.qv2\t*.txt", {"*.qv2", "*.txt", tous[0], tous[1]}, "*.qv2"},
        {"R (*.qv2)\tTout (*)", {"R (*.qv2)", "Tout (*)", tous[1]}, "*.qv2"},
        {"Bad (*.qv2", {"Bad (*.qv2", tous[0], tous[1]}, "*.qv2"},
        {"a/b & c@d", {"a/b && c@@d", tous[0], tous[1]}, "a/b & c@d"}};
    ouvrir(Chooser::SINGLE);
    for (const auto& [motifs, vus, filtre] : cas) {
        c->filter(motifs);
        EXPECT_EQ(entrees(c->showChoice), vus) << texte(motifs);
        EXPECT_EQ(c->filter() + std::to_string(c->filter_value()), filtre + "0") << texte(motifs);
    }
    c->filter("*.qv2\t*.txt");
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "ABC.qv2", "zebra.qv2", "zeta.qv2"}));
    c->filter_value(1);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "abd.txt"}));

    qvtest::ModalDriver driver;
    driver.onModal([](Fl_Window& w) { repondre(w, "*.dat"); });
    c->filter_value(3);  // "Custom Filter"
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(entrees(c->showChoice), (Textes{"*.qv2", "*.txt", tous[0], tous[1], "*.dat"}));
    EXPECT_EQ(c->filter_value(), 4);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "sub/", "notes.dat"}));
}

TEST_F(FileChooser2, CompletionOffersTheRestOfANameWithItsCase) {
    for (int i = 0; i < 30; ++i) ecrireFichier("m" + std::to_string(i), "x");  // the z lines lie below the fold
    ouvrir(Chooser::CREATE).show();
    c->window->wait_for_expose();
    auto etat = [this]() {  // the input's text, its selection in brackets, then whether OK is active
        const std::string v = c->fileName->value();
        const size_t m = size_t(std::min(c->fileName->mark(), c->fileName->position()));
        return v.substr(0, m) + "[" + v.substr(m) + "]" + (c->okButton->active() ? " ok" : "");
    };
    taper(c->fileName, "z");
    EXPECT_EQ(etat(), d + "/z[e] ok");  // zebra and zeta share "ze"
    qvtest::flushDrawing();
    EXPECT_TRUE(c->fileList->displayed(ligneDe(c->fileList, "zebra.qv2")));
    taper(c->fileName, "et");
    EXPECT_EQ(etat(), d + "/zet[a.qv2] ok");
    taper(c->fileName, "a.qv2");
    EXPECT_EQ(etat(), d + "/zeta.qv2[] ok");
    const int zeta = ligneDe(c->fileList, "zeta.qv2");
    EXPECT_EQ(c->fileList->value(), zeta);
    taper(c->fileName, "x");  // matching nothing leaves the list alone
    EXPECT_EQ(c->fileList->value(), zeta);
    c->fileName->position(0, c->fileName->size());
    qvtest::key(c->fileName, FL_Delete);  // an empty name is no choice
    EXPECT_EQ(etat(), "[]");
    saisie(*c, d + "/");
    taper(c->fileName, "su");  // a folder is no file to choose
    EXPECT_EQ(etat(), d + "/su[b]");
    // Names differ by case: only the very bytes typed are completed, and
    // the completed name is always one line's own.
    mkdir("casse", 0755);
    for (const char* f : {"casse/Lettre.txt", "casse/lettre2.txt", "casse/Nb1", "casse/NB2"}) ecrireFichier(f, "x");
    const std::vector<std::pair<std::string, std::string>> casse = {
        {"abc", d + "/abc[] ok"},  // ABC.qv2 is another file; a new name is allowed here
        {"AB", d + "/AB[C.qv2] ok"}, {"ab", d + "/ab[d.txt] ok"},
        {"casse/l", d + "/casse/l[ettre2.txt] ok"}, {"casse/L", d + "/casse/L[ettre.txt] ok"},
        {"casse/N", d + "/casse/N[] ok"}};  // Nb1 and NB2 share only the N
    for (const auto& [tape, vu] : casse) {
        saisie(*c, d + "/");
        taper(c->fileName, tape.c_str());
        EXPECT_EQ(etat(), vu) << tape;
    }
    c->directory(d.c_str());
    saisie(*c, "");
    taper(c->fileName, "~/");  // the home folder is written out where it was typed
    EXPECT_EQ(etat().rfind(std::string(getenv("HOME")) + "/[", 0), 0u) << etat();
    qvtest::key(c->fileName, FL_BackSpace);
    EXPECT_EQ(c->fileList->value(), 0);
    EXPECT_FALSE(c->okButton->active());
    saisie(*c, "/");
    taper(c->fileName, "et");  // a folder right under the root
    EXPECT_EQ(texte(c->directory()) + " " + etat(), "/ /et[c]");
    c->hide();
}

TEST_F(FileChooser2, FrontEndReturnsTheChoiceOrNothing) {
    detruireFileChooser2();
    static Textes rappels;  // the names the selection went through
    rappels.clear();
    fl_file_chooser2_callback([](const char* v) { rappels.push_back(v); });
    qvtest::ModalDriver driver;
    driver.strict();
    Textes vus;
    bool alerte = false;
    auto voir = [&vus](Fl_Window& w) {
        vus.push_back(std::string(w.label()) + " " + fileChooser2Partage()->filter() + " " +
                      fileChooser2Partage()->fileName->value());
    };
    auto f = []() { return fileChooser2Partage(); };
    auChoix(driver, [&](Fl_Window& w) {
        voir(w), f()->fileName->take_focus(), toutChoisi(f()->fileName);
        taper(&w, "partie.qv2"), qvtest::clickWidget(f()->okButton);
    });
    auChoix(driver, [&](Fl_Window& w) {  // another pattern: the folder stays, the name goes
        voir(w), f()->type(Chooser::SINGLE), saisie(*f(), "nouveau", FL_Enter);  // missing, not accepted
    });
    driver.onShown(uneAlerte, [&](Fl_Window& w) { alerte = qvtest::findWidget(&w, Chooser::existing_file_label), w.hide(); });
    driver.when(attendUnChoix, [&]() {
        for (const char* l : {"sub/", "../"}) clic(f()->fileList, l, true), voir(*f()->window);
        clic(f()->fileList, "abd.txt", true);
    });
    auChoix(driver, [&](Fl_Window& w) {  // the same pattern: the name stays; the close box
        EXPECT_EQ(f()->type(), Chooser::CREATE);  // every question accepts new names again
        voir(w), w.do_callback();
    });
    auChoix(driver, [&](Fl_Window&) {  // an existing file needs no leave; named relative to the working folder
        f()->type(Chooser::SINGLE), saisie(*f(), "./notes.dat", FL_Enter);
    });
    auChoix(driver, [&](Fl_Window& w) { taper(&w, "x"), qvtest::clickWidget(f()->cancelButton); });
    auChoix(driver, [&](Fl_Window& w) {  // ABC.qv2 beside it is another file
        f()->fileName->take_focus(), toutChoisi(f()->fileName);
        taper(&w, "abc"), voir(w), qvtest::key(&w, FL_Enter, 0, "\r");
    });
    // A typed name is relative to the working folder.
    EXPECT_STREQ(fl_file_chooser2("Sauver dans:", "*.qv2", "sub", 1, 0), "partie.qv2");
    EXPECT_EQ(texte(fl_file_chooser2("Charger", "Texte (*.txt)", nullptr, 0, 0)), p("abd.txt"));
    EXPECT_EQ(fl_file_chooser2("Lire", "*.txt", "", 1, 0), nullptr);
    EXPECT_STREQ(fl_file_chooser2("Lire", "*", "", 1, 0), "notes.dat");
    EXPECT_EQ(fl_file_chooser2("Lire", "*", "", 1, 0), nullptr);
    EXPECT_EQ(texte(fl_file_chooser2("Sauver dans:", "*.qv2", "", 1, 0)), "abc");
    EXPECT_TRUE(driver.done() && alerte);
    EXPECT_EQ(vus, (Textes{"Sauver dans: *.qv2 " + p("sub") + "/", "Charger *.txt " + d + "/",
                           "Charger *.txt " + p("sub") + "/", "Charger *.txt " + d + "/",
                           "Lire *.txt " + p("abd.txt"), "Sauver dans: *.qv2 " + p("abc")}));
    EXPECT_EQ(rappels, (Textes{p("partie.qv2"), p("abd.txt"), p("notes.dat"), p("abc")}));
    EXPECT_FALSE(f()->previewButton->visible() || f()->previewButton->active());  // hidden and greyed
    fl_file_chooser2_callback(nullptr);
    detruireFileChooser2();
    EXPECT_EQ(fileChooser2Partage(), nullptr);
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
    EXPECT_TRUE(stat(p("neuf").c_str(), &st) == 0 && (st.st_mode & 0700) == 0700);
    EXPECT_EQ(c->directory(), p("neuf"));
    c->newdir(p("ABC.qv2").c_str()), c->newdir((p("ABC.qv2") + "/x").c_str());  // an existing file is no folder
    EXPECT_EQ(c->directory(), p("neuf"));
    c->newdir(p("sub").c_str());  // an existing folder opens
    EXPECT_TRUE(c->directory() == p("sub") && driver.done());
    EXPECT_EQ(alertes, (Textes{std::strerror(EEXIST), std::strerror(ENOTDIR)}));
}

TEST_F(FileChooser2, FavouritesAreAddedMovedAndDeletedInThePreferences) {
    // Emptied rather than deleted: the toolkit does not free a deleted entry.
    auto remplir = [](int n, const char* valeur) {
        for (int i = 0; i < n; ++i) Chooser::prefs_.set(Fl_Preferences::Name("favorite%02d", i), valeur);
    };
    auto stockes = [](Textes v = Textes(4)) {
        char buf[1024];
        for (int i = 0; i < 4; ++i)
            v[size_t(i)] = (Chooser::prefs_.get(Fl_Preferences::Name("favorite%02d", i), buf, "?", 1024), buf);
        return v;
    };
    auto etat = [this]() {  // the lines, the selected one, and which of up, delete, down and OK are active
        std::string s;
        for (const std::string& l : lignes(c->favList)) s += (l == d ? "B" : l == p("sub") ? "A" : "C");
        s += std::to_string(c->favList->value()) + " ";
        for (Fl_Widget* b : {(Fl_Widget*)c->favUpButton, (Fl_Widget*)c->favDeleteButton,
                             (Fl_Widget*)c->favDownButton, (Fl_Widget*)c->favOkButton})
            s += b->active() ? "1" : "0";
        return s;
    };
    remplir(101, "");
    ouvrir(Chooser::CREATE);
    const std::string A = p("sub"), B = d, C = "/";
    for (const std::string& x : {A, B, C, std::string()})  // the file systems have no path
        c->directory(x.c_str()), choisir(c->favoritesButton, "Add to Favorites");
    EXPECT_EQ(stockes(), (Textes{A, B, C, ""}));
    EXPECT_EQ(std::make_pair(c->favoritesButton->menu()[3].shortcut(), c->favoritesButton->menu()[6].shortcut()),
              std::make_pair(FL_ALT + 'h', FL_ALT + '2'));  // the home folder, then the favourites by number
    EXPECT_EQ(entrees(c->favoritesButton),
              (Textes{"Add to Favorites", "Manage Favorites", "My Computer", getenv("HOME"), A, B, C}));
    choisir(c->favoritesButton, A);
    EXPECT_EQ(c->directory(), A);

    // An inactive button is clicked through its command, which does nothing then.
    auto gerer = [this](int ligne, Fl_Widget* bouton) {
        if (!c->favWindow->shown()) choisir(c->favoritesButton, "Manage Favorites");
        if (ligne) c->favList->select(ligne), c->favList->do_callback();
        if (bouton && bouton->active()) qvtest::clickWidget(bouton);
        else if (bouton) c->favoritesWindowCB(bouton);
    };
    gerer(1, c->favDownButton);
    gerer(0, c->favCancelButton);  // nothing stored
    gerer(0, nullptr);
    int sx = 0, sy = 0;
    Fl::get_mouse(sx, sy);
    EXPECT_EQ(c->favWindow->x() + 160, sx);  // the list under the pointer
    const std::vector<std::tuple<int, Fl_Widget*, std::string>> etapes = {
        {0, nullptr, "ABC0 0000"}, {3, nullptr, "ABC3 1100"},         {0, c->favUpButton, "ACB2 1111"},
        {1, c->favUpButton, "ACB1 0111"}, {0, c->favDeleteButton, "CB1 0111"}, {0, c->favDownButton, "BC2 1101"}};
    for (const auto& [ligne, bouton, vu] : etapes) {
        gerer(ligne, bouton);
        EXPECT_EQ(etat(), vu);
    }
    gerer(0, c->favOkButton);
    EXPECT_FALSE(c->favWindow->shown());
    EXPECT_EQ(stockes(), (Textes{B, C, "", ""}));
    EXPECT_EQ(c->nbFavoris(), 2);

    gerer(1, c->favDeleteButton);
    gerer(0, c->favDeleteButton);
    EXPECT_EQ(etat(), "0 0001");  // nothing left to move or delete
    gerer(0, c->favCancelButton);
    EXPECT_EQ(stockes(), (Textes{B, C, "", ""}));
    gerer(0, nullptr);
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
    const std::string gif("GIF89a\0\0\4\0\200\0\0\0\0\0\377\377\377,\0\0\0\0\0\0\4\0\0\2\2D\1\0;", 35);  // 0 x 4
    const auto ppm = [](int w, int h) {
        return "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n" + std::string(size_t(w * h * 3), '@');
    };
    const std::vector<std::tuple<const char*, std::string, std::string>> cas = {
        {"large.ppm", ppm(400, 100), "<none>||130x32"},  // 150 - 20 wide
        {"binaire.dat", "abc\200def", "?||-"},
        {"un.txt", "x", "x|x|-"},
        {"petit.ppm", ppm(50, 40), "<none>||50x40"},
        {"fil.ppm", ppm(400, 1), "?||-"},  // scaled to no height at all
        {"mince.ppm", ppm(1, 400), "?||-"},  // nor width
        {"vide.gif", gif, "?||-"},  // no picture at all
        {"texte.txt", "ligne 1\n@bold\tfin\n", "ligne 1\n@@bold\tfin\n|ligne 1\n@bold\tfin\n|-"}};
    for (const auto& [nom, contenu, vu] : cas) ecrireFichier(nom, contenu);
    ouvrir(Chooser::SINGLE).show();
    auto apercu = [this](const char* nom) {
        c->value(nom), c->update_preview();
        const Fl_Image* im = c->previewBox->image();
        return std::string(c->previewBox->label() ? c->previewBox->label() : "<none>") + "|" + c->previewText() +
               "|" + (im ? std::to_string(im->w()) + "x" + std::to_string(im->h()) : "-");
    };
    for (const auto& [nom, contenu, vu] : cas) EXPECT_EQ(apercu(nom), vu) << nom;
    EXPECT_EQ(c->previewBox->labelfont(), FL_COURIER);
    c->previewBox->size(15, 225);  // no room at all
    EXPECT_EQ(apercu("large.ppm"), "?||-");
    EXPECT_EQ(c->previewBox->labelsize(), 100);  // "?" fills the box

    // Off, then on again: the preview is shown at once.
    c->preview(0);
    EXPECT_EQ(geometrie(c->fileList) + " " + geometrie(c->previewBox), "10,45,470,225 480,45,0,225");
    int stocke = -1;
    EXPECT_EQ((Chooser::prefs_.get("preview", stocke, -1), stocke), 0);
    c->value("texte.txt"), c->preview(1);
    EXPECT_STREQ(c->previewText(), "ligne 1\n@bold\tfin\n");

    // A click on a line shows its preview a second later; Cancel drops it.
    int rappels = 0;
    c->callback([](Chooser*, void* n) { ++*static_cast<int*>(n); }, &rappels);
    c->value(""), c->directory(d.c_str());
    clic(c->fileList, "sub/");
    EXPECT_EQ(texte(c->fileName->value()) + std::to_string(rappels) + (c->okButton->active() ? " ok" : ""),
              p("sub") + "1");  // a folder is no file to choose
    clic(c->fileList, "texte.txt");
    EXPECT_EQ(std::string(c->previewText()) + (c->okButton->active() ? "ok" : ""), "ok");  // not yet
    attendre(1.3);
    EXPECT_STREQ(c->previewBox->label(), "ligne 1\n@@bold\tfin\n");
    clic(c->fileList, "binaire.dat");
    qvtest::clickWidget(c->cancelButton);
    attendre(1.3);
    EXPECT_STREQ(c->previewText(), "ligne 1\n@bold\tfin\n");
}

// While it lives, SIGALRM interrupts every half second any call that
// blocks, so that a preview stuck on a pipe fails the test instead of
// hanging it.
class Reveil {
public:
    Reveil() {
        struct sigaction sa {};
        sa.sa_handler = [](int) {};  // no SA_RESTART: a blocked open() returns EINTR
        sigaction(SIGALRM, &sa, &ancien_);
        itimerval t{{0, 500000}, {0, 500000}};
        setitimer(ITIMER_REAL, &t, nullptr);
    }
    ~Reveil() {
        itimerval t{};
        setitimer(ITIMER_REAL, &t, nullptr);
        sigaction(SIGALRM, &ancien_, nullptr);
    }

private:
    struct sigaction ancien_ {};
};

TEST_F(FileChooser2, PreviewReadsOnlyRegularFilesAndNeverWaits) {
    ASSERT_EQ(mkfifo("tuyau", 0644), 0);
    ASSERT_EQ(symlink("nulle-part", "lien"), 0);
    ASSERT_EQ(symlink("grand.txt", "vers-grand"), 0);
    ecrireFichier("grand.txt", std::string(5000, 'a'));
    ouvrir(Chooser::SINGLE).show();
    c->window->wait_for_expose();
    const auto descripteurs = []() {  // the files this process holds open
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto ouverts = descripteurs();
    // A click on a line, then the preview a second later, as a user sees it;
    // the longest single wait of the loop shows whether the program froze.
    auto cliquer = [this](const char* ligne) {
        clic(c->fileList, ligne);
        Reveil reveil;
        double pire = 0;
        for (const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(1400);
             std::chrono::steady_clock::now() < fin;) {
            const auto t0 = std::chrono::steady_clock::now();
            Fl::wait(0.05);
            pire = std::max(pire, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        return std::make_pair(texte(c->previewBox->label()), pire);
    };
    const auto [tuyau, attente] = cliquer("tuyau");
    EXPECT_EQ(tuyau, "?");
    EXPECT_LT(attente, 0.4);
    EXPECT_STREQ(c->previewText(), "");
    EXPECT_EQ(cliquer("lien").first, "?");  // a link to nothing
    EXPECT_EQ(cliquer("vers-grand").first, std::string(2047, 'a'));  // no more than the box shows
    EXPECT_EQ(std::strlen(c->previewText()), 2047u);
    EXPECT_EQ(descripteurs(), ouverts);  // none left open, pipe included
    c->hide();
}

TEST_F(FileChooser2, PathsTooLongToHandBackAreRefusedWhole) {
    // Folders deep enough that a file's path takes 1,023 bytes, and one more.
    std::string dossier = d;
    while (1023 - dossier.size() - 1 > 200) {
        dossier += "/" + std::string(150, 'd');
        ASSERT_EQ(mkdir(dossier.c_str(), 0755), 0);
    }
    const size_t n = 1023 - dossier.size() - 1;
    const std::string juste = dossier + "/" + std::string(n, 'j'), trop = dossier + "/" + std::string(n + 1, 'a');
    ASSERT_EQ(juste.size(), 1023u);
    ecrireFichier(juste, "x"), ecrireFichier(trop, "x");

    detruireFileChooser2();
    auto f = []() { return fileChooser2Partage(); };
    Textes alertes;  // what each alert said
    auto alerte = [&alertes](Fl_Window& w) {
        alertes.push_back(qvtest::findWidget(&w, Chooser::path_too_long_label) ? "long" : "autre");
        w.hide();
    };
    std::string vu;
    qvtest::ModalDriver driver(30);
    driver.strict();
    // The last letters of a path typed, then Enter. The focus first: the
    // input places its cursor by the last key the toolkit saw.
    auto entree = [&f](const std::string& chemin) {
        f()->fileName->take_focus(), saisie(*f(), chemin.substr(0, chemin.size() - 2));
        taper(f()->window, chemin.substr(chemin.size() - 2).c_str());
        qvtest::key(f()->window, FL_Enter, 0, "\r");
    };
    // Each step waits for what is on screen: the chooser alone, or an alert.
    driver.when(attendUnChoix, [&]() { entree(trop); })
        .onShown(uneAlerte, alerte)
        .when(attendUnChoix, [&]() { qvtest::clickWidget(f()->okButton); })
        .onShown(uneAlerte, alerte)
        .when(attendUnChoix, [&]() { clic(f()->fileList, std::string(n + 1, 'a').c_str(), true); })
        .onShown(uneAlerte, alerte)
        .when(attendUnChoix, [&]() { vu = f()->fileName->value(), qvtest::clickWidget(f()->cancelButton); })
        .when(attendUnChoix, [&]() { qvtest::key(f()->fileName, FL_Enter, 0, "\r"); })
        .when(attendUnChoix, [&]() { qvtest::clickWidget(f()->okButton); });
    EXPECT_EQ(fl_file_chooser2("Sauver dans:", "*", "", 0, 0), nullptr);
    EXPECT_EQ(vu, trop);  // kept whole, and refused each time for its length
    EXPECT_EQ(alertes, Textes(3, "long"));
    EXPECT_EQ(texte(fl_file_chooser2("Lire", "*", juste.c_str(), 0, 0)), juste);
    EXPECT_EQ(texte(fl_file_chooser2("Lire", "*", juste.c_str(), 1, 0)), juste.substr(d.size() + 1));
    // Named relative to a working folder 400 folders down, a file of the
    // test folder would take more than 1,023 bytes: it comes named from the root.
    std::string bas = d;
    for (int i = 0; i < 400; ++i) bas += "/a", mkdir(bas.c_str(), 0755);
    ASSERT_EQ(chdir(bas.c_str()), 0);
    driver.when(attendUnChoix, [&]() { qvtest::clickWidget(f()->okButton); });
    const std::string relatif = texte(fl_file_chooser2("Lire", "*", p("abd.txt").c_str(), 1, 0));
    ASSERT_EQ(chdir(d.c_str()), 0);
    EXPECT_EQ(relatif, p("abd.txt"));
    EXPECT_TRUE(driver.done());
    detruireFileChooser2();

    // Several files: one too long refuses them all.
    Chooser::prefs_.set("favorite00", "");  // no favourite yet
    ouvrir(Chooser::MULTI).directory(dossier.c_str());
    int choix = 0;
    c->callback([](Chooser*, void* n) { ++*static_cast<int*>(n); }, &choix);
    for (const std::string& l : {std::string(n, 'j'), std::string(n + 1, 'a')}) c->fileList->select(ligneDe(c->fileList, l));
    qvtest::ModalDriver multi;
    multi.onShown(uneAlerte, alerte);
    c->okButton->do_callback();
    EXPECT_TRUE(multi.done() && choix == 0);
    EXPECT_EQ(alertes, Textes(4, "long"));
    c->fileList->deselect(), c->fileList->select(ligneDe(c->fileList, std::string(n, 'j')));
    c->okButton->do_callback();
    EXPECT_EQ(choix, 1);

    // A favourite folder longer than that comes back whole.
    const std::string profond = dossier + "/" + std::string(200, 'p');
    ASSERT_EQ(mkdir(profond.c_str(), 0755), 0);
    c->directory(profond.c_str());
    EXPECT_EQ(c->directory(), profond);
    choisir(c->favoritesButton, "Add to Favorites");
    c->directory(d.c_str());
    choisir(c->favoritesButton, profond);
    EXPECT_EQ(c->directory(), profond);
    Chooser::prefs_.set("favorite00", "");
}

// The program's texts in French, through its translation table, for the
// life of the object.
class EnFrancais {
public:
    explicit EnFrancais(const std::string& table) {
        ecrireFichier("msgmenus.ini", table);
        params.langue = "fr";
        gini_msg.open("msgmenus.ini");
    }
    ~EnFrancais() { gini_msg.close(); }
};

TEST_F(FileChooser2, EveryLabelOfBothWindowsReadsWholeInFrench) {
    EnFrancais francais("[Show:]\nfr=Afficher :\n[Favorites]\nfr=Favoris\n[Preview]\nfr=Aper\347u\n"
                        "[Manage Favorites]\nfr=G\351rer les favoris\n");
    // A skin: a patterned background and pictures for OK and Cancel.
    std::vector<unsigned char> motif;  // a checkerboard of 8-pixel squares
    for (int i = 0; i < 16 * 16; ++i)
        for (unsigned char v : ((i / 16 / 8 + i % 16 / 8) % 2 ? std::vector<unsigned char>{235, 230, 215}
                                                               : std::vector<unsigned char>{210, 200, 180}))
            motif.push_back(v);
    Fl_RGB_Image fond(motif.data(), 16, 16, 3);
    std::string bouton = "P6\n75 75\n255\n";  // three cells: normal, hovered, inactive
    for (int y = 0; y < 75; ++y)
        for (int x = 0; x < 75; ++x) bouton += y < 25 ? "\350\340\300" : y < 50 ? "\360\350\320" : "\300\300\300";
    ecrireFichier("bouton.ppm", bouton);
    const std::string images[2] = {params.imgBoutons[1], params.imgBoutons[2]};
    params.imgBoutons[1] = params.imgBoutons[2] = p("bouton.ppm");
    imgFondsMsg = &fond, ouvrir(Chooser::CREATE), imgFondsMsg = nullptr;
    params.imgBoutons[1] = images[0], params.imgBoutons[2] = images[1];

    qvtest::showAndDraw(*c->window);
    const std::vector<qvtest::LabelSpec> principale = {
        {c->showChoice, "Afficher :", false}, {c->favoritesButton, "Favoris", true},
        {c->previewButton, "Aper\303\247u", true}, {qvtest::findWidget(c->window, "Filename:"), "Filename:", true},
        {c->okButton, "Ok", true}, {c->cancelButton, "Annuler", true}};
    EXPECT_EQ(qvtest::unreadableLabels(*c->window, principale, {c->showChoice, c->fileName, c->fileList}), Textes{});
    choisir(c->favoritesButton, "Manage Favorites");
    qvtest::showAndDraw(*c->favWindow);
    const std::vector<qvtest::LabelSpec> favoris = {{c->favUpButton, "", true}, {c->favDeleteButton, "X", true},
                                                    {c->favDownButton, "", true}, {c->favOkButton, "Ok", true},
                                                    {c->favCancelButton, "Annuler", true}};
    EXPECT_EQ(qvtest::unreadableLabels(*c->favWindow, favoris, {c->favList}), Textes{});
    c->favWindow->hide(), c->hide();
}

}  // namespace

// A caller's callback that deletes the chooser that raised it: the chooser
// touches nothing of itself afterwards.
TEST_F(FileChooser2, CallbacksMayDeleteTheChooser) {
    struct Cas {
        const char* geste;
        std::function<void(Chooser&)> faire;
    };
    const std::vector<Cas> cas = {
        {"OK", [](Chooser& x) { x.value("abd.txt"), qvtest::clickWidget(x.okButton); }},
        {"a line", [](Chooser& x) { clic(x.fileList, "zeta.qv2"); }},
        {"Enter", [this](Chooser& x) { x.fileName->take_focus(), saisie(x, p("abd.txt"), FL_Enter); }},
        {"Down", [](Chooser& x) {
             x.fileList->take_focus(), x.fileList->select(ligneDe(x.fileList, "abd.txt"));
             qvtest::key(x.window, FL_Down);
         }}};
    for (const Cas& k : cas) {
        ouvrir(Chooser::SINGLE).show();
        c->window->wait_for_expose();
        static std::string vu;
        vu.clear();
        c->callback(
            [](Chooser* x, void* d) {
                vu = texte(x->value());
                static_cast<std::unique_ptr<Chooser>*>(d)->reset();
            },
            &c);
        k.faire(*c);
        EXPECT_EQ(c, nullptr) << k.geste;
        EXPECT_FALSE(vu.empty()) << k.geste;
        Fl::check();
    }
}

// Moving through the list with the keys reports each line reached, even
// when the callback reloads the list under the move (Shift extends the choice).
TEST_F(FileChooser2, KeyMovesReportEachLineOnceTheListIsReloaded) {
    static Textes vus;
    vus.clear();
    for (int type : {Chooser::SINGLE, Chooser::MULTI}) {
        ouvrir(type).show();
        c->window->wait_for_expose();
        c->fileList->take_focus();
        c->fileList->select(ligneDe(c->fileList, "abd.txt"));
        c->callback([](Chooser* x, void*) { vus.push_back(texte(x->fileName->value())); });
        for (int touche : {FL_Down, FL_Up}) qvtest::key(c->window, touche);
    }
    // Once each; several files may be chosen, and there the keys move
    // without choosing: the name stays the one file chosen.
    EXPECT_EQ(vus, (Textes{p("notes.dat"), p("abd.txt"), p("abd.txt"), p("abd.txt")}));
    vus.clear();
    c->callback([](Chooser* x, void*) { vus.push_back(texte(x->fileName->value())), x->rescan(); });
    for (int touche : {FL_Down, FL_Up, FL_Down}) qvtest::key(c->window, touche, FL_SHIFT);
    // The list reloaded keeps no line selected: where the next moves land is the toolkit's.
    ASSERT_FALSE(vus.empty());
    EXPECT_EQ(vus[0], p("notes.dat"));
    for (const std::string& v : vus) EXPECT_TRUE(fichierExiste(v)) << v;
    c->hide();
}

// "~", "~user" and "$NAME" typed in the name, however long what they stand for.
TEST_F(FileChooser2, TypedHomeAndVariablesAreExpandedWhole) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::string loin = "/" + std::string(3000, 'l');
    setenv("QV_LOIN", loin.c_str(), 1);
    setenv("QV_VIDE", "", 1);
    setenv("QV_REL", "rel", 1);
    unsetenv("QV_ABSENTE");
    const passwd* racine = getpwuid(0);
    ASSERT_NE(racine, nullptr);
    // HOME, what is typed (its last letter a key), the name shown.
    const std::vector<std::tuple<std::string, std::string, std::string>> cas = {
        {d, "~/sub/q/", p("sub/q/")},
        {d + "/", "~/sub/q/", p("sub/q/")},  // its own "/" dropped
        {d, "$HOME/sub/q/", p("sub/q/")},
        {d, "x/~/sub/q/", p("sub/q/")},  // an absolute part starts afresh
        {d, "~" + std::string(racine->pw_name) + "/q/", std::string(racine->pw_dir) + "/q/"},
        {d, "~qv-personne/", p("~qv-personne") + "/"},
        {d, "$QV_ABSENTE/", p("$QV_ABSENTE") + "/"},
        {d, "a/$QV_VIDE/", p("a/")},
        {d, "a/$QV_REL/q/", p("a/rel/q/")},  // a relative value goes on from there
        {d, "a/$QV_REL/xQV_REL/q/", p("a/rel/xQV_REL/q/")},  // only a part that starts with "$" names one
        {d, "$QV_LOIN/f/", loin + "/f/"},
        {d, "$/", p("$") + "/"}};
    ouvrir(Chooser::SINGLE);
    for (const auto& [maison, tape, montre] : cas) {
        setenv("HOME", maison.c_str(), 1);
        saisie(*c, tape.substr(0, tape.size() - 1));
        taper(c->fileName, tape.substr(tape.size() - 1).c_str());
        EXPECT_EQ(c->fileName->value(), montre) << tape;
    }
    setenv("HOME", home.c_str(), 1);
    for (const char* v : {"QV_LOIN", "QV_VIDE", "QV_REL"}) unsetenv(v);
}

// A name ending with "/" that names no folder is no file: never an answer,
// and Enter refuses it even where new names are accepted; a long one too.
TEST_F(FileChooser2, ANameEndingWithASlashIsNoFile) {
    ouvrir(Chooser::CREATE).show();
    c->window->wait_for_expose();
    int rappels = 0;
    c->callback([](Chooser*, void* n) { ++*static_cast<int*>(n); }, &rappels);
    for (const std::string& nom : {p("neuf/"), p("abd.txt/"), p(std::string(3000, 'x') + "/")}) {
        c->fileName->value(nom.c_str());
        EXPECT_EQ(c->value(), nullptr) << nom.size();
        qvtest::ModalDriver driver;
        bool alerte = false;
        driver.onShown(uneAlerte, [&](Fl_Window& w) { alerte = qvtest::findWidget(&w, Chooser::existing_file_label), w.hide(); });
        c->fileName->take_focus();
        saisie(*c, nom, FL_Enter);
        EXPECT_TRUE(driver.done() && alerte) << nom.size();
        EXPECT_TRUE(c->shown()) << nom.size();
    }
    EXPECT_EQ(rappels, 0);
    EXPECT_TRUE(sansAlerte([this]() { saisie(*c, p("neuf"), FL_Enter); }));  // without it, a new file
    EXPECT_EQ(rappels, 1);
    EXPECT_FALSE(c->shown());
}

// The preview handles no event while it loads: a timer that comes due then
// could hide or delete the chooser under it.
TEST_F(FileChooser2, PreviewRunsNoTimerWhileItLoads) {
    ouvrir(Chooser::SINGLE).show();
    c->preview(1);
    c->value(p("abd.txt").c_str());
    static bool couru;
    couru = false;
    const auto minuterie = [](void*) { couru = true; };
    Fl::add_timeout(0.0, minuterie);
    c->update_preview();
    EXPECT_FALSE(couru);
    EXPECT_STREQ(c->previewText(), "x");
    Fl::remove_timeout(minuterie);
    c->hide();
}

// The shared chooser deleted while the front end waits for it: no answer,
// and the next question builds another.
TEST_F(FileChooser2, FrontEndAnswersNothingWhenItsChooserIsDeleted) {
    detruireFileChooser2();
    qvtest::ModalDriver driver;
    driver.strict();
    auChoix(driver, [](Fl_Window&) { detruireFileChooser2(); });
    EXPECT_EQ(fl_file_chooser2("Lire", "*", p("abd.txt").c_str(), 0, 0), nullptr);
    EXPECT_EQ(fileChooser2Partage(), nullptr);
    auChoix(driver, [](Fl_Window&) { qvtest::clickWidget(fileChooser2Partage()->okButton); });
    EXPECT_EQ(texte(fl_file_chooser2("Lire", "*", p("abd.txt").c_str(), 0, 0)), p("abd.txt"));
    EXPECT_TRUE(driver.done());
    detruireFileChooser2();
}

namespace {

// Where the shown list draws a line, for clicks through the window.
struct AccesListe : Fl_File_Browser {
    static int ligneEn(Fl_File_Browser* b, int y) {
        void* item = (b->*(&AccesListe::find_item))(y);
        return item ? (b->*(&AccesListe::lineno))(item) : 0;
    }
};

std::pair<int, int> pointDeLigne(Fl_File_Browser* b, const std::string& texte) {
    qvtest::flushDrawing();
    const int n = ligneDe(b, texte);
    for (int y = b->y(); y < b->y() + b->h(); ++y)
        if (AccesListe::ligneEn(b, y) == n) return {b->x() + 40, y + 3};
    ADD_FAILURE() << texte << " is not in view";
    return {0, 0};
}

void cliquerLigne(Chooser& c, const std::string& texte, int modificateurs = 0) {
    const auto [x, y] = pointDeLigne(c.fileList, texte);
    qvtest::click(c.window, x, y, 1, modificateurs);
}

void doubleCliquerLigne(Chooser& c, const std::string& texte) {
    const auto [x, y] = pointDeLigne(c.fileList, texte);
    qvtest::doubleClick(c.window, x, y);
}

}  // namespace

// A line read before its file was removed or renamed is no choice: OK and a
// double click refuse it as a typed missing name is refused, read the folder
// again and keep the window open; where new names are accepted it stays a
// name to create.
TEST_F(FileChooser2, ALineWhoseFileWentIsRefusedAndTheFolderReadAgain) {
    int choix = 0;
    Textes alertes;
    auto montrer = [&](int type) {
        ouvrir(type).show();
        c->window->wait_for_expose();
        c->callback([](Chooser*, void* n) { ++*static_cast<int*>(n); }, &choix);
    };
    // A gesture on the window that ends in an alert, whose text is kept.
    auto refuse = [&](std::function<void()> geste) {
        qvtest::ModalDriver driver;
        driver.onShown(uneAlerte, [&](Fl_Window& w) {
            alertes.push_back(qvtest::findWidget(&w, Chooser::existing_file_label) ? "absent" : "autre");
            w.hide();
        });
        geste();
        EXPECT_TRUE(driver.done());
    };
    // The gesture and the callbacks it raises: the first click of a double
    // click tells the caller of the line, as any click does.
    const std::vector<std::tuple<const char*, std::function<void()>, int>> gestes = {
        {"OK", [&]() { qvtest::clickWidget(c->okButton); }, 0},
        {"double click", [&]() { doubleCliquerLigne(*c, "zeta.qv2"); }, 1}};
    for (const auto& [nom, geste, rappels] : gestes) {
        for (bool renomme : {false, true}) {
            montrer(Chooser::SINGLE);
            cliquerLigne(*c, "zeta.qv2");
            EXPECT_EQ(c->fileName->value(), p("zeta.qv2"));
            choix = 0;  // the click told the caller; OK would again
            ASSERT_EQ(renomme ? std::rename("zeta.qv2", "zeta2.qv2") : std::remove("zeta.qv2"), 0);
            refuse(geste);
            EXPECT_TRUE(c->shown()) << nom;
            EXPECT_EQ(ligneDe(c->fileList, "zeta.qv2"), c->fileList->size() + 1) << nom;  // read again
            EXPECT_EQ(ligneDe(c->fileList, "zeta2.qv2") <= c->fileList->size(), renomme) << nom;
            EXPECT_EQ(c->fileName->value(), p("zeta.qv2")) << nom;  // as typed, kept
            EXPECT_FALSE(c->okButton->active()) << nom;
            EXPECT_EQ(choix, rappels) << nom;
            c->hide();
            if (renomme) std::rename("zeta2.qv2", "zeta.qv2");
            else ecrireFichier("zeta.qv2", "x");
        }
    }
    EXPECT_EQ(alertes, Textes(4, "absent"));

    // A folder removed while shown is neither opened nor chosen.
    montrer(Chooser::CREATE);
    cliquerLigne(*c, "sub/");
    ASSERT_EQ(rmdir("sub"), 0);
    refuse([&]() { doubleCliquerLigne(*c, "sub/"); });
    EXPECT_TRUE(c->shown() && c->directory() == d && ligneDe(c->fileList, "sub/") > c->fileList->size());
    mkdir("sub", 0755);

    // Several files: one gone refuses them all.
    montrer(Chooser::MULTI);
    cliquerLigne(*c, "ABC.qv2"), cliquerLigne(*c, "zebra.qv2", FL_CTRL);
    choix = 0;
    ASSERT_EQ(std::remove("zebra.qv2"), 0);
    refuse([&]() { qvtest::clickWidget(c->okButton); });
    EXPECT_TRUE(c->shown() && choix == 0);
    EXPECT_EQ(texte(c->value(1)) + " " + c->fileName->value(), "<null> " + d + "/");  // nothing chosen now
    cliquerLigne(*c, "ABC.qv2"), cliquerLigne(*c, "sub/", FL_CTRL);
    ASSERT_EQ(rmdir("sub"), 0);  // a folder's line is no file, gone or not
    EXPECT_EQ(texte(c->value(1)) + " " + texte(c->value(2)), p("ABC.qv2") + " <null>");
    mkdir("sub", 0755);
    c->hide();
    EXPECT_EQ(alertes.size(), 6u);

    // Where new names are accepted, the line's name is one.
    montrer(Chooser::CREATE);
    cliquerLigne(*c, "zeta.qv2");
    choix = 0;
    ASSERT_EQ(std::remove("zeta.qv2"), 0);
    qvtest::clickWidget(c->okButton);
    EXPECT_FALSE(c->shown());
    EXPECT_EQ(texte(c->value()) + " " + std::to_string(choix), p("zeta.qv2") + " 1");
}

// Ctrl+click takes a file out of the choice: the name field shows a file
// still chosen, or the folder when none is.
TEST_F(FileChooser2, TheMultiNameFieldShowsAFileStillChosen) {
    ouvrir(Chooser::MULTI).show();
    c->window->wait_for_expose();
    const std::vector<std::tuple<const char*, int, std::string>> clics = {
        {"zeta.qv2", 0, p("zeta.qv2")},       {"ABC.qv2", FL_CTRL, p("ABC.qv2")},
        {"ABC.qv2", FL_CTRL, p("zeta.qv2")},  // taken out: the one left
        {"notes.dat", FL_CTRL, p("notes.dat")}, {"zeta.qv2", FL_CTRL, p("notes.dat")},
        {"sub/", FL_CTRL, p("sub")},          {"notes.dat", FL_CTRL, d + "/"},  // a folder is no file
        {"sub/", FL_CTRL, d + "/"}};
    for (const auto& [ligne, modificateurs, vu] : clics) {
        cliquerLigne(*c, ligne, modificateurs);
        EXPECT_EQ(c->fileName->value(), vu) << ligne;
    }
    EXPECT_EQ(c->count(), 0);
    c->hide();
}

// Past a link, ".." leads to the parent of the folder the system shows.
TEST_F(FileChooser2, UpThroughALinkOpensTheParentOfTheFolderShown) {
    ASSERT_EQ(std::filesystem::create_directories("loin/bas/fond"), true);
    ecrireFichier("loin/dans-loin", "x");
    ASSERT_EQ(symlink("loin/bas", "lien"), 0);
    const std::string loin = std::filesystem::canonical("loin").string();
    ouvrir(Chooser::SINGLE).show();
    c->window->wait_for_expose();
    doubleCliquerLigne(*c, "lien/");
    EXPECT_EQ(c->directory(), p("lien"));
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "fond/"}));
    doubleCliquerLigne(*c, "../");
    EXPECT_EQ(c->directory(), loin);
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "bas/", "dans-loin"}));
    // A ".." inside a typed folder, then up twice.
    c->directory((p("lien") + "/../bas").c_str());
    doubleCliquerLigne(*c, "../");
    EXPECT_EQ(lignes(c->fileList), (Textes{"../", "bas/", "dans-loin"}));
    doubleCliquerLigne(*c, "../");
    EXPECT_EQ(c->directory(), d);
    doubleCliquerLigne(*c, "sub/"), doubleCliquerLigne(*c, "../");  // no link: the folder as named
    EXPECT_EQ(c->directory(), d);
    // The folder shown renamed meanwhile: up still leads to where it was.
    doubleCliquerLigne(*c, "sub/");
    ASSERT_EQ(std::rename("sub", "sub2"), 0);
    EXPECT_TRUE(sansAlerte([this]() { doubleCliquerLigne(*c, "../"); }));
    EXPECT_EQ(c->directory(), d);
    EXPECT_LE(ligneDe(c->fileList, "sub2/"), c->fileList->size());
    c->hide();
}
