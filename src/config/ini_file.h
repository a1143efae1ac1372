#pragma once

// The program's INI files (the settings file, caption styles): a classic
// "[Section]" / "key=value" text that may have been written on Windows.
//
// Unlike QSettings this keeps the file as its author left it: comments, blank
// lines, order, odd lines, spacing, the line endings and the encoding all
// survive, so a write changes only the line of the key it touches. Section and
// key names match without regard to case (Unicode case folding: "Unità" finds
// "UNITÀ"). Every write goes to disk at once through an atomic save unless
// auto-save is switched off.

#include "platform/files/text_codec.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace ziro {

// One INI file, held in memory line by line and written back whole.
//
// Reading: names and values are trimmed of surrounding blanks (spaces, tabs,
// stray carriage returns); everything after the first '=' is the value, which
// may itself hold '='. Values are raw: no quotes are removed, no escapes
// processed, so a path such as "D:\ziro\Video\" reads as written. The first
// occurrence of a key wins, also across a section that appears twice in the
// file. Lines that are neither a section header nor "key=value" (a header
// without ']', a line without '=', binary junk) are kept as they are and never
// match anything.
//
// Encoding: a file is read as UTF-8 when it holds valid UTF-8 with at least one
// non-ASCII character or starts with a UTF-8 byte order mark, otherwise as
// Windows-1252; a plain ASCII file thus counts as Windows-1252, the encoding new
// files get. The file is written back in the encoding it was read, keeping a
// byte order mark. When a Windows-1252 file is given a name or value that
// Windows-1252 cannot hold, the whole file is written as UTF-8 from then on
// (without a byte order mark; the reader recognises it by its validity) rather
// than losing characters.
class IniFile
{
public:
    enum class LineEnding { CrLf, Lf };

    // Larger files are refused: no settings file comes near this, and holding
    // it line by line would take several times its size in memory.
    static constexpr qint64 kMaxFileSize = qint64(16) * 1024 * 1024;

    // Reads the file at `path`. A missing file gives an empty document
    // (Windows-1252, CRLF) that is created by its first write. A file that
    // cannot be read (a folder, no permission, too large) gives nullptr and
    // the reason in `error`.
    static std::shared_ptr<IniFile> open(const QString& path, QString* error = nullptr);

    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    QString path() const { return m_path; }
    // Whether the file is on disk: it was there when opened or has been saved
    // since.
    bool exists() const { return m_exists; }
    TextEncoding encoding() const { return m_encoding; }
    LineEnding lineEnding() const { return m_lineEnding; }
    bool hasByteOrderMark() const { return m_bom; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // Decimal with an optional sign, or hexadecimal written "$1F" or "0x1F".
    // Anything else (empty, text, out of the int range) gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // Any integer other than 0 is true, 0 is false; "true"/"yes" and
    // "false"/"no" in any letter case are understood as well. Anything else
    // gives the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    bool valueExists(const QString& section, const QString& key) const;
    bool sectionExists(const QString& section) const;
    // Key names of the section in file order, each name once.
    QStringList readSection(const QString& section) const;
    // Section names in file order, each name once.
    QStringList sections() const;

    // Writes change the first occurrence of the key; a new key goes after the
    // last key line of the section's first occurrence, a new section at the
    // end of the file. They return false without changing anything for names
    // or values that would corrupt the file: an empty name, a section name with
    // a line break, a key holding '=' or a line break or starting with '[',
    // ';' or '#', a value with a line break. They also return false, with the
    // reason in lastError(), when saving fails; the change is then kept in
    // memory and goes to disk with the next successful save.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    // Written as "1" or "0".
    bool writeBool(const QString& section, const QString& key, bool value);
    // Removes every occurrence of the key in the section; a key that is not
    // there is no failure.
    bool deleteKey(const QString& section, const QString& key);
    // Removes every occurrence of the section with its keys. Comment and blank
    // lines that follow its last key stay, as they usually introduce what comes
    // next.
    bool eraseSection(const QString& section);

    // With auto-save off, writes change only the document until save() is
    // called, so a bulk writer saves once.
    void setAutoSave(bool on) { m_autoSave = on; }
    bool autoSave() const { return m_autoSave; }
    // Writes the whole document at once. Returns false with lastError() set
    // when the file could not be written; the old file is then untouched.
    bool save();
    QString lastError() const { return m_lastError; }

    // The bytes save() would write now.
    QByteArray toBytes() const;

private:
    struct Line
    {
        enum class Kind { Blank, Comment, Section, Key, Odd };
        Kind kind = Kind::Odd;
        QString text;            // decoded, without its line ending
        QByteArray raw;          // bytes as read; meaningful while !edited
        QByteArray eol;          // "\r\n", "\n", or "" for a last line without one
        bool edited = false;     // text no longer matches raw
        QString name;            // section or key name, trimmed
        QString foldedName;      // the same, case folded for matching
        qsizetype valueStart = 0; // value span inside text (Key lines)
        qsizetype valueEnd = 0;
    };

    IniFile() = default;

    static Line parseLine(QString text);
    void load(const QByteArray& bytes);
    QByteArray serialize(TextEncoding encoding, bool* lossless) const;

    // Index ranges [header, next header) of every occurrence of the section.
    std::vector<std::pair<qsizetype, qsizetype>> sectionRanges(const QString& foldedSection) const;
    qsizetype findKey(const QString& section, const QString& key) const;
    void insertLine(qsizetype index, const QString& text);
    QByteArray newLineEnding() const;
    // Saves when auto-save is on and something is unsaved.
    bool commit();

    QString m_path;
    std::vector<Line> m_lines;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    TextEncoding m_readEncoding = TextEncoding::Windows1252;
    LineEnding m_lineEnding = LineEnding::CrLf;
    bool m_bom = false;
    bool m_exists = false;
    bool m_autoSave = true;
    bool m_dirty = false;
    QString m_lastError;
};

} // namespace ziro
