#ifndef QV_FL_MYSCROLL_H
#define QV_FL_MYSCROLL_H

// Scrolling groups without scrollbars of their own: an Fl_MyScroll is moved
// by sliders given from outside, and an Fl_MultiScroll owns one pair of
// scrollbars that scroll every Fl_MyScroll child built with them, so that
// several panes scroll together.

#include "widgets/Fl_MyScrollbar.h"

#include <FL/Fl_Group.H>

class Fl_Slider;

class Fl_MyScroll : public Fl_Group {
    int xposition_ = 0, yposition_ = 0;  // how far the content is scrolled
    int oldx_ = 0, oldy_ = 0;            // the positions at the last drawing
    Fl_Slider* vslider_;
    Fl_Slider* hslider_;

    static void draw_clip(void* v, int X, int Y, int W, int H);
    void inner_box(int& X, int& Y, int& W, int& H) const;
    // The inner box joined with every child's rectangle.
    void content_box(int& left, int& top, int& right, int& bottom) const;
    // Gives the sliders the positions and the content's extent; true when
    // one of them changed.
    bool update_sliders();
    static void redraw_sliders(void* v);

public:
    // The sliders are not owned; either may be null.
    Fl_MyScroll(int X, int Y, int W, int H, const char* l = nullptr, Fl_Slider* vslider = nullptr,
                Fl_Slider* hslider = nullptr);
    // Removes the pending repaint of the sliders.
    ~Fl_MyScroll() override;

    // Scrolls what is already drawn where it can; the sliders follow the content.
    void draw() override;
    // Moves the content with the group, keeping how far it is scrolled.
    void resize(int X, int Y, int W, int H) override;

    // Scrolls the content to (X, Y) from its start; nothing when it is there.
    void position(int X, int Y);
    // How far the content is scrolled.
    int xposition() const { return xposition_; }
    int yposition() const { return yposition_; }
    // The sliders given at construction.
    Fl_Slider* vslider() const { return vslider_; }
    Fl_Slider* hslider() const { return hslider_; }

    // Slider callbacks; the user data is the scroll group.
    static void scrollbar_cb(Fl_Widget* slider, void* scroll);
    static void hscrollbar_cb(Fl_Widget* slider, void* scroll);
};

class Fl_MultiScroll : public Fl_Group {
public:
    // They take no key: one left unused must not scroll the panes.
    Fl_MyScrollbar vscrollbar;
    Fl_MyScrollbar hscrollbar;

    // The scrollbars are 17 pixels wide, along the right and bottom edges.
    Fl_MultiScroll(int X, int Y, int W, int H, const char* l = nullptr);

    // Positions the Fl_MyScroll children driven by `bar` at its value.
    void scrollchildren(Fl_Widget* bar);
    void hscrollchildren(Fl_Widget* bar);
    // The same with a given value, for the children driven by this group's bars.
    void scrollchildren(int value);
    void hscrollchildren(int value);

private:
    static void scrollbar_cb(Fl_Widget* bar, void* multi);
    static void hscrollbar_cb(Fl_Widget* bar, void* multi);
};

#endif
