#include "MessageRecorder.h"

MessageRecorder::MessageRecorder() : precedent_(setGestionnaireMessages(this)) {}
MessageRecorder::~MessageRecorder() { setGestionnaireMessages(precedent_); }

std::vector<std::string> MessageRecorder::boites() const {
    std::vector<std::string> out;
    for (const Message& m : messages)
        if (m.kind == Message::Information || m.kind == Message::Erreur) out.push_back(m.texte);
    return out;
}

std::vector<std::string> MessageRecorder::journal() const {
    std::vector<std::string> out;
    for (const Message& m : messages)
        if (m.kind == Message::Journal) out.push_back(m.texte);
    return out;
}

int MessageRecorder::nombre(Message::Kind kind) const {
    int n = 0;
    for (const Message& m : messages) n += m.kind == kind;
    return n;
}

void MessageRecorder::information(const std::string& texte) { messages.push_back({Message::Information, texte, ""}); }
void MessageRecorder::erreur(const std::string& texte) { messages.push_back({Message::Erreur, texte, ""}); }

bool MessageRecorder::question(const std::string& question, const std::string& titre) {
    messages.push_back({Message::Question, question, titre});
    if (reponsesQuestions.empty()) return false;
    bool r = reponsesQuestions.front();
    reponsesQuestions.pop_front();
    return r;
}

bool MessageRecorder::saisie(const std::string& invite, std::string&) {
    messages.push_back({Message::Saisie, invite, ""});
    return false;
}

void MessageRecorder::journal(const std::string& ligne) { messages.push_back({Message::Journal, ligne, ""}); }

std::string MessageRecorder::choixFichier(const std::string& invite, const std::string& motif,
                                          const std::string& depart, bool sauver) {
    messages.push_back({Message::ChoixFichier, invite, motif});
    departFichier = depart;
    sauverFichier = sauver;
    if (reponsesFichiers.empty()) return std::string();
    std::string r = reponsesFichiers.front();
    reponsesFichiers.pop_front();
    return r;
}
