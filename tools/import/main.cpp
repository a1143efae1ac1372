// ziro-import FILE.json ROOT [--pictures DIR]: a statement dataset into the
// A-B question bank and the sign pictures of an installation.

#include "importer.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: ziro-import FILE.json ROOT [--pictures DIR]\n"
    "  FILE.json  chapters -> sub-topics -> statements {\"q\", \"a\", \"img\"}\n"
    "  ROOT       the installation root, the folder holding ziro/\n"
    "  --pictures where the \"img\" paths start (default: FILE.json's folder)\n"
    "Writes the A-B edition: ziro/Program/NQM2016.XML (one block per sub-topic,\n"
    "split at 70 statements), AAB2016.XML (one record per block) and the topic\n"
    "lists NA0.TXT .. NJ0.TXT (chapters spread over groups A to J, topics from\n"
    "50), and the sign pictures in ziro/PicSgn. The school's own blocks, records\n"
    "and topics stay. Every file replaced is kept first under\n"
    "ziro/Backup/import/<date-time>. Nothing is downloaded.\n";

}  // namespace

int main(int argc, char** argv)
{
    // Pictures are decoded with Qt's image plug-ins, which want a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ziro::import::Request request;
    QStringList positional;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc)
            request.pictures = QString::fromLocal8Bit(argv[++i]);
        else
            positional << QString::fromLocal8Bit(argv[i]);
    }
    if (positional.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    request.json = positional[0];
    request.root = positional[1];
    ziro::import::Report report;
    QString error;
    if (!ziro::import::importDataset(request, &report, &error)) {
        for (const QString& path : report.written)
            std::fprintf(stderr, "written before the failure: %s\n", qPrintable(path));
        std::fprintf(stderr, "ziro-import: %s%s\n", qPrintable(error),
                     report.written.isEmpty() ? " (nothing written)" : "");
        return 1;
    }
    for (const QString& note : report.notes)
        std::printf("note: %s\n", qPrintable(note));
    for (const QString& path : report.written)
        std::printf("written: %s\n", qPrintable(path));
    for (const QString& path : report.backups)
        std::printf("kept: %s\n", qPrintable(path));
    std::printf("chapters %d\ntopics %d\nblocks %d\nstatements %d\npictures %d\n", report.chapters, report.topics,
                report.blocks, report.statements, report.pictures);
    return 0;
}
