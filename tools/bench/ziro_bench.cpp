// ziro-bench: opening content tables against pugixml's own parse of the same
// file, measured in the same run.
//
//   ziro-bench                 generates content tables of 3,000 and 30,000
//                              records, runs the Google Benchmark cases, then
//                              prints a summary: interleaved medians, ratios,
//                              30k/3k scaling and memory held against file size
//   ziro-bench --generate DIR  writes the two generated tables into DIR
//   ziro-bench --load FILE     opens FILE as the main window opens a content
//                              table and prints "load_ms <median>" and
//                              "pugixml_ms <median>" (15 interleaved runs;
//                              --runs N for another count)
//   ziro-bench --step          a forward step of the walk against decoding
//                              the sign picture it shows; prints "step_ms",
//                              "step_ms_30k" and "decode_ms" (medians; --runs N
//                              for the number of steps, 400 otherwise)
//   ziro-bench --present       the 640 x 480 window presented filling a
//                              1920 x 1080 screen against the same window
//                              unscaled, and the artwork at art scale 3
//                              against 1; prints "frame_*" and "art_*"
//                              figures (medians of 15 interleaved runs;
//                              --runs N for another count)
//   ziro-bench --film          a generated 640 x 480, 25 fps film played in
//                              the presentation filling a 1920 x 1080 screen
//                              against libmpv alone drawing it at the same
//                              size; prints "late_frames", "cpu_ms_per_frame",
//                              "render_ms_per_frame" and more (medians of 3
//                              rounds of 10 s of film; --seconds N for
//                              another length)
//   ziro-bench --photo         a generated 1024 x 768 masked photograph
//                              enlarged as the photo viewer does (decode,
//                              caption and arrows burnt in, smooth resize to
//                              640 x 480, sharpening) against decoding it and
//                              Qt's smooth scaling; prints "enlarge_ms",
//                              "qt_smooth_ms" and "ratio" (medians of 60
//                              interleaved runs; --runs N for another count)
//   ziro-bench --book          turning a course-book page (CercaPagina in a
//                              folder of 1,000 generated pages, decoding and
//                              showing the next one) against decoding that
//                              page alone; prints "turn_ms", "decode_ms" and
//                              "turn_ms_9999999" (the same turn in an edition
//                              whose highest page is 9,999,999) (medians of 60
//                              interleaved runs; --runs N for another count)
//   ziro-bench --bank [FILE]   FILE loaded as a question bank against
//                              pugixml's parse of it: "bank_ms",
//                              "pugixml_ms", "blocks", "statements"; with no
//                              FILE, generated banks of 7,000 and 70,000
//                              statements, adding "open_ms" and
//                              "open_ms_10x" (a 10-statement block opened)
//   ziro-bench --frames [FILE] a crossroads animation (FILE, or a generated
//                              one) in the crossroads player: 200 random
//                              exact seeks and 200 single steps, each frame
//                              read back; prints "frames_wrong", "seek_ms",
//                              "step_ms" and "render_ms" (libmpv alone
//                              seeking and drawing the same frames)
//   ziro-bench --icons         the sign menu opened on a 30,000-record table
//                              and shown on the filled screen against its
//                              JPEG decoded plus pugixml's parse of the
//                              table: "open_ms", "reference_ms" (medians of
//                              11 interleaved runs; --runs N for another count)
//   ziro-bench --drop          200 steps appended to a lesson by drops (a
//                              block and a photograph each, the lesson saved
//                              after every drop): "drop_ms" against "save_ms"
//                              (the lesson saved alone); --runs N steps
//   ziro-bench --exam          a mock exam drawn from a generated 7,000-
//                              statement bank of 25 chapters: "draw_ms"
//                              against "open_ms" (a 10-statement block
//                              opened in the quiz); --runs N after it
//
// "Open" is what the main window does: open the file, add the indexes
// "_Argomento", "_Nome segnale" and "_NumRec", and order by
// "Argomento;NumRec". Tearing the table (or the pugixml document) down is not
// timed in either. Memory: the malloc heap in use (mallinfo2: arena plus
// mmapped blocks) after the open minus before it, with the table still
// alive, beside the engine's own count of its buffers.
//
// The engine reads large files with a second (pooled) thread; on a machine
// whose other core is busy the ratios are worse than on a quiet one.

#include "bank_bench.h"
#include "bench_util.h"
#include "book_bench.h"
#include "exam_bench.h"
#include "content/content_table.h"
#include "drop_bench.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "film_bench.h"
#include "frames_bench.h"
#include "icons_bench.h"
#include "photo_bench.h"
#include "present_bench.h"
#include "step_bench.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using ziro::bench::Clock;
using ziro::bench::median;
using ziro::bench::msSince;

