#include "display/Fl_Pix_Button2.h"

#include "support/MessageRecorder.h"
#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Shared_Image.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <functional>

namespace {

using qvtest::pixelAt;
using qvtest::Rgb;
const Rgb ROUGE{200, 30, 30}, VERT{30, 200, 30}, BLEU{30, 30, 200}, NOIR{0, 0, 0};
const int L = 60, H = 20;  // one cell of the strip

// A strip of three solid cells (normal, hovered, inactive) as a binary PPM.
std::string bande(int largeur = L, int hauteur = H) {
    std::string ppm = "P6\n" + std::to_string(largeur) + " " + std::to_string(3 * hauteur) + "\n255\n";
    for (const Rgb& c : {ROUGE, VERT, BLEU})
        for (int i = 0; i < largeur * hauteur; ++i) ppm += {char(c.r), char(c.g), char(c.b)};
    const std::string f = "b" + std::to_string(largeur) + ".ppm";
    ecrireFichier(f, ppm);
    return f;
}

// Pixels of the button that are (or, with egal false, are not) of colour c.
int pixels(Fl_Window& w, Fl_Widget& b, const Rgb& c, bool egal) {
    int n = 0;
    for (int y = b.y(); y < b.y() + b.h(); ++y)
        for (int x = b.x(); x < b.x() + b.w(); ++x) n += (pixelAt(w, x, y) == c) == egal;
    return n;
}

TEST(Fl_Pix_Button2, CellPerStateLabelOverThePictureAndPlainBoxes) {
    InTempDir ici;
    MessageRecorder rec;
    ecrireFichier("basse.ppm", std::string("P6\n1 2\n255\n") + std::string(6, '\0'));  // less than three cells
    {
        Fl_Window w(0, 0, 240, 70);
        Fl_Pix_Button2 b(10, 10, L, H - 3, "Ok", bande(), false, 0);  // shorter than a cell
        Fl_Pix_Button2 large(0, 40, L + 20, H, "", bande(), false, 0), un(100, 0, L, H, "@", bande(), false, 0);
        Fl_Pix_Button2 deux(100, 20, L, H, "@@", bande(), false, 0);
        large.color(FL_YELLOW);  // wider than its picture: its box shows beside it
        Fl_Pix_Button2 fin(230, 0, 1, 1, "", bande(1, 1), false, 0);  // cells of one pixel are a picture
        Fl_Pix_Button2 simple(120, 40, 30, 20, "Un libell\351 bien plus large", "basse.ppm", false, 0);
        Fl_Pix_Button2 defaut(170, 0, 30, 20, "", "", false, 0);
        Fl_Box voisin(180, 40, 40, 20);
        voisin.box(FL_FLAT_BOX);
        voisin.color(FL_RED);
        w.end();
        EXPECT_EQ(rec.journal(), (std::vector<std::string>{
                                     "ERR : Fl_Pix_Button2 [Un libell\351 bien plus large] - Image 'basse.ppm' non charg\351e\n",
                                     "ERR : Fl_Pix_Button2 [] - Image '" + std::string(IMAGE_BOUTON_DEFAUT) + "' non charg\351e\n"}));
        EXPECT_EQ(Fl_Shared_Image::find("basse.ppm"), nullptr) << "a picture refused is given back";
        EXPECT_STREQ(b.label(), "Ok");  // found by its label
        qvtest::showAndDraw(w);
        EXPECT_EQ(pixelAt(w, L + 10, 50), qvtest::rgbOf(FL_YELLOW));
        EXPECT_EQ(pixelAt(w, 230, 0), ROUGE);
        EXPECT_GT(pixels(w, deux, ROUGE, false), pixels(w, un, ROUGE, false) * 3 / 2) << "plain text, no '@' symbols";
        // The plain box's label is clipped to it, and the next widget drawn whole; pressed, it looks down.
        for (int x = 100; x < 120; ++x) EXPECT_EQ(pixelAt(w, x, 50), qvtest::rgbOf(w.color())) << x;
        EXPECT_EQ(pixelAt(w, 200, 50), qvtest::rgbOf(FL_RED));
        const Rgb relache = pixelAt(w, 121, 41);
        simple.value(1);
        simple.redraw();
        EXPECT_NE(pixelAt(w, 121, 41), relache);
        const int texte = pixels(w, b, NOIR, true);
        EXPECT_GT(texte, 0);
        b.labelsize(b.labelsize() * 2);  // the label's own font size
        b.redraw();
        EXPECT_GT(pixels(w, b, NOIR, true), texte);
        const std::pair<std::function<void()>, Rgb> etats[] = {
            {[&] { b.hilight(1); }, VERT},  {[&] { b.hilight(0); }, ROUGE},
            {[&] { qvtest::moveMouse(&w, 30, 15); }, VERT},  {[&] { qvtest::moveMouse(&w, 230, 65); }, ROUGE},
            {[&] { qvtest::push(&w, 30, 15); }, VERT},  {[&] { b.deactivate(); }, BLEU}};
        for (const auto& [action, couleur] : etats) {
            action();
            EXPECT_EQ(pixelAt(w, 11, 11), couleur);
        }
        EXPECT_EQ(pixelAt(w, 10 + L - 1, 10 + H - 4), BLEU);
        EXPECT_EQ(pixels(w, b, NOIR, true), 0) << "an inactive label is greyed";
    }
    EXPECT_EQ(Fl_Shared_Image::find("b60.ppm"), nullptr) << "the last button released its picture";
}

TEST(Fl_Pix_Button2, EnterFiresOnlyTheDefaultButton) {
    InTempDir ici;
    Fl_Window win(0, 0, 200, 80);
    Fl_Input saisie(10, 40, 100, 25);
    Fl_Pix_Button2 ok(10, 10, L, H, "Ok", bande(), true, 2), annuler(80, 10, L, H, "Annuler", bande(), false, 2);
    win.end();
    int n[2] = {0, 0};
    ok.callback([](Fl_Widget*, void* c) { ++*static_cast<int*>(c); }, &n[0]);
    annuler.callback([](Fl_Widget*, void* c) { ++*static_cast<int*>(c); }, &n[1]);
    qvtest::showAndDraw(win);
    saisie.take_focus();
    char a[] = "a";  // writable: the toolkit may swap the case of an unused key's text
    qvtest::key(&win, 'a', 0, a);
    for (int k : {FL_Enter, FL_KP_Enter}) qvtest::key(&win, k);
    ok.deactivate();
    qvtest::key(&win, FL_Enter);
    EXPECT_STREQ(saisie.value(), "a");
    EXPECT_EQ(n[0], 2);
    EXPECT_EQ(n[1], 0);
}

}  // namespace
