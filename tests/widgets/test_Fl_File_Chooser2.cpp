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
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Tile.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Input.H>
#include <FL/fl_ask.H>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Chooser = Fl_File_Chooser2;

std::string cwd() { return std::filesystem::current_path().string(); }

std::vector<std::string> lignes(Fl_Browser_* b) {
    auto* l = static_cast<Fl_Browser*>(b);
    std::vector<std::string> v;
    for (int i = 1; i <= l->size(); ++i) v.push_back(l->text(i));
    return v;
}

std::vector<std::string> entrees(const Fl_Menu_* m) {
    std::vector<std::string> v;
    for (int i = 0; i < m->size() - 1; ++i)
        if (m->menu()[i].label()) v.push_back(m->menu()[i].label());
    return v;
}

void choisir(Fl_Menu_* m, const std::string& libelle) {
    for (int i = 0; i < m->size() - 1; ++i)
        if (m->menu()[i].label() && libelle == m->menu()[i].label()) return void(m->picked(&m->menu()[i]));
    ADD_FAILURE() << "no entry " << libelle;
}

// A folder holding ABC.qv2, abd.txt, zebra.qv2, zeta.qv2, notes.dat and sub/.
struct Arbre {
    InTempDir dir;
    Arbre() {
        for (const char* f : {"ABC.qv2", "abd.txt", "zebra.qv2", "zeta.qv2", "notes.dat"}) ecrireFichier(f, "x");
        mkdir("sub", 0755);
    }
    std::string p(const std::string& n) const { return dir.file(n); }
};

void taper(Fl_Widget* w, const char* texte) {
    for (const char* c = texte; *c; ++c) {
        char t[2] = {*c, 0};
        qvtest::key(w, *c, 0, t);
    }
}

// Types into the toolkit's input dialog and confirms.
void repondre(Fl_Window& w, const char* texte) {
    for (int i = 0; i < w.children(); ++i)
        if (Fl_Input* in = dynamic_cast<Fl_Input*>(w.child(i))) {
            in->take_focus();
            in->position(in->size(), 0);  // typing replaces the default
        }
    taper(&w, texte);
    qvtest::clickWidget(qvtest::findWidget(&w, fl_ok));
}

int ligneDe(Fl_Browser* b, const char* texte) {
    for (int i = 1; i <= b->size(); ++i)
        if (std::strcmp(b->text(i), texte) == 0) return i;
    return 0;
}

// The browser's own line heights, to click where a line is drawn.
struct AccesBrowser : Fl_Browser_ {
    using Fl_Browser_::item_first;
    using Fl_Browser_::item_height;
    using Fl_Browser_::item_next;
};

// Window coordinate y of the middle of the line showing `texte`.
int yDeLigne(Fl_Browser* b, const char* texte) {
    void* (Fl_Browser_::*premier)() const = &AccesBrowser::item_first;
    void* (Fl_Browser_::*suivant)(void*) const = &AccesBrowser::item_next;
    int (Fl_Browser_::*hauteur)(void*) const = &AccesBrowser::item_height;
    b->topline(1);
    // The browser finds lines as it last drew them.
    b->window()->wait_for_expose();
    b->redraw();
    qvtest::flushDrawing();
    int y = b->y() + Fl::box_dy(b->box());
    void* item = (b->*premier)();
    for (int i = 1; item && i < ligneDe(b, texte); ++i, item = (b->*suivant)(item)) y += (b->*hauteur)(item);
    return y + (item ? (b->*hauteur)(item) / 2 : 0);
}

// A double click on a line, through the window as the toolkit routes it.
void doubleClic(Fl_Browser* b, const char* texte) {
    qvtest::doubleClick(b->window(), b->x() + 20, yDeLigne(b, texte));
}

