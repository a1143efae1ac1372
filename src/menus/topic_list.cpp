#include "menus/topic_list.h"

#include "platform/files/paths.h"
#include "platform/files/text_codec.h"

#include <QFile>

namespace ziro {

namespace {

constexpr int kCodeLength = 5;
constexpr int kTitleLength = 40;

// The value after the last `marker` of `body`, `length` characters at most.
QString markedField(const QString& body, QChar marker, int length)
{
    const qsizetype at = body.lastIndexOf(marker);
    if (at < 0)
        return {};
    return body.mid(at + 1, length).trimmed();
}

}  // namespace

TopicLine parseTopicLine(const QString& line)
{
    TopicLine row;
    row.text = line;
    row.title = line.left(kTitleLength);
    if (line.size() < kCodeLength)
        return row;
    row.display = line.left(line.size() - kCodeLength);
    row.code = line.right(kCodeLength).trimmed();
    row.film = markedField(row.display, QLatin1Char('#'), 3);
    row.group = markedField(row.display, QLatin1Char('%'), 7);
    row.html = markedField(row.display, QLatin1Char('$'), 3);
    return row;
}

std::vector<TopicLine> parseTopicList(QByteArrayView bytes)
{
    const QString text = decodeText(bytes);
    std::vector<TopicLine> rows;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        rows.push_back(parseTopicLine(text.mid(start, end - start)));
        if (end < n && text.at(end) == QLatin1Char('\r') && end + 1 < n
            && text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return rows;
}

QString topicGroupLetter(TModoQuiz edition, int index)
{
    if (index < 0 || index > 9)
        return {};
    if (index == 9 && edition == TModoQuiz::mqCQ)
        return QStringLiteral("L");
    return QString(QChar(u'A' + index));
}

QString topicListFileName(const QString& editionLetter, const QString& groupLetter)
{
    return editionLetter + groupLetter + QStringLiteral("0.TXT");
}

QString topicListPath(const QString& dirProgram, const QString& editionLetter,
                      const QString& groupLetter)
{
    return resolveFile(dirProgram, topicListFileName(editionLetter, groupLetter));
}

QString topicListPath(const Globals& g, const QString& groupLetter)
{
    return topicListPath(g.dirs.DirProgram, g.LetteraEdizione, groupLetter);
}

std::optional<std::vector<TopicLine>> loadTopicList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parseTopicList(bytes);
}

}  // namespace ziro
