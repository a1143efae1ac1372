// The program started on broken copies of the demo installation: one data
// file at a time truncated, emptied, overwritten with noise, made unreadable,
// replaced by a folder, by a link out of the installation, or renamed in
// another letter case. On each copy the program starts, walks topics with
// the arrow keys, opens every viewer and menu it can reach and exits. It must
// not crash or hang, and must write nothing outside the places its own
// actions save to.
//
// Each copy runs in a child process, so that a crash is that case's failure
// and not the end of the run. By default a fixed subset of cases runs;
// ZIRO_HOSTILE_ALL=1 runs every file with every way of breaking it;
// ZIRO_HOSTILE_TRACE=1 has the child print its steps and their times.

#include "authoring/accessi_window.h"
#include "controls/overlay_widget.h"
#include "diag/error_window.h"
#include "menus/menu_gen_window.h"
#include "shell/application_ui.h"
#include "shell/main_logic.h"
#include "shell/main_window.h"
#include "shell/presentation_ui.h"
#include "viewers/foto_preview_window.h"
#include "viewers/tv_foto_window.h"
#include "viewers/tv_html_window.h"
#include "viewers/tv_libro_window.h"

#include "support/fakes.h"
#include "support/large_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <utility>
#include <unistd.h>

namespace ziro {
namespace {

std::string str(const QString& s)
{
    return s.toStdString();
}

// ---------------------------------------------------------------------------
// The child: the program on the copy named by ZIRO_HOSTILE_ROOT.

constexpr char kRootVariable[] = "ZIRO_HOSTILE_ROOT";
// The parts of the walk, each a topic with the steps taken through it, or
// the menus. E01 holds a film, a book page, the quiz and the crossroads in
// its first three records; J10 an HTML page with photographs; H01 a
// photograph alone.
constexpr char kWalkVariable[] = "ZIRO_HOSTILE_WALK";
const QString kWholeWalk = QStringLiteral("E01:3,J10:1,H01:1,menus");

class Driver {
public:
    explicit Driver(const QString& root)
        : app({root + QStringLiteral("/ziro/Program/ziro"),
               QStringLiteral("ziro-hostile-") + QUuid::createUuid().toString(QUuid::Id128), 96.0,
               root + QStringLiteral("/etc/version.ini"), 200},
              sys, dlg)
    {
        sys.switchSucceeds = true;
    }

    test::FakeSystem sys;
    test::FakeDialogs dlg;
    ZiroApp app;
    QSet<QString> shown;  // the windows that came up
    bool ended = false;   // the program asked to end

    TBase* base() { return app.windows().Base; }

    // Entry and activation; false when the program ended on its own there.
    bool start()
    {
        if (app.start().has_value())
            return false;
        QObject::connect(base(), &TBase::exitRequested, [this](int) { ended = true; });
        for (OverlayWindow* w : base()->findChildren<OverlayWindow*>())
            QObject::connect(w, &OverlayWindow::shown, [this, w] { shown.insert(w->objectName()); });
        QObject::connect(app.windows().FError, &OverlayWindow::shown, [this] {
            std::printf("hostile-report: %s|%s\n", qPrintable(app.windows().FError->riga1()),
                        qPrintable(app.windows().FError->riga2()));
        });
        QObject::connect(&m_answer, &QTimer::timeout, [this] { answer(); });
        m_answer.start(50);
        (void)QTest::qWaitFor([this] { return base()->activated() || ended; }, 15000);
        return base()->activated() && !ended && base()->isVisible();
    }

    // A key as the keyboard gives it: to the widget with the focus, or the
    // main window when nothing has it.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
    {
        if (ended || !base()->isVisible())
            return;
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = base();
        QTest::keyPress(target, k, mods);
        QWidget* after = QApplication::focusWidget();
        QTest::keyRelease(after ? after : target, k, mods);
        QTest::qWait(20);
        for (int i = 0; i < 150 && base()->logic().actionRunning(); ++i)
            QTest::qWait(20);
    }

    // The walk over one topic: forward to its end, opening what each record
    // offers, then back a little.
    void walk(const QString& topic, int steps)
    {
        if (ended || !base()->isVisible())
            return;
        base()->FiltraDB(topic, topic, false);
        base()->startTopic(QString());
        QTest::qWait(20);
        for (int s = 0; s < steps && !ended; ++s) {
            if (qEnvironmentVariableIsSet("ZIRO_HOSTILE_TRACE"))
                std::printf("hostile-step: %s %d\n", qPrintable(base()->Table1.fieldText(QStringLiteral("Argomento"))),
                            base()->Table1.fieldInt(QStringLiteral("NumRec")));
            openViewers();
            key(Qt::Key_Right);
        }
        for (int s = 0; s < 2 && !ended; ++s)
            key(Qt::Key_Left);
    }

