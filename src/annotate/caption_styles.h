#pragma once

// The look of a photo caption apart from its text and place, and the two
// styles the teacher keeps under the tool bar's buttons A and B.
//
// The styles live in "TextStyles.ini" in the user's folder: the program's
// folder need not be writable, and a style stored there would be lost or, worse,
// silently not stored at all. Installations that shipped the file beside the
// program still have their styles read from there until the teacher stores one
// of their own.

// The caption's alignment and 3-D effect are the caption record's own.
#include "viewers/photo_caption.h"

#include <QColor>
#include <QString>

#include <optional>

namespace ziro {

class IniFile;
class Reports;
struct Folders;

// A default-constructed style is what a stored style falls back to, key by key.
struct CaptionStyle {
    QString fontName = QStringLiteral("Arial");
    QColor fontColour = QColor(0, 0, 0);
    int fontSize = 35;  // points
    CaptionAlignment alignment = CaptionAlignment::Centre;
    bool italic = false;
    bool bold = true;
    // Never stored; they only decide whether a style digit exists.
    bool underline = false;
    bool strikeOut = false;
    bool FondinoON = false;  // the background box is shown
    QColor captionColour = QColor(0xC6, 0xCD, 0xD9);  // "$00D9CDC6", the box's fill
    CaptionEffect effect = CaptionEffect::Shadowed3d;
    QColor shadeColour = QColor(128, 128, 128);

    bool operator==(const CaptionStyle&) const = default;
};

// The style digit of a record or style file: 0 plain, 1 italic, 2 bold,
// 3 both. Underlined or struck-out text has none.
std::optional<int> styleDigit(const CaptionStyle& style);
// 0 Normal3d, 1 Resit3d, 2 Shadowed3d; Raised3d has none.
std::optional<int> effectDigit(CaptionEffect effect);

enum class CaptionPreset { A, B };

// "Preset2" for A, "Preset3" for B.
QString presetSection(CaptionPreset preset);
// The question asked before a style is stored.
QString presetQuestion(CaptionPreset preset);

// Applies the preset's section of `file` onto `current`, as the A and B
// buttons do: a missing key or a value that is no number or colour takes its
// default; an alignment, style or effect number out of range leaves the field;
// the font size is taken only for a multi-line caption. Returns false, leaving
// `current` untouched, when the file has no such section.
bool readCaptionPreset(const IniFile& file, CaptionPreset preset, bool multiLine,
                       CaptionStyle& current);

// Writes the style's keys into the preset's section of `file` (saving as the
// file's auto-save says). The style key is left out when the style has no
// digit, the effect key when the effect has none. Returns false when a value
// could not be written or saved.
bool writeCaptionPreset(IniFile& file, CaptionPreset preset, const CaptionStyle& style);

// The two stored styles of one user.
class CaptionStyleStore {
public:
    static constexpr const char* kFileName = "TextStyles.ini";

    // `userPath` is read and written; `legacyPath` (may be empty) is only read,
    // for a preset the user file does not hold.
    CaptionStyleStore(QString userPath, QString legacyPath, Reports& reports);
    // The user's file in DirUtente, the older copy in DirProgram.
    static CaptionStyleStore forFolders(const Folders& folders, Reports& reports);

    QString userPath() const { return m_userPath; }

    // The A or B button: applies the stored style onto `current`. False, with
    // `current` untouched, when neither file holds the preset. A file that
    // exists but cannot be read is reported (kind 2) and passed over.
    bool load(CaptionPreset preset, bool multiLine, CaptionStyle& current) const;

    // A right click on A or B, once the teacher agreed: writes the user's file
    // in one atomic save. A failure is reported (kind 2) and gives false; the
    // file on disk is then as it was.
    bool store(CaptionPreset preset, const CaptionStyle& style);

private:
    QString m_userPath;
    QString m_legacyPath;
    Reports& m_reports;
};

}  // namespace ziro
