// ziro-bench --step: one forward press of the walk (SWavanti: the record
// check, the sign area's Visione and the sign picture decoded and placed)
// against decoding that same picture alone, and a walk through a 30,000-record
// table against one through 3,000 records.
//
// The content tables are generated as for the open benchmark and opened as
// the main window opens them, ranged to the start-up topics. The sign folder
// holds one 440 x 350 24-bit picture under the name of every sign the tables
// use (symbolic links, so that every step reads a real file without writing
// hundreds of megabytes), and the book folder a page for every book reference,
// so that the walk finds what an installation has.
//
// The sign area is the main window's, without the widget: the picture is
// decoded and its rectangle fitted as Visore does, and nothing is painted.
// Each press is made to move: the lock a sign's quiz puts on the next press
// and the photo-only mode are cleared before it, records without a quiz block
// are not skipped, and the walk starts again at the range's first record
// before it reaches the end. Only presses that moved one record and decoded
// one sign picture are counted; each is followed by a timed decode of the
// same file, and the two tables take turns, so that a noisy moment hurts all
// three figures alike.

#include "step_bench.h"

#include "bench_util.h"

#include "base/globals.h"
#include "config/settings.h"
#include "content/content_table.h"
#include "content/navigator.h"
#include "content/ports.h"
#include "content/sign_viewer.h"
#include "controls/kxb.h"
#include "diag/reporter.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "platform/files/atomic_save.h"
#include "platform/files/paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace ziro::bench {

namespace {

constexpr int kSeed = 2016;
constexpr int kWarmUpSteps = 50;
// Presses tried per measured one before giving up: most presses count, so
// only a broken walk comes near this.
constexpr int kAttemptsPerStep = 20;

// Visore's placement: its frame as given, no border, proportions not kept.
QRect visoreGeometry(const QRect& frame, QSize picture)
{
    return fitRect(frame, 0, 1.0f, false, picture);
}

// The main window's sign area without the widgets: the picture is decoded
// and placed as Visore does it, and nothing else happens.
class DecodingSignView final : public SignView {
public:
    bool setSignPicture(const QString& path, const QRect& frame, bool border) override
    {
        Q_UNUSED(border);
        if (!load(path))
            return false;
        m_frame = frame;
        m_geometry = visoreGeometry(m_frame, m_picture.size());
        return true;
    }
    bool setLinkedPicture(const QString& path) override
    {
        if (!load(path))
            return false;
        m_geometry = visoreGeometry(m_frame, m_picture.size());
        return true;
    }
    void clearSignPicture() override { m_picture = QImage(); }
    bool setPanelPicture(int, const QString&) override { return true; }
    void clearPanelPicture(int) override {}
    void showDisplay(QPoint, const QString&) override {}
    void hideDisplay() override {}
    void placeJumpField(QPoint) override {}
    void setRecallVisible(bool) override {}
    void showSelector(int) override {}
    void hideSelector() override {}
    void repaint() override {}

    int decodes() const { return m_decodes; }
    const QString& lastPath() const { return m_lastPath; }

private:
    bool load(const QString& path)
    {
        std::optional<QImage> picture = loadKxbFile(path);
        if (!picture)
            return false;
        m_picture = std::move(*picture);
        m_lastPath = path;
        ++m_decodes;
        return true;
    }

