#include "widgets/fl_font_browser.h"

#include "app/interface.h"
#include "display/Fl_Pix_Button2.h"
#include "engine/params.h"
#include "support/ModalDriver.h"
#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <gtest/gtest.h>

#include <FL/fl_draw.H>  // after GoogleTest: X11 names its macros "None"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Textes = std::vector<std::string>;

std::string selection(Fl_Browser* b) { return b->value() > 0 ? b->text(b->value()) : "<none>"; }

Textes lignes(Fl_Browser* b) {
    Textes v;
    for (int i = 1; i <= b->size(); ++i) v.push_back(b->text(i));
    return v;
}

std::string nomFonte(int n) { return Fl::get_font_name(Fl_Font(n)); }

// The height of a list's lines, which the toolkit keeps to the list and its kin.
struct HauteurLigne : Fl_Browser {
    static int de(const Fl_Browser* b) { return (b->*(&HauteurLigne::incr_height))(); }
};

int ligneDe(Fl_Browser* b, const std::string& texte) {
    for (int i = 1; i <= b->size(); ++i)
        if (texte == b->text(i)) return i;
    return 0;
}

// A family of this machine whose bold face does not follow its plain one.
std::string familleDesordonnee() {
    for (int i = 0, n = Fl::set_fonts(nullptr); i < n; ++i) {
        int attributs = 0;
        const std::string nom = Fl::get_font_name(Fl_Font(i), &attributs);
        const int gras = numeroFonte(nom + " bold");
        if (attributs == 0 && gras >= 0 && gras != i + 1 && numeroFonte(nom + " bold italic") >= 0) return nom;
    }
    return std::string();
}

// What the user typed in an input, confirmed with Enter.
void saisir(Fl_Input* in, const char* texte) {
    in->value(texte);
    in->do_callback();
}

TEST(FontBrowser, SizeListsForScalableAndFixedFonts) {
    Fl_Browser b(0, 0, 50, 100);
    const std::vector<int> vectorielle = {0}, fixes = {8, 10, 12};
    const std::vector<std::tuple<const std::vector<int>*, int, int, std::string>> cas = {
        {&vectorielle, 14, 73, "14"}, {&vectorielle, 73, 73, "73"}, {&vectorielle, 80, 73, "<none>"},
        {&fixes, 11, 3, "10"},        {&fixes, 12, 3, "12"},        {&fixes, 5, 3, "8"},
        {&vectorielle, 14, 0, "<none>"}};  // no size reported
    for (const auto& [tailles, choisie, n, vue] : cas) {
        remplirTailles(&b, tailles->data(), n ? int(tailles->size()) : 0, choisie);
        EXPECT_EQ(std::to_string(b.size()) + " " + selection(&b), std::to_string(n) + " " + vue) << choisie;
    }
    remplirTailles(&b, vectorielle.data(), 1, 0);
    EXPECT_EQ(std::string(b.text(1)) + " " + b.text(73), "1 73");
}

