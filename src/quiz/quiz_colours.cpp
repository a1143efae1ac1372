#include "quiz/quiz_colours.h"

#include "base/reports.h"
#include "config/colour_text.h"
#include "config/settings.h"

#include <algorithm>

namespace ziro {

namespace {

constexpr std::array<QuizColourRole, kQuizColourRoles> kRoles{{
    {"Color1", "Sfondo del box domande"},
    {"Color2", "Sfondo dei box affermazione non attivi"},
    {"Color3", "Sfondo dei box affermazione attivi"},
    {"Color4", "Carattere delle domande"},
    {"Color5", "Carattere delle affermazioni non attive"},
    {"Color6", "Carattere delle affermazioni attive"},
}};

constexpr std::array<SettingId, kQuizColourRoles> kSettings{
    SettingId::Color1, SettingId::Color2, SettingId::Color3,
    SettingId::Color4, SettingId::Color5, SettingId::Color6,
};

void applyDefaults(QuizColours& c)
{
    c = QuizColours{};
}

}  // namespace

const QuizColourRole* quizColourRole(int role)
{
    return role >= 1 && role <= kQuizColourRoles ? &kRoles[std::size_t(role - 1)] : nullptr;
}

bool isDefaultColourText(const QString& text)
{
    return text.trimmed().compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

bool AttivaColori(QuizColours& colours, const QuizColourTexts& texts, Reports& reports)
{
    if (isDefaultColourText(texts[0])) {
        applyDefaults(colours);
        return true;
    }
    std::array<QColor, kQuizColourRoles> c;
    for (int i = 0; i < kQuizColourRoles; ++i) {
        const auto colour = colourFromText(texts[std::size_t(i)]);
        if (!colour) {
            // A hand-edited settings file must not end the lesson: this run
            // gets the default set and the log says which key was wrong. An
            // empty text is a key never stored, or one the settings loader
            // has refused and logged already.
            if (!texts[std::size_t(i)].trimmed().isEmpty())
                reports.Emsg(ReportKind::LogOnly,
                             QStringLiteral("Colori del quiz: [Quiz] ")
                                 + QLatin1String(kRoles[std::size_t(i)].key) + QLatin1Char('=')
                                 + texts[std::size_t(i)],
                             QStringLiteral("Usati i colori predefiniti"));
            applyDefaults(colours);
            return false;
        }
        c[std::size_t(i)] = *colour;
    }
    colours.PNdomanda = Qt::white;
    colours.MdomBackground = c[0];
    colours.Spento = c[1];
    colours.PNmono = Qt::white;
    colours.MAffBigBackground = c[1];
    colours.Acceso = c[2];
    colours.MdomText = c[3];
    colours.Cold1 = c[3];
    colours.Cold3 = c[3];
    colours.MAffBigText = c[4];
    colours.ColSi = c[5];
    return true;
}

bool ColoriDefault(QuizColours& colours, Config& cfg, Settings& settings)
{
    applyDefaults(colours);
    QuizColourTexts texts;
    texts.fill(QStringLiteral("default"));
    return settings.SaveQuizColor(cfg, texts);
}

QuizColourTexts storedQuizColourTexts(const Config& cfg)
{
    QuizColourTexts texts;
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        texts[i] = cfg.*std::get<QString Config::*>(settingDef(kSettings[i]).member);
    return texts;
}

QuizColourEditor::QuizColourEditor()
{
    const QuizColours d;
    m_samples = {d.MdomBackground, d.Spento, d.Acceso, d.MdomText, d.MAffBigText, d.ColSi};
}

void QuizColourEditor::select(int role)
{
    if (quizColourRole(role)) {
        m_tag = role;
        m_chosen = true;
    }
}

QString QuizColourEditor::info() const
{
    if (const QuizColourRole* r = m_chosen ? quizColourRole(m_tag) : nullptr)
        return QString::fromUtf8(r->caption);
    return QStringLiteral("Cliccare sul colore da modificare");
}

void QuizColourEditor::setRgb(int red, int green, int blue)
{
    setSample(m_tag, QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255)));
}

QColor QuizColourEditor::sample(int role) const
{
    return quizColourRole(role) ? m_samples[std::size_t(role - 1)] : QColor();
}

void QuizColourEditor::setSample(int role, const QColor& colour)
{
    if (quizColourRole(role))
        m_samples[std::size_t(role - 1)] = colour;
}

QuizColourTexts QuizColourEditor::texts() const
{
    QuizColourTexts t;
    for (std::size_t i = 0; i < m_samples.size(); ++i)
        t[i] = colourToText(m_samples[i]);
    return t;
}

}  // namespace ziro
