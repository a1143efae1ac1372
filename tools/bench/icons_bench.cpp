// The menu is timed as the teacher meets it: CaricaMenuIcone for CQC (the
// JPEG page decoded through libjpeg-turbo, the content file read into a
// table of its own and walked for the quiz marks), the start position, and
// one whole frame of the presentation filling the screen, the menu on top.
// The reference decodes the same file's bytes and lets pugixml parse the
// same content file into a document; files are read from the page cache in
// both. The page is drawn here much as the demo draws it (icons and numbers
// in every cell), so it compresses like real artwork would.

#include "icons_bench.h"

#include "bench_util.h"

#include "base/reports.h"
#include "config/settings.h"
#include "controls/jpeg_loader.h"
#include "controls/key_gate_ui.h"
#include "menus/menu_img_window.h"
#include "menus/sign_menu.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "shell/presentation_ui.h"

#include <QDir>
#include <QFile>
#include <QGraphicsProxyWidget>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>

namespace ziro::bench {

namespace {

constexpr QSize kScreenSize{1920, 1080};

QImage drawPage()
{
    QImage img(kSignPictureWidth, kSignPictureHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(16);
    p.setFont(f);
    for (int k = 1; k <= kSignHotspots; ++k) {
        const int tag = signTag(SignLayout::Cqc, k);
        if (tag == 0)
            continue;
        const QRect cell = signHotspotRect(k);
        p.fillRect(cell, QColor(246, 246, 246));
        const QRectF art = QRectF(cell.adjusted(16, 4, -16, -20));
        p.setPen(QPen(QColor::fromHsv((k * 37) % 360, 200, 200), 5));
        p.setBrush(Qt::white);
        if (k % 3 == 0)
            p.drawEllipse(art);
        else
            p.drawPolygon(QPolygonF({art.bottomLeft(), art.bottomRight(), QPointF(art.center().x(), art.top())}));
        p.setPen(Qt::black);
        p.drawText(QRect(cell.left(), cell.bottom() - 18, cell.width(), 18), Qt::AlignCenter, QString::number(std::abs(tag)));
    }
    return img;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + path);
    return f.readAll();
}

double timeReference(const QString& picture, const std::string& content, double* decodeMs, double* parseMs)
{
    const auto start = Clock::now();
    const std::optional<QImage> image = decodeJpeg(readAll(picture));
    *decodeMs = msSince(start);
    if (!image)
        fail(QStringLiteral("the menu picture does not decode"));
    benchmark::DoNotOptimize(image->constBits());
    auto doc = std::make_unique<pugi::xml_document>();
    const auto parse = Clock::now();
    if (!doc->load_file(content.c_str()))
        fail(QStringLiteral("pugixml cannot parse the content file"));
    *parseMs = msSince(parse);
    benchmark::DoNotOptimize(doc->first_child());
    return msSince(start);
}

double timeOpen(TMenuImg& menu, QWidget& viewport, QImage& frame, const QString& content)
{
    menu.BtEsciClick();
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    menu.CaricaMenuIcone(int(TModoQuiz::mqCQ), content);
    menu.showMenu(false, QStringLiteral("1"));
    viewport.render(&frame);
    const double ms = msSince(start);
    if (!menu.pictureLoaded() || menu.questionFlags().flags.none())
        fail(QStringLiteral("the menu opened without its picture or its marks"));
    return ms;
}

int measure(int runs, const QString& folder)
{
    const QString picture = QDir(folder).filePath(QStringLiteral("ZIROMNU1.JPG"));
    const QString content = QDir(folder).filePath(QStringLiteral("ACQ2021.XML"));
    QString error;
    if (!saveFileAtomically(picture, encodeJpeg(drawPage(), 85), &error))
        fail(error);
    {
        DataTable table;
        table.setSaveOnClose(false);
        if (!fillSampleContentTable(table, 30000, 2021, &error) || !table.saveToFile(content, SaveFormat::Utf8, &error))
            fail(QStringLiteral("cannot generate the content file: ") + error);
    }
    const std::string nativeContent = QFile::encodeName(content).toStdString();

    Globals g;
    g.dirs.DirProgram = folder + QLatin1Char('/');
    Config config;
    NullReports reports;
    SignMenuHost host;
    QWidget window;
    window.setFixedSize(640, 480);
    auto* menu = new TMenuImg(&window);
    menu->attach(g, config, reports, host);
    presentMain(&window, true);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    PresentationHost* presentation = PresentationHost::of(&window);
    if (!presentation || !presentation->isVisible())
        fail(QStringLiteral("the presentation host did not show"));
    QImage frame(kScreenSize, QImage::Format_ARGB32_Premultiplied);

    double decode = 0, parse = 0;
    timeOpen(*menu, *presentation->viewport(), frame, content);  // warm the caches
    timeReference(picture, nativeContent, &decode, &parse);
    std::vector<double> open, reference, decodes, parses;
    for (int i = 0; i < runs; ++i) {
        open.push_back(timeOpen(*menu, *presentation->viewport(), frame, content));
        reference.push_back(timeReference(picture, nativeContent, &decode, &parse));
        decodes.push_back(decode);
        parses.push_back(parse);
    }
    const double o = median(open);
    const double r = median(reference);
    std::printf("open_ms %.3f\nreference_ms %.3f\nratio %.3f\ndecode_ms %.3f\npugixml_ms %.3f\n", o, r, o / r,
                median(decodes), median(parses));
    return 0;
}

}  // namespace

int runIcons(const char* argv0, int runs)
{
    runs = std::max(1, runs);
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    useOffscreenScreen(folder.path(), kScreenSize);
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    GuiApplication app(argc, argv);
    return measure(runs, folder.path());
}

}  // namespace ziro::bench