TEST(FontBrowser, StylesAreTheFamilysOwnFacesFoundByName) {
    const std::string famille = familleDesordonnee();
    ASSERT_FALSE(famille.empty()) << "no family with scattered faces on this machine";
    Fl_Font_Browser f(famille, 0, "0,0,0");
    EXPECT_EQ(std::to_string(f.tailleChoisie()) + " " + selection(f.lst_Font) + " " + selection(f.lst_Size) + " " +
                  std::to_string(f.lst_Size->size()),
              "14 " + famille + " 14 73");
    EXPECT_EQ(lignes(f.lst_Style), (Textes{"Normal", "Bold", "Italic", "Bold Italic"}));
    const Textes suffixes = {"", " bold", " italic", " bold italic"};
    for (int s = 0; s < 4; ++s) {
        f.lst_Style->select(s + 1);
        f.lst_Style->do_callback();
        EXPECT_EQ(nomFonte(f.pre_Box->GetFontName()), famille + suffixes[size_t(s)]);
        EXPECT_EQ(f.pre_Box->GetFontStyle() * 1000 + f.GetFontNr(""), s * 1000 + f.pre_Box->GetFontName());
    }
    // Another family while "Bold Italic" is selected: its plain face, its own styles.
    f.lst_Font->select(1);
    f.lst_Font->do_callback();
    EXPECT_EQ(nomFonte(f.pre_Box->GetFontName()) + " " + selection(f.lst_Style),
              f.lst_Font->text(1) + std::string(" Normal"));
    EXPECT_EQ(f.pre_Box->GetFontStyle(), 0);
    f.lst_Style->deselect();  // no style line: the plain face
    EXPECT_EQ(nomFonte(f.GetFontNr("")), f.lst_Font->text(1));

    Fl_Font_Browser dernier(f.lst_Font->text(f.lst_Font->size()), 1, "");
    EXPECT_EQ(dernier.lst_Font->value(), dernier.lst_Font->size());
    EXPECT_EQ(selection(dernier.lst_Size), "1");
    Fl_Font_Browser seul("zapf dingbats", 9, "");  // no other face
    EXPECT_EQ(lignes(seul.lst_Style), Textes{"Normal"});
    seul.lst_Style->deselect(), seul.lst_Style->do_callback();  // a click below its one line
    EXPECT_EQ(selection(seul.lst_Style), "Normal");
    Fl_Font_Browser inconnu("pas une fonte", 9, "");
    const Textes tries = lignes(inconnu.lst_Font);
    EXPECT_TRUE(std::is_sorted(tries.begin(), tries.end()));
    EXPECT_EQ(std::to_string(inconnu.lst_Font->value()) + " " + selection(inconnu.lst_Size), "1 9");
}