TEST(FileChooser2, FoldersAreNormalisedUpToTheRoot) {
    InTempDir t;
    const std::vector<std::pair<const char*, std::string>> cas = {
        {"/t/a/b/..", "/t/a"}, {"/a/..", "/"},      {"/..", "/"}, {"/a/.", "/a"}, {"/a/", "/a"},
        {"/", "/"},           {"", ""},             {"x", cwd() + "/x"},          {nullptr, cwd()},
        {"/a/b/", "/a/b"}, {"//", "/"}, {"/.", "/"}};
    for (const auto& [entree, attendu] : cas)
        EXPECT_EQ(Chooser::normaliserDossier(entree), attendu) << (entree ? entree : "null");

    Chooser c("/", "*", Chooser::SINGLE, nullptr, false, false);
    EXPECT_STREQ(c.label(), "Choose File");
    c.directory("/etc/..");
    EXPECT_STREQ(c.directory(), "/");
    EXPECT_STREQ(c.fileName->value(), "/");
    EXPECT_EQ(c.count(), 0);  // the folder itself
    c.type(Chooser::MULTI | Chooser::CREATE);
    c.value("/no-such-file");  // a file right under the root
    EXPECT_EQ(c.type(), Chooser::CREATE);
    EXPECT_STREQ(c.directory(), "/");
    EXPECT_STREQ(c.fileName->value(), "/no-such-file");
    EXPECT_STREQ(c.value(), "/no-such-file");
    EXPECT_EQ(c.count(), 1);
    EXPECT_TRUE(c.okButton->active());
    c.value("");  // the file systems
    EXPECT_STREQ(c.directory(), "");
    EXPECT_STREQ(c.fileName->value(), "");
    EXPECT_EQ(c.value(), nullptr);
    EXPECT_EQ(c.count(), 0);
    EXPECT_FALSE(c.okButton->active());
}

std::string geometrie(const Fl_Widget* w) {
    return std::to_string(w->x()) + "," + std::to_string(w->y()) + "," + std::to_string(w->w()) + "," +
           std::to_string(w->h());
}

TEST(FileChooser2, BothWindowsAreLaidOutWithTheSkinBackground) {
    Fl_RGB_Image fond(reinterpret_cast<const uchar*>("\377\0\0"), 1, 1, 3);
    imgFondsMsg = &fond;
    Chooser c("/", "*", Chooser::SINGLE, "t", false, false);
    imgFondsMsg = nullptr;
    EXPECT_NE(c.window->child(0)->image(), nullptr);
    const Fl_Group* ligne = c.previewButton->parent();
    const Fl_Group* boutons = c.okButton->parent();
    const std::vector<std::pair<const Fl_Widget*, std::string>> attendu = {
        {c.window, std::to_string((Fl::w() - 490) / 2) + "," + std::to_string((Fl::h() - 380) / 2) + ",490,380"},
        {c.window->child(0), "0,0,490,380"},
        {c.showChoice->parent(), "65,10,415,25"},
        {c.showChoice, "65,10,215,25"},
        {c.favoritesButton, "290,10,155,25"},
        {c.newButton, "455,10,25,25"},
        {c.tile, "10,45,470,225"},
        {c.fileList, "10,45,320,225"},  // the preview takes two thirds of its height
        {c.previewBox, "330,45,150,225"},
        {c.fileName->parent(), "0,275,480,95"},
        {ligne, "10,275,470,20"},
        {ligne->resizable(), "10,275,395,20"},
        {c.previewButton, "10,275,170,20"},
        {c.fileName, "85,300,395,35"},
        {qvtest::findWidget(c.window, "Filename:"), "0,310,85,25"},
        {boutons, "10,345,470,25"},
        {boutons->resizable(), "10,345,300,25"},
        {c.okButton, "320,345,75,25"},
        {c.cancelButton, "405,345,75,25"},
        {c.favWindow, std::to_string(c.favWindow->x()) + "," + std::to_string(c.favWindow->y()) + ",355,150"},
        {c.favList, "10,10,300,95"},
        {c.favUpButton, "320,10,25,25"},
        {c.favDeleteButton, "320,45,25,25"},
        {c.favDownButton, "320,80,25,25"},
        {c.favCancelButton, "270,115,75,25"},
        {c.favOkButton, "185,115,75,25"},
    };
    for (const auto& [w, g] : attendu) EXPECT_EQ(geometrie(w), g) << (w->label() ? w->label() : "");
    EXPECT_EQ(c.previewBox->labelsize(), 100);
    for (const Fl_Pix_Button2* b : {c.okButton, c.cancelButton, c.favOkButton, c.favCancelButton})
        EXPECT_EQ(b->etat(), 2);
    EXPECT_EQ(c.previewButton->shortcut(), FL_ALT + 'p');
    for (const char* l : {"Show:", "Favorites", "Preview", "Filename:", "Ok", "Annuler"})
        EXPECT_NE(qvtest::findWidget(c.window, l), nullptr) << l;
    EXPECT_STREQ(c.favWindow->label(), "Manage Favorites");
    EXPECT_EQ(c.favList->type(), FL_HOLD_BROWSER);
    EXPECT_EQ(c.previewBox->box(), FL_DOWN_BOX);
    c.window->position(0, 0);
    c.show();
    EXPECT_EQ(geometrie(c.window), attendu[0].second);
    c.hide();
    c.window->size(690, 480);  // the list grows, the controls keep their size
    EXPECT_EQ(geometrie(c.tile), "10,45,670,325");
    EXPECT_EQ(geometrie(c.newButton) + " " + geometrie(c.okButton), "478,10,25,25 520,445,75,25");
}

