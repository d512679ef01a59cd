#ifndef QV_DISPLAY_CHARGERPEAU_H
#define QV_DISPLAY_CHARGERPEAU_H

#include <string>

class Fl_Image;

// Background picture of the message and secondary windows, from the skin;
// null until a skin loads one. Windows tile it behind their contents.
extern Fl_Image* imgFondsMsg;

// The toolkit colour-cube entry nearest to "red,green,blue" (each 0-255; a
// missing field reads 0, values are clamped). Callers make it an Fl_Color.
double determineRGB(const std::string& couleur);

#endif
