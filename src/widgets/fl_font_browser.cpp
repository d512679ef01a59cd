#include "widgets/fl_font_browser.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "display/Fl_Pix_Button2.h"
#include "display/chargerpeau.h"
#include "engine/params.h"

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Tiled_Image.H>
#include <FL/fl_draw.H>
#include <FL/fl_show_colormap.H>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

Fl_Font_Browser* aff_form = nullptr;
std::string gs_chaine;

namespace {

const char* const TEXTE_EXEMPLE =
    "abcdefghijklmnopqrstuvwxyz\nABCDEFGHIJKLMNOPQRSTUVWXYZ\n0123456789 &$\243\351\350\347\340\342\352\356\364\373";
const int TAILLE_DEFAUT = 14;
const int TAILLE_MAX_VECTORIELLE = 73;
// Far beyond what the sample shows: from tens of thousands the font library
// fails and the toolkit ends the program.
const int TAILLE_MAX_DESSINEE = 200;

const char* const STYLES[] = {"Normal", "Bold", "Italic", "Bold Italic"};

std::string traduit(const char* texte) { return latin1VersUtf8(ptraduire(texte)); }

Fl_Font_Browser* fenetre(void* data) { return static_cast<Fl_Font_Browser*>(data); }

const char* texteSelection(Fl_Browser* b) {
    const int i = b->value();
    return i > 0 ? b->text(i) : nullptr;
}

// Selects the first line that `egal` accepts, shows it and copies it into
// the input; then the list's callback runs. false when no line matches.
template <typename Egal>
bool choisirLigne(Fl_Browser* liste, Fl_Input* saisie, Egal egal) {
    liste->deselect();
    for (int i = 1; i <= liste->size(); ++i) {
        if (!egal(liste->text(i))) continue;
        liste->select(i);
        liste->middleline(i);
        saisie->value(liste->text(i));
        liste->do_callback();
        return true;
    }
    return false;
}

// The style list: a line stays selected, the style the sample shows. The
// toolkit takes the line away, without calling back, when a press below the
// lines drags on and its release never comes (the window closed meanwhile).
class ListeStyles : public Fl_Browser {
public:
    using Fl_Browser::Fl_Browser;
    int handle(int event) override {
        Fl_Widget_Tracker vivante(this);
        const int r = Fl_Browser::handle(event);
        // The callback puts back the line of the style shown.
        if (vivante.exists() && size() > 0 && value() == 0) do_callback();
        return r;
    }
};

void etiquette(Fl_Widget* w, const char* texte, Fl_Align a) {
    w->copy_label(traduit(texte).c_str());
    w->labelsize(12);
    w->align(a);
}

}  // namespace

// ---- sample ---------------------------------------------------------------

Fl_Font_Preview_Box::Fl_Font_Preview_Box(int X, int Y, int W, int H, const char* l) : Fl_Widget(X, Y, W, H, l) {
    box(FL_DOWN_BOX);
    color(FL_WHITE);
}

void Fl_Font_Preview_Box::SetFont(int font, int style, int size) {
    fontName_ = font;
    fontStyle_ = style;
    fontSize_ = size;
    redraw();
}

void Fl_Font_Preview_Box::SetFontColor(Fl_Color c) {
    fontColor_ = c;
    redraw();
}

void Fl_Font_Preview_Box::SetFontUnderline(int f) {
    underline_ = f;
    redraw();
}

void Fl_Font_Preview_Box::SetFontStrickThrough(int f) {
    strikeThrough_ = f;
    redraw();
}

void Fl_Font_Preview_Box::draw() {
    draw_box();
    fl_font(Fl_Font(fontName_), Fl_Fontsize(std::clamp(fontSize_, 1, TAILLE_MAX_DESSINEE)));
    fl_color(fontColor_);
    const int X = x() + 3, Y = y() + 3, W = w() - 6, H = h() - 6;
    fl_push_clip(X, Y, W, H);
    fl_draw(label(), X, Y, W, H, align(), nullptr, 1);
    if (strikeThrough_) fl_draw("------------------", X, Y, W, H, align(), nullptr, 1);
    if (underline_) fl_draw("__________________", X, Y + 2, W, H, align(), nullptr, 1);
    fl_pop_clip();
}