    QImage m_picture;
    QRect m_frame = kVisoreFrame;
    QRect m_geometry;
    int m_decodes = 0;
    QString m_lastPath;
};

// Reports (the end of a range, a missing file) are kept off the terminal.
class SilentReportView final : public ReportView {
public:
    void beep() override {}
    void showReport(const ReportLines&) override {}
    bool askConfirmation(const ReportLines&) override { return false; }
    void showDebug(const QString&, const QString&) override {}
    bool isVisible() const override { return false; }
};

Globals makeGlobals(const QString& root, const QString& signFolder, const QString& bookFolder)
{
    Globals g;
    g.initFromProgram(root + QStringLiteral("/ziro/Program/ziro"));
    g.dirs.DirPicSgn = signFolder;
    g.dirs.DirPicSgt = signFolder;
    g.dirs.DirBook = bookFolder;
    return g;
}

// One table and the walk through it, wired as the main window wires them.
struct Walk {
    Walk(const QString& root, const QString& signFolder, const QString& bookFolder, const QString& tablePath)
        : g(makeGlobals(root, signFolder, bookFolder))
    {
        reporter.setView(&reportView);
        cfg.CBnoSsD = false;  // every record is a step of its own
        QString error;
        table.setSaveOnClose(false);
        if (!openContentTable(table, tablePath, &error))
            fail(error);
    }

    void start()
    {
        sign = std::make_unique<SignViewer>(g, cfg, table, reporter, signView, viewers, mainView);
        nav = std::make_unique<Navigator>(g, cfg, reporter, table, viewers, mainView, *sign,
                                          services);
        nav->FiltraDB(QStringLiteral("Default"), QString(), false);
        if (table.recordCount() < 2)
            fail(QStringLiteral("the start-up range of %1 holds too few records").arg(table.fileName()));
        restart();
    }

    void restart()
    {
        table.first();
        nav->Avvio(0);
    }

    // One forward press; its time when it moved one record and decoded that
    // record's sign picture.
    std::optional<double> step()
    {
        if (table.recNo() >= table.recordCount())
            restart();
        g.LockLoop = false;
        g.SoloFoto = false;
        const int before = table.recNo();
        const int decodes = signView.decodes();
        const auto start = Clock::now();
        nav->SWavanti();
        const double ms = msSince(start);
        if (table.recNo() != before + 1 || signView.decodes() != decodes + 1)
            return std::nullopt;
        return ms;
    }

    Globals g;
    Config cfg;
    Reporter reporter{g};
    SilentReportView reportView;
    DataTable table;
    ViewerPorts viewers;
    MainViewPort mainView;
    WalkServices services;
    DecodingSignView signView;
    std::unique_ptr<SignViewer> sign;
    std::unique_ptr<Navigator> nav;
};

QString generateTable(const QString& folder, int records)
{
    DataTable table;
    table.setSaveOnClose(false);
    QString error;
    const QString path = QDir(folder).filePath(QStringLiteral("content-%1.XML").arg(records));
    if (!fillSampleContentTable(table, records, kSeed, &error) ||
        !table.saveToFile(path, SaveFormat::Utf8, &error))
        fail(QStringLiteral("cannot generate %1 records: %2").arg(records).arg(error));
    return path;
}

// A road sign as the sign folder holds them: a red ring on white with a dark
// figure inside, 440 x 350, as a 24-bit BMP.
QByteArray signPicture()
{
    QImage picture(kVisoreFrame.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF ring(70, 10, 300, 300);
        p.setPen(QPen(QColor(200, 16, 46), 38));
        p.setBrush(Qt::white);
        p.drawEllipse(ring.adjusted(19, 19, -19, -19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 30, 30));
        p.drawRoundedRect(QRectF(150, 120, 140, 60), 12, 12);
        p.drawEllipse(QRectF(160, 170, 36, 36));
        p.drawEllipse(QRectF(244, 170, 36, 36));
        p.setBrush(QColor(120, 120, 120));
        p.drawRect(QRectF(0, 325, 440, 25));
    }
    const QByteArray bytes = encodeKxb(picture, "BM");
    if (bytes.isEmpty())
        fail(QStringLiteral("cannot encode the sign picture"));
    return bytes;
}

void linkAs(const QString& target, const QString& folder, const QString& name)
{
    const QString link = folder + name;
    if (!QFile::exists(link) && !QFile::link(target, link))
        fail(QStringLiteral("cannot link %1 to %2").arg(link, target));
}

// Every sign picture and book page the tables name, linked to one picture.
void fillFolders(const std::vector<QString>& tables, const QString& picture, const QString& signFolder,
                 const QString& bookFolder)
{
    QSet<QString> signs;
    QSet<QString> pages;
    for (const QString& path : tables) {
        DataTable table;
        table.setSaveOnClose(false);
        QString error;
        table.setFileName(path);
        if (!table.open(&error))
            fail(error);
        const int sign = table.fieldIndex(QStringLiteral("Nome segnale"));
        const int book = table.fieldIndex(QStringLiteral("Libro"));
        for (int r = 1, n = table.recordCount(); r <= n; ++r) {
            QString name = table.fieldTextAt(r, sign).trimmed();
            if (name.startsWith(QLatin1Char('f')))
                name.remove(0, 1);
            if (isPlainName(name))
                signs.insert(name);
            const QString page = table.fieldTextAt(r, book).trimmed();
            if (isPlainName(page))
                pages.insert(page);
        }
    }
    for (const QString& name : signs)
        linkAs(picture, signFolder, name + QStringLiteral(".BMP"));
    for (const QString& page : pages)
        linkAs(picture, bookFolder, QStringLiteral("Pag") + page + QStringLiteral(".KXB"));
}

// Decoding the picture alone, placed as the step places it.
double timeDecode(const QString& path, QImage& keep)
{
    const auto start = Clock::now();
    std::optional<QImage> picture = loadKxbFile(path);
    if (!picture)
        fail(QStringLiteral("cannot decode %1").arg(path));
    const QRect placed = visoreGeometry(kVisoreFrame, picture->size());
    keep = std::move(*picture);
    const double ms = msSince(start);
    if (placed.isEmpty())
        fail(QStringLiteral("empty placement for %1").arg(path));
    return ms;
}

}  // namespace

