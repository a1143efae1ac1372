#pragma once

// A crossroads table written the way the installation keeps it, a player
// that records what it was asked to show, and a window that records what
// it was told.

#include "base/globals.h"
#include "base/reports.h"
#include "crossroads/cross_data.h"
#include "crossroads/cross_session.h"
#include "platform/dataset/data_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace ziro::test {

using CrossRow = QList<std::pair<QString, QString>>;

inline bool writeCrossTable(const QString& path, const QList<CrossRow>& rows)
{
    DataTable t;
    if (!t.createFromFields(cross::tableFields()))
        return false;
    int rec = 0;
    for (const CrossRow& row : rows) {
        t.append();
        t.setField(QStringLiteral("Rec"), ++rec);
        for (const auto& [field, value] : row)
            if (!t.setField(field, value))
                return false;
        if (!t.post())
            return false;
    }
    return t.saveToFile(path, SaveFormat::Utf8);
}

// Three vehicles A, B, C: passage 4..60, wrong orders BAC 60..100, ACB
// 100..140; the areas of a 440 x 350 panel.
inline CrossRow row631()
{
    return {{"Incrocio", "631"}, {"Sequenza", "ABC"}, {"Colori", "rvg"},
            {"Xt1", "10"}, {"Yt1", "20"}, {"Xb1", "50"}, {"Yb1", "40"},
            {"Xt2", "100"}, {"Yt2", "20"}, {"Xb2", "50"}, {"Yb2", "40"},
            {"Xt3", "200"}, {"Yt3", "20"}, {"Xb3", "50"}, {"Yb3", "40"},
            {"Xt4", "300"}, {"Yt4", "20"}, {"Xb4", "50"}, {"Yb4", "40"},
            {"FErr1", "60"}, {"SErr1", "BAC"}, {"FErr2", "100"}, {"SErr2", "ACB"}, {"FErr3", "140"}};
}

class RecordedReports : public NullReports {
public:
    struct Entry {
        ReportKind kind;
        QString context;
        QString name;
    };
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        if (kind != ReportKind::LogOnly)
            shown.push_back({kind, context, name});
        else
            logged.push_back({kind, context, name});
    }
    void Debug(const QString&, const QString& text) override { debug << text; }
    QList<Entry> shown;
    QList<Entry> logged;
    QStringList debug;
};

// Plays instantly: play() moves to its end and the test calls
// segmentEnded() as the window would.
class FakeCrossPlayer : public cross::CrossPlayer {
public:
    int frames = 200;
    bool opens = true;
    bool isOpen = false;
    bool isPlaying = false;
    int pos = 0;
    QString openedPath;
    QStringList log;  // "show 3", "play 4-60", "pause", "resume 60"

    bool open(const QString& path, QString* error) override
    {
        openedPath = path;
        isOpen = opens;
        if (!opens && error)
            *error = QStringLiteral("cannot open");
        return opens;
    }
    void close() override { isOpen = false; isPlaying = false; }
    bool loaded() const override { return isOpen; }
    int frameCount() const override { return frames; }
    int position() const override { return pos; }
    bool playing() const override { return isPlaying; }
    void showFrame(int f) override
    {
        pos = f;
        isPlaying = false;
        log << QStringLiteral("show %1").arg(f);
    }
    void play(int from, int to) override
    {
        pos = from;
        isPlaying = true;
        log << QStringLiteral("play %1-%2").arg(from).arg(to);
    }
    void pause() override
    {
        isPlaying = false;
        log << QStringLiteral("pause");
    }
    void resume(int to) override
    {
        isPlaying = true;
        log << QStringLiteral("resume %1").arg(to);
    }
    // The played stretch reached `to`.
    void finish(int to)
    {
        pos = to;
        isPlaying = false;
    }
    QString lastPlay() const
    {
        for (auto it = log.crbegin(); it != log.crend(); ++it)
            if (it->startsWith(QLatin1String("play")))
                return *it;
        return {};
    }
};

class FakeCrossView : public cross::CrossView {
public:
    int beeps = 0;
    bool hint = false;
    // Slot -> "A r" or "A grey".
    QMap<int, QString> slots;
    QList<int> waits;
    QRect programmed;
    bool menuEnabled = true;
    // Runs during the wait of that index (0-based), as events would.
    std::function<void(int)> duringWait;

    void beep() override { ++beeps; }
    void showSlot(int slot, QChar letter, QChar colour, bool grey) override
    {
        slots[slot] = QString(letter) + QLatin1Char(' ') + (grey ? QStringLiteral("grey") : QString(colour));
    }
    void clearSlots() override { slots.clear(); }
    void showHint(bool shown) override { hint = shown; }
    void showProgrammedArea(const QRect& area) override { programmed = area; }
    void wait(int ms) override
    {
        waits << ms;
        if (duringWait)
            duringWait(int(waits.size()) - 1);
    }
    void setMainMenuEnabled(bool enabled) override { menuEnabled = enabled; }
};

// An installation folder with the table and, when asked, animation files.
struct CrossInstall {
    QTemporaryDir dir;
    Globals g;
    RecordedReports reports;
    FakeCrossPlayer player;
    FakeCrossView view;
    cross::CrossSession session{g, reports, player, view};

    explicit CrossInstall(const QList<CrossRow>& rows, const QStringList& films = {})
    {
        g.dirs.DirProgram = dir.path() + QStringLiteral("/");
        g.dirs.DirVideoCross = dir.path() + QStringLiteral("/Video/");
        QDir(dir.path()).mkpath(QStringLiteral("Video"));
        EXPECT_TRUE(writeCrossTable(tablePath(), rows));
        for (const QString& film : films) {
            QFile f(g.dirs.DirVideoCross + film);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("KXA#....AVI ");
        }
    }
    QString tablePath() const { return g.dirs.DirProgram + QStringLiteral("kx_cross.cds"); }
    void enter(const std::vector<int>& vehicles)
    {
        for (int k : vehicles)
            session.clickHotSpot(k);
    }
};

}  // namespace ziro::test
