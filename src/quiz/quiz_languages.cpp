#include "quiz/quiz_languages.h"

#include "platform/files/paths.h"

#include <array>

namespace ziro {

namespace {

constexpr std::array<QuizLanguage, kEditionLanguages> kEdition{{
    {"Italiano", "Italiano/", "it_IT_", "01_IT", 14000},
    {"Francese", "Francese/", "fr_FR_", "04_FR", 27000},
    {"Tedesco", "Tedesco/", "de_DE_", "02_DE", 18000},
}};

constexpr std::array<QuizLanguage, kLegacyLanguages> kLegacy{{
    {"Italiano", "Italiano/", "it_IT_", "01_IT", 14000},
    {"Tedesco", "Tedesco/", "de_DE_", "02_DE", 18000},
    {"Inglese", "Inglese/", "en_GB_", "03_GB", 24000},
    {"Francese", "Francese/", "fr_FR_", "04_FR", 27000},
    {"Spagnolo", "Spagnolo/", "es_ES_", "05_ES", 26000},
    {"Russo", "Russo/", "ru_RU_", "06_RU", 32000},
    {"Arabo", "Arabo/", "ar_MA_", "07_MA", 32767},
    {"Cinese", "Cinese/", "zh_CN_", "08_CN", 23500},
}};

std::optional<QString> spokenPath(const QString& folder, const QuizLanguage& language,
                                  const QString& audioName, const char* extension)
{
    const QString name = audioName.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    return joinPlain(folder + QLatin1String(language.folder), name,
                     QLatin1String(language.filePrefix), QLatin1String(extension));
}

}  // namespace

int normalisedLanguage(int index, bool editionMode)
{
    const int count = editionMode ? kEditionLanguages : kLegacyLanguages;
    return index >= 0 && index < count ? index : 0;
}

const QuizLanguage& editionLanguage(int index)
{
    return kEdition[std::size_t(normalisedLanguage(index, true))];
}

const QuizLanguage& legacyLanguage(int index)
{
    return kLegacy[std::size_t(normalisedLanguage(index, false))];
}

QString editionAudioFolder(const Folders& dirs, TModoQuiz edition)
{
    switch (edition) {
    case TModoQuiz::mqAM:
        return dirs.DirAudioAM;
    case TModoQuiz::mqCD:
        return dirs.DirAudioCDE;
    case TModoQuiz::mqCQ:
        return dirs.DirZiroDati + QStringLiteral("Audio CQC/");
    case TModoQuiz::mqAB:
    case TModoQuiz::mqCustom:
        break;
    }
    return dirs.DirAudio;
}

void setQuizAudioFolders(Folders& dirs)
{
    dirs.DirAudio = dirs.DirZiroDati + QStringLiteral("Audio/");
    dirs.DirAudioAM = dirs.DirZiroDati + QStringLiteral("Audio AM/");
    dirs.DirAudioCDE = dirs.DirZiroDati + QStringLiteral("Audio CDE/");
}

QString legacyAudioFolder(const Folders& dirs)
{
    return dirs.DirVelarium + QStringLiteral("Audio/");
}

std::optional<QString> editionAudioPath(const QString& folder, int language,
                                        const QString& audioName)
{
    return spokenPath(folder, editionLanguage(language), audioName, ".OGG");
}

std::optional<QString> legacyAudioPath(const QString& folder, int language,
                                       const QString& audioName)
{
    return spokenPath(folder, legacyLanguage(language), audioName, ".KXS");
}

QString legacyVolumeMarker(const QString& folder, int language)
{
    const QuizLanguage& l = legacyLanguage(language);
    return resolveFile(folder + QLatin1String(l.folder),
                       QLatin1String(l.filePrefix) + QStringLiteral("00000"));
}

QString spokenFileName(const QuizLanguage& language, const QString& audioName,
                       const QString& extension)
{
    return (QLatin1String(language.filePrefix) + audioName).trimmed() + extension;
}

LegacyKeyMap LegacyKeyMap::parse(const QStringList& lines)
{
    LegacyKeyMap map;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.isEmpty())
            continue;
        // mid() past the end gives an empty text, never a read beyond it.
        map.VL << t.left(7).toUpper();
        map.NQ << t.mid(8, 6).toUpper();
    }
    return map;
}

QString LegacyKeyMap::MatchNewq(const QString& oldKey) const
{
    const QString key = oldKey.toUpper();
    if (key.isEmpty())
        return {};
    const qsizetype i = VL.indexOf(key);
    return i >= 0 && i < NQ.size() ? NQ.at(i) : QString();
}

std::optional<LegacyEntry> readLegacyEntry(const QStringList& lines, const QString& newKey,
                                           int maxText, QString* error)
{
    if (error)
        error->clear();
    if (newKey.isEmpty())
        return std::nullopt;
    qsizetype row = -1;
    qsizetype column = -1;
    for (qsizetype i = 0; i < lines.size() && row < 0; ++i) {
        column = lines.at(i).indexOf(newKey);
        if (column >= 0)
            row = i;
    }
    if (row < 0)
        return std::nullopt;
    const auto blank = [&](qsizetype i) { return i < lines.size() && lines.at(i).trimmed().isEmpty(); };
    if (!blank(row + 1) || !blank(row + 2)) {
        if (error)
            *error = QStringLiteral("ERRORE: formato file inaspettato. D: ") + newKey.left(5);
        return std::nullopt;
    }
    LegacyEntry entry;
    entry.question = lines.at(row).mid(column + 7, maxText).trimmed();
    for (qsizetype i = row + 3; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty())
            break;
        const QChar letter = line.at(0).toUpper();
        if (letter != u'V' && letter != u'F')
            break;
        entry.statements.push_back({letter == u'V', line.mid(1).trimmed()});
    }
    return entry;
}

QString withoutNumberGroup(const QString& text)
{
    const qsizetype open = text.indexOf(u'(');
    if (open < 0)
        return text;
    const qsizetype close = text.indexOf(u')', open + 1);
    if (close < 0 || close - open + 1 > 5)
        return text;
    bool number = false;
    text.mid(open + 1, close - open - 1).trimmed().toInt(&number);
    if (!number)
        return text;
    QString out = text;
    out.remove(open, close - open + 1);
    return out;
}

}  // namespace ziro