    // Each viewer the record offers, opened and closed again as a teacher
    // does: the film, the book page and the HTML page with their own key
    // again; the quiz and the photographs go with the next step.
    void openViewers()
    {
        const Globals& g = app.globals();
        Windows& w = app.windows();
        if (g.VideoON)
            toggle(Qt::Key_F10, [&] { return g.VideoAperto; });
        if (g.LibroON)
            toggle(Qt::Key_F11, [&] { return w.TVlibro->isVisible(); });
        if (!base()->Table1.fieldText(QStringLiteral("Html1")).isEmpty())
            toggle(Qt::Key_F5, [&] { return w.TVhtml->isVisible(); });
        if (g.QuizON)
            key(Qt::Key_F12);
        if (g.FotoON) {
            key(Qt::Key_F9);
            if (w.FotoPreview->isVisible()) {
                // The previews: the first photograph, clicked.
                QWidget* slot = w.FotoPreview->slotFrame(1);
                PresentationHost* host = PresentationHost::of(base());
                if (host && slot)
                    QTest::mouseClick(host->viewport(), Qt::LeftButton, {},
                                      test::onScreen(slot->mapTo(base(), slot->rect().center())));
                QTest::qWait(50);
            }
            // Left open: the next step moves it on, as in class.
        }
        closeOverlays();
    }

    void toggle(Qt::Key k, const std::function<bool()>& open)
    {
        key(k);
        QTest::qWait(150);  // a film gets to its first frames
        if (open())
            key(k);
    }

    // The menus: the sign categories and the vehicles (each taken down by
    // the answerer, as it waits for a choice), then the general menu, the
    // first press coming back from the vehicles' side trip.
    void openMenus()
    {
        key(Qt::Key_F8);
        closeOverlays();
        key(Qt::Key_3, Qt::KeypadModifier);
        closeOverlays();
        key(Qt::Key_F7);
        if (!app.windows().MenuGen->isVisible())
            key(Qt::Key_F7);
        QTest::qWait(50);
    }

    // Whatever is still open goes, so the next step starts on the lesson.
    void closeOverlays()
    {
        QTest::qWait(20);
        if (ended || !base()->isVisible())
            return;
        for (OverlayWindow* w : base()->findChildren<OverlayWindow*>()) {
            if (w->isVisible() && w != app.windows().FError && w != app.windows().MenuGen)
                w->hide();
        }
    }

    void exit()
    {
        m_answer.stop();
        if (!ended && base()->isVisible()) {
            m_answer.start(50);
            base()->close();
            QTest::qWait(100);
        }
        m_answer.stop();
    }

private:
    // Reports and questions get Enter, as a teacher answers them; any other
    // window that waits for an answer is taken down.
    void answer()
    {
        OverlayWindow* modal = OverlayWindow::activeModal();
        if (!modal)
            return;
        if (modal == app.windows().Accessi) {
            // The teacher's choice at the start: the generic access.
            app.windows().Accessi->CBXInsegnanti->setCurrentIndex(0);
            app.windows().Accessi->BtOK->click();
            return;
        }
        if (modal != app.windows().FError) {
            modal->done(0);
            return;
        }
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && (focus == modal || modal->isAncestorOf(focus)) ? focus : modal, Qt::Key_Return);
    }