TEST(FontBrowser, FrontEndWritesBackOnlyOnOk) {
    const std::string famille = familleDesordonnee();
    ASSERT_FALSE(famille.empty());
    const auto ok = [](Fl_Font_Browser& f) { qvtest::clickWidget(f.btn_Ok); };
    const auto taille = [ok](const char* t) {
        return [ok, t](Fl_Font_Browser& f) { saisir(f.txt_InputSize, t), ok(f); };
    };
    bool rappele = false;
    const auto rappel = [&rappele](Fl_Font_Browser& f) {
        f.callback([](Fl_Widget*, void* d) { *static_cast<bool*>(d) = true; }, &rappele);
    };
    const std::string rouge = "/200,100,50|";
    // A click on a line of a list (scrolled into view), or below its last line.
    const auto cliquer = [](Fl_Browser* b, int ligne) {
        b->window()->wait_for_expose();
        if (ligne > b->size()) return qvtest::click(b->window(), b->x() + 20, b->y() + b->h() - 8);
        b->topline(ligne), qvtest::flushDrawing();  // the last page stops short of the line
        const int h = HauteurLigne::de(b);
        return qvtest::click(b->window(), b->x() + 20, b->y() + 3 + (ligne - b->topline()) * h + h / 2);
    };
    const auto autreFamille = [&](Fl_Font_Browser& f) {  // the sample is plain again, and so is the choice
        cliquer(f.lst_Font, ligneDe(f.lst_Font, "serif"));
        EXPECT_EQ(selection(f.lst_Style) + " " + f.txt_InputStyle->value(), "Normal Normal");
        EXPECT_EQ(f.pre_Box->GetFontStyle(), 0);
        ok(f);
    };
    const auto aCote = [&](Fl_Font_Browser& f) {  // a click below the styles keeps the one shown
        cliquer(f.lst_Style, 20);
        ok(f);
    };
    // The style asked for, what the user does, and name/size/colour written back ("" when refused).
    const std::vector<std::tuple<const char*, std::function<void(Fl_Font_Browser&)>, std::string>> cas = {
        {"bold", ok, famille + "/14" + rouge + "Bold"},
        {"rien", ok, famille + "/14" + rouge + "Normal"},  // a style the family lacks
        {"italic", taille("20"), famille + "/20" + rouge + "Italic"},
        {"", taille("200"), famille + "/200" + rouge + "Normal"},  // not in the list: the size the sample shows
        {"Bold", autreFamille, "serif/14" + rouge + "Normal"},
        {"bold italic", aCote, famille + "/14" + rouge + "Bold Italic"},
        {"", aCote, famille + "/14" + rouge + "Normal"},
        {"",
         [&](Fl_Font_Browser& f) {
             saisir(f.txt_InputFont, ToUpperCase("serif").c_str());
             EXPECT_STREQ(f.txt_InputFont->value(), "serif");
             rappel(f), ok(f);
         },
         "serif/14" + rouge + "Normal"},
        {"bold", [](Fl_Font_Browser& f) { qvtest::clickWidget(f.btn_Cancel); }, ""},
        {"bold", [](Fl_Font_Browser& f) { qvtest::key(&f, FL_Escape); }, ""},
        {"bold", [&](Fl_Font_Browser& f) { rappel(f), f.do_callback(); }, ""}};  // the close box
    for (const auto& [style, agir, attendu] : cas) {
        qvtest::ModalDriver driver;
        driver.onModal([&](Fl_Window& w) {
            ASSERT_EQ(&w, aff_form);
            // The style asked for is the line shown selected, "Normal" when the family lacks it.
            const std::string demande = *style ? ToLowerCase(style) : "normal";
            const std::string montre = selection(aff_form->lst_Style);
            EXPECT_EQ(ToLowerCase(montre), demande == "rien" ? "normal" : demande) << style;
            EXPECT_EQ(montre, aff_form->txt_InputStyle->value());
            agir(*aff_form);
        });
        std::string nom = famille, couleur = "200,100,50";
        int n = 0;
        const bool accepte = affFonteBrowser(nom, n, couleur, style);
        const std::string rendu = nom + "/" + std::to_string(n) + "/" + couleur;
        EXPECT_EQ(accepte ? rendu : rendu == famille + "/0/200,100,50" ? "" : "changed: " + rendu, attendu) << style;
        EXPECT_TRUE(aff_form == nullptr && driver.done());
    }
    EXPECT_TRUE(rappele);
}

