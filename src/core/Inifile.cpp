#include "core/Inifile.h"

#include "core/maChaine.h"
#include "core/utile_gcc.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A header is "[name]", leading blanks allowed; the name runs to the last ']'
// so that a name holding ']' survives a round trip.
bool parseHeader(const std::string& line, std::string& name) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] != '[') return false;
    size_t end = line.rfind(']');
    if (end == std::string::npos || end <= start) return false;
    name = line.substr(start + 1, end - start - 1);
    return true;
}

// A key that would not read back as the same key: one holding '=' (the key
// ends at the first '=') or one whose line could read as a section header.
bool cleIllisible(const std::string& key) {
    if (key.find('=') != std::string::npos) return true;
    size_t start = key.find_first_not_of(" \t");
    return start != std::string::npos && key[start] == '[';
}

// Line breaks cannot live inside one line of the file: they become blanks.
std::string oneLine(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r') c = ' ';
    return s;
}

}  // namespace

void INIfile::clear() {
    sections_.clear();
    byName_.clear();
    name_.clear();
    open_ = false;
    changed_ = false;
    finalNewline_ = true;
    bom_ = false;
    erreur_ = 0;
}

INIfile::Section& INIfile::addSection(const std::string& name, bool withHeader) {
    sections_.push_back(Section{name, {}, {}});
    Section& s = sections_.back();
    if (withHeader) s.lines.push_back("[" + name + "]");
    byName_[name].push_back(sections_.size() - 1);
    return s;
}

void INIfile::parse(const std::string& content) {
    // An editor's byte-order mark is no part of the first line: "\357\273\277[General]"
    // would be no header.
    size_t pos = longueurBom(content);
    bom_ = pos != 0;
    const size_t n = content.size();
    finalNewline_ = n == 0 || content[n - 1] == '\n';
    while (pos < n) {
        size_t eol = content.find('\n', pos);
        size_t stop = eol == std::string::npos ? n : eol;
        std::string line = content.substr(pos, stop - pos);
        // Every trailing '\r' goes ("\r\r\n" is CRLF converted twice): a value
        // ending in one would not survive the next write, which ends lines in '\n'.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        pos = eol == std::string::npos ? n : eol + 1;

        std::string header;
        if (parseHeader(line, header)) {
            Section& s = addSection(header, false);
            s.lines.push_back(std::move(line));
            continue;
        }
        if (sections_.empty()) addSection("", false);
        Section& s = sections_.back();
        size_t eq = line.find('=');
        if (eq != std::string::npos) s.keys.emplace(line.substr(0, eq), s.lines.size());
        s.lines.push_back(std::move(line));
    }
}

bool INIfile::open(const std::string& name, bool create) {
    clear();
    std::string content;
    if (!lireFichierBorne(name, content)) {
        // Only a file that does not exist may be created: an existing file that
        // cannot be read would otherwise be replaced by an empty one at close.
        erreur_ = errno;
        if (!create || erreur_ != ENOENT) return false;
        return this->create(name);
    }
    parse(content);
    name_ = name;
    open_ = true;
    return true;
}

bool INIfile::create(const std::string& name) {
    clear();
    if (name.empty()) return false;
    name_ = name;
    open_ = true;
    changed_ = true;
    return true;
}

const std::string* INIfile::find(const std::string& section, const std::string& key) const {
    if (!open_) return nullptr;
    auto it = byName_.find(section);
    if (it == byName_.end()) return nullptr;
    for (size_t idx : it->second) {
        const Section& s = sections_[idx];
        auto k = s.keys.find(key);
        if (k == s.keys.end()) continue;
        const std::string& line = s.lines[k->second];
        if (line.size() > key.size() + 1) return &line;
    }
    return nullptr;
}

std::string INIfile::operator()(const std::string& section, const std::string& key,
                                const char* def) const {
    const std::string* line = find(section, key);
    if (!line) return def ? def : "";
    return line->substr(key.size() + 1);
}

bool INIfile::has(const std::string& section, const std::string& key) const {
    return find(section, key) != nullptr;
}

int INIfile::get(const std::string& section, const std::string& key, int def) const {
    const std::string* line = find(section, key);
    if (!line) return def;
    const char* text = line->c_str() + key.size() + 1;
    return static_cast<int>(std::clamp<long>(std::strtol(text, nullptr, 10), INT_MIN, INT_MAX));
}

bool INIfile::get(const std::string& section, const std::string& key, bool def) const {
    const std::string* line = find(section, key);
    if (!line) return def;
    std::string v = chaineMajuscule(line->substr(key.size() + 1));
    return v == "TRUE" || v == "YES" || v == "VRAI" || v == "OUI";
}

bool INIfile::set(const std::string& section, const std::string& key, const std::string& value) {
    if (!open_) return false;
    const std::string sec = oneLine(section);
    const std::string k = oneLine(key);
    if (cleIllisible(k)) return false;
    std::string line = k + "=" + oneLine(value);
    changed_ = true;
    auto it = byName_.find(sec);
    Section& s = it == byName_.end() ? addSection(sec, true) : sections_[it->second.front()];
    auto found = s.keys.find(k);
    if (found != s.keys.end()) {
        s.lines[found->second] = std::move(line);
    } else {
        s.keys.emplace(k, s.lines.size());
        s.lines.push_back(std::move(line));
    }
    return true;
}

bool INIfile::set(const std::string& section, const std::string& key, const char* value) {
    return set(section, key, std::string(value ? value : ""));
}

bool INIfile::set(const std::string& section, const std::string& key, int value) {
    return set(section, key, std::to_string(value));
}

bool INIfile::set(const std::string& section, const std::string& key, short value) {
    return set(section, key, std::to_string(value));
}

std::vector<std::string> INIfile::sectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < sections_.size(); ++i)
        if (byName_.at(sections_[i].name).front() == i) names.push_back(sections_[i].name);
    return names;
}

std::string INIfile::text() const {
    std::string out = bom_ ? BOM_UTF8 : "";
    bool firstLine = true;
    for (const Section& s : sections_) {
        for (const std::string& line : s.lines) {
            if (!firstLine) out += '\n';
            out += line;
            firstLine = false;
        }
    }
    if (!firstLine && (finalNewline_ || changed_)) out += '\n';
    return out;
}

void INIfile::close() {
    if (open_ && changed_) ecrireFichierAtomique(name_, text());
    clear();
}