TEST(FileChooser2, SeveralFilesAreChosenInMultiMode) {
    Arbre a;
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::MULTI, "t", false, false);
    EXPECT_EQ(c.fileList->type(), FL_MULTI_BROWSER);
    for (const char* l : {"zeta.qv2", "sub/", "ABC.qv2"}) c.fileList->select(ligneDe(c.fileList, l));
    EXPECT_EQ(c.count(), 2);
    taper(c.fileName, "zeta.qv2");  // the whole name: its line alone
    EXPECT_EQ(c.count(), 1);
    EXPECT_STREQ(c.value(1), a.p("zeta.qv2").c_str());
    for (const char* l : {"zeta.qv2", "sub/", "ABC.qv2"}) c.fileList->select(ligneDe(c.fileList, l));
    EXPECT_STREQ(c.value(1), a.p("ABC.qv2").c_str());
    EXPECT_STREQ(c.value(2), a.p("zeta.qv2").c_str());
    EXPECT_EQ(c.value(3), nullptr);
    EXPECT_EQ(c.count(), 2);

    c.value(a.p("zeta.qv2").c_str());  // one file, its line selected
    EXPECT_EQ(c.fileList->type(), FL_HOLD_BROWSER);
    EXPECT_EQ(c.fileList->value(), ligneDe(c.fileList, "zeta.qv2"));
    EXPECT_EQ(c.fileName->mark(), 0);  // all of the name selected

    c.type(Chooser::DIRECTORY);  // folders only, and a folder is a choice
    c.directory(a.dir.dir().path().c_str());
    EXPECT_EQ(lignes(c.fileList), (std::vector<std::string>{"../", "sub/"}));
    EXPECT_TRUE(c.okButton->active());
    c.fileName->value((a.p("sub") + "/").c_str());
    EXPECT_STREQ(c.value(), a.p("sub").c_str());
}

TEST(FileChooser2, FiltersListTheirEntriesAndApplyTheirPattern) {
    Arbre a;
    struct Cas {
        const char* motifs;
        std::vector<std::string> entrees;
        std::string filtre;
    };
    const std::vector<Cas> cas = {
        {"*", {"All Files (*)", "Custom Filter"}, "*"},
        {nullptr, {"All Files (*)", "Custom Filter"}, "*"},
        {"*.qv2\t*.txt", {"*.qv2", "*.txt", "All Files (*)", "Custom Filter"}, "*.qv2"},
        {"R (*.qv2)\tTout (*)", {"R (*.qv2)", "Tout (*)", "Custom Filter"}, "*.qv2"},
        {"Bad (*.qv2", {"Bad (*.qv2", "All Files (*)", "Custom Filter"}, "*.qv2"},
        {"*.a\t*.b\t*.c", {"*.a", "*.b", "*.c", "All Files (*)", "Custom Filter"}, "*.a"},
        {"a/b & c@d", {"a/b && c@@d", "All Files (*)", "Custom Filter"}, "a/b & c@d"},
    };
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::SINGLE, "t", false, false);
    for (const Cas& k : cas) {
        c.filter(k.motifs);
        EXPECT_EQ(entrees(c.showChoice), k.entrees) << k.motifs;
        EXPECT_STREQ(c.filter(), k.filtre.c_str()) << k.motifs;
        EXPECT_EQ(c.filter_value(), 0);
    }
    c.filter("*.qv2\t*.txt");
    EXPECT_EQ(lignes(c.fileList), (std::vector<std::string>{"../", "sub/", "ABC.qv2", "zebra.qv2", "zeta.qv2"}));
    c.filter_value(1);
    EXPECT_EQ(lignes(c.fileList), (std::vector<std::string>{"../", "sub/", "abd.txt"}));

    qvtest::ModalDriver driver;
    driver.onModal([](Fl_Window& w) { repondre(w, "*.dat"); });
    c.filter_value(3);  // "Custom Filter"
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(entrees(c.showChoice),
              (std::vector<std::string>{"*.qv2", "*.txt", "All Files (*)", "Custom Filter", "*.dat"}));
    EXPECT_EQ(c.filter_value(), 4);
    EXPECT_EQ(lignes(c.fileList), (std::vector<std::string>{"../", "sub/", "notes.dat"}));
}

