#include "app/messagebox_fltk.h"

#include "core/maChaine.h"
#include "support/ModalDriver.h"
#include "support/WidgetEvents.h"

#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <gtest/gtest.h>

namespace {

using qvtest::findWidget;

TEST(MessageBoxFltk, BoxesShowTheirTitleAndTextAndGiveTheAnswer) {
    GestionnaireMessagesFltk h;
    qvtest::ModalDriver driver;
    const char* const texte = "Abandonner la partie ? D\351j\340 100% jou\351e";
    std::vector<std::string> vus;  // window title and whether the UTF-8 text is shown
    auto repondre = [&](const char* bouton) {
        return [&, bouton](Fl_Window& w) {
            vus.push_back(std::string(w.label() ? w.label() : "") + (findWidget(&w, latin1VersUtf8(texte).c_str()) ? "+" : "-"));
            qvtest::clickWidget(findWidget(&w, bouton));
        };
    };
    driver.onModal(repondre("Oui")).onModal(repondre("Non")).onModal(repondre(fl_close)).onModal(repondre(fl_close));
    EXPECT_TRUE(h.question(texte, "Arr\352t"));
    EXPECT_FALSE(h.question(texte, ""));
    h.information(texte);
    h.erreur(texte);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(vus, (std::vector<std::string>{latin1VersUtf8("Arr\352t+"), "+", "+", "+"}));
}

TEST(MessageBoxFltk, InputTypedAcceptedOrCancelled) {
    GestionnaireMessagesFltk h;
    qvtest::ModalDriver driver;
    // Writable texts: the toolkit may swap the case of an unused key's text in place.
    char z[] = "Z", e[] = "\303\253", euro[] = "\342\202\254", x[] = "x";
    auto taper = [&](std::vector<char*> textes, const char* bouton) {
        return [=](Fl_Window& w) {
            for (int i = 0; i < w.children(); ++i)
                if (Fl_Input* in = dynamic_cast<Fl_Input*>(w.child(i))) in->take_focus();
            for (char* t : textes) qvtest::key(&w, 0, 0, t);
            qvtest::clickWidget(findWidget(&w, bouton));
        };
    };
    driver.onModal(taper({z, e, euro}, fl_ok)).onModal(taper({x}, fl_cancel));
    std::string valeur = "Andr\351";
    EXPECT_TRUE(h.saisie("Nom du joueur", valeur));
    EXPECT_EQ(valeur, "Andr\351Z\353?");  // through the toolkit's UTF-8; the euro sign has no Latin-1 form
    EXPECT_FALSE(h.saisie("Nom du joueur", valeur));
    EXPECT_EQ(valeur, "Andr\351Z\353?");
    EXPECT_TRUE(driver.done());
}

}  // namespace