    QTimer m_answer;
};

// Run only as the child of the test below, on the copy it prepared.
TEST(HostileInstall, OneBrokenCopy)
{
    const QString root = qEnvironmentVariable(kRootVariable);
    if (root.isEmpty())
        GTEST_SKIP() << "run by HostileInstall.BrokenFilesMeetReportsNotCrashes on each broken copy";
    QStringList shown;
    {
        Driver d(root);
        QElapsedTimer t;
        t.start();
        const auto lap = [&t](const char* what) {
            if (qEnvironmentVariableIsSet("ZIRO_HOSTILE_TRACE"))
                std::printf("hostile-time: %s %lld ms\n", what, static_cast<long long>(t.restart()));
        };
        if (d.start()) {
            lap("start");
            // Any topic from the general menu, which the activation opened.
            for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Return})
                d.key(k);
            lap("menu");
            const QString walk = qEnvironmentVariable(kWalkVariable, kWholeWalk);
            for (const QString& part : walk.split(QLatin1Char(','))) {
                if (part == QLatin1String("menus"))
                    d.openMenus();
                else
                    d.walk(part.section(QLatin1Char(':'), 0, 0), part.section(QLatin1Char(':'), 1).toInt());
                lap(qPrintable(part));
            }
        }
        d.exit();
        shown = QStringList(d.shown.begin(), d.shown.end());
    }
    shown.sort();
    std::printf("hostile-shown: %s\n", qPrintable(shown.join(QLatin1Char(','))));
}

// ---------------------------------------------------------------------------
// The parent: the demo, its broken copies and what each run left on disk.

enum class Break { Truncated, Emptied, Noise, Unreadable, Folder, LinkOut, OtherCase };
constexpr Break kBreaks[] = {Break::Truncated, Break::Emptied, Break::Noise,    Break::Unreadable,
                             Break::Folder,    Break::LinkOut, Break::OtherCase};

const char* nameOf(Break b)
{
    switch (b) {
    case Break::Truncated: return "truncated";
    case Break::Emptied: return "emptied";
    case Break::Noise: return "noise";
    case Break::Unreadable: return "unreadable";
    case Break::Folder: return "folder";
    case Break::LinkOut: return "link-out";
    case Break::OtherCase: return "other-case";
    }
    return "?";
}

struct Stamp {
    qint64 size = -1;
    qint64 mtime = 0;
    bool link = false;
    bool operator==(const Stamp&) const = default;
};

// Every file and link under `root`, to tell what a run wrote.
std::map<QString, Stamp> listing(const QString& root)
{
    std::map<QString, Stamp> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        files[QDir(root).relativeFilePath(info.filePath())] = {info.size(), info.lastModified().toMSecsSinceEpoch(),
                                                               info.isSymLink()};
    }
    return files;
}

QByteArray digestOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(&f);
    return h.result();
}

// What the program may write while it starts, walks, opens viewers and
// exits: the settings file (the display-mode answer, the resume marks, the
// access slots), the error log, the teachers' folder (resume marks and
// lessons saved on leaving) and the store of the installed version. The
// content tables and question banks are written only when a caption or a
// note is saved, which the walk never does; a change to them is a fault.
bool mayWrite(const QString& relative)
{
    return relative == QLatin1String("ziro/Program/ziro.ini") || relative == QLatin1String("ziro/Program/ERROR.LOG")
           || relative.startsWith(QLatin1String("ziro/Utente/")) || relative.startsWith(QLatin1String("etc/"));
}

bool copyTree(const QString& from, const QString& to)
{
    QProcess cp;
    cp.start(QStringLiteral("cp"), {QStringLiteral("-a"), from, to});
    return cp.waitForFinished(120000) && cp.exitStatus() == QProcess::NormalExit && cp.exitCode() == 0;
}

void removePath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        QFile::remove(path);
    else if (info.isDir())
        QDir(path).removeRecursively();
}

// The demo installation, written once per build of its tool and kept next
// to the test binary: its tool takes most of a minute.
QString pristineDemo()
{
    const QFileInfo tool(QStringLiteral(ZIRO_DEMO_TOOL));
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/hostile-demo");
    const QByteArray stamp = QByteArray::number(tool.size()) + ' '
                             + QByteArray::number(tool.lastModified().toMSecsSinceEpoch());
    QFile mark(dir + QStringLiteral("/stamp"));
    if (mark.open(QIODevice::ReadOnly) && mark.readAll() == stamp)
        return dir;
    mark.close();
    QDir(dir).removeRecursively();
    QProcess demo;
    demo.setProcessChannelMode(QProcess::MergedChannels);
    demo.start(tool.filePath(), {dir});
    if (!demo.waitForFinished(180000) || demo.exitStatus() != QProcess::NormalExit || demo.exitCode() != 0) {
        ADD_FAILURE() << "the demo was not written: " << demo.readAll().toStdString();
        return {};
    }
    if (!mark.open(QIODevice::WriteOnly) || mark.write(stamp) != stamp.size()) {
        ADD_FAILURE() << "the demo's stamp was not written";
        return {};
    }
    return dir;
}