TEST(FileChooser2, CompletionKeepsWhatWasTypedAndSelectsTheRest) {
    Arbre a;
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::CREATE, "t", false, false);
    c.show();
    const std::string d = a.dir.dir().path() + "/";
    auto etat = [&c]() {
        const std::string v = c.fileName->value();
        const int m = std::min(c.fileName->mark(), c.fileName->position());
        return v.substr(0, size_t(m)) + "[" + v.substr(size_t(m)) + "]";
    };
    taper(c.fileName, "z");
    EXPECT_EQ(etat(), d + "z[e]");  // zebra and zeta share "ze"
    taper(c.fileName, "et");
    EXPECT_EQ(etat(), d + "zet[a.qv2]");
    taper(c.fileName, "a.qv2");
    EXPECT_EQ(etat(), d + "zeta.qv2[]");
    EXPECT_STREQ(c.fileList->text(c.fileList->value()), "zeta.qv2");
    EXPECT_TRUE(c.okButton->active());
    c.fileName->position(0, c.fileName->size());
    qvtest::key(c.fileName, FL_Delete);  // an empty name is no choice
    EXPECT_FALSE(c.okButton->active());
    c.fileName->value(d.c_str());
    taper(c.fileName, "su");  // a folder is no file to choose
    EXPECT_EQ(etat(), d + "su[b]");
    EXPECT_FALSE(c.okButton->active());

    c.fileName->value(d.c_str());
    taper(c.fileName, "abc");  // the file is ABC.qv2: the typed case stays
    EXPECT_EQ(etat(), d + "abc[.qv2]");
    qvtest::key(c.fileName, FL_BackSpace);
    EXPECT_EQ(c.fileList->value(), 0);
    EXPECT_FALSE(c.okButton->active());

    c.fileName->value("/");
    c.fileName->position(1);
    taper(c.fileName, "et");  // a folder right under the root
    EXPECT_STREQ(c.directory(), "/");
    EXPECT_EQ(etat(), "/et[c]");
    c.hide();
}

TEST(FileChooser2, FrontEndReturnsTheChoiceOrNothing) {
    Arbre a;
    detruireFileChooser2();
    qvtest::ModalDriver driver;
    std::vector<std::string> vus;
    driver.onModal([&](Fl_Window& w) {
        vus.push_back(w.label());
        taper(&w, "partie.qv2");
        qvtest::clickWidget(fileChooser2Partage()->okButton);
    });
    driver.onModal([&](Fl_Window& w) {  // the folder stays, the name goes: the pattern changed
        EXPECT_EQ(fileChooser2Partage()->type(), Chooser::CREATE);
        vus.push_back(std::string(w.label()) + " " + fileChooser2Partage()->filter() + " " +
                      fileChooser2Partage()->fileName->value());
        taper(&w, "x");
        qvtest::clickWidget(fileChooser2Partage()->cancelButton);
    });
    driver.onModal([&](Fl_Window& w) {
        taper(&w, "y");
        w.do_callback();  // the close box
    });
    driver.onModal([&](Fl_Window&) {
        Fl_File_Browser* l = fileChooser2Partage()->fileList;
        doubleClic(l, "sub/");
        vus.push_back(fileChooser2Partage()->directory());
        doubleClic(l, "../");
        vus.push_back(fileChooser2Partage()->directory());
        doubleClic(l, "ABC.qv2");
    });
    EXPECT_STREQ(fl_file_chooser2("Sauver dans:", "*.qv2", "", 1, 0), "partie.qv2");
    fileChooser2Partage()->type(Chooser::SINGLE);  // every question accepts new names again
    EXPECT_EQ(fl_file_chooser2("Charger", "Texte (*.txt)", nullptr, 1, 0), nullptr);
    EXPECT_EQ(fl_file_chooser2("Charger", "*.txt", "", 0, 0), nullptr);
    EXPECT_STREQ(fl_file_chooser2("Charger", "*", "", 0, 0), a.p("ABC.qv2").c_str());
    driver.onModal([&](Fl_Window&) {  // the same pattern: the name stays
        vus.push_back(fileChooser2Partage()->fileName->value());
        qvtest::clickWidget(fileChooser2Partage()->okButton);
    });
    EXPECT_STREQ(fl_file_chooser2("Charger", std::string("*").c_str(), "", 1, 0), "ABC.qv2");
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(vus, (std::vector<std::string>{"Sauver dans:", "Charger *.txt " + a.dir.dir().path() + "/", a.p("sub"),
                                            a.dir.dir().path(), a.p("ABC.qv2")}));
    EXPECT_EQ(fileChooser2Partage()->previewButton->visible(), 0);  // hidden and greyed
    EXPECT_EQ(fileChooser2Partage()->previewButton->active(), 0);
    detruireFileChooser2();
    EXPECT_EQ(fileChooser2Partage(), nullptr);
}

