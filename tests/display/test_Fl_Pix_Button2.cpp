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

namespace {

using qvtest::Rgb;
const Rgb ROUGE{200, 30, 30}, VERT{30, 200, 30}, BLEU{30, 30, 200};
const int L = 60, H = 20;  // one cell of the strip

// A strip of three solid cells, as a binary PPM.
std::string bande(const TempDir& dir, int largeur = L) {
    std::string ppm = "P6\n" + std::to_string(largeur) + " " + std::to_string(3 * H) + "\n255\n";
    for (const Rgb& c : {ROUGE, VERT, BLEU})
        for (int i = 0; i < largeur * H; ++i) ppm += {char(c.r), char(c.g), char(c.b)};
    const std::string f = dir.file("b" + std::to_string(largeur) + ".ppm");
    ecrireFichier(f, ppm);
    return f;
}

// Pixels of the button (less a margin) that differ from `fond`: its label.
int pixelsHors(Fl_Window& w, Fl_Widget& b, const Rgb& fond, int marge) {
    int n = 0;
    for (int y = b.y() + marge; y < b.y() + b.h() - marge; ++y)
        for (int x = b.x() + marge; x < b.x() + b.w() - marge; ++x) n += qvtest::pixelAt(w, x, y) != fond;
    return n;
}

TEST(Fl_Pix_Button2, CellPerStateAndItsOwnLabelOverThePicture) {
    TempDir dir;
    Fl_Window w(0, 0, 120, 60);
    Fl_Pix_Button2 b(10, 10, L, H - 3, "Ok", bande(dir), false, 0);  // shorter than a cell
    Fl_Pix_Button2 large(0, 40, L + 20, H, "", bande(dir), false, 0);  // wider than its picture
    large.color(FL_YELLOW);
    w.end();
    qvtest::showAndDraw(w);
    auto coin = [&] { return qvtest::pixelAt(w, 11, 11); };
    auto bas = [&] { return qvtest::pixelAt(w, 10 + L - 1, 10 + H - 4); };
    EXPECT_EQ(coin(), ROUGE);
    EXPECT_EQ(bas(), ROUGE);
    EXPECT_EQ(qvtest::pixelAt(w, L + 10, 50), qvtest::rgbOf(FL_YELLOW)) << "its box shows beside the picture";
    const int texte = pixelsHors(w, b, ROUGE, 0);
    EXPECT_GT(texte, 0);
    b.labelsize(b.labelsize() * 2);  // the label's own font size
    b.redraw();
    EXPECT_GT(pixelsHors(w, b, ROUGE, 0), texte);
    b.labelsize(b.labelsize() / 2);
    for (const char* autre : {"Un autre libell\303\251 bien plus long", static_cast<const char*>(nullptr)}) {
        b.label(autre);
        b.redraw();
        EXPECT_EQ(pixelsHors(w, b, ROUGE, 0), texte);
    }
    b.hilight(1);
    EXPECT_EQ(coin(), VERT);
    b.hilight(0);
    EXPECT_EQ(coin(), ROUGE);
    qvtest::moveMouse(&w, 30, 15);  // hovered
    EXPECT_EQ(coin(), VERT);
    qvtest::moveMouse(&w, 100, 50);
    EXPECT_EQ(coin(), ROUGE);
    qvtest::push(&w, 30, 15);
    EXPECT_EQ(coin(), VERT);
    b.deactivate();
    EXPECT_EQ(coin(), BLEU);
    EXPECT_EQ(bas(), BLEU);
}

TEST(Fl_Pix_Button2, PlainTextLabelAndThePictureGivenBack) {
    TempDir dir;
    const std::string image = bande(dir);
    {
        Fl_Window w(0, 0, 200, 40);
        Fl_Pix_Button2 deux(0, 0, L, H, "@@", image, false, 0), un(100, 0, L, H, "@", image, false, 0);
        w.end();
        qvtest::showAndDraw(w);
        EXPECT_GT(pixelsHors(w, deux, ROUGE, 0), pixelsHors(w, un, ROUGE, 0)) << "no '@' symbols";
    }
    EXPECT_EQ(Fl_Shared_Image::find(image.c_str()), nullptr) << "the last button released its picture";
}

TEST(Fl_Pix_Button2, FailedPictureIsLoggedAndTheLabelDrawnOnAPlainBox) {
    InTempDir ici;
    ecrireFichier("pas_une_image.png", "texte");
    ecrireFichier("basse.ppm", std::string("P6\n1 2\n255\n") + std::string(6, '\0'));  // less than three cells
    for (std::string image : {"absente.png", "pas_une_image.png", "basse.ppm", ""}) {
        MessageRecorder rec;
        Fl_Window w(0, 0, 120, 60);
        Fl_Pix_Button2 b(10, 10, L, H, "Arr\352t", image, false, 0);
        w.end();
        if (image.empty()) image = "peaux_rozezuziv/boutons/boutons_style_7_75x25x3.jpg";
        EXPECT_EQ(rec.journal(), std::vector<std::string>{"ERR : Fl_Pix_Button2 [Arr\352t] - Image '" + image +
                                                          "' non charg\351e\n"});
        EXPECT_EQ(Fl_Shared_Image::find(image.c_str()), nullptr) << "a picture refused is given back";
        qvtest::showAndDraw(w);
        const Rgb boite = qvtest::rgbOf(b.color());
        EXPECT_EQ(qvtest::pixelAt(w, 15, 14), boite);
        EXPECT_GT(pixelsHors(w, b, boite, 4), 0);
    }
}

TEST(Fl_Pix_Button2, DrawsWithinItselfAndLooksPressed) {
    TempDir dir;
    MessageRecorder rec;
    Fl_Window w(0, 0, 200, 60);
    Fl_Pix_Button2 b(60, 20, 30, 20, "Un libell\351 bien plus large que lui", "", false, 0);  // plain box
    Fl_Pix_Button2 fin(0, 0, 1, H, "", bande(dir, 1), false, 0);  // a picture one pixel wide is a picture
    Fl_Box voisin(150, 20, 40, 20);
    voisin.box(FL_FLAT_BOX);
    voisin.color(FL_RED);
    w.end();
    EXPECT_EQ(rec.journal().size(), 1u);
    qvtest::showAndDraw(w);
    int dehors = 0;
    for (int x = 5; x < 55; ++x) dehors += qvtest::pixelAt(w, x, 30) != qvtest::rgbOf(w.color());
    EXPECT_EQ(dehors, 0) << "the label is clipped to the button";
    EXPECT_EQ(qvtest::pixelAt(w, 170, 30), qvtest::rgbOf(FL_RED)) << "and the next widget is drawn whole";
    const Rgb relache = qvtest::pixelAt(w, 61, 21);
    b.value(1);
    b.redraw();
    EXPECT_NE(qvtest::pixelAt(w, 61, 21), relache);
}

TEST(Fl_Pix_Button2, EnterFiresOnlyTheDefaultButton) {
    TempDir dir;
    Fl_Window win(0, 0, 200, 80);
    Fl_Input saisie(10, 40, 100, 25);
    Fl_Pix_Button2 ok(10, 10, L, H, "Ok", bande(dir), true, 2);
    Fl_Pix_Button2 annuler(80, 10, L, H, "Annuler", bande(dir), false, 2);
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
    EXPECT_EQ(saisie.value(), std::string("a"));
    EXPECT_EQ(n[0], 2);
    EXPECT_EQ(n[1], 0);
}

}  // namespace
