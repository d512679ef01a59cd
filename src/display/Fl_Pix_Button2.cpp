#include "display/Fl_Pix_Button2.h"

#include "app/messagebox.h"
#include "core/maChaine.h"

#include <FL/Fl.H>
#include <FL/Fl_Shared_Image.H>
#include <FL/fl_draw.H>

#include <algorithm>

const char* const IMAGE_BOUTON_DEFAUT = "peaux_rozezuziv/boutons/boutons_style_7_75x25x3.jpg";

namespace {
enum { CELLULE_NORMALE = 0, CELLULE_SURVOLEE = 1, CELLULE_INACTIVE = 2, NB_CELLULES = 3 };
}

Fl_Pix_Button2::Fl_Pix_Button2(int X, int Y, int W, int H, const std::string& label,
                               const std::string& image, bool defaultButton, short state)
    : Fl_Button(X, Y, W, H), etat_(state), defaut_(defaultButton), libelle_(latin1VersUtf8(label)) {
    // The toolkit's label stays the same text, so that the button can be
    // found by it; drawing never reads it.
    copy_label(libelle_.c_str());
    fl_register_images();
    const std::string chemin = image.empty() ? IMAGE_BOUTON_DEFAUT : image;
    image_ = Fl_Shared_Image::get(chemin.c_str());
    if (image_ && (image_->w() <= 0 || image_->h() < NB_CELLULES)) {
        image_->release();
        image_ = nullptr;
    }
    if (image_)
        hauteurCellule_ = image_->h() / NB_CELLULES;
    else
        affErreur("Fl_Pix_Button2 [%s] - Image '%s' non charg\351e", label.c_str(), chemin.c_str());
}

Fl_Pix_Button2::~Fl_Pix_Button2() {
    if (image_) image_->release();
}

void Fl_Pix_Button2::hilight(short state) {
    if (state == survol_) return;
    survol_ = state;
    redraw();
}

int Fl_Pix_Button2::celluleCourante() const {
    if (!active_r()) return CELLULE_INACTIVE;
    return (value() || survol_) ? CELLULE_SURVOLEE : CELLULE_NORMALE;
}

void Fl_Pix_Button2::draw() {
    fl_push_clip(x(), y(), w(), h());
    const int lImage = image_ ? std::min(w(), image_->w()) : 0;
    const int hImage = image_ ? std::min(h(), hauteurCellule_) : 0;
    if (lImage < w() || hImage < h()) {
        Fl_Boxtype b = box();
        if (value()) b = down_box() ? down_box() : fl_down(box());
        draw_box(b, color());
    }
    if (image_) image_->draw(x(), y(), lImage, hImage, 0, celluleCourante() * hauteurCellule_);
    fl_font(labelfont(), labelsize());
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    // No '@' symbols: a label is plain text.
    fl_draw(libelle_.c_str(), x(), y(), w(), h(), Fl_Align(align() | FL_ALIGN_INSIDE), nullptr, 0);
    fl_pop_clip();
}

int Fl_Pix_Button2::handle(int event) {
    switch (event) {
    case FL_ENTER:
        hilight(1);
        Fl_Button::handle(event);
        return 1;
    case FL_LEAVE:
        hilight(0);
        Fl_Button::handle(event);
        return 1;
    case FL_SHORTCUT:
        if (defaut_ && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            simulate_key_action();
            do_callback();
            return 1;
        }
        break;
    default:
        break;
    }
    return Fl_Button::handle(event);
}
