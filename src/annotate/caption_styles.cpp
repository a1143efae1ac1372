#include "annotate/caption_styles.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/colour_text.h"
#include "config/ini_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace ziro {

namespace {

const QString kFontName = QStringLiteral("FontName");
const QString kFontColor = QStringLiteral("FontColor");
const QString kFontSize = QStringLiteral("FontSize");
const QString kAlignment = QStringLiteral("Alignment");
const QString kStyle = QStringLiteral("Style");
const QString kTransparent = QStringLiteral("Transparent");
const QString kColor = QStringLiteral("Color");
const QString kEffect3d = QStringLiteral("Effect3d");
const QString kShadeColor = QStringLiteral("ShadeColor");

// Beyond the size bar's top a font only slows the caption's fitting down.
constexpr int kLargestFontSize = 160;

QString context()
{
    return QStringLiteral("preset testo");
}

// The font name ends up in the caption record, where "*" and "#" delimit
// fields; a hand-edited file must not smuggle them in.
QString cleanFontName(const QString& name, const QString& fallback)
{
    QString clean;
    clean.reserve(name.size());
    for (QChar c : name) {
        if (c == u'*' || c == u'#' || c.category() == QChar::Other_Control)
            continue;
        clean += c;
    }
    clean = clean.trimmed();
    return clean.isEmpty() ? fallback : clean;
}

QColor readColour(const IniFile& file, const QString& section, const QString& key,
                  const QColor& fallback)
{
    const QString text = file.readString(section, key);
    return colourFromText(text.trimmed()).value_or(fallback);
}

std::shared_ptr<IniFile> openForReading(const QString& path, Reports& reports)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return nullptr;
    QString error;
    auto file = IniFile::open(path, &error);
    if (!file)
        reports.Emsg(ReportKind::FileIo, context(), QDir::toNativeSeparators(path));
    return file;
}

}  // namespace

std::optional<int> styleDigit(const CaptionStyle& style)
{
    if (style.underline || style.strikeOut)
        return std::nullopt;
    return (style.italic ? 1 : 0) + (style.bold ? 2 : 0);
}

std::optional<int> effectDigit(CaptionEffect effect)
{
    switch (effect) {
    case CaptionEffect::Normal3d: return 0;
    case CaptionEffect::Resit3d: return 1;
    case CaptionEffect::Shadowed3d: return 2;
    case CaptionEffect::Raised3d: break;
    }
    return std::nullopt;
}

QString presetSection(CaptionPreset preset)
{
    return preset == CaptionPreset::A ? QStringLiteral("Preset2") : QStringLiteral("Preset3");
}

QString presetQuestion(CaptionPreset preset)
{
    return preset == CaptionPreset::A ? QStringLiteral("Salvataggio preset n.1, Ok?")
                                      : QStringLiteral("Salvataggio preset n.2, Ok?");
}

bool readCaptionPreset(const IniFile& file, CaptionPreset preset, bool multiLine,
                       CaptionStyle& current)
{
    const QString section = presetSection(preset);
    if (!file.sectionExists(section))
        return false;
    const CaptionStyle defaults;
    CaptionStyle style = current;

    style.fontName = cleanFontName(file.readString(section, kFontName, defaults.fontName),
                                   defaults.fontName);
    style.fontColour = readColour(file, section, kFontColor, defaults.fontColour);
    if (multiLine) {
        style.fontSize = std::clamp(file.readInteger(section, kFontSize, defaults.fontSize), 1,
                                    kLargestFontSize);
    }
    switch (file.readInteger(section, kAlignment, 2)) {
    case 1: style.alignment = CaptionAlignment::Left; break;
    case 2: style.alignment = CaptionAlignment::Centre; break;
    case 3: style.alignment = CaptionAlignment::Right; break;
    default: break;
    }
    const int digit = file.readInteger(section, kStyle, 2);
    if (digit >= 0 && digit <= 3) {
        style.italic = (digit & 1) != 0;
        style.bold = (digit & 2) != 0;
        style.underline = false;
        style.strikeOut = false;
    }
    style.FondinoON = !file.readBool(section, kTransparent, true);
    style.captionColour = readColour(file, section, kColor, defaults.captionColour);
    switch (file.readInteger(section, kEffect3d, 2)) {
    case 0: style.effect = CaptionEffect::Normal3d; break;
    case 1: style.effect = CaptionEffect::Resit3d; break;
    case 2: style.effect = CaptionEffect::Shadowed3d; break;
    default: break;
    }
    style.shadeColour = readColour(file, section, kShadeColor, defaults.shadeColour);

    current = style;
    return true;
}

bool writeCaptionPreset(IniFile& file, CaptionPreset preset, const CaptionStyle& style)
{
    const QString section = presetSection(preset);
    const CaptionStyle defaults;
    bool ok = file.writeString(section, kFontName, cleanFontName(style.fontName, defaults.fontName));
    ok = file.writeString(section, kFontColor, colourToText(style.fontColour)) && ok;
    ok = file.writeInteger(section, kFontSize, std::max(1, style.fontSize)) && ok;
    ok = file.writeInteger(section, kAlignment, static_cast<int>(style.alignment)) && ok;
    if (const auto digit = styleDigit(style))
        ok = file.writeInteger(section, kStyle, *digit) && ok;
    ok = file.writeBool(section, kTransparent, !style.FondinoON) && ok;
    ok = file.writeString(section, kColor, colourToText(style.captionColour)) && ok;
    if (const auto digit = effectDigit(style.effect))
        ok = file.writeInteger(section, kEffect3d, *digit) && ok;
    ok = file.writeString(section, kShadeColor, colourToText(style.shadeColour)) && ok;
    return ok;
}

CaptionStyleStore::CaptionStyleStore(QString userPath, QString legacyPath, Reports& reports)
    : m_userPath(std::move(userPath)), m_legacyPath(std::move(legacyPath)), m_reports(reports)
{
}

CaptionStyleStore CaptionStyleStore::forFolders(const Folders& folders, Reports& reports)
{
    const QString name = QString::fromLatin1(kFileName);
    return CaptionStyleStore(folders.DirUtente + name, folders.DirProgram + name, reports);
}

bool CaptionStyleStore::load(CaptionPreset preset, bool multiLine, CaptionStyle& current) const
{
    for (const QString& path : {m_userPath, m_legacyPath}) {
        const auto file = openForReading(path, m_reports);
        if (file && readCaptionPreset(*file, preset, multiLine, current))
            return true;
    }
    return false;
}

bool CaptionStyleStore::store(CaptionPreset preset, const CaptionStyle& style)
{
    const QString shownPath = QDir::toNativeSeparators(m_userPath);
    auto file = IniFile::open(m_userPath);
    if (!file) {
        m_reports.Emsg(ReportKind::FileIo, context(), shownPath);
        return false;
    }
    // One save for all keys, so that a failure cannot leave half a style.
    file->setAutoSave(false);
    const bool written = writeCaptionPreset(*file, preset, style);
    const QString folder = QFileInfo(m_userPath).absolutePath();
    if (!written || !QDir().mkpath(folder) || !file->save()) {
        m_reports.Emsg(ReportKind::FileIo, context(), shownPath);
        return false;
    }
    return true;
}

}  // namespace ziro
