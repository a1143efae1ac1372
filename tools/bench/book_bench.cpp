// ziro-bench --book: what turning a course-book page costs.
//
// The pages: 1,000 masked pages of 580 x 1,600 pixels (numbers 1 to 1,250
// less every fifth, so that turning skips gaps), drawn like text pages,
// ten distinct pictures behind symbolic links so that the folder stays
// small. The same folder serves the A-B edition (highest page 236) and the
// C-D-E edition (highest page 9,999,999).
//
// "turn" is what the forward key does while the viewer is open: the viewer
// on a page (put there untimed), then VediPagina(1): CercaPagina in the
// sorted index of the folder, the file decoded, the page set into the real
// window, scrolled to the top, and the window rendered. "decode" reads and
// decodes the same next page alone. They run alternately so that a noisy
// moment hurts both alike; the medians are printed.

#include "book_bench.h"

#include "bench_util.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kxb.h"
#include "viewers/book.h"
#include "viewers/tv_libro_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <sys/time.h>

#include <cstdio>
#include <random>
#include <vector>

namespace ziro::bench {

namespace {

constexpr int kPictures = 10;

QImage textPage(int variant)
{
    QImage page(580, 1600, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    std::mt19937 random(variant + 7);
    p.fillRect(20, 20, 540, 40, QColor(30, 60, 140));
    for (int y = 90; y < 1560; y += 18) {
        const int w = 300 + int(random() % 240);
        for (int x = 24; x < 24 + w; x += 6 + int(random() % 30))
            p.fillRect(x, y, 4 + int(random() % 22), 9, QColor(40, 40, 40));
    }
    p.setBrush(Qt::red);
    p.drawEllipse(QPoint(460, 400 + variant * 60), 50, 50);
    return page;
}

struct RecordHost : BookHost {
    QString field(const QString& name) const override { return fields.value(name); }
    QHash<QString, QString> fields;
};

// The folder's time an hour back: its listing is settled and read once.
void ageFolder(const QString& folder)
{
    struct timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    utimes(QFile::encodeName(folder).constData(), times);
}

volatile int g_sink;

}  // namespace

int runBook(const char* argv0, int runs)
{
    runs = std::max(1, runs);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    QApplication app(argc, argv);

    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    const QString root = folder.path() + QLatin1Char('/');
    for (const char* sub : {"pictures", "Book", "Book CDE", "Book CQC"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    for (int i = 0; i < kPictures; ++i) {
        QString error;
        if (!saveFileAtomically(root + QStringLiteral("pictures/%1.KXB").arg(i), encodeKxb(textPage(i)), &error))
            fail(error);
    }
    std::vector<int> pages;
    for (int n = 1; n <= 1250; ++n)
        if (n % 5 != 0)
            pages.push_back(n);
    for (const int n : pages)
        for (const char* sub : {"Book/", "Book CDE/"})
            if (!QFile::link(root + QStringLiteral("pictures/%1.KXB").arg(n % kPictures),
                             root + QString::fromLatin1(sub) + QStringLiteral("Pag%1.KXB").arg(n)))
                fail(QStringLiteral("cannot link page %1").arg(n));
    // CQC: the pages below 1,000 only, so that the last one can be named by
    // a record (NumPagina is read from the first three characters).
    int lastCqc = 0;
    for (const int n : pages)
        if (n < 1000) {
            lastCqc = n;
            if (!QFile::link(root + QStringLiteral("pictures/%1.KXB").arg(n % kPictures),
                             root + QStringLiteral("Book CQC/Pag%1.KXB").arg(n)))
                fail(QStringLiteral("cannot link page %1").arg(n));
        }
    ageFolder(root + QStringLiteral("Book"));
    ageFolder(root + QStringLiteral("Book CDE"));
    ageFolder(root + QStringLiteral("Book CQC"));

    QWidget main;
    main.resize(640, 480);
    main.show();
    TTVlibro window(&main);
    Globals g;
    g.dirs.DirBook = root + QStringLiteral("Book/");
    g.dirs.DirBookCDE = root + QStringLiteral("Book CDE/");
    g.dirs.DirBookCQC = root + QStringLiteral("Book CQC/");
    NullReports reports;
    RecordHost host;
    BookViewer viewer(g, reports, window, host);
    window.attach(&viewer);
    host.fields[QStringLiteral("FreX")] = QStringLiteral("400");
    host.fields[QStringLiteral("FreY")] = QStringLiteral("700");

    std::mt19937 random(4);
    // Start pages below 236 that have a next page below 236.
    std::vector<int> starts;
    for (const int n : pages)
        if (n < 234)
            starts.push_back(n);

    auto putOn = [&](TModoQuiz edition, int page) {
        g.Edizione = edition;
        host.fields[QStringLiteral("Libro")] = QString::number(page);
        if (!viewer.VediPagina(0))
            fail(QStringLiteral("cannot show page %1").arg(page));
    };
    auto turn = [&](TModoQuiz edition, int from) {
        putOn(edition, from);
        const auto start = Clock::now();
        const bool ok = viewer.VediPagina(1);
        const QPixmap shown = window.grab();
        const double ms = msSince(start);
        if (!ok || viewer.NumPagina() == from)
            fail(QStringLiteral("turning from page %1 failed").arg(from));
        g_sink = shown.width();
        return ms;
    };
    auto decode = [&](int from) {
        const int next = *std::upper_bound(pages.begin(), pages.end(), from);
        const QString path = g.dirs.DirBook + QStringLiteral("Pag%1.KXB").arg(next);
        const auto start = Clock::now();
        const std::optional<QImage> picture = loadKxbFile(path);
        const double ms = msSince(start);
        if (!picture)
            fail(QStringLiteral("cannot decode %1").arg(path));
        g_sink = picture->width();
        return ms;
    };

    // One untimed round: listings read, files in the page cache.
    turn(TModoQuiz::mqAB, starts.front());
    turn(TModoQuiz::mqCD, starts.front());
    decode(starts.front());
    putOn(TModoQuiz::mqCQ, lastCqc);
    viewer.VediPagina(1);
    const int listingsBefore = viewer.index().listings();

    std::vector<double> turnAB, turnCD, decodes, ends;
    for (int i = 0; i < runs; ++i) {
        const int from = starts[random() % starts.size()];
        turnAB.push_back(turn(TModoQuiz::mqAB, from));
        decodes.push_back(decode(from));
        turnCD.push_back(turn(TModoQuiz::mqCD, from));
        // Forward from the last page of CQC: nothing up to 9,999,999.
        putOn(TModoQuiz::mqCQ, lastCqc);
        const auto start = Clock::now();
        const bool turned = viewer.VediPagina(1);
        ends.push_back(msSince(start));
        if (turned)
            fail(QStringLiteral("a page after the last one"));
    }
    const int listings = viewer.index().listings() - listingsBefore;

    const double t = median(turnAB);
    const double d = median(decodes);
    std::printf("turn_ms %.3f\n", t);
    std::printf("decode_ms %.3f\n", d);
    std::printf("turn_ms_9999999 %.3f\n", median(turnCD));
    std::printf("ratio %.3f\n", d > 0 ? t / d : 0.0);
    std::printf("ratio_9999999 %.3f\n", d > 0 ? median(turnCD) / d : 0.0);
    std::printf("end_ms_9999999 %.3f\n", median(ends));
    std::printf("folder_listings_during_runs %d\n", listings);
    std::printf("pages %zu runs %d\n", pages.size(), runs);
    return 0;
}

}  // namespace ziro::bench
