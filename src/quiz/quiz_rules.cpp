#include "quiz/quiz_rules.h"

namespace ziro {

QString AdeguaPittogrammi(const QString& code)
{
    bool numeric = false;
    const int value = code.toInt(&numeric);
    if (numeric && code.size() == 3 && value >= 800 && value <= 810)
        return code + QLatin1Char('n');
    return code;
}

QString captionFamily(const QString& caption)
{
    return caption.size() < 25 ? QStringLiteral("Arial") : QStringLiteral("Arial Narrow");
}

std::optional<QColor> captionColour(TModoQuiz edition, const QString& subTopic)
{
    if (subTopic.isEmpty())
        return std::nullopt;
    const QChar letter = subTopic.at(0);
    int index = -1;
    if (letter >= QLatin1Char('A') && letter <= QLatin1Char('J'))
        index = letter.unicode() - 'A';
    else if (letter == QLatin1Char('L'))
        index = 9;
    if (index < 0)
        return std::nullopt;
    static const int ab[10][3] = {{108, 172, 89}, {133, 115, 71}, {54, 82, 156}, {142, 137, 74}, {52, 139, 54},
                                  {186, 63, 63},  {62, 135, 189}, {64, 128, 128}, {205, 139, 67}, {138, 138, 138}};
    static const int cd[10][3] = {{108, 172, 89}, {133, 115, 71}, {52, 139, 54},  {54, 82, 156},   {142, 137, 74},
                                  {186, 63, 63},  {62, 135, 189}, {107, 47, 108}, {138, 138, 138}, {138, 138, 138}};
    static const int cq[10][3] = {{108, 172, 89}, {108, 172, 89}, {108, 172, 89}, {108, 172, 89}, {108, 172, 89},
                                  {108, 172, 89}, {205, 139, 67}, {205, 139, 67}, {62, 135, 189}, {62, 135, 189}};
    const int(*table)[3] = edition == TModoQuiz::mqCD ? cd : edition == TModoQuiz::mqCQ ? cq : ab;
    return QColor(table[index][0], table[index][1], table[index][2]);
}

GaugeLook gaugeLook(int value)
{
    GaugeLook look;
    look.value = value;
    look.showNumber = value > 0;
    if (value <= 0)
        return look;
    if (value <= 34) {
        look.background = QColor(202, 245, 201);
        look.bar = QColor(0, 128, 0);
    } else if (value <= 67) {
        look.background = QColor(255, 255, 217);
        look.bar = QColor(254, 216, 1);
    } else {
        look.background = QColor(255, 225, 230);
        look.bar = QColor(255, 0, 0);
    }
    return look;
}

std::array<GroupMark, 7> groupMarks(const QString& groups)
{
    const QColor olive(128, 128, 0), c(210, 118, 62), d(63, 132, 207);
    std::array<GroupMark, 7> marks{{{QLatin1Char('2'), QStringLiteral("NP"), olive},
                                    {QLatin1Char('1'), QStringLiteral("C1"), c},
                                    {QLatin1Char('3'), QStringLiteral("C"), c},
                                    {QLatin1Char('4'), QStringLiteral("CE"), c},
                                    {QLatin1Char('5'), QStringLiteral("D1"), d},
                                    {QLatin1Char('6'), QStringLiteral("D"), d},
                                    {QLatin1Char('7'), QStringLiteral("DE"), d}}};
    for (GroupMark& mark : marks) {
        if (!groups.contains(mark.digit))
            mark.colour = kGroupOff;
    }
    return marks;
}

QString explanationFilmName(const QString& blocco, int arrNum)
{
    const QString block = blocco.trimmed();
    if (block.isEmpty())
        return {};
    return block + QLatin1Char('_') + QStringLiteral("%1").arg(arrNum, 2, 10, QLatin1Char('0')) +
           QStringLiteral("_00");
}

int fitFontSize(int start, int minimum, int available, const std::function<int(int)>& height)
{
    int size = start;
    while (size > minimum && height(size) >= available)
        --size;
    return size < minimum ? minimum : size;
}

}  // namespace ziro
