#pragma once

// The teacher's colours of the quiz window's question and statement boxes:
// the six roles, the default set, how a set of colour texts is applied, and
// the editing state of the colours window.
//
// Roles are always matched by their settings key ("Color1" .. "Color6"),
// never by the position of an argument, so that a set saved by the colours
// window comes back in the same roles after a restart.

#include <QColor>
#include <QString>

#include <array>
#include <optional>

namespace ziro {

class Reports;
class Settings;
struct Config;

inline constexpr int kQuizColourRoles = 6;

// Colour texts indexed by role: [0] is "Color1", [5] is "Color6".
using QuizColourTexts = std::array<QString, kQuizColourRoles>;

struct QuizColourRole {
    const char* key;      // "Color1"
    const char* caption;  // "Sfondo del box domande"
};
// Role 1 to 6; anything else has no role.
const QuizColourRole* quizColourRole(int role);

// The colours the quiz window paints its boxes with.
struct QuizColours {
    QColor Acceso{250, 255, 160};  // background of the selected statement
    QColor Spento{230, 240, 250};  // background of the others
    QColor Fondo{240, 240, 240};
    QColor ColSi{0, 0, 0};         // text of the selected statement
    QColor ColNo{130, 130, 130};   // text of the others
    QColor Cold3{0, 0, 0};         // question text, three-statement view
    QColor Cold1{40, 40, 130};     // question text, single view

    QColor PNdomanda{Qt::white};
    QColor PNmono{Qt::white};
    QColor MdomBackground{240, 240, 240};    // and the question's frame shapes
    QColor MdomText{40, 40, 130};
    QColor MAffBigBackground{230, 240, 250};  // and its frame shapes, PanelOver
    QColor MAffBigText{0, 0, 0};

    friend bool operator==(const QuizColours&, const QuizColours&) = default;
};

// Whether the first role's text selects the default set.
bool isDefaultColourText(const QString& text);

// Applies a stored set to `colours`: the default set when Color1 is
// "default"; otherwise every role from its text (Fondo and ColNo keep their
// values). One text that is not a colour means the default set for this run,
// logged (kind 20) unless it is empty; the program goes on. False in that
// case.
bool AttivaColori(QuizColours& colours, const QuizColourTexts& texts, Reports& reports);

// The default set applied, and "default" stored in all six keys.
bool ColoriDefault(QuizColours& colours, Config& cfg, Settings& settings);

// The six texts of the settings, by key.
QuizColourTexts storedQuizColourTexts(const Config& cfg);

// The colours window's state: the six sample colours and the role being
// edited (GeneralTag).
class QuizColourEditor {
public:
    static constexpr int kStart = 128;  // where the three bars start

    QuizColourEditor();

    // Makes `role` the one the bars edit; ignored outside 1..6.
    void select(int role);
    int GeneralTag() const { return m_tag; }
    // The label's text for the role being edited, or the hint to click a
    // sample until one has been.
    QString info() const;
    // The bars moved: the edited sample takes this colour.
    void setRgb(int red, int green, int blue);

    QColor sample(int role) const;
    void setSample(int role, const QColor& colour);
    // The six samples as colour texts, for storing.
    QuizColourTexts texts() const;

private:
    std::array<QColor, kQuizColourRoles> m_samples;
    int m_tag = 1;
    bool m_chosen = false;  // no sample clicked yet
};

}  // namespace ziro
