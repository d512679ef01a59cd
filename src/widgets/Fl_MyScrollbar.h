#ifndef QV_FL_MYSCROLLBAR_H
#define QV_FL_MYSCROLLBAR_H

// The scrollbar a group owns to show and move its own view. It takes no key:
// a key the group leaves unused goes round the window as a shortcut, and a
// plain scrollbar would act on it, moving the view away from what the group
// shows (a table's cursor). The mouse and the wheel work as usual.

#include <FL/Fl_Scrollbar.H>

class Fl_MyScrollbar : public Fl_Scrollbar {
public:
    using Fl_Scrollbar::Fl_Scrollbar;
    // Every event but the keys goes to the toolkit's scrollbar.
    int handle(int event) override;

    // The thumb's share of the track for a view of `view` pixels over
    // `total`, rounded up to the float for which a push in a scrollbar's
    // trough moves exactly one view: the toolkit derives that page from the
    // thumb's size and truncates it.
    static float thumb_fraction(int view, int total);
};

#endif
