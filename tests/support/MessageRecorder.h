#ifndef QV_TEST_MESSAGERECORDER_H
#define QV_TEST_MESSAGERECORDER_H

#include "app/messagebox.h"

#include <deque>
#include <string>
#include <vector>

// Stands in for the message layer while it lives: records every message,
// answers questions and file choices from scripted answers.
class MessageRecorder : public GestionnaireMessages {
public:
    struct Message {
        enum Kind { Information, Erreur, Question, Saisie, Journal, ChoixFichier } kind;
        std::string texte;
        std::string titre;  // question title, or file-chooser pattern
    };

    MessageRecorder();
    ~MessageRecorder() override;

    std::vector<Message> messages;
    std::deque<bool> reponsesQuestions;   // next answers; "Non" when empty
    std::deque<std::string> reponsesFichiers;  // next chosen files; cancelled when empty
    // The last file question: the name it started from and whether it was to save.
    std::string departFichier;
    bool sauverFichier = false;

    // Texts shown in message boxes (information and errors), in order.
    std::vector<std::string> boites() const;
    std::vector<std::string> journal() const;
    int nombre(Message::Kind kind) const;

    void information(const std::string& texte) override;
    void erreur(const std::string& texte) override;
    bool question(const std::string& question, const std::string& titre) override;
    bool saisie(const std::string& invite, std::string& valeur) override;
    void journal(const std::string& ligne) override;
    std::string choixFichier(const std::string& invite, const std::string& motif,
                             const std::string& depart, bool sauver) override;

private:
    GestionnaireMessages* precedent_;
};

#endif