TEST(FontBrowser, WindowLayoutAndSampleInTheChosenColourOnWhiteInItsFrame) {
    Fl_Font_Browser f("sans", 40, "300,-5,0");
    EXPECT_EQ(f.btn_Color->color(), fl_rgb_color(255, 0, 0));  // each part within 0-255
    EXPECT_EQ(f.lst_Size->size() * 10 + f.GetFontNr(""), 730);  // the toolkit's font 0 is scalable too
    for (const char* l : {"Fonte:", "Style:", "Taille:", "Proprietes:", "Raye", "Souligne", "Couleur:", "Exemple:"})
        EXPECT_NE(qvtest::findWidget(&f, l), nullptr) << l;
    auto g = [](const Fl_Widget* w) {
        return std::to_string(w->x()) + "," + std::to_string(w->y()) + "," + std::to_string(w->w()) + "," +
               std::to_string(w->h());
    };
    const std::vector<std::pair<const Fl_Widget*, std::string>> attendu = {
        {&f, "100,100,500,360"}, {f.child(0), "0,0,500,360"}, {f.txt_InputFont, "5,26,205,24"},
        {f.lst_Font, "5,50,205,159"}, {f.txt_InputStyle, "215,26,95,24"}, {f.lst_Style, "215,50,95,159"},
        {f.txt_InputSize, "315,26,75,24"}, {f.lst_Size, "315,50,75,159"}, {f.btn_Color->parent(), "395,50,100,159"},
        {f.btn_Strikethrough, "400,80,90,15"}, {f.btn_Underline, "400,105,90,15"}, {f.btn_Color, "400,140,90,23"},
        {f.pre_Box->parent(), "5,215,490,107"}, {f.pre_Box, "10,233,480,80"}, {f.btn_Ok, "330,327,75,23"},
        {f.btn_Cancel, "415,327,75,23"}};
    for (const auto& [w, geo] : attendu) EXPECT_EQ(g(w), geo) << (w->label() ? w->label() : "");
    EXPECT_FALSE(f.btn_Underline->active() || f.btn_Strikethrough->active());
    for (const Fl_Input* in : {f.txt_InputFont, f.txt_InputStyle, f.txt_InputSize})
        EXPECT_EQ(in->textsize() * 100 + in->labelsize(), 1212) << in->label();
    EXPECT_EQ(f.btn_Ok->etat() * 10 + f.btn_Cancel->etat(), 22);
    EXPECT_STREQ(f.btn_Cancel->label(), "Sortir");

    qvtest::showAndDraw(f);
    Fl_Font_Preview_Box& b = *f.pre_Box;
    auto compter = [&](qvtest::Rgb c) {
        int n = 0;
        for (int y = b.y() + 4; y < b.y() + b.h() - 4; y += 2)
            for (int x = b.x() + 4; x < b.x() + b.w() - 4; x += 3) n += qvtest::pixelAt(f, x, y) == c;
        return n;
    };
    const qvtest::Rgb rouge{255, 0, 0};
    const int rouges = compter(rouge);
    EXPECT_GT(rouges, 20);
    EXPECT_GT(compter({255, 255, 255}), rouges);
    b.SetFontStrickThrough(1);  // the lines add to the text
    EXPECT_GT(compter(rouge), rouges);
    b.SetFontStrickThrough(0), b.SetFontUnderline(1);
    EXPECT_GT(compter(rouge), rouges);
    b.SetFontUnderline(0), b.SetFont(b.GetFontName(), 0, 1);  // the smallest size is drawn as it is
    const int un = compter({255, 255, 255});
    b.SetFont(b.GetFontName(), 0, 2);
    EXPECT_GT(un, compter({255, 255, 255}));
    const qvtest::Rgb fond = qvtest::pixelAt(f, 2, 260);  // both groups are framed
    EXPECT_TRUE(qvtest::pixelAt(f, 5, 260) != fond && qvtest::pixelAt(f, 395, 150) != fond);
    f.hide();
}

TEST(FontBrowser, EveryLabelReadsWholeInFrench) {
    InTempDir dossier;
    ecrireFichier("msgmenus.ini",
                  "[Fonte:]\nfr=Fonte :\n[Style:]\nfr=Style :\n[Taille:]\nfr=Taille :\n[Proprietes:]\n"
                  "fr=Propri\351t\351s :\n[Raye]\nfr=Ray\351\n[Souligne]\nfr=Soulign\351\n[Couleur:]\nfr=Couleur :\n"
                  "[Exemple:]\nfr=Exemple :\n");
    params.langue = "fr";
    gini_msg.open("msgmenus.ini");
    Fl_Font_Browser f("sans", 12, "0,0,0");
    gini_msg.close();
    qvtest::showAndDraw(f);
    auto cadre = [&f](Fl_Widget* w) { return static_cast<Fl_Widget*>(w->parent()); };
    const std::vector<qvtest::LabelSpec> etiquettes = {
        {f.txt_InputFont, "Fonte :", false}, {f.txt_InputStyle, "Style :", false},
        {f.txt_InputSize, "Taille :", false}, {cadre(f.btn_Color), "Propri\303\251t\303\251s :", true},
        {f.btn_Strikethrough, "Ray\303\251", true}, {f.btn_Underline, "Soulign\303\251", true},
        {f.btn_Color, "Couleur :", false}, {cadre(f.pre_Box), "Exemple :", true},
        {f.btn_Ok, "Ok", true}, {f.btn_Cancel, "Sortir", true}};
    EXPECT_EQ(qvtest::unreadableLabels(f, etiquettes,
                                       {f.txt_InputFont, f.txt_InputStyle, f.txt_InputSize, f.lst_Font, f.lst_Style,
                                        f.lst_Size}),
              Textes{});
    f.hide();
}

}  // namespace