int runStep(int steps)
{
    steps = std::max(1, steps);
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    const QString root = folder.path();
    const QString signFolder = root + QStringLiteral("/signs/");
    const QString bookFolder = root + QStringLiteral("/book/");
    if (!QDir().mkpath(signFolder) || !QDir().mkpath(bookFolder))
        fail(QStringLiteral("cannot make the picture folders under %1").arg(root));

    const QString picture = root + QStringLiteral("/sign.bmp");
    QString error;
    if (!saveFileAtomically(picture, signPicture(), &error))
        fail(error);
    const std::vector<QString> tables = {generateTable(root, 3000), generateTable(root, 30000)};
    fillFolders(tables, picture, signFolder, bookFolder);

    std::vector<std::unique_ptr<Walk>> walks;
    for (const QString& path : tables) {
        walks.push_back(std::make_unique<Walk>(root, signFolder, bookFolder, path));
        walks.back()->start();
    }

    QImage kept;
    for (int i = 0; i < kWarmUpSteps; ++i) {
        for (auto& walk : walks) {
            walk->step();
            if (!walk->signView.lastPath().isEmpty())
                timeDecode(walk->signView.lastPath(), kept);
        }
    }

    std::vector<std::vector<double>> stepMs(walks.size());
    std::vector<double> decodeMs;
    for (long attempts = 0; ; ++attempts) {
        if (attempts > long(steps) * kAttemptsPerStep)
            fail(QStringLiteral("too few forward steps showed a sign"));
        bool done = true;
        for (std::size_t w = 0; w < walks.size(); ++w) {
            if (int(stepMs[w].size()) >= steps)
                continue;
            done = false;
            if (const std::optional<double> ms = walks[w]->step()) {
                stepMs[w].push_back(*ms);
                decodeMs.push_back(timeDecode(walks[w]->signView.lastPath(), kept));
            }
        }
        if (done)
            break;
    }

    std::printf("step_ms %.3f\nstep_ms_30k %.3f\ndecode_ms %.3f\n", median(stepMs[0]), median(stepMs[1]),
                median(decodeMs));
    return 0;
}

}  // namespace ziro::bench