TEST(FileChooser2, EnterOnAMissingFileAlertsUnlessNewNamesAreAccepted) {
    Arbre a;
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::SINGLE, "t", false, false);
    std::vector<std::string> choix;
    c.callback([](Chooser* ch, void* d) { static_cast<std::vector<std::string>*>(d)->push_back(ch->value()); },
               &choix);
    std::string alerte;
    qvtest::ModalDriver driver;
    driver.onModal([&](Fl_Window&) {
        taper(c.fileName, "zeta.qv");
        EXPECT_TRUE(c.okButton->active());  // an existing file
        c.fileName->value("");
        taper(c.fileName, "nouveau");
        EXPECT_FALSE(c.okButton->active());
        qvtest::key(c.fileName, FL_Enter, 0, "\r");
    });
    driver.onModal([&](Fl_Window& w) {
        alerte = qvtest::findWidget(&w, Chooser::existing_file_label) ? "vue" : "absente";
        w.hide();
    });
    driver.after(0.05, [&]() {
        EXPECT_TRUE(c.shown());
        c.type(Chooser::CREATE);
        qvtest::key(c.fileName, FL_Enter, 0, "\r");
    });
    c.show();
    while (c.shown()) Fl::wait();
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(alerte, "vue");
    EXPECT_EQ(choix, std::vector<std::string>{a.p("nouveau")});
    c.type(Chooser::SINGLE);  // an existing file needs no leave
    driver.onModal([&](Fl_Window&) {
        c.fileName->value("");
        taper(c.fileName, "notes.dat");
        qvtest::key(c.fileName, FL_Enter, 0, "\r");
    });
    c.show();
    while (c.shown()) Fl::wait();
    EXPECT_EQ(choix, (std::vector<std::string>{a.p("nouveau"), a.p("notes.dat")}));
}