struct Case {
    QString file;  // relative to the copy's root
    Break how;
    QString walk = kWholeWalk;  // the parts of the walk that read it
};

class Bench {
public:
    bool ready = false;

    explicit Bench(const QString& pristine) : m_pristine(pristine)
    {
        m_root = m_tmp.path() + QStringLiteral("/copy");
        m_outside = m_tmp.path() + QStringLiteral("/outside");
        ready = m_tmp.isValid() && QDir().mkpath(m_root) && QDir().mkpath(m_outside)
                && copyTree(pristine + QStringLiteral("/."), m_root)
                && QDir().mkpath(m_root + QStringLiteral("/etc"));
        // A sentinel outside that no run may touch.
        QFile sentinel(m_outside + QStringLiteral("/sentinel.txt"));
        ready = ready && sentinel.open(QIODevice::WriteOnly) && sentinel.write("fuori") == 5;
        sentinel.close();
        m_baseline = listing(m_root);
        writeScreenConfig();
    }

    const QString& root() const { return m_root; }

    // Breaks the file; false when this way does not apply.
    bool breakFile(const Case& c, unsigned seed)
    {
        const QString path = m_root + QLatin1Char('/') + c.file;
        QFile f(path);
        switch (c.how) {
        case Break::Truncated: {
            const qint64 half = QFileInfo(path).size() / 2;
            return f.resize(half);
        }
        case Break::Emptied: return f.resize(0);
        case Break::Noise: {
            std::mt19937 rng(seed);
            QByteArray noise(std::max<qint64>(QFileInfo(path).size(), 64), Qt::Uninitialized);
            for (char& ch : noise)
                ch = char(rng());
            return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(noise) == noise.size();
        }
        case Break::Unreadable: return geteuid() != 0 && f.setPermissions(QFileDevice::WriteOwner);
        case Break::Folder:
            return f.remove() && QDir().mkpath(path);
        case Break::LinkOut: {
            const QString target = m_outside + QLatin1Char('/') + QFileInfo(path).fileName();
            QFile::remove(target);
            if (!f.rename(target) || !QFile::link(target, path))
                return false;
            m_outsideDigests[target] = digestOf(target);
            return true;
        }
        case Break::OtherCase: {
            const QString name = QFileInfo(path).fileName();
            QString other = name.toLower();
            if (other == name)
                other = name.toUpper();
            if (other == name)
                return false;  // no letters to change
            m_renamed = QFileInfo(path).path() + QLatin1Char('/') + other;
            return f.rename(m_renamed);
        }
        }
        return false;
    }