double timeOpen(const QString& path)
{
    auto table = std::make_unique<ziro::DataTable>();
    table->setSaveOnClose(false);
    QString error;
    const auto start = Clock::now();
    const bool ok = ziro::openContentTable(*table, path, &error);
    const double ms = msSince(start);
    if (!ok) {
        std::fprintf(stderr, "ziro-bench: %s\n", qPrintable(error));
        std::exit(2);
    }
    benchmark::DoNotOptimize(table->recordCount());
    return ms;
}

double timePugixml(const std::string& path)
{
    auto doc = std::make_unique<pugi::xml_document>();
    const auto start = Clock::now();
    const pugi::xml_parse_result result = doc->load_file(path.c_str());
    const double ms = msSince(start);
    if (!result) {
        std::fprintf(stderr, "ziro-bench: pugixml cannot parse %s: %s\n", path.c_str(), result.description());
        std::exit(2);
    }
    benchmark::DoNotOptimize(doc->first_child());
    return ms;
}

struct Medians
{
    double openMs;
    double pugixmlMs;
};

// Alternates the two so that a noisy moment hurts both alike.
Medians interleavedMedians(const QString& path, int runs)
{
    const std::string native = QFile::encodeName(path).toStdString();
    timeOpen(path);  // warm the page cache and the allocator
    timePugixml(native);
    std::vector<double> open, pugi;
    for (int i = 0; i < runs; ++i) {
        open.push_back(timeOpen(path));
        pugi.push_back(timePugixml(native));
    }
    return {median(open), median(pugi)};
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct MemoryFigures
{
    std::size_t fileBytes;
    std::size_t heapDelta;    // malloc'd bytes still held after the open
    std::size_t engineBytes;  // the engine's own count of its buffers
};

MemoryFigures measureMemory(const QString& path)
{
    MemoryFigures m{std::size_t(QFileInfo(path).size()), 0, 0};
    malloc_trim(0);
    const std::size_t before = heapInUse();
    {
        auto table = std::make_unique<ziro::DataTable>();
        table->setSaveOnClose(false);
        QString error;
        if (!ziro::openContentTable(*table, path, &error)) {
            std::fprintf(stderr, "ziro-bench: %s\n", qPrintable(error));
            std::exit(2);
        }
        const std::size_t after = heapInUse();
        m.heapDelta = after > before ? after - before : 0;
        m.engineBytes = table->memoryUsage();
    }
    return m;
}

int runLoad(const QString& path, int runs)
{
    if (!QFileInfo(path).isFile()) {
        std::fprintf(stderr, "ziro-bench: no such file: %s\n", qPrintable(path));
        return 2;
    }
    const Medians m = interleavedMedians(path, runs);
    std::printf("load_ms %.3f\npugixml_ms %.3f\n", m.openMs, m.pugixmlMs);
    return 0;
}

QString generate(const QString& folder, int records)
{
    ziro::DataTable table;
    table.setSaveOnClose(false);
    QString error;
    const QString path = QDir(folder).filePath(QStringLiteral("content-%1.XML").arg(records));
    if (!ziro::fillSampleContentTable(table, records, 2016, &error) ||
        !table.saveToFile(path, ziro::SaveFormat::Utf8, &error)) {
        std::fprintf(stderr, "ziro-bench: cannot generate %d records: %s\n", records, qPrintable(error));
        std::exit(2);
    }
    return path;
}

void registerBenchmarks(const QString& path, int records)
{
    const std::string native = QFile::encodeName(path).toStdString();
    benchmark::RegisterBenchmark(("open_content_table/" + std::to_string(records)).c_str(),
                                 [path](benchmark::State& state) {
                                     for (auto _ : state)
                                         state.SetIterationTime(timeOpen(path) / 1000.0);
                                     state.SetBytesProcessed(std::int64_t(state.iterations()) * QFileInfo(path).size());
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("pugixml_load_file/" + std::to_string(records)).c_str(),
                                 [native, path](benchmark::State& state) {
                                     for (auto _ : state)
                                         state.SetIterationTime(timePugixml(native) / 1000.0);
                                     state.SetBytesProcessed(std::int64_t(state.iterations()) * QFileInfo(path).size());
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 15;
    bool runsGiven = false;
    bool step = false;
    bool present = false;
    bool film = false;
    bool photo = false;
    bool book = false;
    bool bank = false;
    bool icons = false;
    QString bankPath;
    int filmSeconds = ziro::bench::kDefaultFilmSeconds;
    QString loadPath;
    QString generateFolder;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        // The lesson editor's drops: their own arguments.
        if (std::strcmp(argv[i], "--drop") == 0) {
            int steps = ziro::bench::kDefaultDropSteps;
            if (i + 2 < argc && std::strcmp(argv[i + 1], "--runs") == 0)
                steps = std::max(1, std::atoi(argv[i + 2]));
            return ziro::bench::runDrop(steps);
        }
        // The mock exam's draw: its own arguments.
        if (std::strcmp(argv[i], "--exam") == 0) {
            int runs = ziro::bench::kDefaultExamRuns;
            if (i + 2 < argc && std::strcmp(argv[i + 1], "--runs") == 0)
                runs = std::max(1, std::atoi(argv[i + 2]));
            return ziro::bench::runExam(runs);
        }
        // The crossroads animation's exact frames: its own arguments.
        if (std::strcmp(argv[i], "--frames") == 0) {
            const QString film = i + 1 < argc && argv[i + 1][0] != '-' ? QFile::decodeName(argv[i + 1]) : QString();
            int requests = ziro::bench::kDefaultFrameRequests;
            for (int j = i + 1; j + 1 < argc; ++j)
                if (std::strcmp(argv[j], "--runs") == 0)
                    requests = std::max(1, std::atoi(argv[j + 1]));
            return ziro::bench::runFrames(argv[0], film, requests);
        }
        if (std::strcmp(argv[i], "--load") == 0 && i + 1 < argc)
            loadPath = QFile::decodeName(argv[++i]);
        else if (std::strcmp(argv[i], "--generate") == 0 && i + 1 < argc)
            generateFolder = QFile::decodeName(argv[++i]);
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
            runsGiven = true;
        } else if (std::strcmp(argv[i], "--step") == 0)
            step = true;
        else if (std::strcmp(argv[i], "--present") == 0)
            present = true;
        else if (std::strcmp(argv[i], "--film") == 0)
            film = true;
        else if (std::strcmp(argv[i], "--photo") == 0)
            photo = true;
        else if (std::strcmp(argv[i], "--book") == 0)
            book = true;
        else if (std::strcmp(argv[i], "--bank") == 0) {
            bank = true;
            if (i + 1 < argc && argv[i + 1][0] != '-')
                bankPath = QFile::decodeName(argv[++i]);
        } else if (std::strcmp(argv[i], "--icons") == 0)
            icons = true;
        else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            filmSeconds = std::max(1, std::atoi(argv[++i]));
        else
            rest.push_back(argv[i]);
    }
    if (icons)
        return ziro::bench::runIcons(argv[0], runsGiven ? runs : ziro::bench::kDefaultIconsRuns);
    if (bank)
        return ziro::bench::runBank(bankPath, runsGiven ? runs : ziro::bench::kDefaultBankRuns);
    if (film)
        return ziro::bench::runFilm(argv[0], filmSeconds);
    if (photo)
        return ziro::bench::runPhoto(argv[0], runsGiven ? runs : ziro::bench::kDefaultPhotoRuns);
    if (book)
        return ziro::bench::runBook(argv[0], runsGiven ? runs : ziro::bench::kDefaultBookRuns);
    if (present)
        return ziro::bench::runPresent(argv[0], runsGiven ? runs : ziro::bench::kDefaultPresentRuns);
    if (step)
        return ziro::bench::runStep(runsGiven ? runs : ziro::bench::kDefaultStepCount);
    if (!loadPath.isEmpty())
        return runLoad(loadPath, runs);
    const int sizes[] = {3000, 30000};
    if (!generateFolder.isEmpty()) {
        for (int records : sizes)
            std::printf("%s\n", qPrintable(generate(generateFolder, records)));
        return 0;
    }

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "ziro-bench: cannot make a temporary folder\n");
        return 2;
    }
    std::vector<QString> files;
    for (int records : sizes) {
        files.push_back(generate(folder.path(), records));
        registerBenchmarks(files.back(), records);
    }

    int benchArgc = int(rest.size());
    benchmark::Initialize(&benchArgc, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nSummary (medians of %d interleaved runs; open = open + 3 indexes + order \"Argomento;NumRec\")\n", runs);
    std::printf("%8s %10s %10s %10s %7s %12s %12s %7s %7s\n", "records", "file_MB", "open_ms", "pugixml_ms", "ratio",
                "heap_MB", "engine_MB", "heap/f", "eng/f");
    double openMs[2] = {};
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Medians m = interleavedMedians(files[i], runs);
        const MemoryFigures mem = measureMemory(files[i]);
        openMs[i] = m.openMs;
        const double mb = 1024.0 * 1024.0;
        std::printf("%8d %10.2f %10.2f %10.2f %7.2f %12.2f %12.2f %7.2f %7.2f\n", sizes[i], mem.fileBytes / mb, m.openMs,
                    m.pugixmlMs, m.openMs / m.pugixmlMs, mem.heapDelta / mb, mem.engineBytes / mb,
                    double(mem.heapDelta) / double(mem.fileBytes), double(mem.engineBytes) / double(mem.fileBytes));
    }
    std::printf("open 30k / open 3k: %.2f\n", openMs[1] / openMs[0]);
    return 0;
}
