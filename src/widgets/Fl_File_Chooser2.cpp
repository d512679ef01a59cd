#include "widgets/Fl_File_Chooser2.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "display/Fl_Pix_Button2.h"
#include "display/chargerpeau.h"
#include "engine/params.h"

#include <FL/Fl.H>
#include <FL/Fl_Bitmap.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Icon.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Shared_Image.H>
#include <FL/Fl_Tile.H>
#include <FL/Fl_Tiled_Image.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/filename.H>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

const size_t LONGUEUR_CHEMIN = 1024;  // a chosen path fits in this, terminator included
const int MAX_FAVORIS = 100;
const size_t LONGUEUR_APERCU = 2048;

// A path the chooser cannot hand back whole: it is refused, never cut.
bool tropLong(const std::string& p) { return p.size() >= LONGUEUR_CHEMIN; }

// Runs one of the toolkit's file-name functions into a buffer that grows
// until the result is not cut.
template <typename Fonction>
std::string sansCoupure(size_t taille, Fonction f) {
    for (;; taille *= 2) {
        std::vector<char> buf(taille, '\0');
        f(buf.data(), int(taille));
        const size_t n = strnlen(buf.data(), taille);
        if (n + 1 < taille) return std::string(buf.data(), n);
    }
}

// Not the toolkit's fl_filename_isdir: it copies a name that ends with "/"
// into a buffer of its own, which a long typed path overflows.
bool estDossier(const std::string& p) {
    struct stat st {};
    return !p.empty() && stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
bool existe(const std::string& p) { return !p.empty() && access(p.c_str(), F_OK) == 0; }

// The folder a path names once the system has followed its links; empty
// when it cannot tell.
std::string cheminReel(const std::string& p) {
    char* r = realpath(p.c_str(), nullptr);
    const std::string s = r ? r : "";
    std::free(r);
    return s;
}

// An absolute path comes back as it stands.
std::string absolu(const std::string& p) {
    // Room for the working folder from the start: the toolkit reads it
    // into a buffer of the size given and leaves the path relative when it
    // does not fit.
    return sansCoupure(p.size() + PATH_MAX,
                       [&p](char* buf, int n) { fl_filename_absolute(buf, n, p.c_str()); });
}

// A part of the path that is "~", "~name" or "$NAME" becomes the home
// folder, that user's folder or the variable's value, as the toolkit's
// fl_filename_expand reads them: an absolute value starts the path afresh
// and loses its trailing "/". Not the toolkit's own, which writes past its
// buffer when the result outgrows it.
std::string developpe(const std::string& p) {
    std::string r;
    for (size_t debut = 0; debut <= p.size();) {
        const size_t fin = std::min(p.find('/', debut), p.size());
        const std::string partie = p.substr(debut, fin - debut);
        const char* valeur = nullptr;
        if (partie == "~") {
            valeur = std::getenv("HOME");
        } else if (partie.size() > 1 && partie[0] == '~') {
            if (const passwd* pw = getpwnam(partie.c_str() + 1)) valeur = pw->pw_dir;
        } else if (partie.size() > 1 && partie[0] == '$') {
            valeur = std::getenv(partie.c_str() + 1);
        }
        if (!valeur) {
            r += partie;
        } else {
            std::string v = valeur;
            if (!v.empty() && v[0] == '/') r.clear();
            if (!v.empty() && v.back() == '/') v.pop_back();
            r += v;
        }
        if (fin == p.size()) break;
        r += '/';
        debut = fin + 1;
    }
    return r;
}

// A file read for display: opened without waiting and kept only when it is
// a regular file, so that a pipe or a device never holds the program.
class FichierAffiche {
public:
    explicit FichierAffiche(const std::string& chemin)
        : fd_(open(chemin.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
        struct stat st {};
        if (ouvert() && (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~FichierAffiche() {
        if (ouvert()) close(fd_);
    }
    FichierAffiche(const FichierAffiche&) = delete;
    FichierAffiche& operator=(const FichierAffiche&) = delete;

    bool ouvert() const { return fd_ != -1; }
    // Up to n bytes from the start (no more than the preview shows); a
    // regular file gives them in one read.
    std::string debut(size_t n) const {
        std::string texte(n, '\0');
        const ssize_t lus = read(fd_, &texte[0], n);
        texte.resize(lus > 0 ? size_t(lus) : 0);
        return texte;
    }

private:
    int fd_;
};

// The folder part of a path: the text before its last "/", and "/" itself
// for a path directly under the root.
std::string dossierDe(const std::string& p) {
    const size_t i = p.rfind('/');
    if (i == std::string::npos) return std::string();
    return i == 0 ? std::string("/") : p.substr(0, i);
}

std::string joindre(const std::string& dossier, const std::string& nom) {
    if (dossier.empty()) return nom;
    if (dossier.back() == '/') return dossier + nom;
    return dossier + "/" + nom;
}

std::string sansSlashFinal(std::string s) {
    if (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// A menu label shown as it stands: "&" and "@" have meanings to the toolkit.
std::string libelleMenu(const std::string& texte) {
    std::string r;
    for (char c : texte) {
        if (c == '&' || c == '@') r += c;
        r += c;
    }
    return r;
}

// Adds an entry whose label is shown as it stands, "/" included.
int ajouterEntree(Fl_Menu_* menu, const std::string& texte, int raccourci, Fl_Callback* cb, void* data,
                  int drapeaux = 0) {
    // A placeholder that no label can equal, so that add() never reuses an entry.
    const int i = menu->add("\001", raccourci, cb, data, drapeaux);
    menu->replace(i, libelleMenu(texte).c_str());
    return i;
}

// 16 x 16 folder with a star, least significant bit leftmost.
const unsigned char idata_new[] = {0x00, 0x00, 0x78, 0x00, 0x84, 0x00, 0x02, 0x01, 0x01, 0xfe, 0x01,
                                   0x80, 0x31, 0x80, 0x31, 0x80, 0xfd, 0x80, 0xfd, 0x80, 0x31, 0x80,
                                   0x31, 0x80, 0x01, 0x80, 0x01, 0x80, 0xff, 0xff, 0x00, 0x00};
Fl_Bitmap image_new(idata_new, 16, 16);

// The file list. A line reached by the keyboard is reported once the
// toolkit is done with it: the toolkit calls back in the middle of its move
// and then scrolls to the line, which a callback that reloads the list
// (opening a folder, or the chooser's own callback) has freed.
class ListeFichiers : public Fl_File_Browser {
public:
    using Fl_File_Browser::Fl_File_Browser;
    int handle(int event) override {
        if (event != FL_KEYBOARD) return Fl_File_Browser::handle(event);
        const int avant = value();
        const Fl_When quand = when();
        when(0);
        Fl_Widget_Tracker vivante(this);
        const int r = Fl_File_Browser::handle(event);
        if (!vivante.exists()) return r;
        when(quand);
        if (quand && value() != avant) do_callback();
        return r;
    }
};

Fl_File_Chooser2* fc = nullptr;
void (*current_callback)(const char*) = nullptr;
std::string retname;

std::string cleFavori(int n) {
    char cle[32];
    std::snprintf(cle, sizeof cle, "favorite%02d", n);
    return cle;
}

// The stored favourites, up to the first missing or empty key.
std::vector<std::string> lireFavoris() {
    std::vector<std::string> v;
    for (int i = 0; i < MAX_FAVORIS; ++i) {
        // Read whole: a cut folder would open some other place.
        char* valeur = nullptr;
        Fl_File_Chooser2::prefs_.get(cleFavori(i).c_str(), valeur, "");
        const std::string f = valeur ? valeur : "";
        std::free(valeur);
        if (f.empty()) break;
        v.push_back(f);
    }
    return v;
}

std::string utf8(const char* texte) { return latin1VersUtf8(ptraduire(texte)); }

Fl_File_Chooser2* chooserDe(Fl_Widget* w) {
    // Both windows carry the chooser as their user data.
    Fl_Window* fen = w->as_window() ? w->as_window() : w->window();
    return static_cast<Fl_File_Chooser2*>(fen->user_data());
}

void cbFenetre(Fl_Widget* w, void*) { chooserDe(w)->cancelCB(); }
void cbOk(Fl_Widget* w, void*) { chooserDe(w)->okCB(); }
void cbListe(Fl_Widget* w, void*) { chooserDe(w)->fileListCB(); }
void cbNom(Fl_Widget* w, void*) { chooserDe(w)->fileNameCB(); }
void cbFiltre(Fl_Widget* w, void*) { chooserDe(w)->showChoiceCB(); }
void cbNouveau(Fl_Widget* w, void*) { chooserDe(w)->newdir(); }
void cbTuile(Fl_Widget* w, void*) { chooserDe(w)->update_preview(); }
void cbFavWin(Fl_Widget* w, void*) { chooserDe(w)->favoritesWindowCB(w); }
void cbApercuBouton(Fl_Widget* w, void*) {
    chooserDe(w)->preview(static_cast<Fl_Check_Button*>(w)->value());
}
void cbFavori(Fl_Widget* w, void* item) {
    chooserDe(w)->favoritesCB(int(reinterpret_cast<intptr_t>(item)));
}

enum { FAV_AJOUTER = -1, FAV_GERER = -2, FAV_DISQUES = -3, FAV_HOME = -4 };

}  // namespace

const char* Fl_File_Chooser2::add_favorites_label = "Add to Favorites";
const char* Fl_File_Chooser2::all_files_label = "All Files (*)";
const char* Fl_File_Chooser2::custom_filter_label = "Custom Filter";
const char* Fl_File_Chooser2::existing_file_label = "Please choose an existing file!";
const char* Fl_File_Chooser2::favorites_label = "Favorites";
const char* Fl_File_Chooser2::filename_label = "Filename:";
const char* Fl_File_Chooser2::filesystems_label = "My Computer";
const char* Fl_File_Chooser2::manage_favorites_label = "Manage Favorites";
const char* Fl_File_Chooser2::new_directory_label = "New Directory?";
const char* Fl_File_Chooser2::path_too_long_label = "This path is too long!";
const char* Fl_File_Chooser2::preview_label = "Preview";
const char* Fl_File_Chooser2::show_label = "Show:";
int (*Fl_File_Chooser2::sort)(dirent**, dirent**) = fl_numericsort;
Fl_Preferences Fl_File_Chooser2::prefs_(Fl_Preferences::USER, "fltk.org", "filechooser");

std::string Fl_File_Chooser2::normaliserDossier(const char* d) {
    if (!d) d = ".";
    if (!*d) return std::string();
    std::string s = absolu(d);
    if (s.size() > 1 && s.back() == '/') s.pop_back();
    const size_t n = s.size();
    if (n >= 3 && s.compare(n - 3, 3, "/..") == 0) {
        std::string parent = dossierDe(dossierDe(s));
        // Past a link, ".." is the parent of the folder the system shows,
        // which removing the last name as text misses: take that one.
        const std::string montre = cheminReel(s);
        if (!montre.empty() && cheminReel(parent) != montre) parent = montre;
        s = parent;
    } else if (n >= 2 && s.compare(n - 2, 2, "/.") == 0) {
        s.resize(n - 2);
    }
    return s.empty() ? std::string("/") : s;
}

std::string Fl_File_Chooser2::motifDuFiltre(const std::string& entree) {
    const size_t ouvre = entree.find('(');
    if (ouvre == std::string::npos) return entree;
    const size_t ferme = entree.rfind(')');
    // Without a closing ")" after it, the rest of the text is the pattern.
    if (ferme == std::string::npos || ferme < ouvre) return entree.substr(ouvre + 1);
    return entree.substr(ouvre + 1, ferme - ouvre - 1);
}

Fl_File_Chooser2::Fl_File_Chooser2(const char* dir, const char* pattern, int t, const char* title,
                                   bool const& griser, bool const& cacher)
    : callback_(nullptr), data_(nullptr), type_(t) {
    construireFenetre(title);
    type(t);
    filter(pattern);
    update_favorites();
    value(dir);
    type(t);
    preview(1);
    griserChoix(griser);
    cacherChoix(cacher);
}

void Fl_File_Chooser2::construireFenetre(const char* title) {
    fl_register_images();
    window = new Fl_Double_Window(490, 380);
    label(title ? title : "Choose File");
    window->callback(cbFenetre);
    window->user_data(this);
    {
        Fl_Group* fond = new Fl_Group(0, 0, 490, 380);
        if (imgFondsMsg) {
            fond_ = new Fl_Tiled_Image(imgFondsMsg);
            fond->image(fond_);
            fond->align(FL_ALIGN_INSIDE);
        }
        fond->end();
    }
    {
        // The group reaches the window's margin: the choice's label lies
        // in it, beside the choice rather than over the filter it shows.
        Fl_Group* haut = new Fl_Group(10, 10, 470, 25);
        showChoice = new Fl_Choice(65, 10, 215, 25);
        showChoice->copy_label(utf8(show_label).c_str());
        showChoice->down_box(FL_BORDER_BOX);
        showChoice->align(FL_ALIGN_LEFT);
        fl_font(showChoice->labelfont(), showChoice->labelsize());
        // A longer translation pushes the choice right, its right edge kept.
        const int xChoix = std::clamp(int(fl_width(showChoice->label())) + 15, 65, 200);
        showChoice->resize(xChoix, 10, 280 - xChoix, 25);
        showChoice->callback(cbFiltre);
        favoritesButton = new Fl_Menu_Button(290, 10, 155, 25);
        favoritesButton->copy_label(utf8(favorites_label).c_str());
        favoritesButton->down_box(FL_BORDER_BOX);
        favoritesButton->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        newButton = new Fl_Button(455, 10, 25, 25);
        newButton->image(image_new);
        newButton->labelsize(8);
        newButton->copy_tooltip(utf8("Create a new directory.").c_str());
        newButton->callback(cbNouveau);
        haut->resizable(nullptr);
        haut->end();
    }
    tile = new Fl_Tile(10, 45, 470, 225);
    tile->callback(cbTuile);
    fileList = new ListeFichiers(10, 45, 295, 225);
    fileList->type(FL_HOLD_BROWSER);
    fileList->callback(cbListe);
    window->hotspot(fileList);
    previewBox = new Fl_Box(305, 45, 175, 225, "?");
    previewBox->box(FL_DOWN_BOX);
    tile->end();
    window->resizable(tile);
    {
        Fl_Group* bas = new Fl_Group(0, 275, 480, 95);
        {
            Fl_Group* ligne = new Fl_Group(10, 275, 470, 20);
            previewButton = new Fl_Check_Button(10, 275, 170, 20);
            previewButton->copy_label(utf8(preview_label).c_str());
            previewButton->down_box(FL_DOWN_BOX);
            previewButton->value(1);
            previewButton->shortcut(FL_ALT + 'p');
            previewButton->callback(cbApercuBouton);
            ligne->resizable(new Fl_Box(10, 275, 395, 20));
            ligne->end();
        }
        fileName = new Fl_File_Input(85, 300, 395, 35);
        fileName->when(FL_WHEN_ENTER_KEY_CHANGED);
        fileName->callback(cbNom);
        bas->resizable(fileName);
        Fl_Box* lib = new Fl_Box(0, 310, 85, 25, filename_label);
        lib->align(FL_ALIGN_RIGHT | FL_ALIGN_INSIDE);
        {
            Fl_Group* boutons = new Fl_Group(10, 345, 470, 25);
            boutons->resizable(new Fl_Box(10, 345, 300, 25));
            okButton = new Fl_Pix_Button2(320, 345, 75, 25, ptraduire("Ok"), params.imgBoutons[1], true, 2);
            okButton->callback(cbOk);
            cancelButton =
                new Fl_Pix_Button2(405, 345, 75, 25, ptraduire("Annuler"), params.imgBoutons[2], false, 2);
            cancelButton->shortcut(FL_Escape);
            cancelButton->callback(cbFenetre);
            boutons->end();
        }
        bas->end();
    }
    window->set_modal();
    window->end();
    centrer();

    favWindow = new Fl_Double_Window(355, 150);
    favWindow->copy_label(utf8(manage_favorites_label).c_str());
    favWindow->user_data(this);
    favWindow->callback(cbFavWin);
    favList = new Fl_File_Browser(10, 10, 300, 95);
    favList->type(FL_HOLD_BROWSER);
    favList->callback(cbFavWin);
    favUpButton = new Fl_Button(320, 10, 25, 25, "@8>");
    favUpButton->callback(cbFavWin);
    favDeleteButton = new Fl_Button(320, 45, 25, 25, "X");
    favDeleteButton->labelfont(FL_BOLD);
    favDeleteButton->callback(cbFavWin);
    favDownButton = new Fl_Button(320, 80, 25, 25, "@2>");
    favDownButton->callback(cbFavWin);
    favCancelButton = new Fl_Pix_Button2(270, 115, 75, 25, ptraduire("Annuler"), params.imgBoutons[2], false, 2);
    favCancelButton->shortcut(FL_Escape);
    favCancelButton->callback(cbFavWin);
    favOkButton = new Fl_Pix_Button2(185, 115, 75, 25, ptraduire("Ok"), params.imgBoutons[1], true, 2);
    favOkButton->callback(cbFavWin);
    favWindow->set_modal();
    favWindow->resizable(nullptr);
    favWindow->end();
}

Fl_File_Chooser2::~Fl_File_Chooser2() {
    annulerApercu();
    previewBox->image(nullptr);
    delete copieApercu_;
    if (imageApercu_) imageApercu_->release();
    delete window;
    delete favWindow;
    delete fond_;
}

void Fl_File_Chooser2::callback(void (*cb)(Fl_File_Chooser2*, void*), void* d) {
    callback_ = cb;
    data_ = d;
}

void Fl_File_Chooser2::directory(const char* d) {
    directory_ = normaliserDossier(d);
    rescan();
}

void Fl_File_Chooser2::rescan() {
    fileName->value(joindre(directory_, "").c_str());
    activerOk(type_ & DIRECTORY);
    fileList->load(directory_.c_str(), sort);
    update_preview();
}

void Fl_File_Chooser2::activerOk(bool actif) {
    if (actif)
        okButton->activate();
    else
        okButton->deactivate();
}

void Fl_File_Chooser2::type(int t) {
    type_ = t;
    fileList->type((t & MULTI) ? FL_MULTI_BROWSER : FL_HOLD_BROWSER);
    if (t & CREATE)
        newButton->activate();
    else
        newButton->deactivate();
    fileList->filetype((t & DIRECTORY) ? Fl_File_Browser::DIRECTORIES : Fl_File_Browser::FILES);
    fileList->load(directory_.c_str(), sort);
}

void Fl_File_Chooser2::filter(const char* p) {
    if (!p || !*p) p = "*";
    filtres_.clear();
    bool tout = false;
    std::string reste = p;
    for (size_t debut = 0;;) {
        const size_t tab = reste.find('\t', debut);
        const std::string piece = reste.substr(debut, tab == std::string::npos ? std::string::npos : tab - debut);
        if (piece == "*") {
            filtres_.push_back(all_files_label);
            tout = true;
        } else {
            filtres_.push_back(piece);
            if (piece.find("(*)") != std::string::npos) tout = true;
        }
        if (tab == std::string::npos) break;
        debut = tab + 1;
    }
    if (!tout) filtres_.push_back(all_files_label);
    filtres_.push_back(custom_filter_label);
    remplirChoix();
    filter_value(0);
}

void Fl_File_Chooser2::remplirChoix() {
    showChoice->clear();
    for (const std::string& f : filtres_) ajouterEntree(showChoice, f, 0, nullptr, nullptr);
}

const char* Fl_File_Chooser2::filter() const { return fileList->filter(); }

int Fl_File_Chooser2::filter_value() const { return showChoice->value(); }

void Fl_File_Chooser2::filter_value(int f) {
    showChoice->value(f);
    showChoiceCB();
}

void Fl_File_Chooser2::showChoiceCB() {
    const int i = showChoice->value();
    if (i < 0 || i >= int(filtres_.size())) return;
    const std::string& entree = filtres_[size_t(i)];
    if (entree == custom_filter_label) {
        const char* rep = fl_input("%s", pattern_.c_str(), custom_filter_label);
        if (!rep) return;
        pattern_ = rep;
        filtres_.insert(filtres_.begin() + i + 1, pattern_);
        remplirChoix();
        showChoice->value(i + 1);
    } else {
        pattern_ = motifDuFiltre(entree);
    }
    appliquerFiltre();
}

void Fl_File_Chooser2::appliquerFiltre() {
    fileList->filter(pattern_.c_str());
    if (shown()) rescan();
    else {
        fileList->load(directory_.c_str(), sort);
    }
}

void Fl_File_Chooser2::value(const char* name) {
    if (!name || !*name) {
        directory(name);
        fileName->value("");
        activerOk(false);
        return;
    }
    type(type_ & ~MULTI);
    const std::string chemin = absolu(name);
    std::string dossier = chemin, nom;
    if (!estDossier(chemin)) {
        dossier = dossierDe(chemin);
        nom = chemin.substr(chemin.rfind('/') + 1);
    }
    directory(dossier.c_str());
    const std::string complet = joindre(directory_, nom);
    fileName->value(complet.c_str());
    fileName->position(int(complet.size()), 0);
    activerOk(true);
    // The list was just reloaded: nothing in it is selected.
    if (nom.empty()) return;
    for (int i = 1; i <= fileList->size(); ++i) {
        if (nom == fileList->text(i)) {
            fileList->topline(i);
            fileList->select(i);
            break;
        }
    }
}

const char* Fl_File_Chooser2::value(int f) {
    if (type_ & MULTI) {
        int n = 0;
        for (int i = 1; i <= fileList->size(); ++i) {
            if (!fileList->selected(i)) continue;
            const std::string chemin = cheminDeLigne(fileList->text(i));
            // A folder's line, its folder gone or not, is no file.
            if (chemin.back() == '/') continue;
            if (++n == f) {
                pathname_ = chemin;
                return pathname_.c_str();
            }
        }
        return nullptr;
    }
    const char* texte = fileName->value();
    if (!texte || !*texte) return nullptr;
    // A folder's name that names no folder (a favourite since removed) names no file either.
    if (!estDossier(texte)) return texte[std::strlen(texte) - 1] == '/' ? nullptr : texte;
    if (!(type_ & DIRECTORY)) return nullptr;
    pathname_ = sansSlashFinal(texte);
    return pathname_.c_str();
}

int Fl_File_Chooser2::count() {
    if (type_ & MULTI) {
        int n = 0;
        while (value(n + 1)) ++n;
        return n;
    }
    const std::string texte = fileName->value();
    return !texte.empty() && texte != directory_;
}

std::string Fl_File_Chooser2::cheminDeLigne(const char* ligne) const {
    return joindre(directory_, ligne ? ligne : "");
}

void Fl_File_Chooser2::show() {
    window->hotspot(fileList);
    centrer();
    window->show();
    fileName->take_focus();
}

void Fl_File_Chooser2::hide() { window->hide(); }
int Fl_File_Chooser2::shown() const { return window->shown(); }
int Fl_File_Chooser2::visible() const { return window->visible(); }

void Fl_File_Chooser2::label(const char* l) {
    titre_ = l ? l : "";
    window->label(titre_.c_str());
}

const char* Fl_File_Chooser2::label() const { return window->label(); }
void Fl_File_Chooser2::color(unsigned c) { fileList->color(Fl_Color(c)); }
unsigned Fl_File_Chooser2::color() const { return fileList->color(); }
void Fl_File_Chooser2::textcolor(unsigned c) { fileList->textcolor(Fl_Color(c)); }
unsigned Fl_File_Chooser2::textcolor() const { return fileList->textcolor(); }
void Fl_File_Chooser2::textfont(int f) { fileList->textfont(Fl_Font(f)); }
int Fl_File_Chooser2::textfont() const { return fileList->textfont(); }

void Fl_File_Chooser2::textsize(int s) {
    fileList->textsize(Fl_Fontsize(s));
    fileList->iconsize(uchar(s * 3 / 2));
}

int Fl_File_Chooser2::textsize() const { return fileList->textsize(); }

void Fl_File_Chooser2::iconsize(unsigned char s) {
    fileList->iconsize(s);
    fileList->redraw();
}

unsigned char Fl_File_Chooser2::iconsize() const { return fileList->iconsize(); }

void Fl_File_Chooser2::griserChoix(bool const& g) {
    Fl_Widget* w[] = {favoritesButton, previewButton, showChoice, newButton};
    for (Fl_Widget* x : w) {
        if (g)
            x->deactivate();
        else
            x->activate();
    }
}

void Fl_File_Chooser2::cacherChoix(bool const& c) {
    Fl_Widget* w[] = {favoritesButton, previewButton, showChoice, newButton};
    for (Fl_Widget* x : w) {
        if (c)
            x->hide();
        else
            x->show();
    }
}

void Fl_File_Chooser2::razOkCancelButton() {
    okButton->hilight(0);
    cancelButton->hilight(0);
}

void Fl_File_Chooser2::centrer() {
    window->position((Fl::w() - window->w()) / 2, (Fl::h() - window->h()) / 2);
}

// ---- events ---------------------------------------------------------------

void Fl_File_Chooser2::cancelCB() {
    fileName->value("");
    fileList->deselect();
    annulerApercu();
    window->hide();
}

void Fl_File_Chooser2::okCB() {
    if (refuserChoix()) return;
    Fl_Widget_Tracker vivant(window);  // the callback may delete the chooser
    if (callback_) callback_(this, data_);
    if (vivant.exists()) window->hide();
}

bool Fl_File_Chooser2::refuserChoix() {
    for (int f = 1; const char* v = value(f); ++f) {
        if (tropLong(v)) {
            fl_alert("%s", path_too_long_label);
            return true;
        }
        // A line read before its file was removed or renamed.
        if (!(type_ & CREATE) && !existe(v)) {
            fl_alert("%s", existing_file_label);
            relireDossier();
            return true;
        }
        if (!(type_ & MULTI)) break;  // one name, whatever f
    }
    return false;
}

// The list as the folder now stands; the refused name stays in view, as a
// typed one does, but is no choice.
void Fl_File_Chooser2::relireDossier() {
    fileList->load(directory_.c_str(), sort);
    if (type_ & MULTI) fileName->value(joindre(directory_, "").c_str());
    activerOk(type_ & DIRECTORY);
}

void Fl_File_Chooser2::fileListCB() {
    const int ligne = fileList->value();
    if (ligne <= 0) return;
    const std::string chemin = cheminDeLigne(fileList->text(ligne));
    if (Fl::event_clicks()) {
        // "../" of a folder since removed still leads to its parent.
        if (estDossier(normaliserDossier(chemin.c_str()))) {
            directory(chemin.c_str());
            Fl::event_clicks(-1);
        } else if (chemin.back() == '/') {  // a folder since removed
            fl_alert("%s", existing_file_label);
            relireDossier();
        } else if (!refuserChoix()) {
            window->hide();
        }
        return;
    }
    std::string nom = sansSlashFinal(chemin);
    if ((type_ & MULTI) && !fileList->selected(ligne)) {
        // Ctrl+click took the line out of the choice: show a file still
        // chosen, or the folder when none is.
        const char* reste = value(1);
        nom = reste ? reste : joindre(directory_, "");
    }
    fileName->value(nom.c_str());
    armerApercu();
    Fl_Widget_Tracker vivant(window);  // the callback may delete the chooser
    if (callback_) callback_(this, data_);
    if (vivant.exists() && (!estDossier(nom) || (type_ & DIRECTORY))) activerOk(true);
}

void Fl_File_Chooser2::fileNameCB() {
    std::string texte = fileName->value();
    if (texte.empty()) {
        activerOk(false);
        return;
    }
    if (texte.find_first_of("~$") != std::string::npos) {
        texte = developpe(texte);
        fileName->value(texte.c_str());
    }
    if (!directory_.empty() && texte[0] != '/') {
        texte = absolu(texte);
        fileName->value(texte.c_str());
    }
    const int touche = Fl::event_key();
    if (touche == FL_Enter || touche == FL_KP_Enter) {
        if (estDossier(texte)) {
            directory(texte.c_str());
        } else if (texte.back() == '/' || (!tropLong(texte) && !(type_ & CREATE) && !existe(texte))) {
            fl_alert("%s", existing_file_label);
        } else if (tropLong(texte)) {
            fl_alert("%s", path_too_long_label);
        } else {
            type(type_ & ~MULTI);
            update_preview();
            Fl_Widget_Tracker vivant(window);  // the callback may delete the chooser
            if (callback_) callback_(this, data_);
            if (vivant.exists()) window->hide();
        }
        return;
    }
    if (touche == FL_Delete || touche == FL_BackSpace) {
        fileList->deselect();
        fileList->redraw();
        activerOk(false);
        return;
    }
    completer();
    const std::string fin = fileName->value();
    activerOk(((type_ & CREATE) || existe(fin)) && (!estDossier(fin) || (type_ & DIRECTORY)));
}

void Fl_File_Chooser2::completer() {
    std::string texte = fileName->value();
    size_t sep = texte.rfind('/');
    if (sep != std::string::npos) {
        const std::string dossier = dossierDe(texte);
        if (dossier != directory_) {
            const int pos = fileName->position(), marque = fileName->mark();
            const std::string nom = texte.substr(sep + 1);
            directory(dossier.c_str());
            if (!nom.empty()) fileName->value(joindre(directory_, nom).c_str());
            fileName->position(pos, marque);
            texte = fileName->value();
            sep = texte.rfind('/');
        }
    }
    const size_t debutNom = sep == std::string::npos ? 0 : sep + 1;
    const std::string tape = texte.substr(debutNom);
    const size_t L = tape.size();
    // Names differ by case: only a line that begins with the very bytes
    // typed completes them, so the completed name is always a line's own.
    std::string candidat;
    int premiere = 0;
    for (int i = 1; i <= fileList->size(); ++i) {
        const char* ligne = fileList->text(i);
        if (std::strncmp(ligne, tape.c_str(), L) != 0) continue;
        if (!premiere) {
            premiere = i;
            fileList->topline(i);
            candidat = sansSlashFinal(ligne);
        } else {
            // The line ends with its terminator, which no candidate holds.
            candidat.erase(std::mismatch(candidat.begin() + L, candidat.end(), ligne + L).first, candidat.end());
        }
        if (candidat.size() == L) break;
    }
    if (premiere && candidat.size() == L && std::strlen(fileList->text(premiere)) == L) {
        fileList->deselect();
        fileList->select(premiere);
        fileList->redraw();
    } else if (candidat.size() > L) {
        const std::string complete = texte.substr(0, debutNom) + candidat;
        fileName->value(complete.c_str());
        fileName->position(int(complete.size()), int(texte.size()));
    } else if (premiere && candidat.empty()) {
        fileList->deselect();
        fileList->redraw();
    }
}

// ---- preview --------------------------------------------------------------

void Fl_File_Chooser2::armerApercu() {
    annulerApercu();
    Fl::add_timeout(1.0, cbApercu, this);
    timerArme_ = true;
}

void Fl_File_Chooser2::annulerApercu() {
    if (timerArme_) Fl::remove_timeout(cbApercu, this);
    timerArme_ = false;
}

void Fl_File_Chooser2::cbApercu(void* d) {
    Fl_File_Chooser2* c = static_cast<Fl_File_Chooser2*>(d);
    c->timerArme_ = false;
    c->update_preview();
}

void Fl_File_Chooser2::update_preview() {
    if (!previewButton->value()) return;
    const char* v = value(1);
    const std::string fichier = v ? v : "";
    const FichierAffiche fichierLu(fichier);
    Fl_Shared_Image* image = nullptr;
    if (fichierLu.ouvert()) {
        window->cursor(FL_CURSOR_WAIT);
        // Shown before the picture loads; no event is handled here, for a
        // callback could hide or delete the chooser under this call.
        Fl::flush();
        image = Fl_Shared_Image::get(fichier.c_str());
        if (image && (image->w() <= 0 || image->h() <= 0)) {
            image->release();
            image = nullptr;
        }
        if (image) window->cursor(FL_CURSOR_DEFAULT);
    }
    previewBox->image(nullptr);
    delete copieApercu_;
    copieApercu_ = nullptr;
    if (imageApercu_) imageApercu_->release();
    imageApercu_ = nullptr;
    preview_text_.clear();

    int largeur = 0, hauteur = 0;
    if (image) {
        const int lPlace = previewBox->w() - 20, hPlace = previewBox->h() - 20;
        largeur = image->w();
        hauteur = image->h();
        if (largeur > lPlace || hauteur > hPlace) {
            largeur = lPlace;
            hauteur = int(long(lPlace) * image->h() / image->w());
            if (hauteur > hPlace) {
                hauteur = hPlace;
                largeur = int(long(hPlace) * image->w() / image->h());
            }
            // A box too small for any picture shows none.
            if (largeur > 0 && hauteur > 0) copieApercu_ = image->copy(largeur, hauteur);
            image->release();
        } else {
            imageApercu_ = image;
        }
    }
    // "?" for a file that shows as neither text nor picture (an image with
    // no room to show it included); nothing without a file.
    auto inconnu = [this](bool avecFichier) {
        previewBox->label(avecFichier ? "?" : nullptr);
        previewBox->labelfont(FL_HELVETICA);
        previewBox->labelsize(100);
        previewBox->align(FL_ALIGN_CLIP);
    };
    if (image && !copieApercu_ && !imageApercu_) {
        inconnu(true);
    } else if (copieApercu_ || imageApercu_) {
        previewBox->image(copieApercu_ ? copieApercu_ : imageApercu_);
        previewBox->label(nullptr);
        previewBox->align(FL_ALIGN_CLIP);
    } else {
        if (fichierLu.ouvert()) preview_text_ = fichierLu.debut(LONGUEUR_APERCU - 1);
        window->cursor(FL_CURSOR_DEFAULT);
        bool texte = !preview_text_.empty();
        for (unsigned char c : preview_text_)
            if (!(std::isprint(c) || std::isspace(c))) texte = false;  // C locale: no byte from 0x80
        if (!texte) {
            preview_text_.clear();
            inconnu(!fichier.empty());
        } else {
            // "@" starts a symbol in a label: double it to show the text itself.
            libelleApercu_.clear();
            for (char c : preview_text_) {
                if (c == '@') libelleApercu_ += '@';
                libelleApercu_ += c;
            }
            previewBox->label(libelleApercu_.c_str());
            previewBox->labelfont(FL_COURIER);
            previewBox->labelsize(Fl_Fontsize(std::clamp(previewBox->h() / 20, 6, 14)));
            previewBox->align(FL_ALIGN_TOP | FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
        }
    }
    previewBox->redraw();
}

void Fl_File_Chooser2::preview(int e) {
    previewButton->value(e);
    prefs_.set("preview", e);
    const int W = window->w();
    if (!e) {
        fileList->resize(fileList->x(), fileList->y(), W - 20, fileList->h());
        previewBox->resize(W - 10, previewBox->y(), 0, previewBox->h());
    } else {
        const int p = previewBox->h() * 2 / 3;
        fileList->resize(fileList->x(), fileList->y(), W - p - 20, fileList->h());
        previewBox->resize(W - p - 10, previewBox->y(), p, previewBox->h());
        update_preview();
    }
    tile->init_sizes();
    tile->redraw();
}

int Fl_File_Chooser2::preview() const { return previewButton->value(); }

// ---- favourites -----------------------------------------------------------

void Fl_File_Chooser2::update_favorites() {
    favoritesButton->clear();
    favoris_ = lireFavoris();
    ajouterEntree(favoritesButton, add_favorites_label, FL_ALT + 'a', cbFavori,
                  reinterpret_cast<void*>(intptr_t(FAV_AJOUTER)));
    ajouterEntree(favoritesButton, manage_favorites_label, FL_ALT + 'm', cbFavori,
                  reinterpret_cast<void*>(intptr_t(FAV_GERER)), FL_MENU_DIVIDER);
    ajouterEntree(favoritesButton, filesystems_label, FL_ALT + 'f', cbFavori,
                  reinterpret_cast<void*>(intptr_t(FAV_DISQUES)));
    if (const char* home = std::getenv("HOME"))
        ajouterEntree(favoritesButton, home, FL_ALT + 'h', cbFavori, reinterpret_cast<void*>(intptr_t(FAV_HOME)));
    for (size_t i = 0; i < favoris_.size(); ++i)
        ajouterEntree(favoritesButton, favoris_[i], i < 10 ? FL_ALT + '0' + int(i) : 0, cbFavori,
                      reinterpret_cast<void*>(intptr_t(i)));
    if (favoris_.size() >= size_t(MAX_FAVORIS)) favoritesButton->mode(0, FL_MENU_INACTIVE);
}

void Fl_File_Chooser2::favoritesCB(int item) {
    switch (item) {
    case FAV_AJOUTER: {
        // The file-systems view has no path to come back to.
        if (directory_.empty() || favoris_.size() >= size_t(MAX_FAVORIS)) return;
        prefs_.set(cleFavori(int(favoris_.size())).c_str(), directory_.c_str());
        prefs_.flush();
        update_favorites();
        return;
    }
    case FAV_GERER:
        construireFavoris();
        return;
    case FAV_DISQUES:
        directory("");
        return;
    case FAV_HOME:
        if (const char* home = std::getenv("HOME")) directory(home);
        return;
    default:
        if (size_t(item) < favoris_.size()) {
            const std::string dossier = favoris_[size_t(item)];
            directory(dossier.c_str());
        }
    }
}

void Fl_File_Chooser2::construireFavoris() {
    favList->clear();
    for (const std::string& f : lireFavoris())
        favList->add(f.c_str(), Fl_File_Icon::find(f.c_str(), Fl_File_Icon::DIRECTORY));
    favUpButton->deactivate();
    favDeleteButton->deactivate();
    favDownButton->deactivate();
    favOkButton->deactivate();
    favWindow->hotspot(favList);
    favWindow->show();
}

void Fl_File_Chooser2::majBoutonsFavoris() {
    const int i = favList->value(), n = favList->size();
    if (i > 1)
        favUpButton->activate();
    else
        favUpButton->deactivate();
    if (i > 0 && i < n)
        favDownButton->activate();
    else
        favDownButton->deactivate();
    if (i > 0)
        favDeleteButton->activate();
    else
        favDeleteButton->deactivate();
}

void Fl_File_Chooser2::favoritesWindowCB(Fl_Widget* w) {
    const int i = favList->value();
    if (w == favList) {
        majBoutonsFavoris();
    } else if (w == favUpButton && i > 1) {
        favList->swap(i, i - 1);
        favList->select(i - 1);
        majBoutonsFavoris();
        favOkButton->activate();
    } else if (w == favDownButton && i > 0 && i < favList->size()) {
        favList->swap(i, i + 1);
        favList->select(i + 1);
        majBoutonsFavoris();
        favOkButton->activate();
    } else if (w == favDeleteButton && i > 0) {
        favList->remove(i);
        if (favList->size() > 0) favList->select(std::min(i, favList->size()));
        majBoutonsFavoris();
        favOkButton->activate();
    } else if (w == favOkButton) {
        int k = 0;
        for (; k < favList->size() && k < MAX_FAVORIS; ++k) prefs_.set(cleFavori(k).c_str(), favList->text(k + 1));
        for (; k < MAX_FAVORIS; ++k) {
            char buf[8];
            prefs_.get(cleFavori(k).c_str(), buf, "", sizeof buf);
            if (!buf[0]) break;
            prefs_.set(cleFavori(k).c_str(), "");
        }
        prefs_.flush();
        update_favorites();
        favWindow->hide();
    } else if (w == favCancelButton || w == favWindow) {
        favWindow->hide();
    }
}

// ---- new folder -----------------------------------------------------------

void Fl_File_Chooser2::newdir() {
    const char* nom = fl_input("%s", nullptr, new_directory_label);
    if (nom) newdir(nom);
}

void Fl_File_Chooser2::newdir(const char* nom) {
    if (!nom || !*nom) return;
    const std::string chemin = nom[0] == '/' ? std::string(nom) : joindre(directory_, nom);
    if (mkdir(chemin.c_str(), 0777) != 0) {
        const int err = errno;
        // An existing folder opens; an existing file is no folder.
        if (err != EEXIST || !estDossier(chemin)) {
            fl_alert("%s", std::strerror(err));
            return;
        }
    }
    directory(chemin.c_str());
}

// ---- front end ------------------------------------------------------------

namespace {

void rappelFrontal(Fl_File_Chooser2* c, void*) {
    if (current_callback && c->value()) current_callback(c->value());
}

bool memesMotifs(const char* a, const char* b) { return a == b || (a && b && std::strcmp(a, b) == 0); }

}  // namespace

const char* fl_file_chooser2(const char* message, const char* pat, const char* fname, int relative, int preview) {
    if (!fc) {
        if (!fname || !*fname) fname = ".";
        fc = new Fl_File_Chooser2(fname, pat, Fl_File_Chooser2::CREATE, message, true, true);
        fc->callback(rappelFrontal, nullptr);
    } else {
        fc->type(Fl_File_Chooser2::CREATE);
        fc->filter(pat);
        fc->label(message);
        if (!fname || !*fname) {
            if (!memesMotifs(fc->filter(), pat) && fc->value()) {
                // Keep the folder of the previous choice, drop its name.
                retname = fc->value();
                const std::string dossier = dossierDe(retname);
                fc->directory(dossier.empty() ? "." : dossier.c_str());
            }
        } else {
            fc->value(fname);
        }
    }
    fc->razOkCancelButton();
    fc->show();
    fc->preview(preview);
    // A callback (the one set with fl_file_chooser2_callback included) may
    // delete the shared chooser meanwhile: no answer then.
    for (Fl_File_Chooser2* const c = fc; fc == c && c->shown();) Fl::wait();
    if (!fc) return nullptr;
    const char* v = fc->value();
    if (!v) return nullptr;
    if (!relative) return v;
    const std::string absolu = v;
    retname = sansCoupure(LONGUEUR_CHEMIN,
                          [&absolu](char* buf, int n) { fl_filename_relative(buf, n, absolu.c_str()); });
    // The same file named from the root rather than a relative name too long to hand back.
    if (tropLong(retname)) retname = absolu;
    return retname.c_str();
}

void fl_file_chooser2_callback(void (*cb)(const char*)) { current_callback = cb; }

void detruireFileChooser2() {
    delete fc;
    fc = nullptr;
}

Fl_File_Chooser2* fileChooser2Partage() { return fc; }
