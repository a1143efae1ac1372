#pragma once

#include "base/globals.h"

#include <QString>

#include <array>
#include <optional>

namespace ziro {

// What belongs to one licence edition.
struct EditionInfo {
    TModoQuiz edition;
    const char* lettera;       // LetteraEdizione
    const char* contentFile;   // in DirProgram
    const char* bankFile;      // question bank, in DirProgram
    QString Folders::*bookDir; // pages and record sounds
    const char* bankContext;   // context of a question bank failure
    std::array<const char*, 10> titles;  // topic groups A to J; "" = unused
};

// The four editions by number (mqAM 0, mqAB 1, mqCD 2, mqCQ 3); nullptr for
// any other number.
const EditionInfo* editionInfo(int number);
const EditionInfo& editionInfo(TModoQuiz edition);

// Loads the edition's question bank into the quiz; does nothing while the
// quiz window does not exist.
class QuestionBankLoader {
public:
    virtual ~QuestionBankLoader() = default;
    virtual void loadQuestionBank(const EditionInfo& edition) = 0;
};

// Switching the main table to another edition's content file, as the
// general menu's edition buttons and the way back from a side trip do. Until
// a table is plugged in, nothing opens.
class EditionPort {
public:
    virtual ~EditionPort() = default;
    // Opens the edition's content file as the main table. On failure the
    // table that was open stays open and current, and `error` says why.
    virtual bool openEditionTable(TModoQuiz edition, QString* error)
    {
        Q_UNUSED(edition);
        if (error)
            *error = QStringLiteral("nessuna tabella");
        return false;
    }
    virtual QuestionBankLoader* bankLoader() { return nullptr; }
    // The topic pop-up and the editor's topic list, for the edition now
    // current.
    virtual void rebuildTopicLists() {}
};

// The edition change: question folder, flags, letter, titles, question
// bank. It does not reopen the content table; the callers do. Any number
// other than 0 to 3 does nothing. Returns whether the edition changed.
bool CambiaEdizione(Globals& g, int number, QuestionBankLoader* bank);

// Opens the edition's table, then makes it the current edition (leaving any
// custom lesson) and rebuilds its topic lists. The table comes first: when
// it cannot be opened the edition stays what it was, so the flags never name
// an edition whose table is not open. False, with `error` set, on failure.
bool switchEdition(Globals& g, EditionPort& port, TModoQuiz edition, QString* error);

// The title of topic group "A" to "J" (CQC: "A" to "I" and "L") in the
// current edition; empty for any other letter or a group the edition does
// not use.
QString TitoloGruppo(const Globals& g, const QString& letter);

// The path of the edition's content file.
QString contentFilePath(const Globals& g, TModoQuiz edition);

// The edition to select at activation: the flags tested in the order C-D-E,
// CQC, AM, A-B. nullopt when none is set (a custom lesson edition).
std::optional<int> activationEdition(const Globals& g);

}  // namespace ziro