    // The program on the copy, in a child; its output, or the reason it
    // failed.
    bool run(const QString& walk, QString* output, QString* failure)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(kRootVariable), m_root);
        env.insert(QLatin1String(kWalkVariable), walk);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=") + m_screen,
                     QStringLiteral("--gtest_filter=HostileInstall.OneBrokenCopy")});
        // The watchdog: a run that has not ended by now hangs.
        const bool ended = child.waitForFinished(90000);
        if (!ended) {
            child.kill();
            child.waitForFinished(5000);
        }
        *output = QString::fromLocal8Bit(child.readAll());
        if (!ended)
            *failure = QStringLiteral("hung");
        else if (child.exitStatus() != QProcess::NormalExit)
            *failure = QStringLiteral("crashed");
        else if (child.exitCode() != 0 || !output->contains(QLatin1String("[  PASSED  ] 1 test")))
            *failure = QStringLiteral("failed");
        return failure->isEmpty();
    }

    // What the run wrote that it may not; empty when nothing.
    QStringList badWrites(const std::map<QString, Stamp>& before) const
    {
        QStringList bad;
        const auto after = listing(m_root);
        for (const auto& [file, stamp] : after) {
            const auto was = before.find(file);
            if ((was == before.end() || !(was->second == stamp)) && !mayWrite(file))
                bad << QStringLiteral("written: ") + file;
        }
        for (const auto& [file, stamp] : before)
            if (!after.count(file) && !mayWrite(file))
                bad << QStringLiteral("removed: ") + file;
        for (const auto& [file, digest] : m_outsideDigests)
            if (digestOf(file) != digest)
                bad << QStringLiteral("written outside: ") + file;
        if (digestOf(m_outside + QStringLiteral("/sentinel.txt"))
            != QCryptographicHash::hash("fuori", QCryptographicHash::Sha1))
            bad << QStringLiteral("written outside: the sentinel");
        if (QDir(m_outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size()
            != int(m_outsideDigests.size()) + 1)
            bad << QStringLiteral("a file appeared outside the installation");
        return bad;
    }

    // The copy as it was before the case: the broken file and whatever the
    // run wrote come back from the pristine demo.
    void restore(const Case& c)
    {
        const QString path = m_root + QLatin1Char('/') + c.file;
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        removePath(path);
        if (!m_renamed.isEmpty())
            QFile::remove(std::exchange(m_renamed, QString()));
        for (const auto& [target, digest] : m_outsideDigests)
            QFile::remove(target);
        m_outsideDigests.clear();
        QSet<QString> back{c.file};
        const auto now = listing(m_root);
        for (const auto& [file, stamp] : now) {
            const auto was = m_baseline.find(file);
            if (was == m_baseline.end())
                QFile::remove(m_root + QLatin1Char('/') + file);
            else if (!(was->second == stamp))
                back.insert(file);
        }
        for (const auto& [file, stamp] : m_baseline)
            if (!now.count(file))
                back.insert(file);
        for (const QString& file : back) {
            const QString to = m_root + QLatin1Char('/') + file;
            removePath(to);
            QFile::copy(m_pristine + QLatin1Char('/') + file, to);
        }
        m_baseline = listing(m_root);
    }

private:
    // The large screen the demo's presentation fills.
    void writeScreenConfig()
    {
        m_screen = m_tmp.path() + QStringLiteral("/screen.json");
        QFile f(m_screen);
        ready = ready && f.open(QIODevice::WriteOnly)
                && f.write(R"({"screens":[{"name":"large","x":0,"y":0,"width":1920,"height":1080,)"
                           R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                       > 0;
    }

    QTemporaryDir m_tmp;
    QString m_pristine, m_root, m_outside, m_screen, m_renamed;
    std::map<QString, Stamp> m_baseline;
    std::map<QString, QByteArray> m_outsideDigests;
};

// Every file of the program folder, and one of each other kind the program
// reads: the ones the walk below reaches.
QStringList dataFiles(const QString& root)
{
    QStringList files;
    for (const QString& name : QDir(root + QStringLiteral("/ziro/Program")).entryList(QDir::Files, QDir::Name))
        files << QStringLiteral("ziro/Program/") + name;
    files << QStringLiteral("ziro/PicSgn/275.BMP")           // a sign of topic E01
          << QStringLiteral("ziro/Foto/2003.KXB")            // a photograph of J10
          << QStringLiteral("ziro/Video/Flm001.KXV")         // the film of E01
          << QStringLiteral("ziro/Video/Flm014.KXS")         // a film with its sound
          << QStringLiteral("ziro/Video/Crs631.KXA")         // a crossroads animation
          << QStringLiteral("ziro/Book/Pag012.KXB")          // the book page of E01
          << QStringLiteral("ziro/Html/J10/MENU.HTML")       // an HTML page
          << QStringLiteral("ziro/Html/J10/ABITACOLO.PNG")   // its picture
          << QStringLiteral("ziro/Utente/Rossi/Ripasso.xml") // a lesson file
          << QStringLiteral("ziro/Utente/TextStyles.ini")    // the caption styles
          << QStringLiteral("ziro/Audio/Italiano/it_IT_10011_01.OGG");  // a spoken statement
    return files;
}

// The subset of the default run: the files every start reads and those
// with a format of their own, each broken in the way that reaches deepest
// into its reader, with the part of the walk that reads it.
struct QuickCase {
    const char* file;
    Break how;
    const char* walk;
};
const QuickCase kQuick[] = {
    {"ziro/Program/ziro.ini", Break::Noise, "menus"},
    {"ziro/Program/ziro.ini", Break::LinkOut, "menus"},
    {"ziro/Program/ziro.ini", Break::Folder, "menus"},
    {"ziro/Program/AAB2016.XML", Break::Truncated, "menus"},
    {"ziro/Program/AAB2016.XML", Break::OtherCase, "menus"},
    {"ziro/Program/AAB2016.XML", Break::Unreadable, "menus"},
    {"ziro/Program/NQM2016.XML", Break::Noise, "E01:1"},
    {"ziro/Program/NE0.TXT", Break::Folder, "menus"},
    {"ziro/Program/kx_cross.cds", Break::Truncated, "E01:3"},
    {"ziro/Program/Rarezid2", Break::Truncated, "menus"},
    {"ziro/Program/RUZUDOR3.ODE", Break::Emptied, "menus"},
    {"ziro/Video/Flm001.KXV", Break::Truncated, "E01:1"},
    {"ziro/Video/Crs631.KXA", Break::Noise, "E01:3"},
    {"ziro/Book/Pag012.KXB", Break::Noise, "E01:1"},
    {"ziro/Foto/2003.KXB", Break::Noise, "J10:1"},
    {"ziro/Html/J10/MENU.HTML", Break::LinkOut, "J10:1"},
};

TEST(HostileInstall, BrokenFilesMeetReportsNotCrashes)
{
    if (qEnvironmentVariableIsSet(kRootVariable))
        GTEST_SKIP() << "the child runs only its own copy";
    QElapsedTimer clock;
    clock.start();
    const QString pristine = pristineDemo();
    ASSERT_FALSE(pristine.isEmpty());
    Bench bench(pristine);
    ASSERT_TRUE(bench.ready);

    std::vector<Case> cases;
    if (qEnvironmentVariableIntValue("ZIRO_HOSTILE_ALL") == 1) {
        // ZIRO_HOSTILE_SHARD=i/n takes every n-th case from the i-th, so
        // that the matrix can be shared among processes.
        const QString shard = qEnvironmentVariable("ZIRO_HOSTILE_SHARD", QStringLiteral("0/1"));
        const int part = shard.section(QLatin1Char('/'), 0, 0).toInt();
        const int parts = std::max(1, shard.section(QLatin1Char('/'), 1).toInt());
        int n = 0;
        for (const QString& file : dataFiles(pristine))
            for (Break how : kBreaks)
                if (n++ % parts == part)
                    cases.push_back({file, how});
    } else {
        for (const QuickCase& q : kQuick)
            cases.push_back({QLatin1String(q.file), q.how, QLatin1String(q.walk)});
    }

    // The untouched copy first: the walk must reach every viewer and menu,
    // or the broken copies prove nothing.
    {
        QString output, failure;
        const auto before = listing(bench.root());
        ASSERT_TRUE(bench.run(kWholeWalk, &output, &failure)) << str(failure) << "\n" << str(output);
        EXPECT_TRUE(bench.badWrites(before).isEmpty()) << str(bench.badWrites(before).join(QLatin1Char('\n')));
        for (const char* w : {"TVFoto", "TVvideo", "TVlibro", "TVhtml", "Quiz", "TVcross", "MenuImg", "MenuVcl",
                              "MenuGen"})
            EXPECT_TRUE(output.contains(QLatin1String(w))) << w << " was never shown:\n" << str(output);
        bench.restore({QStringLiteral("ziro/Program/ziro.ini"), Break::Emptied});
    }

    int ran = 0, skipped = 0;
    unsigned seed = 20261211;
    for (const Case& c : cases) {
        SCOPED_TRACE(str(c.file) + " " + nameOf(c.how));
        if (!QFileInfo::exists(pristine + QLatin1Char('/') + c.file)) {
            ADD_FAILURE() << "the demo has no " << str(c.file);
            continue;
        }
        if (!bench.breakFile(c, ++seed)) {
            if (c.how == Break::Unreadable && geteuid() == 0)
                std::printf("hostile: %s %s skipped: root reads every file\n", qPrintable(c.file), nameOf(c.how));
            else if (c.how != Break::OtherCase)
                ADD_FAILURE() << "could not break the file";
            ++skipped;
            bench.restore(c);
            continue;
        }
        const auto before = listing(bench.root());
        QString output, failure;
        const bool ok = bench.run(c.walk, &output, &failure);
        if (!ok)
            ADD_FAILURE() << str(c.file) << " " << nameOf(c.how) << ": " << str(failure) << "\n"
                          << str(output.right(3000));
        const QStringList bad = bench.badWrites(before);
        EXPECT_TRUE(bad.isEmpty()) << str(bad.join(QLatin1Char('\n')));
        std::printf("hostile-case: %s %s %s\n", qPrintable(c.file), nameOf(c.how),
                    ok && bad.isEmpty() ? "ok" : "FAULT");
        std::fflush(stdout);
        bench.restore(c);
        ++ran;
    }
    std::printf("hostile: %d cases run, %d skipped, %lld s\n", ran, skipped,
                static_cast<long long>(clock.elapsed() / 1000));
}

}  // namespace
}  // namespace ziro
