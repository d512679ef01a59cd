#ifndef QV_WIDGETS_FL_FILE_CHOOSER2_H
#define QV_WIDGETS_FL_FILE_CHOOSER2_H

// The program's modal file chooser: a file list with an optional preview,
// a file-name input with completion, a pattern filter, favourite folders
// kept in the toolkit's preferences store, a new-folder button, and OK and
// Cancel drawn as skinned image buttons. Every file question of the program
// goes through the front end fl_file_chooser2, which keeps one chooser for
// the whole run.
//
// Paths are bytes and names differ by case; a chosen path holds at most
// 1,023 bytes (a longer one is refused, never cut). Only "/" separates
// folders and makes a path absolute. An empty folder is the view of the
// mounted file systems.

#include <FL/Fl_Preferences.H>

#include <string>
#include <vector>

class Fl_Box;
class Fl_Button;
class Fl_Check_Button;
class Fl_Choice;
class Fl_Double_Window;
class Fl_File_Browser;
class Fl_File_Input;
class Fl_Image;
class Fl_Menu_Button;
class Fl_Pix_Button2;
class Fl_Shared_Image;
class Fl_Tile;
class Fl_Widget;
struct dirent;

class Fl_File_Chooser2 {
public:
    enum { SINGLE = 0, MULTI = 1, CREATE = 2, DIRECTORY = 4 };

    // `griser` greys and `cacher` hides the filter choice, the favourites
    // button, the preview switch and the new-folder button.
    Fl_File_Chooser2(const char* dir, const char* pattern, int type, const char* title,
                     bool const& griser, bool const& cacher);
    ~Fl_File_Chooser2();
    Fl_File_Chooser2(const Fl_File_Chooser2&) = delete;
    Fl_File_Chooser2& operator=(const Fl_File_Chooser2&) = delete;

    void callback(void (*cb)(Fl_File_Chooser2*, void*), void* d = nullptr);
    void directory(const char* d);
    const char* directory() const { return directory_.c_str(); }
    void filter(const char* p);
    const char* filter() const;
    void filter_value(int f);
    int filter_value() const;
    // Presets the chosen file (or the folder, for a folder or an empty name).
    void value(const char* name);
    // The f-th chosen file (from 1), or null.
    const char* value(int f = 1);
    int count();
    void type(int t);
    int type() const { return type_; }
    void show();
    void hide();
    int shown() const;
    int visible() const;
    void label(const char* l);
    const char* label() const;
    void color(unsigned c);
    unsigned color() const;
    void textcolor(unsigned c);
    unsigned textcolor() const;
    void textfont(int f);
    int textfont() const;
    void textsize(int s);
    int textsize() const;
    void iconsize(unsigned char s);
    unsigned char iconsize() const;
    void rescan();
    void preview(int e);
    int preview() const;
    void griserChoix(bool const& g);
    void cacherChoix(bool const& c);
    void razOkCancelButton();
    void centrer();

    static const char* add_favorites_label;
    static const char* all_files_label;
    static const char* custom_filter_label;
    static const char* existing_file_label;
    static const char* favorites_label;
    static const char* filename_label;
    static const char* filesystems_label;
    static const char* manage_favorites_label;
    static const char* new_directory_label;
    static const char* path_too_long_label;
    static const char* preview_label;
    static const char* show_label;
    static int (*sort)(dirent**, dirent**);
    static Fl_Preferences prefs_;

    // The folder that directory(d) opens: made absolute against the working
    // folder, without a trailing "/", "." or "name/.." ending.
    static std::string normaliserDossier(const char* d);
    // The pattern that a filter-choice entry applies.
    static std::string motifDuFiltre(const std::string& entree);

    // Widgets, owned by their windows.
    Fl_Double_Window* window;
    Fl_Choice* showChoice;
    Fl_Menu_Button* favoritesButton;
    Fl_Button* newButton;
    Fl_Tile* tile;
    Fl_File_Browser* fileList;
    Fl_Box* previewBox;
    Fl_Check_Button* previewButton;
    Fl_File_Input* fileName;
    Fl_Pix_Button2* okButton;
    Fl_Pix_Button2* cancelButton;
    Fl_Double_Window* favWindow;
    Fl_File_Browser* favList;
    Fl_Button* favUpButton;
    Fl_Button* favDeleteButton;
    Fl_Button* favDownButton;
    Fl_Pix_Button2* favCancelButton;
    Fl_Pix_Button2* favOkButton;

    // What the preview box shows as text ("" when it shows an image or "?").
    const char* previewText() const { return preview_text_.c_str(); }
    // The favourites the menu lists, in order.
    int nbFavoris() const { return int(favoris_.size()); }

    // The commands behind the widgets, for the callbacks (and the tests).
    void favoritesCB(int item);
    void favoritesWindowCB(Fl_Widget* w);
    void newdir();
    void newdir(const char* nom);
    void fileListCB();
    void fileNameCB();
    void showChoiceCB();
    void cancelCB();
    void okCB();
    void update_preview();
    // The handler of the preview timer that a click on a line arms.
    static void cbApercu(void* d);

private:
    void construireFenetre(const char* title);
    void construireFavoris();
    void update_favorites();
    void appliquerFiltre();
    void remplirChoix();
    void armerApercu();
    void annulerApercu();
    void majBoutonsFavoris();
    void completer();
    // Alerts and returns true when a chosen path does not fit in 1,023
    // bytes, or names no file any more (unless new names are accepted).
    bool refuserChoix();
    void relireDossier();
    void activerOk(bool actif);
    std::string cheminDeLigne(const char* ligne) const;

    void (*callback_)(Fl_File_Chooser2*, void*);
    void* data_;
    std::string directory_;
    std::string pattern_;
    std::string preview_text_;
    int type_;
    std::string titre_;
    std::string pathname_;
    std::vector<std::string> favoris_;
    std::vector<std::string> filtres_;  // the entries of the filter choice
    bool timerArme_ = false;
    Fl_Image* copieApercu_ = nullptr;          // scaled copy the preview box shows
    Fl_Shared_Image* imageApercu_ = nullptr;   // loaded image the preview box shows
    Fl_Image* fond_ = nullptr;                 // tiled background
    std::string libelleApercu_;
};

// Asks for one file name with the shared chooser; null when cancelled. With
// `relative` the name is given relative to the working folder.
const char* fl_file_chooser2(const char* message, const char* pat, const char* fname, int relative = 0,
                             int preview = 0);
// Called with the name each time the chooser's selection changes.
void fl_file_chooser2_callback(void (*cb)(const char*));
// Deletes the shared chooser; the next question builds a new one (with the
// skin's background and button pictures of that time).
void detruireFileChooser2();
// The shared chooser, null until the first question.
Fl_File_Chooser2* fileChooser2Partage();

#endif
