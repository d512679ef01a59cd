#ifndef QV_WIDGETS_FL_FONT_BROWSER_H
#define QV_WIDGETS_FL_FONT_BROWSER_H

// The modal font chooser of the skin font editor: a family, a style, a size
// and a colour, with a sample drawn in the choice.

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Widget.H>

#include <string>
#include <vector>

class Fl_Browser;
class Fl_Button;
class Fl_Check_Button;
class Fl_Group;
class Fl_Input;
class Fl_Pix_Button2;
class Fl_Image;

// The sample text, drawn in a toolkit font number (the face itself: bold,
// italic and bold-italic faces have numbers of their own), size and colour.
class Fl_Font_Preview_Box : public Fl_Widget {
public:
    Fl_Font_Preview_Box(int x, int y, int w, int h, const char* l = nullptr);
    void SetFont(int font, int style, int size);
    int GetFontName() const { return fontName_; }
    int GetFontStyle() const { return fontStyle_; }  // 0 normal, 1 bold, 2 italic, 3 bold italic
    int GetFontSize() const { return fontSize_; }
    void SetFontColor(Fl_Color c);
    Fl_Color GetFontColor() const { return fontColor_; }
    void SetFontUnderline(int f);
    int GetFontSetFontUnderline() const { return underline_; }
    void SetFontStrickThrough(int f);

protected:
    void draw() override;

private:
    int fontName_ = 1;
    int fontSize_ = 14;
    int fontStyle_ = 0;
    Fl_Color fontColor_ = FL_BLACK;
    int strikeThrough_ = 0;
    int underline_ = 0;
};

class Fl_Font_Browser : public Fl_Double_Window {
public:
    enum { OUVERTE = 0, VALIDEE = 1, ANNULEE = 2 };

    Fl_Font_Browser(const std::string& name, const int& size, const std::string& colour);

    // The OK button's own callback; the window's close callback stays ours.
    using Fl_Double_Window::callback;
    void callback(Fl_Callback* cb, void* data);
    void cb_okBtn(Fl_Widget* w, void* data);
    // Toolkit font number of the chosen family in the chosen style (the
    // family's plain face when it has no such style); the text is unused.
    int GetFontNr(const char* text);

    int etat() const { return etat_; }
    int tailleChoisie() const { return tailleChoisie_; }

    static void cb_FontName_Selected(Fl_Widget* w, void* data);
    static void cb_SyleSelected(Fl_Widget* w, void* data);
    static void cb_FontSize_Selected(Fl_Widget* w, void* data);
    static void cb_txtInputFontName(Fl_Widget* w, void* data);
    static void cb_txtInputFontStyle(Fl_Widget* w, void* data);
    static void cb_txtInputFontSize(Fl_Widget* w, void* data);
    static void cb_Color_Select(Fl_Widget* w, void* data);
    static void cb_UnderLine(Fl_Widget* w, void* data);
    static void cb_Strikethrough(Fl_Widget* w, void* data);
    static void cb_okBtn_Red(Fl_Widget* w, void* data);
    static void cb_Cancel(Fl_Widget* w, void* data);

    Fl_Browser* lst_Font;
    Fl_Input* txt_InputFont;
    Fl_Browser* lst_Style;
    Fl_Input* txt_InputStyle;
    Fl_Browser* lst_Size;
    Fl_Input* txt_InputSize;
    Fl_Pix_Button2* btn_Ok;
    Fl_Pix_Button2* btn_Cancel;
    Fl_Check_Button* btn_Strikethrough;
    Fl_Check_Button* btn_Underline;
    Fl_Button* btn_Color;
    Fl_Font_Preview_Box* pre_Box;

    ~Fl_Font_Browser() override;

private:
    static void cb_Fermer(Fl_Widget* w, void* data);
    void remplirStyles();

    Fl_Callback* userCallback_ = nullptr;
    void* userData_ = nullptr;
    int etat_ = OUVERTE;
    int tailleChoisie_;
    std::vector<int> facesStyles_;  // the font number of each style line
    Fl_Image* fond_ = nullptr;
};

// Runs the window on one font description; true and the three values
// written back on OK, false and nothing changed on Cancel or close.
bool affFonteBrowser(std::string& name, int& size, std::string& colour, const std::string& style);
void detruire_fontbrowser_form();

extern Fl_Font_Browser* aff_form;
extern std::string gs_chaine;

void ForwardSort(Fl_Browser* b);
std::string ToUpperCase(const std::string& s);
std::string ToLowerCase(const std::string& s);
// Fills the size list from the sizes the toolkit reports for a font (a
// first size 0: scalable, 1 to 73) and selects the line for `chosen`.
void remplirTailles(Fl_Browser* b, const int* sizes, int n, int chosen);
// Number of the toolkit font named `name` (from 0 to the font count), -1 when none.
int numeroFonte(const std::string& name);

#endif
