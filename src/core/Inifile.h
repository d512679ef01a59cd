#ifndef QV_CORE_INIFILE_H
#define QV_CORE_INIFILE_H

#include <string>
#include <unordered_map>
#include <vector>

// An INI text file held in memory. Every line is kept in order (comments,
// blank lines and odd lines included), so a file that is not changed is
// written back byte for byte. A key line is "key=value", the key being the
// text before the first '='; values keep their blanks. A leading UTF-8
// byte-order mark, which editors write, is no part of the first line: it is
// kept aside and written back in front of the text.
class INIfile {
public:
    INIfile() = default;
    ~INIfile() = default;
    INIfile(const INIfile&) = delete;
    INIfile& operator=(const INIfile&) = delete;

    // false when the file cannot be read (missing, not a regular file, or over
    // TAILLE_FICHIER_MAX bytes), erreur() then telling why; with `create`, a
    // file that does not exist opens as a new empty file.
    bool open(const std::string& name, bool create = false);
    // Why the last open failed, as ouvrirFichierLecture's errno; 0 after an open that succeeded.
    int erreur() const { return erreur_; }
    bool create(const std::string& name);
    // Writes the file back when it was changed, then forgets everything.
    void close();

    bool isOpen() const { return open_; }
    const std::string& name() const { return name_; }

    std::string operator()(const std::string& section, const std::string& key,
                           const char* def = "") const;
    int get(const std::string& section, const std::string& key, int def) const;
    bool get(const std::string& section, const std::string& key, bool def) const;
    // Whether the key exists with a non-empty value.
    bool has(const std::string& section, const std::string& key) const;

    // Sets the key in the first section of that name (a missing key goes after
    // the section's last line, a missing section at the end of the file).
    // false when the object is not open, or for a key that would not read back
    // as itself (one holding '=', or starting with '[').
    bool set(const std::string& section, const std::string& key, const char* value);
    bool set(const std::string& section, const std::string& key, const std::string& value);
    bool set(const std::string& section, const std::string& key, int value);
    bool set(const std::string& section, const std::string& key, short value);

    // Section names in file order, each once.
    std::vector<std::string> sectionNames() const;
    // The whole text as close() would write it.
    std::string text() const;

private:
    struct Section {
        std::string name;                 // "" for the lines before any header
        std::vector<std::string> lines;   // header line first (absent in the preamble)
        std::unordered_map<std::string, size_t> keys;  // first line of each key
    };
    void clear();
    void parse(const std::string& content);
    Section& addSection(const std::string& name, bool withHeader);
    const std::string* find(const std::string& section, const std::string& key) const;

    std::string name_;
    bool open_ = false;
    bool changed_ = false;
    bool finalNewline_ = true;
    bool bom_ = false;
    int erreur_ = 0;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::vector<size_t>> byName_;
};

#endif
