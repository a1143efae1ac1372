#pragma once

// The languages the quiz speaks and shows, the names of the spoken files and
// the legacy language lists.
//
// Edition mode speaks Italian, French and German (the bank's Testo, Lingua1,
// Lingua2) from ".OGG" files keyed by the statement's Audio1 name; the older
// quiz format speaks eight languages from masked ".KXS" files, with texts and
// audio names taken from list files in the program folder. A language index
// read from the settings file may be anything: outside its table it is
// Italian.

#include "base/globals.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace ziro {

struct QuizLanguage {
    const char* caption;     // "Italiano"
    const char* folder;      // "Italiano/"
    const char* filePrefix;  // "it_IT_"
    const char* textCode;    // "01_IT" (legacy text files)
    int defaultVolume;       // volume position 0..32767 (legacy)
};

inline constexpr int kEditionLanguages = 3;
inline constexpr int kLegacyLanguages = 8;

// The row of `index`, or Italian when it lies outside the table.
const QuizLanguage& editionLanguage(int index);
const QuizLanguage& legacyLanguage(int index);
// `index` when it lies inside the table, else 0 (Italian).
int normalisedLanguage(int index, bool editionMode);

// Edition mode speaks this volume position before every statement.
inline constexpr int kEditionVolumePosition = 30000;

// The folder of an edition's spoken statements. C-D-E and AM have folders
// of their own; CQC gets one beside them rather than the working directory.
QString editionAudioFolder(const Folders& dirs, TModoQuiz edition);
// Sets the three audio folders from the data folder, as every opening of the
// quiz does.
void setQuizAudioFolders(Folders& dirs);
// The folder of the older quiz format's sounds.
QString legacyAudioFolder(const Folders& dirs);

// The spoken file of a statement: folder + language folder + prefix + name
// + ".OGG", found whatever the letter case on disk. nullopt when the trimmed
// name is empty or not a plain file name.
std::optional<QString> editionAudioPath(const QString& folder, int language,
                                        const QString& audioName);
// The same for the older format: ".KXS" under the legacy folder.
std::optional<QString> legacyAudioPath(const QString& folder, int language,
                                       const QString& audioName);
// The file whose presence means the teacher set the volume of a legacy
// language: language folder + prefix + "00000", without extension.
QString legacyVolumeMarker(const QString& folder, int language);
// The file name reports give: prefix + name + extension.
QString spokenFileName(const QuizLanguage& language, const QString& audioName,
                       const QString& extension);

// The legacy key map "LNG0000.MAP": old question keys and new keys, the same
// index. Short lines give what they hold and nothing more.
struct LegacyKeyMap {
    QStringList VL;  // characters 1 to 7, upper case
    QStringList NQ;  // characters 9 to 14, upper case

    static LegacyKeyMap parse(const QStringList& lines);
    // The new key of an old one (any case), or empty.
    QString MatchNewq(const QString& oldKey) const;
};

// One question of the legacy text lists: its text (or audio name) and its
// statements, the true ones first.
struct LegacyEntry {
    QString question;
    struct Statement {
        bool answer = false;  // true for "V"
        QString text;
    };
    std::vector<Statement> statements;
};

// Finds `newKey` in `lines` and reads the entry that starts there: the text
// 7 characters after the start of the key (at most `maxText` characters),
// two empty lines, then one line per statement beginning with its answer
// letter ("V" or "F") up to the first empty line or the end. nullopt, with
// `error` set to the report, when the key is missing or the two lines after
// it are not both there and empty.
std::optional<LegacyEntry> readLegacyEntry(const QStringList& lines, const QString& newKey,
                                           int maxText, QString* error = nullptr);

// Removes the first parenthesised group of at most five characters, brackets
// included, when what it encloses is a number ("Il segnale (12) indica" ->
// "Il segnale  indica").
QString withoutNumberGroup(const QString& text);

}  // namespace ziro