// ---- helpers --------------------------------------------------------------

void ForwardSort(Fl_Browser* b) {
    for (int i = 1; i <= b->size(); ++i)
        for (int j = i + 1; j <= b->size(); ++j)
            if (std::strcmp(b->text(i), b->text(j)) > 0) b->swap(i, j);
}

std::string ToUpperCase(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = char(std::toupper((unsigned char)c));
    return r;
}

std::string ToLowerCase(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = char(std::tolower((unsigned char)c));
    return r;
}

int numeroFonte(const std::string& name) {
    const int n = Fl::set_fonts(nullptr);
    for (int i = 0; i < n; ++i) {
        const char* nom = Fl::get_font_name(Fl_Font(i));
        if (nom && name == nom) return i;
    }
    return -1;
}

void remplirTailles(Fl_Browser* b, const int* sizes, int n, int chosen) {
    b->clear();
    if (n <= 0) return;
    char ligne[16];
    if (sizes[0] == 0) {
        for (int t = 1; t <= TAILLE_MAX_VECTORIELLE; ++t) {
            std::snprintf(ligne, sizeof ligne, "%d", t);
            b->add(ligne);
        }
        b->select(chosen);  // nothing beyond the list
        return;
    }
    int choisie = 1;
    for (int i = 0; i < n; ++i) {
        std::snprintf(ligne, sizeof ligne, "%d", sizes[i]);
        b->add(ligne);
        if (sizes[i] <= chosen) choisie = i + 1;
    }
    b->select(choisie);
}

// ---- window ---------------------------------------------------------------

