#ifndef QV_CORE_MACHAINE_H
#define QV_CORE_MACHAINE_H

#include <cstdarg>
#include <initializer_list>
#include <string>

// printf-style formatting into a string of the needed size.
std::string chaine(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string chaine2(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same from a va_list, for other printf-style functions.
std::string vchaine(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

// Latin-1 case and accent folding; the length never changes.
char QToUpper(char c);
std::string chaineMajuscule(const std::string& text);
std::string chaineSansAccent(const std::string& text);

// Replaces, left to right, every occurrence of `from`; the search resumes after
// each inserted replacement. An empty `from` replaces nothing.
int replaceAllNb(std::string& text, const std::string& from, const std::string& to);

// Field lists: fields separated by a separator string, numbered from 1.
int nbElem(const std::string& text, const std::string& sep);
std::string lookup(const std::string& text, unsigned short n, const std::string& sep);
// Beyond the last field, the value of the last field.
int lookupInt(const std::string& text, unsigned short n, const std::string& sep);
// Field n, or "" when the list has fewer than n fields.
std::string champ(const std::string& text, int n, const std::string& sep);
// Decimal value of field n, 0 when the field is missing or not a number.
int champInt(const std::string& text, int n, const std::string& sep);

// Decimal integer of the whole text (blanks around allowed) within [lo, hi].
bool entierStrict(const std::string& text, long lo, long hi, long& out);
// Leading decimal integer of the text as atoi reads it, clamped to int; 0 when none.
int entierTolerant(const std::string& text);

// Fills a format read from a file (a translation): each %s, %d or %i takes
// the next argument as it stands, "%%" gives '%', anything else is copied.
// File text is never handed to printf.
std::string formaterTexte(const std::string& modele, std::initializer_list<std::string> args);

// Latin-1 text to UTF-8 for the toolkit's drawing calls.
std::string latin1VersUtf8(const std::string& text);
// UTF-8 back to Latin-1; characters beyond Latin-1 become '?'.
std::string utf8VersLatin1(const std::string& texte);

#endif
