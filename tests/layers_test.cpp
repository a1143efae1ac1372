// The floors of the source tree: a folder may include its own floor and the
// floors below, never one above, and folders of one floor never include each
// other both ways. Read from the sources themselves, so a new include that
// breaks the order fails here before it spreads.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QHash<QString, int>& floors()
{
    static const QHash<QString, int> f = {
        {QStringLiteral("platform"), 0},  {QStringLiteral("base"), 1},
        {QStringLiteral("diag"), 2},      {QStringLiteral("controls"), 2},
        {QStringLiteral("config"), 3},    {QStringLiteral("content"), 4},
        {QStringLiteral("quiz"), 5},      {QStringLiteral("crossroads"), 5},
        {QStringLiteral("viewers"), 5},   {QStringLiteral("annotate"), 5},
        {QStringLiteral("menus"), 6},     {QStringLiteral("authoring"), 6},
        {QStringLiteral("shell"), 7},     {QStringLiteral("app"), 8},
    };
    return f;
}

struct Include {
    QString file;  // relative to src/
    int line;
    QString from;  // the including file's folder
    QString to;    // the included file's folder
};

std::vector<Include> includesOfTheTree(const QString& src)
{
    static const QRegularExpression re(QStringLiteral("^\\s*#\\s*include\\s+\"([a-z_]+)/"));
    std::vector<Include> found;
    const QDir root(src);
    QDirIterator it(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = root.relativeFilePath(path);
        const QString from = rel.section(QLatin1Char('/'), 0, 0);
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << qPrintable(path);
            continue;
        }
        int n = 0;
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine());
            ++n;
            const auto m = re.match(line);
            if (m.hasMatch())
                found.push_back({rel, n, from, m.captured(1)});
        }
    }
    return found;
}

}  // namespace

TEST(Layers, NoFolderIncludesAFloorAboveItOrAFolderThatIncludesItBack)
{
    const std::vector<Include> includes = includesOfTheTree(QStringLiteral(ZIRO_SOURCE_DIR "/src"));
    ASSERT_GT(includes.size(), 100u) << "the source tree was not found";

    QHash<QString, QSet<QString>> uses;
    for (const Include& inc : includes) {
        ASSERT_TRUE(floors().contains(inc.from)) << "folder without a floor: " << qPrintable(inc.from);
        if (!floors().contains(inc.to))
            continue;  // not a folder of ours
        EXPECT_LE(floors()[inc.to], floors()[inc.from])
            << qPrintable(inc.file) << ":" << inc.line << " includes " << qPrintable(inc.to)
            << "/, a floor above " << qPrintable(inc.from) << "/";
        if (inc.to != inc.from)
            uses[inc.from].insert(inc.to);
    }
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        for (const QString& other : it.value())
            EXPECT_FALSE(uses.value(other).contains(it.key()))
                << qPrintable(it.key()) << "/ and " << qPrintable(other) << "/ include each other";
}