namespace {

// The sample's pixels.
std::string echantillon(Fl_Font_Browser& f) {
    qvtest::flushDrawing();
    const Fl_Font_Preview_Box& b = *f.pre_Box;
    std::string s(size_t(b.w() * b.h() * 3), '\0');
    f.make_current();
    fl_read_image(reinterpret_cast<uchar*>(&s[0]), b.x(), b.y(), b.w(), b.h());
    return s;
}

}  // namespace

// Sizes far beyond what the sample shows are drawn at the largest it draws:
// the font library fails on the huge ones, and the toolkit ends the program.
TEST(FontBrowser, HugeSizesAreDrawnAtTheLargest) {
    Fl_Font_Browser f("sans", 14, "0,0,0");
    // A sample as high as the screen, for glyphs of 200 pixels.
    f.resize(0, 0, 1200, 1000);
    f.pre_Box->resize(10, 10, 1180, 980);
    qvtest::showAndDraw(f);
    Fl_Font_Preview_Box& b = *f.pre_Box;
    auto a = [&](int taille) { return b.SetFont(b.GetFontName(), 0, taille), echantillon(f); };
    const std::string plafond = a(200);
    EXPECT_NE(a(199), plafond);
    for (int taille : {201, 100000, 2000000000}) EXPECT_EQ(a(taille), plafond) << taille;
    EXPECT_EQ(b.GetFontSize(), 2000000000);  // kept as asked
    f.hide();
}

// A press below the styles that drags on, its release never coming (the
// window closed meanwhile), leaves the style shown selected.
TEST(FontBrowser, TheStyleShownStaysSelectedUnderADragBelowTheLines) {
    Fl_Font_Browser f("sans", 14, "0,0,0");
    qvtest::showAndDraw(f);
    Fl_Browser* s = f.lst_Style;
    ASSERT_GE(s->size(), 2);
    s->select(2), s->do_callback();
    const int x = s->x() + 20, y = s->y() + s->h() - 8;
    qvtest::push(&f, x, y);
    EXPECT_EQ(selection(s), "Bold");
    qvtest::drag(&f, x + 5, y - 2);
    EXPECT_EQ(selection(s), "Bold");
    f.hide();
    EXPECT_EQ(selection(s) + " " + std::to_string(f.pre_Box->GetFontStyle()), "Bold 1");
}

// A drag along the families released over the list's scrollbar: the sample
// shows the family left selected.
TEST(FontBrowser, ADragReleasedOverTheScrollbarShowsTheFamilyReached) {
    Fl_Font_Browser f("sans", 14, "0,0,0");
    qvtest::showAndDraw(f);
    Fl_Browser* l = f.lst_Font;
    l->topline(1);
    qvtest::flushDrawing();
    const int h = HauteurLigne::de(l), x = l->x() + 20, y = l->y() + 3 + h / 2;
    qvtest::push(&f, x, y);
    qvtest::drag(&f, x, y + h), qvtest::drag(&f, x, y + 2 * h);
    qvtest::drag(&f, l->x() + l->w() - 6, y + 2 * h);
    qvtest::release(&f, l->x() + l->w() - 6, y + 2 * h);
    ASSERT_EQ(l->value(), 3);
    EXPECT_STREQ(f.txt_InputFont->value(), l->text(3));
    EXPECT_EQ(nomFonte(f.pre_Box->GetFontName()), l->text(3));
    f.hide();
}