Fl_Font_Browser::Fl_Font_Browser(const std::string& name, const int& size, const std::string& colour)
    : Fl_Double_Window(100, 100, 500, 360), tailleChoisie_(size < 1 ? TAILLE_DEFAUT : size) {
    copy_label(traduit("Choix de la fonte / police de caracteres").c_str());
    Fl_Double_Window::callback(cb_Fermer, this);
    {
        Fl_Group* fond = new Fl_Group(0, 0, w(), h());
        if (imgFondsMsg) {
            fond_ = new Fl_Tiled_Image(imgFondsMsg);
            fond->image(fond_);
            fond->align(FL_ALIGN_INSIDE);
        }
        fond->end();
    }
    auto saisie = [this](int X, int Y, int W, const char* texte, Fl_Callback* cb) {
        Fl_Input* in = new Fl_Input(X, Y, W, 24);
        etiquette(in, texte, FL_ALIGN_TOP_LEFT);
        in->textsize(12);
        in->when(FL_WHEN_ENTER_KEY);
        in->callback(cb, this);
        return in;
    };
    auto liste = [this](int X, int W, Fl_Callback* cb, bool toujoursUneLigne) {
        Fl_Browser* b = toujoursUneLigne ? new ListeStyles(X, 50, W, 159) : new Fl_Browser(X, 50, W, 159);
        b->type(FL_HOLD_BROWSER);
        b->textsize(12);
        b->callback(cb, this);
        // Called back at every change of line too: a drag released over the
        // list's scrollbar changes the line and the toolkit calls nothing
        // on that release, which left the sample on the former line.
        b->when(FL_WHEN_CHANGED | FL_WHEN_RELEASE_ALWAYS);
        return b;
    };
    txt_InputFont = saisie(5, 26, 205, "Fonte:", cb_txtInputFontName);
    lst_Font = liste(5, 205, cb_FontName_Selected, false);
    txt_InputStyle = saisie(215, 26, 95, "Style:", cb_txtInputFontStyle);
    lst_Style = liste(215, 95, cb_SyleSelected, true);
    txt_InputSize = saisie(315, 26, 75, "Taille:", cb_txtInputFontSize);
    lst_Size = liste(315, 75, cb_FontSize_Selected, false);
    {
        const int fx = 395, fy = 50, fw = w() - 400;
        Fl_Group* cadre = new Fl_Group(fx, fy, fw, 159);
        cadre->box(FL_ENGRAVED_FRAME);
        etiquette(cadre, "Proprietes:", FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
        btn_Strikethrough = new Fl_Check_Button(fx + 5, fy + 30, fw - 10, 15);
        // Labels inside, after the box: the frame leaves no room beside it.
        etiquette(btn_Strikethrough, "Raye", FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        btn_Strikethrough->callback(cb_Strikethrough, this);
        btn_Strikethrough->deactivate();
        btn_Underline = new Fl_Check_Button(fx + 5, fy + 55, fw - 10, 15);
        etiquette(btn_Underline, "Souligne", FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        btn_Underline->callback(cb_UnderLine, this);
        btn_Underline->deactivate();
        btn_Color = new Fl_Button(fx + 5, fy + 90, fw - 10, 23);
        etiquette(btn_Color, "Couleur:", FL_ALIGN_TOP_LEFT);
        btn_Color->down_box(FL_BORDER_BOX);
        btn_Color->callback(cb_Color_Select, this);
        cadre->end();
    }
    {
        Fl_Group* cadre = new Fl_Group(5, 215, w() - 10, h() - 253);
        cadre->box(FL_ENGRAVED_FRAME);
        etiquette(cadre, "Exemple:", FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
        pre_Box = new Fl_Font_Preview_Box(10, 233, cadre->w() - 10, 80);
        pre_Box->copy_label(latin1VersUtf8(TEXTE_EXEMPLE).c_str());
        pre_Box->labelsize(12);
        pre_Box->align(FL_ALIGN_INSIDE | FL_ALIGN_CLIP | FL_ALIGN_WRAP);
        cadre->end();
    }
    btn_Ok = new Fl_Pix_Button2(w() - 170, h() - 33, 75, 23, ptraduire(strLabelBtOk), params.imgBoutons[1], true, 2);
    btn_Ok->callback(cb_okBtn_Red, this);
    btn_Cancel = new Fl_Pix_Button2(w() - 85, h() - 33, 75, 23, lookup(ptraduire(strLabelBoutons), 4, "|"),
                                    params.imgBoutons[2], false, 2);
    btn_Cancel->shortcut(FL_Escape);
    btn_Cancel->callback(cb_Cancel, this);
    set_modal();
    end();

    const int n = Fl::set_fonts(nullptr);
    for (int i = 0; i < n; ++i) {
        int attributs = 0;
        const char* nom = Fl::get_font_name(Fl_Font(i), &attributs);
        if (nom && !(attributs & (FL_BOLD | FL_ITALIC))) lst_Font->add(nom);
    }
    ForwardSort(lst_Font);
    int ligne = 1;
    for (int i = 1; i <= lst_Font->size(); ++i)
        if (name == lst_Font->text(i)) {
            ligne = i;
            break;
        }
    if (lst_Font->size() > 0) lst_Font->select(ligne);

    // The colour as given, not its nearest colour-cube entry: OK writes it back.
    auto composante = [&colour](int k) { return uchar(std::clamp(champInt(colour, k, ","), 0, 255)); };
    const Fl_Color c = fl_rgb_color(composante(1), composante(2), composante(3));
    btn_Color->color(c);
    pre_Box->SetFontColor(c);
    lst_Style->select(1);
    lst_Font->do_callback();
    lst_Style->do_callback();
}

Fl_Font_Browser::~Fl_Font_Browser() {
    // The background group only borrows its picture.
    delete fond_;
    // Deleted by other hands than detruire_fontbrowser_form: the front end
    // must not use it again.
    if (aff_form == this) aff_form = nullptr;
}

void Fl_Font_Browser::callback(Fl_Callback* cb, void* data) {
    userCallback_ = cb;
    userData_ = data;
}

void Fl_Font_Browser::cb_okBtn(Fl_Widget*, void*) {
    etat_ = VALIDEE;
    // The callback may delete this window.
    Fl_Widget_Tracker vivante(this);
    if (userCallback_) userCallback_(this, userData_);
    // Hiding wakes the front end's wait at once.
    if (vivante.exists()) hide();
}

int Fl_Font_Browser::GetFontNr(const char*) {
    // Line 1, "Normal", is the family's plain face; no family, the toolkit's first font.
    const size_t ligne = size_t(std::max(lst_Style->value(), 1));
    return ligne <= facesStyles_.size() ? facesStyles_[ligne - 1] : 0;
}

void Fl_Font_Browser::remplirStyles() {
    lst_Style->clear();
    facesStyles_.clear();
    const char* famille = texteSelection(lst_Font);
    if (!famille) return;
    const int plain = numeroFonte(famille);
    lst_Style->add(STYLES[0]);
    facesStyles_.push_back(std::max(plain, 0));
    // Faces are found by name: the toolkit does not number them in order.
    for (int s = 1; s < 4; ++s) {
        const int face = numeroFonte(std::string(famille) + " " + ToLowerCase(STYLES[s]));
        if (face < 0) continue;
        lst_Style->add(STYLES[s]);
        facesStyles_.push_back(face);
    }
    lst_Style->select(1);
    txt_InputStyle->value(STYLES[0]);
}

void Fl_Font_Browser::cb_FontName_Selected(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    const char* famille = texteSelection(f->lst_Font);
    if (!famille) return;
    f->txt_InputFont->value(famille);
    const int numero = numeroFonte(famille);
    int* tailles = nullptr;
    const int n = numero < 0 ? 0 : Fl::get_font_sizes(Fl_Font(numero), tailles);
    if (n <= 0) return;
    remplirTailles(f->lst_Size, tailles, n, f->tailleChoisie_);
    f->remplirStyles();
    f->pre_Box->SetFont(f->GetFontNr(""), 0, f->tailleChoisie_);
    const char* taille = texteSelection(f->lst_Size);
    f->txt_InputSize->value(taille ? taille : "");
}

void Fl_Font_Browser::cb_SyleSelected(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    const char* style = texteSelection(f->lst_Style);
    if (!style && f->lst_Style->size() > 0) {
        // A click below the lines deselects them all: the style the sample
        // shows stays selected ("Normal", line 1, when no line names it).
        const char* montre = STYLES[f->pre_Box->GetFontStyle() & 3];
        int i = f->lst_Style->size();
        while (i > 1 && std::strcmp(f->lst_Style->text(i), montre) != 0) --i;
        f->lst_Style->select(i);
        style = f->lst_Style->text(i);
    }
    if (!style) return;
    int s = 0;
    while (s < 3 && std::strcmp(STYLES[s], style) != 0) ++s;
    // The size shown stays, a typed one that no line holds included.
    f->pre_Box->SetFont(f->GetFontNr(""), s, f->pre_Box->GetFontSize());
    f->txt_InputStyle->value(style);
}

void Fl_Font_Browser::cb_FontSize_Selected(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    const char* taille = texteSelection(f->lst_Size);
    if (!taille) return;
    f->tailleChoisie_ = entierTolerant(taille);
    f->pre_Box->SetFont(f->pre_Box->GetFontName(), f->pre_Box->GetFontStyle(), f->tailleChoisie_);
    f->txt_InputSize->value(taille);
}

void Fl_Font_Browser::cb_txtInputFontName(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    const std::string tape = f->txt_InputFont->value();
    choisirLigne(f->lst_Font, f->txt_InputFont,
                 [&tape](const char* l) { return strcasecmp(l, tape.c_str()) == 0; });
    f->txt_InputFont->take_focus();
}

void Fl_Font_Browser::cb_txtInputFontStyle(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    // A style the family lacks, or none, leaves "Normal" selected.
    if (!choisirLigne(f->lst_Style, f->txt_InputStyle,
                      [](const char* l) { return strcasecmp(l, gs_chaine.c_str()) == 0; }))
        choisirLigne(f->lst_Style, f->txt_InputStyle, [](const char* l) { return std::strcmp(l, STYLES[0]) == 0; });
    f->txt_InputStyle->take_focus();
}

void Fl_Font_Browser::cb_txtInputFontSize(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    const int tape = entierTolerant(f->txt_InputSize->value());
    if (!choisirLigne(f->lst_Size, f->txt_InputSize,
                      [tape](const char* l) { return entierTolerant(l) == tape; })) {
        // Only the sample takes it, at a size it draws; OK answers that
        // size, which the input then shows. No size at all changes nothing.
        Fl_Font_Preview_Box* b = f->pre_Box;
        if (tape >= 1) b->SetFont(b->GetFontName(), b->GetFontStyle(), std::min(tape, TAILLE_MAX_DESSINEE));
        f->txt_InputSize->value(std::to_string(b->GetFontSize()).c_str());
    }
    f->txt_InputSize->take_focus();
}

void Fl_Font_Browser::cb_Color_Select(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    const Fl_Color c = fl_show_colormap(f->btn_Color->color());
    f->pre_Box->SetFontColor(c);
    f->btn_Color->color(c);
    f->btn_Color->redraw();
}

void Fl_Font_Browser::cb_UnderLine(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    f->pre_Box->SetFontUnderline(f->btn_Underline->value());
}

void Fl_Font_Browser::cb_Strikethrough(Fl_Widget*, void* data) {
    Fl_Font_Browser* f = fenetre(data);
    f->pre_Box->SetFontStrickThrough(f->btn_Strikethrough->value());
}

void Fl_Font_Browser::cb_okBtn_Red(Fl_Widget* w, void* data) { fenetre(data)->cb_okBtn(w, data); }

void Fl_Font_Browser::cb_Cancel(Fl_Widget*, void* data) {
    fenetre(data)->etat_ = ANNULEE;
    fenetre(data)->hide();
}

void Fl_Font_Browser::cb_Fermer(Fl_Widget* w, void* data) { cb_Cancel(w, data); }

// ---- front end ------------------------------------------------------------

bool affFonteBrowser(std::string& name, int& size, std::string& colour, const std::string& style) {
    gs_chaine = style;
    if (!aff_form) aff_form = new Fl_Font_Browser(name, size, colour);
    Fl_Font_Browser* f = aff_form;
    // The window has shown its family and sizes since it was built: only
    // the style asked for remains to select.
    f->txt_InputStyle->do_callback();
    f->show();
    // A window hidden by anyone else counts as closed; one deleted meanwhile
    // (by a callback or a timer) leaves nothing to read.
    Fl_Widget_Tracker vivante(f);
    while (vivante.exists() && f->etat() == Fl_Font_Browser::OUVERTE && f->shown()) Fl::wait();
    // Fl::delete_widget hides the window at once and deletes it at the next
    // wait: deleting it here as well would delete it twice.
    if (vivante.exists() && !f->shown()) Fl::check();
    if (!vivante.exists()) return false;
    const bool ok = f->etat() == Fl_Font_Browser::VALIDEE;
    if (ok) {
        if (const char* nom = texteSelection(f->lst_Font)) name = nom;
        const char* taille = texteSelection(f->lst_Size);
        // No size line selected: the size the sample shows.
        size = taille ? entierTolerant(taille) : f->pre_Box->GetFontSize();
        uchar r = 0, g = 0, b = 0;
        Fl::get_color(f->btn_Color->color(), r, g, b);
        char rgb[32];
        std::snprintf(rgb, sizeof rgb, "%d,%d,%d|", r, g, b);
        // The style line shown selected, whatever the style input holds.
        const char* style = texteSelection(f->lst_Style);
        colour = rgb + std::string(style ? style : STYLES[0]);
    }
    f->hide();
    detruire_fontbrowser_form();
    return ok;
}

void detruire_fontbrowser_form() {
    delete aff_form;
    aff_form = nullptr;
}
