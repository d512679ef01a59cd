#ifndef QV_FLUSIMPLESTRING_H
#define QV_FLUSIMPLESTRING_H

// The tree browser's small owned string: one heap buffer, reallocated on
// every change, never null while the object lives.

class FluSimpleString {
public:
    FluSimpleString();
    explicit FluSimpleString(unsigned n);
    FluSimpleString(const char* s);
    FluSimpleString(const FluSimpleString& s);
    ~FluSimpleString();

    FluSimpleString& operator=(const char* s);
    FluSimpleString& operator=(const FluSimpleString& s) { return *this = s.str; }
    FluSimpleString& operator+=(const char* s);
    FluSimpleString& operator+=(const FluSimpleString& s) { return *this += s.str; }

    const char* c_str() const { return str; }
    int size() const;

    void copy(const char* s, unsigned offset, unsigned count);
    int compare(const FluSimpleString& s) const;
    int casecompare(const FluSimpleString& s) const;
    void upcase();
    void downcase();
    int find(char c) const;
    int rfind(char c) const;
    FluSimpleString substr(int offset, int count) const;

    bool operator==(const FluSimpleString& s) const { return compare(s) == 0; }
    bool operator!=(const FluSimpleString& s) const { return compare(s) != 0; }
    bool operator<(const FluSimpleString& s) const { return compare(s) < 0; }

private:
    char* str;
};

#endif