// OK's callback may delete the window; so may anyone while the front end waits.
TEST(FontBrowser, TheWindowMayBeDeletedByItsCallbackOrWhileTheFrontEndWaits) {
    auto* f = new Fl_Font_Browser("sans", 14, "0,0,0");
    Fl_Widget_Tracker vivante(f);
    f->callback([](Fl_Widget* w, void*) { delete w; }, nullptr);
    qvtest::showAndDraw(*f);
    qvtest::clickWidget(f->btn_Ok);
    EXPECT_FALSE(vivante.exists());

    const std::vector<std::function<void(Fl_Font_Browser&)>> facons = {
        [](Fl_Font_Browser& w) { delete &w; },
        [](Fl_Font_Browser& w) { Fl::delete_widget(&w); },
        [](Fl_Font_Browser& w) {
            w.callback([](Fl_Widget* x, void*) { delete x; }, nullptr);
            qvtest::clickWidget(w.btn_Ok);
        }};
    for (size_t i = 0; i < facons.size(); ++i) {
        qvtest::ModalDriver driver;
        driver.onModal([&](Fl_Window& w) { facons[i](static_cast<Fl_Font_Browser&>(w)); });
        std::string nom = "sans", couleur = "1,2,3";
        int taille = 14;
        EXPECT_FALSE(affFonteBrowser(nom, taille, couleur, "bold")) << i;
        EXPECT_EQ(nom + "/" + std::to_string(taille) + "/" + couleur, "sans/14/1,2,3") << i;
        EXPECT_EQ(aff_form, nullptr) << i;
        EXPECT_TRUE(driver.done()) << i;
        Fl::check();
    }
    // The next question builds its window afresh.
    qvtest::ModalDriver driver;
    driver.onModal([](Fl_Window&) { qvtest::clickWidget(aff_form->btn_Ok); });
    std::string nom = "sans", couleur = "1,2,3";
    int taille = 14;
    EXPECT_TRUE(affFonteBrowser(nom, taille, couleur, "bold"));
    EXPECT_EQ(couleur, "1,2,3|Bold");
    EXPECT_TRUE(driver.done());
}

// A size typed that no line holds is the sample's, and what OK answers:
// the window opened at 12, the user types 100 and Enter.
TEST(FontBrowser, OkAnswersTheSizeTheSampleShows) {
    const auto taper = [](Fl_Font_Browser& f, const char* texte) {
        f.txt_InputSize->take_focus();
        f.txt_InputSize->position(0, f.txt_InputSize->size());
        for (const char* c = texte; *c; ++c) qvtest::key(&f, *c, 0, std::string(1, *c).c_str());
        qvtest::key(&f, FL_Enter, 0, "\r");
    };
    // What is typed in turn, then the size the sample and the input show.
    const std::vector<std::tuple<Textes, int, std::string>> cas = {
        {{"100"}, 100, "100"},
        {{"20"}, 20, "20"},                 // a line: the list shows it too
        {{"100", "0"}, 100, "100"},         // no size: nothing changes
        {{"100", "abc"}, 100, "100"},
        {{"100", "-5"}, 100, "100"},
        {{"100000"}, 200, "200"},           // the largest the sample draws
        {{"100", "Bold"}, 100, "100"}};     // a style picked keeps the size shown
    for (const auto& [tapes, montre, saisie] : cas) {
        qvtest::ModalDriver driver;
        int vue = 0;
        std::string dans;
        driver.onModal([&](Fl_Window& w) {
            Fl_Font_Browser& f = static_cast<Fl_Font_Browser&>(w);
            f.wait_for_expose();
            for (const std::string& t : tapes) {
                if (t == "Bold") {
                    f.lst_Style->select(ligneDe(f.lst_Style, t));
                    f.lst_Style->do_callback();
                } else {
                    taper(f, t.c_str());
                }
            }
            vue = f.pre_Box->GetFontSize();
            dans = f.txt_InputSize->value();
            qvtest::clickWidget(f.btn_Ok);
        });
        std::string nom = "sans", couleur = "0,0,0";
        int taille = 12;
        EXPECT_TRUE(affFonteBrowser(nom, taille, couleur, ""));
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(std::to_string(vue) + " " + dans + " " + std::to_string(taille),
                  std::to_string(montre) + " " + saisie + " " + std::to_string(montre))
            << tapes.back();
    }
}
