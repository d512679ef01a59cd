#ifndef QV_DISPLAY_FL_PIX_BUTTON2_H
#define QV_DISPLAY_FL_PIX_BUTTON2_H

#include <FL/Fl_Button.H>

#include <string>

class Fl_Shared_Image;

// Picture used when a button is given no picture.
extern const char* const IMAGE_BOUTON_DEFAUT;

// A button drawn from a picture strip of three equal cells stacked
// vertically: normal, hovered or pressed, inactive. The label (Latin-1) is
// copied at construction and drawn over the picture at every redraw, whatever
// label() says later. A default button fires on Enter. When the picture
// cannot be loaded the error log says so and the button draws its label on
// its plain box.
class Fl_Pix_Button2 : public Fl_Button {
public:
    Fl_Pix_Button2(int x, int y, int w, int h, const std::string& label, const std::string& image,
                   bool defaultButton, short state);
    ~Fl_Pix_Button2() override;

    // Hover state, 0 normal; the next redraw shows the matching cell.
    void hilight(short state);
    // The caller's state value given at construction, kept as it stands.
    short etat() const { return etat_; }

    int handle(int event) override;

protected:
    void draw() override;

private:
    int celluleCourante() const;

    short etat_;
    short survol_ = 0;
    bool defaut_;
    std::string libelle_;  // UTF-8, ready to draw
    Fl_Shared_Image* image_ = nullptr;
    int hauteurCellule_ = 0;
};

#endif