TEST(FileChooser2, NewFolderIsCreatedOpenedOrRefused) {
    Arbre a;
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::CREATE, "t", false, false);
    std::vector<std::string> alertes;
    qvtest::ModalDriver driver;
    auto alerte = [&](Fl_Window& w) {
        for (int e : {EEXIST, ENOTDIR})
            if (qvtest::findWidget(&w, std::strerror(e))) alertes.push_back(std::strerror(e));
        w.hide();
    };
    driver.onModal([](Fl_Window& w) { repondre(w, "neuf"); });
    driver.onModal(alerte).onModal(alerte);
    c.newdir();
    struct stat st {};
    ASSERT_EQ(stat(a.p("neuf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0700, 0700u);
    EXPECT_STREQ(c.directory(), a.p("neuf").c_str());
    c.newdir(a.p("ABC.qv2").c_str());  // an existing file is no folder
    c.newdir((a.p("ABC.qv2") + "/x").c_str());
    EXPECT_STREQ(c.directory(), a.p("neuf").c_str());
    c.newdir(a.p("sub").c_str());  // an existing folder opens
    EXPECT_STREQ(c.directory(), a.p("sub").c_str());
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(alertes, (std::vector<std::string>{std::strerror(EEXIST), std::strerror(ENOTDIR)}));
}

TEST(FileChooser2, FavouritesAreAddedMovedAndDeletedInThePreferences) {
    Arbre a;
    // Emptied rather than deleted: the toolkit does not free a deleted entry.
    for (int i = 0; i < 100; ++i) Chooser::prefs_.set(Fl_Preferences::Name("favorite%02d", i), "");
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::CREATE, "t", false, false);
    auto stockes = []() {
        std::vector<std::string> v;
        for (int i = 0; i < 5; ++i) {
            char buf[1024];
            Chooser::prefs_.get(Fl_Preferences::Name("favorite%02d", i), buf, "?", sizeof buf);
            v.push_back(buf);
        }
        return v;
    };
    const std::string A = a.p("sub"), B = a.dir.dir().path(), C = "/";
    for (const std::string& d : {A, B, C}) {
        c.directory(d.c_str());
        choisir(c.favoritesButton, "Add to Favorites");
    }
    c.directory("");
    choisir(c.favoritesButton, "Add to Favorites");  // the file systems have no path
    EXPECT_EQ(stockes(), (std::vector<std::string>{A, B, C, "", ""}));
    const Fl_Menu_Item* items = c.favoritesButton->menu();
    const int n = c.favoritesButton->size() - 1;
    EXPECT_EQ(items[n - 3].shortcut() * 100 + items[n - 1].shortcut(), (FL_ALT + '0') * 100 + FL_ALT + '2');
    std::vector<std::string> menu = entrees(c.favoritesButton);
    EXPECT_EQ(std::vector<std::string>(menu.end() - 3, menu.end()), (std::vector<std::string>{A, B, C}));
    choisir(c.favoritesButton, A);
    EXPECT_STREQ(c.directory(), A.c_str());

    choisir(c.favoritesButton, "Manage Favorites");
    c.favList->select(1);
    c.favList->do_callback();
    qvtest::clickWidget(c.favDownButton);
    EXPECT_TRUE(c.favOkButton->active());
    qvtest::clickWidget(c.favCancelButton);
    choisir(c.favoritesButton, "Manage Favorites");
    ASSERT_TRUE(c.favWindow->shown());
    EXPECT_EQ(lignes(c.favList), (std::vector<std::string>{A, B, C}));
    for (Fl_Widget* b : {(Fl_Widget*)c.favUpButton, (Fl_Widget*)c.favDeleteButton, (Fl_Widget*)c.favDownButton,
                         (Fl_Widget*)c.favOkButton})
        EXPECT_FALSE(b->active()) << b->label();
    c.favList->select(3);
    c.favList->do_callback();
    EXPECT_TRUE(c.favUpButton->active() && !c.favDownButton->active());
    qvtest::clickWidget(c.favUpButton);  // A C B
    EXPECT_EQ(c.favList->value(), 2);
    c.favList->select(1);
    c.favList->do_callback();
    c.favoritesWindowCB(c.favUpButton);  // nothing above the first line
    EXPECT_EQ(lignes(c.favList), (std::vector<std::string>{A, C, B}));
    qvtest::clickWidget(c.favDeleteButton);  // C B
    EXPECT_EQ(c.favList->value(), 1);
    qvtest::clickWidget(c.favDownButton);  // B C
    EXPECT_EQ(c.favList->value(), 2);
    EXPECT_EQ(lignes(c.favList), (std::vector<std::string>{B, C}));
    qvtest::clickWidget(c.favOkButton);
    EXPECT_FALSE(c.favWindow->shown());
    EXPECT_EQ(stockes(), (std::vector<std::string>{B, C, "", "", ""}));
    EXPECT_EQ(c.nbFavoris(), 2);
    EXPECT_EQ(entrees(c.favoritesButton), (std::vector<std::string>{"Add to Favorites", "Manage Favorites",
                                                                     "My Computer", getenv("HOME"), B, C}));

    choisir(c.favoritesButton, "Manage Favorites");
    c.favList->select(1);
    c.favList->do_callback();
    qvtest::clickWidget(c.favDeleteButton);
    qvtest::clickWidget(c.favCancelButton);
    EXPECT_FALSE(c.favWindow->shown());
    EXPECT_EQ(stockes(), (std::vector<std::string>{B, C, "", "", ""}));
    choisir(c.favoritesButton, "Manage Favorites");
    c.favWindow->do_callback();  // its close box
    EXPECT_FALSE(c.favWindow->shown());
    choisir(c.favoritesButton, "My Computer");
    EXPECT_STREQ(c.directory(), "");
    choisir(c.favoritesButton, getenv("HOME"));
    EXPECT_EQ(c.directory(), Chooser::normaliserDossier(getenv("HOME")));
}

TEST(FileChooser2, PreviewShowsTextOrAScaledImage) {
    Arbre a;
    ecrireFichier("texte.txt", "ligne 1\n@bold\tfin\n");
    ecrireFichier("binaire.dat", "abc\200def");
    std::string ppm = "P6\n400 100\n255\n" + std::string(400 * 100 * 3, '\x40');
    ecrireFichier("large.ppm", ppm);
    ecrireFichier("fil.ppm", "P6\n400 1\n255\n" + std::string(400 * 3, '\x40'));
    ecrireFichier("mince.ppm", "P6\n1 400\n255\n" + std::string(400 * 3, '\x40'));
    ecrireFichier("petit.ppm", "P6\n50 40\n255\n" + std::string(50 * 40 * 3, '\x40'));
    Chooser c(a.dir.dir().path().c_str(), "*", Chooser::SINGLE, "t", false, false);
    c.show();
    auto apercu = [&c](const char* nom) {
        c.value(nom);
        c.update_preview();
        Fl_Image* im = c.previewBox->image();
        return std::string(c.previewBox->label() ? c.previewBox->label() : "<none>") + "|" + c.previewText() +
               "|" + (im ? std::to_string(im->w()) + "x" + std::to_string(im->h()) : "-");
    };
    EXPECT_EQ(c.previewBox->w(), 150);  // two thirds of its height
    EXPECT_EQ(apercu("texte.txt"), "ligne 1\n@@bold\tfin\n|ligne 1\n@bold\tfin\n|-");
    EXPECT_EQ(c.previewBox->labelfont(), FL_COURIER);
    EXPECT_EQ(apercu("binaire.dat"), "?||-");
    EXPECT_EQ(c.previewBox->labelsize(), 100);
    EXPECT_EQ(apercu("large.ppm"), "<none>||130x32");  // 150 - 20 wide
    EXPECT_EQ(apercu("petit.ppm"), "<none>||50x40");
    EXPECT_EQ(apercu("fil.ppm"), "?||-");  // scaled to no height at all
    EXPECT_EQ(apercu("mince.ppm"), "?||-");  // nor width
    c.previewBox->size(15, 225);  // no room at all
    EXPECT_EQ(apercu("large.ppm"), "?||-");

    // A click on a line shows its preview a second later.
    int rappels = 0;
    c.callback([](Chooser*, void* n) { ++*static_cast<int*>(n); }, &rappels);
    c.preview(1);
    c.value("");
    c.directory(a.dir.dir().path().c_str());
    qvtest::click(c.window, c.fileList->x() + 20, yDeLigne(c.fileList, "sub/"));
    EXPECT_STREQ(c.fileName->value(), a.p("sub").c_str());
    EXPECT_FALSE(c.okButton->active());  // a folder is no file to choose
    EXPECT_EQ(rappels, 1);
    qvtest::click(c.window, c.fileList->x() + 20, yDeLigne(c.fileList, "texte.txt"));
    EXPECT_TRUE(c.okButton->active());
    EXPECT_STREQ(c.fileName->value(), a.p("texte.txt").c_str());
    EXPECT_STREQ(c.previewText(), "");
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!*c.previewText() && std::chrono::steady_clock::now() < fin) Fl::wait(0.1);
    EXPECT_STREQ(c.previewText(), "ligne 1\n@bold\tfin\n");
    EXPECT_STREQ(c.previewBox->label(), "ligne 1\n@@bold\tfin\n");  // shown once, not appended

    // Cancel drops a pending preview.
    qvtest::click(c.window, c.fileList->x() + 20, yDeLigne(c.fileList, "texte.txt"));
    qvtest::clickWidget(c.cancelButton);
    const auto apres = std::chrono::steady_clock::now() + std::chrono::milliseconds(1300);
    while (std::chrono::steady_clock::now() < apres) Fl::wait(0.1);
    EXPECT_STREQ(c.previewText(), "ligne 1\n@bold\tfin\n");

    c.preview(0);
    EXPECT_EQ(c.previewBox->w(), 0);
    EXPECT_EQ(c.fileList->w(), 470);
    int stocke = -1;
    Chooser::prefs_.get("preview", stocke, -1);
    EXPECT_EQ(stocke, 0);
    c.hide();
}

}  // namespace
