// The spoken quiz statements of the demo: a few A-B blocks read aloud in
// Italian, French and German by espeak-ng and encoded to Ogg Vorbis by
// ffmpeg, and one question of the older quiz format with its language lists
// and a masked ".KXS" sound.

#include "demo_content.h"

#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"
#include "quiz/question_bank.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <vector>

namespace ziro::demo {

namespace {

// Enough blocks for a class to hear every language on the first records
// with a quiz, few enough to keep the demo quick to write.
constexpr int kSpokenBlocks = 3;
constexpr int kMaxSpokenStatements = 30;

struct Voice {
    const char* espeak;
    const char* folder;
    const char* prefix;
    int text;  // index of the statement's text
};

constexpr Voice kVoices[] = {
    {"it", "Italiano/", "it_IT_", 0},
    {"fr", "Francese/", "fr_FR_", 1},
    {"de", "Tedesco/", "de_DE_", 2},
};

bool failWith(QString* error, const QString& what)
{
    if (error)
        *error = what;
    return false;
}

bool run(const QString& program, const QStringList& args, QString* error)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return failWith(error, QFileInfo(program).fileName() + QStringLiteral(": ")
                                   + QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
    return true;
}

// Speaks `text` into a wave file and encodes it as `target` with `codec`
// arguments ("-c:a libvorbis" for ".OGG").
bool speak(const QString& espeak, const QString& ffmpeg, const QString& voice, const QString& text,
           const QString& target, const QStringList& codec, const QString& scratch, QString* error)
{
    const QString wav = scratch + QStringLiteral("/voice.wav");
    if (!run(espeak, {QStringLiteral("-v"), voice, QStringLiteral("-s"), QStringLiteral("150"),
                      QStringLiteral("-w"), wav, text},
             error))
        return false;
    QStringList args{QStringLiteral("-y"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                     QStringLiteral("-i"), wav};
    args << codec;
    // Encoded beside the target and moved over it, so a half-written sound
    // never stands under the statement's name.
    const QString part = target + QStringLiteral(".part");
    args << part;
    if (!run(ffmpeg, args, error))
        return false;
    QFile::remove(target);
    if (!QFile::rename(part, target))
        return failWith(error, QStringLiteral("cannot rename ") + part);
    return true;
}

// The A-B blocks a teacher reaches first: those of the first records that
// name one, in the order of the walk (topic, then record number), so that the
// first topic of the first group speaks.
QStringList firstBlocks(const QString& programDir, QString* error)
{
    DataTable t;
    t.setSaveOnClose(false);
    if (!t.loadFromFile(programDir + QStringLiteral("AAB2016.XML"), error))
        return {};
    std::vector<std::tuple<QString, int, QString>> named;
    for (t.first(); !t.eof(); t.next()) {
        const QString code = t.fieldText(QStringLiteral("Domanda")).trimmed();
        if (!code.isEmpty())
            named.emplace_back(t.fieldText(QStringLiteral("Argomento")), t.fieldInt(QStringLiteral("NumRec")),
                               (QStringLiteral("Ad") + code).right(5));
    }
    std::sort(named.begin(), named.end());
    QStringList keys;
    for (const auto& [topic, record, key] : named) {
        if (keys.size() == kSpokenBlocks)
            break;
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

// The older format's lists: the question "NQ0001" (old key "AB00001") with
// two statements, in Italian and German, and the audio names.
struct LegacyFile {
    const char* name;
    const char* text;
};

const LegacyFile kLegacyLists[] = {
    {"LNG0000.MAP", "AB00001 NQ0001\r\n"},
    {"AD01_IT.TXT",
     "NQ0001 Il segnale raffigurato (1) indica una strada con diritto di precedenza\r\n"
     "\r\n\r\n"
     "V Il segnale è posto all'inizio della strada con diritto di precedenza\r\n"
     "F Il segnale obbliga a fermarsi all'incrocio\r\n"
     "\r\n"},
    {"AD02_DE.TXT",
     "NQ0001 Das abgebildete Zeichen (1) kennzeichnet eine Vorfahrtstraße\r\n"
     "\r\n\r\n"
     "V Das Zeichen steht am Anfang der Vorfahrtstraße\r\n"
     "F Das Zeichen verpflichtet zum Anhalten an der Kreuzung\r\n"
     "\r\n"},
    {"AUD0000.MAP",
     "NQ0001 D0001\r\n"
     "\r\n\r\n"
     "V D0001_1\r\n"
     "F D0001_2\r\n"
     "\r\n"},
};

bool writeLegacy(const QString& espeak, const QString& ffmpeg, const QString& programDir,
                 const QString& velariumDir, const QString& scratch, QString* error)
{
    for (const LegacyFile& f : kLegacyLists) {
        QString why;
        if (!saveFileAtomically(programDir + QLatin1String(f.name), QByteArray(f.text), &why))
            return failWith(error, QLatin1String(f.name) + QStringLiteral(": ") + why);
    }
    if (espeak.isEmpty())
        return true;
    const QString folder = velariumDir + QStringLiteral("Audio/Italiano/");
    if (!QDir().mkpath(folder))
        return failWith(error, QStringLiteral("cannot create ") + folder);
    const QString target = folder + QStringLiteral("it_IT_D0001.KXS");
    const QString m4a = scratch + QStringLiteral("/question.m4a");
    if (!speak(espeak, ffmpeg, QStringLiteral("it"),
               QString::fromUtf8("Il segnale raffigurato indica una strada con diritto di precedenza"), m4a,
               {QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("48k"),
                QStringLiteral("-f"), QStringLiteral("mp4")},
               scratch, error))
        return false;
    QFile in(m4a);
    if (!in.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("cannot read ") + m4a);
    QByteArray bytes = in.readAll();
    // Masked as the installation keeps it: the three leading zero bytes of
    // the MP4 box become "KXS".
    if (bytes.size() < 8 || !bytes.startsWith(QByteArray("\0\0\0", 3)))
        return failWith(error, QStringLiteral("unexpected MP4 start in ") + m4a);
    bytes.replace(0, 3, "KXS");
    QString why;
    if (!saveFileAtomically(target, bytes, &why))
        return failWith(error, target + QStringLiteral(": ") + why);
    return true;
}

}  // namespace

bool writeSpokenStatements(const QString& ziroDir, const QString& programDir, const QString& velariumDir,
                           QString* error)
{
    const QString espeak = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return failWith(error, QStringLiteral("no temporary folder"));
    if (espeak.isEmpty() || ffmpeg.isEmpty()) {
        std::fprintf(stderr,
                     "make-demo: %s not found: the demo is written without spoken statements "
                     "(scripts/setup.sh installs it)\n",
                     espeak.isEmpty() ? "espeak-ng" : "ffmpeg");
        return writeLegacy({}, {}, programDir, velariumDir, scratch.path(), error);
    }

    const QStringList keys = firstBlocks(programDir, error);
    if (keys.isEmpty())
        return false;
    QuestionBank bank;
    if (!bank.open(programDir + QStringLiteral("NQM2016.XML"), error))
        return false;
    for (const Voice& v : kVoices) {
        if (!QDir().mkpath(ziroDir + QStringLiteral("Audio/") + QLatin1String(v.folder)))
            return failWith(error, QStringLiteral("cannot create the audio folders"));
    }
    int spoken = 0;
    for (const QString& key : keys) {
        const BankBlock block = bank.block(key);
        for (int r = block.first; r < block.first + block.count && spoken < kMaxSpokenStatements; ++r, ++spoken) {
            QuizStatement s;
            if (!bank.readStatement(r, &s))
                return failWith(error, QStringLiteral("unreadable statement %1").arg(r));
            for (const Voice& v : kVoices) {
                const QString target = ziroDir + QStringLiteral("Audio/") + QLatin1String(v.folder)
                    + QLatin1String(v.prefix) + s.AudioArr.trimmed() + QStringLiteral(".OGG");
                if (!speak(espeak, ffmpeg, QLatin1String(v.espeak), s.Aff[std::size_t(v.text)], target,
                           {QStringLiteral("-c:a"), QStringLiteral("libvorbis"), QStringLiteral("-q:a"),
                            QStringLiteral("2"), QStringLiteral("-f"), QStringLiteral("ogg")},
                           scratch.path(), error))
                    return false;
            }
        }
    }
    return writeLegacy(espeak, ffmpeg, programDir, velariumDir, scratch.path(), error);
}

}  // namespace ziro::demo
