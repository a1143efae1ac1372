#include "content/sign_viewer.h"

#include "base/globals.h"
#include "config/settings.h"
#include "controls/kxb.h"
#include "diag/reporter.h"
#include "platform/dataset/data_table.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace ziro;

namespace {

const QString kRoot = QStringLiteral("/d/");

Folders fakeFolders(const QString& root)
{
    Folders f;
    f.DirPicSgn = root + QStringLiteral("PicSgn/");
    f.DirPicSgt = root + QStringLiteral("PicSgt/");
    f.DirPicLnk = root + QStringLiteral("PicLnk/");
    f.DirPicIcn = root + QStringLiteral("PicIcn/");
    return f;
}

// "PicSgn/12.BMP"; names that must never be looked up get a leading "!".
QString rel(const PictureName& p, const QString& root)
{
    QString s = p.path();
    if (s.startsWith(root))
        s = s.mid(root.size());
    return p.plain ? s : QStringLiteral("!") + s;
}

QStringList rels(const std::vector<PictureName>& files, const QString& root = kRoot)
{
    QStringList out;
    for (const PictureName& p : files)
        out << rel(p, root);
    return out;
}

TEST(SignNameRules, LinkedItemFiles)
{
    const Folders dirs = fakeFolders(kRoot);
    struct Case {
        const char* segnale;
        const char* code;
        int quale;
        bool named;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        // Integrated panel parts: no linked-sign prefix, suffix a/A/b/B.
        {"50", "12a", 1, true, {"PicLnk/50p12a.KXB"}},
        {"50", "12B", 8, true, {"PicLnk/50p12B.KXB"}},
        {"50", "a12A", 2, true, {"PicLnk/50pa12A.KXB"}},  // "a" on the left is a part
        {"50", "12", 2, true, {}},                         // an icon only: nothing to enlarge
        {"50", "a12", 3, true, {}},
        {"50", "", 6, true, {}},
        // Linked signs: "n" anywhere, "a" on the right; named or plain set.
        {"50", "a12", 7, true, {"PicSgt/12.BMP"}},
        {"50", "A12", 7, false, {"PicSgn/12.BMP"}},
        {"50", "n41", 2, true, {"PicSgt/41.BMP"}},
        {"50", "N12b", 9, true, {"PicSgt/12b.BMP"}},
        // Substitutions: sign and code both, exactly.
        {"11", "n41", 6, true, {"PicSgt/908.BMP"}},
        {"11", "n8", 6, true, {"PicSgt/909.BMP"}},
        {"13", "n11", 6, true, {"PicSgt/911.BMP"}},
        {"56", "n56", 6, true, {"PicSgt/931.BMP"}},
        {"11", "N41", 6, true, {"PicSgt/41.BMP"}},
        {"12", "n41", 6, true, {"PicSgt/41.BMP"}},
        {"11", "a41", 6, true, {"PicSgt/41.BMP"}},
        // Signs 121 to 146: drawn pairs "a", then "b", then the sign itself.
        {"121", "n20", 6, true, {"PicLnk/20p121a.KXB", "PicLnk/20p121b.KXB", "PicSgt/20.BMP"}},
        {"146", "a20", 6, false, {"PicLnk/20p146a.KXB", "PicLnk/20p146b.KXB", "PicSgn/20.BMP"}},
        {"120", "n20", 6, true, {"PicSgt/20.BMP"}},
        {"147", "n20", 6, true, {"PicSgt/20.BMP"}},
        // A name that is not a number is in no range and never fails.
        {"13a", "n20", 6, true, {"PicSgt/20.BMP"}},
        {"", "n20", 6, true, {"PicSgt/20.BMP"}},
        {"1 30", "n20", 6, true, {"PicSgt/20.BMP"}},
        // Codes that would leave the folder are never looked up.
        {"50", "n../x", 6, true, {"!PicSgt/../x.BMP"}},
        {"130", "n/x", 6, true, {"!PicLnk//xp130a.KXB", "!PicLnk//xp130b.KXB", "!PicSgt//x.BMP"}},
        {"../5", "12a", 1, true, {"!PicLnk/../5p12a.KXB"}},
        {"50", "n", 6, true, {"!PicSgt/.BMP"}},
    };
    for (const Case& c : cases) {
        const QStringList got =
            rels(linkedItemFiles(dirs, c.named, QString::fromUtf8(c.segnale),
                                 QString::fromUtf8(c.code), c.quale));
        EXPECT_EQ(got, c.expected) << c.segnale << " " << c.code << " panel " << c.quale;
    }
}

TEST(SignNameRules, PanelIconsAndRecordSigns)
{
    const Folders dirs = fakeFolders(kRoot);
    const std::vector<std::pair<const char*, const char*>> icons = {
        {"a12", "PicIcn/I12.KXB"}, {"A12", "PicIcn/I12.KXB"}, {"n7", "PicIcn/I7.KXB"},
        {"N7b", "PicIcn/I7b.KXB"}, {"12a", "PicIcn/I12a.KXB"}, {"x3", "PicIcn/Ix3.KXB"},
        {"n", "!PicIcn/I.KXB"},    {"a/b", "!PicIcn/I/b.KXB"}, {"..", "!PicIcn/I...KXB"},
    };
    for (const auto& [code, expected] : icons)
        EXPECT_EQ(rel(panelIconFile(dirs, QString::fromUtf8(code)), kRoot), expected) << code;

    EXPECT_EQ(rel(recordSignFile(dirs, false, "120"), kRoot), "PicSgn/120.BMP");
    EXPECT_EQ(rel(recordSignFile(dirs, true, "120"), kRoot), "PicSgt/120.BMP");
    EXPECT_EQ(rel(recordSignFile(dirs, true, "a\\b"), kRoot), "!PicSgt/a\\b.BMP");
}

TEST(SignNameRules, NumbersAndDigits)
{
    EXPECT_EQ(SoloCifre("12a3 f"), "123");
    EXPECT_EQ(SoloCifre("abc"), "");
    EXPECT_EQ(SoloCifre(QStringLiteral("1\u0663")), "1");  // only ASCII digits

    EXPECT_EQ(signNumber("905"), 905);
    EXPECT_EQ(signNumber("0123"), 123);
    for (const char* notANumber : {"", "12a", "+5", "-5", " 5", "1234567890", "x"})
        EXPECT_FALSE(signNumber(notANumber).has_value()) << notANumber;
}

TEST(SignNameRules, DisplayPlacement)
{
    struct Case {
        const char* segnale;
        const char* icona10;
        DisplayPlacement expected;
    };
    const std::vector<Case> cases = {
        {"123", "5", {true, {29, 29}, "123"}},
        {"123", " ", {true, {550, 349}, "123"}},  // Icona10 is trimmed
        {"50", "a5", {true, {99, 29}, "50"}},
        {"905", "a5", {true, {99, 29}, "905"}},
        {"900", "", {}},
        {"1000", "", {}},
        {"899", "", {true, {550, 349}, "899"}},
        {"12a", "", {true, {550, 349}, "12"}},
        {"x905", "", {true, {550, 349}, "905"}},  // not a number: never "900 or more"
        {"", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(displayPlacement(c.segnale, c.icona10), c.expected) << c.segnale;
}

TEST(SignNameRules, NextSelectionWrapsAndSkipsEmptyPanels)
{
    std::array<bool, kPanelCount> filled{};
    filled[2] = filled[9] = true;  // panels 3 and 10
    EXPECT_EQ(nextSelection(3, false, filled), 10);
    EXPECT_EQ(nextSelection(3, true, filled), 10);
    EXPECT_EQ(nextSelection(10, true, filled), 3);
    EXPECT_EQ(nextSelection(10, false, filled), 3);
    EXPECT_EQ(nextSelection(0, true, filled), 3);    // no selection: first filled
    EXPECT_EQ(nextSelection(0, false, filled), 10);  // ... or last filled
    EXPECT_EQ(nextSelection(-4, false, filled), 10);
    EXPECT_EQ(nextSelection(11, true, filled), 3);

    std::array<bool, kPanelCount> one{};
    one[4] = true;
    EXPECT_EQ(nextSelection(5, true, one), 5);  // around to itself
    EXPECT_EQ(nextSelection(0, false, std::array<bool, kPanelCount>{}), 0);

    EXPECT_EQ(selectorRect(1), QRect(15, 25, 78, 73));
    EXPECT_EQ(selectorRect(10), QRect(544, 313, 78, 73));
    EXPECT_TRUE(selectorRect(0).isNull());
}

// --- the viewer, against fake widgets and windows

class FakeSignView : public SignView {
public:
    QString root;  // paths are recorded relative to it
    QStringList calls;
    QStringList unloadable;  // paths whose pictures "fail to decode"

    bool setSignPicture(const QString& path, const QRect& frame, bool border) override
    {
        if (unloadable.contains(path))
            return false;
        calls << QStringLiteral("sign %1 %2,%3,%4,%5 %6")
                     .arg(strip(path))
                     .arg(frame.x())
                     .arg(frame.y())
                     .arg(frame.width())
                     .arg(frame.height())
                     .arg(border ? "border" : "noborder");
        return true;
    }
    bool setLinkedPicture(const QString& path) override
    {
        if (unloadable.contains(path))
            return false;
        calls << QStringLiteral("linked ") + strip(path);
        return true;
    }
    void clearSignPicture() override { calls << QStringLiteral("clearSign"); }
    bool setPanelPicture(int panel, const QString& path) override
    {
        if (unloadable.contains(path))
            return false;
        calls << QStringLiteral("panel %1 %2").arg(panel).arg(strip(path));
        return true;
    }
    void clearPanelPicture(int panel) override { calls << QStringLiteral("clearPanel %1").arg(panel); }
    void showDisplay(QPoint p, const QString& text) override
    {
        calls << QStringLiteral("display %1,%2 %3").arg(p.x()).arg(p.y()).arg(text);
    }
    void hideDisplay() override { calls << QStringLiteral("hideDisplay"); }
    void placeJumpField(QPoint p) override
    {
        calls << QStringLiteral("jump %1,%2").arg(p.x()).arg(p.y());
    }
    void setRecallVisible(bool visible) override
    {
        calls << QStringLiteral("recall %1").arg(visible ? "on" : "off");
    }
    void showSelector(int panel) override { calls << QStringLiteral("selector %1").arg(panel); }
    void hideSelector() override { calls << QStringLiteral("hideSelector"); }
    void repaint() override { calls << QStringLiteral("repaint"); }

    QStringList matching(const QString& prefix) const
    {
        QStringList out;
        for (const QString& c : calls)
            if (c.startsWith(prefix))
                out << c;
        return out;
    }

private:
    QString strip(const QString& path) const
    {
        return path.startsWith(root) ? path.mid(root.size()) : path;
    }
};

class FakeViewers : public ViewerPorts {
public:
    QStringList calls;
    bool crossroads = false;
    bool banner = false;

    QString pictogramName(const QString& name) const override
    {
        const std::optional<int> n = signNumber(name);
        return n && *n >= 800 && *n <= 810 ? name + QStringLiteral("n") : name;
    }
    bool crossroadsVisible() const override { return crossroads; }
    void showCrossroads(const QString& scene) override { calls << QStringLiteral("cross ") + scene; }
    void closeCrossroads() override { calls << QStringLiteral("closeCross"); }
    void clearPreviewPictures() override { calls << QStringLiteral("clearPreviews"); }
    bool bannerVisible() const override { return banner; }
    void closeBanner() override { calls << QStringLiteral("closeBanner"); }
};

class FakeMainView : public MainViewPort {
public:
    QList<bool> quizButton;
    int steps = 0;
    void setQuizButton(bool enabled) override { quizButton << enabled; }
    void stepForward() override { ++steps; }
};

class FakeReportView : public ReportView {
public:
    std::vector<ReportLines> reports;
    std::vector<std::pair<QString, QString>> debugs;
    void beep() override {}
    void showReport(const ReportLines& l) override { reports.push_back(l); }
    bool askConfirmation(const ReportLines&) override { return true; }
    void showDebug(const QString& a, const QString& b) override { debugs.emplace_back(a, b); }
    bool isVisible() const override { return false; }
};

class SignViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = tmp.path() + QLatin1Char('/');
        g.ProgramFile = root + QStringLiteral("ziro");
        g.dirs = fakeFolders(root);
        view.root = root;
        for (const char* sub : {"PicSgn", "PicSgt", "PicLnk", "PicIcn"})
            ASSERT_TRUE(QDir(root).mkdir(QString::fromLatin1(sub)));

        QList<FieldDef> fields;
        for (int i = 1; i <= kPanelCount; ++i)
            fields << FieldDef::text(QStringLiteral("Icona%1").arg(i), 5);
        ASSERT_TRUE(table.createFromFields(fields));
        ASSERT_TRUE(table.append());
        ASSERT_TRUE(table.post());

        cfg.CBicone = false;
        cfg.CBNomeSegnali = false;
        reporter = std::make_unique<Reporter>(g);
        reporter->setView(&reports);
        viewer = std::make_unique<SignViewer>(g, cfg, table, *reporter, view, viewers, mainView);
    }

    // A tiny picture file in `folder` (relative to the root).
    void picture(const QString& relPath)
    {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        QFile f(root + relPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(encodeKxb(image, "BM"));
    }

    // The record's sign as the record check leaves it.
    void sign(const QString& name)
    {
        g.SegnaleON = !name.isEmpty();
        g.SegnaleF = name.startsWith(QLatin1Char('f'));
        g.Segnale = g.SegnaleF ? name.mid(1) : name;
    }

    // Icona1..Icona10 of the record and their IconaON flags.
    void icons(const std::map<int, QString>& codes)
    {
        ASSERT_TRUE(table.edit());
        for (int i = 1; i <= kPanelCount; ++i) {
            const auto it = codes.find(i);
            const QString code = it == codes.end() ? QString() : it->second;
            ASSERT_TRUE(table.setField(QStringLiteral("Icona%1").arg(i), code));
            g.IconaON[i - 1] = !code.isEmpty();
        }
        ASSERT_TRUE(table.post());
    }

    QString reportText(size_t i) const
    {
        const ReportLines& r = reports.reports.at(i);
        return r.riga1 + QStringLiteral(" | ") + r.riga2;
    }
    QString missing(const QString& context, const QString& relPath) const
    {
        const ReportLines r = reportLines(ReportKind::MissingFile, context, root + relPath);
        return r.riga1 + QStringLiteral(" | ") + r.riga2;
    }

    QTemporaryDir tmp;
    QString root;
    Globals g;
    Config cfg;
    DataTable table;
    FakeSignView view;
    FakeViewers viewers;
    FakeMainView mainView;
    FakeReportView reports;
    std::unique_ptr<Reporter> reporter;
    std::unique_ptr<SignViewer> viewer;
};

TEST_F(SignViewerTest, VisioneFramesNormalAndLargeSigns)
{
    picture("PicSgn/120.BMP");
    picture("PicSgt/120.bmp");  // authored on Windows: case differs
    picture("PicSgn/800n.BMP");

    sign("120");
    viewer->Visione(g.Segnale, false, false);
    sign("f120");
    viewer->Visione(g.Segnale, false, true);
    sign("800");
    viewer->Visione(g.Segnale, false, false);

    EXPECT_EQ(view.matching("sign"),
              QStringList({"sign PicSgn/120.BMP 99,30,440,350 noborder",
                           "sign PicSgt/120.bmp 78,25,480,360 border",
                           "sign PicSgn/800n.BMP 99,30,440,350 noborder"}));
    EXPECT_TRUE(reports.reports.empty());
}

TEST_F(SignViewerTest, VisioneWithoutPictureLeavesSignAreaAsItWas)
{
    picture("PicSgn/7.BMP");
    view.unloadable << root + QStringLiteral("PicSgn/7.BMP");
    g.VistaLink = true;
    g.QuizON = true;

    for (const char* name : {"9", "7", "../PicSgn/7", "f"}) {
        sign(name);
        viewer->Visione(g.Segnale, true, false);
    }
    EXPECT_TRUE(view.calls.isEmpty()) << view.calls.join("; ").toStdString();
    EXPECT_TRUE(reports.reports.empty());
    EXPECT_TRUE(g.VistaLink);
    EXPECT_TRUE(g.LockLoop);  // the lock follows the quiz all the same
}

TEST_F(SignViewerTest, VisioneDrawsPanelsOrOffersRecall)
{
    picture("PicSgn/50.BMP");
    picture("PicIcn/I12.KXB");
    sign("50");
    icons({{1, "12"}});
    viewer->Visione("50", true, false);
    EXPECT_EQ(view.matching("panel"), QStringList({"panel 1 PicIcn/I12.KXB"}));
    EXPECT_TRUE(g.IconeDisegnate);

    // "Conferma icone": offered through PLink instead, only for panels 1 or 6.
    viewer->CancellaIcone();
    cfg.CBicone = true;
    view.calls.clear();
    viewer->Visione("50", true, false);
    EXPECT_TRUE(view.matching("panel").isEmpty());
    EXPECT_EQ(view.matching("recall"), QStringList({"recall on"}));

    viewer->CancellaIcone();
    icons({{3, "12"}});
    view.calls.clear();
    viewer->Visione("50", true, false);
    EXPECT_TRUE(view.matching("recall").isEmpty());

    // Icons from the menu's sign view are offered too.
    cfg.CBicone = false;
    g.SegnaliDaMenu = true;
    icons({{6, "a12"}});
    view.calls.clear();
    viewer->Visione("50", true, false);
    EXPECT_EQ(view.matching("recall"), QStringList({"recall on"}));
    EXPECT_FALSE(g.IconeDisegnate);
}

TEST_F(SignViewerTest, VisionePlacesDisplayAndJumpField)
{
    for (const char* name : {"123", "50", "905"})
        picture(QStringLiteral("PicSgn/%1.BMP").arg(name));
    cfg.CBicone = true;  // keep panel drawing out of the way

    struct Case {
        const char* segnale;
        const char* icona10;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {"123", "a5", {"display 29,29 123", "jump 35,31"}},
        {"50", "a5", {"display 99,29 50", "jump 105,31"}},
        {"50", "", {"display 550,349 50", "jump 556,351"}},
        // Hidden: the jump field stays by Display's last place.
        {"905", "", {"hideDisplay", "jump 556,351"}},
        {"905", "n6", {"display 99,29 905", "jump 105,31"}},
    };
    for (const Case& c : cases) {
        sign(c.segnale);
        icons({{10, c.icona10}});
        g.VistaLink = true;
        view.calls.clear();
        viewer->Visione(g.Segnale, false, false);
        QStringList placed = view.matching("display") + view.matching("hideDisplay")
                             + view.matching("jump");
        EXPECT_EQ(placed, c.expected) << c.segnale << "/" << c.icona10;
        EXPECT_FALSE(g.VistaLink);
    }
}

TEST_F(SignViewerTest, VisioneHandsCrossroadsToTheirWindow)
{
    picture("PicSgn/600.BMP");
    sign("600");
    g.SegnaleSpeciale = true;
    viewer->Visione("600", true, false);
    EXPECT_EQ(view.calls, QStringList({"clearSign"}));
    EXPECT_EQ(viewers.calls, QStringList({"cross 600"}));

    // An ordinary sign closes an open crossroads exercise.
    g.SegnaleSpeciale = false;
    viewers.crossroads = true;
    viewers.calls.clear();
    viewer->Visione("600", false, false);
    EXPECT_EQ(viewers.calls, QStringList({"closeCross"}));
    EXPECT_EQ(view.matching("sign").size(), 1);
}

TEST_F(SignViewerTest, VisioneEnablesQuizButtonForQuizBlocks)
{
    g.SegnaleON = false;
    g.Domanda = QStringLiteral("Ad12");
    g.PASSdomanda = false;
    viewer->Visione("", true, false);
    g.PASSdomanda = true;
    viewer->Visione("", true, false);
    EXPECT_EQ(mainView.quizButton, QList<bool>({true}));
}

TEST_F(SignViewerTest, DisegnaIconeReportsMissingIcons)
{
    picture("PicIcn/I12.KXB");
    picture("PicIcn/i7.kxb");
    picture("PicIcn/I9.KXB");
    view.unloadable << root + QStringLiteral("PicIcn/I9.KXB");
    icons({{1, "a12"}, {3, "40"}, {6, "N7"}, {7, "9"}, {8, "n/x"}});

    viewer->DisegnaIcone();

    EXPECT_EQ(view.calls, QStringList({"recall off", "panel 1 PicIcn/I12.KXB",
                                       "panel 6 PicIcn/i7.kxb"}));
    ASSERT_EQ(reports.reports.size(), 3u);
    EXPECT_EQ(reportText(0), missing("display icona 3", "PicIcn/I40.KXB"));
    const ReportLines bad = reportLines(ReportKind::FileIo, "display icona 7", root + "PicIcn/I9.KXB");
    EXPECT_EQ(reportText(1), bad.riga1 + " | " + bad.riga2);
    // Never looked up, reported as missing.
    EXPECT_EQ(reportText(2), missing("display icona 8", "PicIcn/I/x.KXB"));
    EXPECT_TRUE(g.IconeDisegnate);
}

TEST_F(SignViewerTest, CancellaIconeEmptiesPanelsAndSelection)
{
    icons({{2, "12"}, {5, "13"}});
    g.IconeDisegnate = true;
    viewer->SpostaSelezione(0, true);
    ASSERT_EQ(viewer->SelectPos(), 2);
    view.calls.clear();

    viewer->CancellaIcone();

    QStringList expected;
    for (int i = 1; i <= kPanelCount; ++i)
        expected << QStringLiteral("clearPanel %1").arg(i);
    expected << "hideDisplay" << "hideSelector" << "recall off";
    EXPECT_EQ(view.calls, expected);
    EXPECT_EQ(viewers.calls, QStringList({"clearPreviews"}));
    EXPECT_EQ(viewer->SelectPos(), 0);
    EXPECT_FALSE(g.IconeDisegnate);
}

TEST_F(SignViewerTest, SpostaSelezioneMovesOverFilledPanels)
{
    icons({{3, "12"}, {10, "n5"}});

    viewer->SpostaSelezione(0, false);  // panels not drawn: keys do nothing
    EXPECT_TRUE(view.calls.isEmpty());

    g.IconeDisegnate = true;
    viewer->SpostaSelezione(0, false);
    viewer->SpostaSelezione(viewer->SelectPos(), true);
    viewer->SpostaSelezione(viewer->SelectPos(), false);
    EXPECT_EQ(view.calls, QStringList({"selector 10", "selector 3", "selector 10"}));
    EXPECT_EQ(viewer->SelectPos(), 10);

    icons({});
    viewer->SpostaSelezione(viewer->SelectPos(), true);
    EXPECT_EQ(view.calls.last(), "hideSelector");
    EXPECT_EQ(viewer->SelectPos(), 0);
    EXPECT_FALSE(viewer->confirmSelection());
}

TEST_F(SignViewerTest, SettaSegnaliIconeShowsLinkedSign)
{
    picture("PicSgt/908.BMP");
    cfg.CBNomeSegnali = true;
    sign("11");
    icons({{6, "n41"}});
    g.LockLoop = true;

    viewer->SettaSegnaliIcone(6);

    EXPECT_EQ(view.calls, QStringList({"linked PicSgt/908.BMP"}));
    EXPECT_TRUE(g.VistaLink);
    EXPECT_FALSE(g.LockLoop);
    EXPECT_TRUE(reports.reports.empty());
}

TEST_F(SignViewerTest, SettaSegnaliIconeFallsBackAndReports)
{
    sign("130");
    icons({{1, "5a"}, {2, "5"}, {7, "n20"}, {8, "a20"}, {9, "n../x"}});
    picture("PicSgn/20.BMP");
    picture("PicLnk/20p130b.KXB");
    picture("PicLnk/130p5a.KXB");

    viewer->SettaSegnaliIcone(7);  // "b" before the plain sign
    viewer->SettaSegnaliIcone(1);  // integrated panel part
    picture("PicLnk/20p130a.KXB");
    viewer->SettaSegnaliIcone(8);  // "a" first
    EXPECT_EQ(view.calls, QStringList({"linked PicLnk/20p130b.KXB", "linked PicLnk/130p5a.KXB",
                                       "linked PicLnk/20p130a.KXB"}));

    // Missing: reported by the plain sign's file; nothing else changes.
    cfg.CBNomeSegnali = true;
    g.VistaLink = false;
    g.LockLoop = true;
    view.calls.clear();
    sign("131");
    viewer->SettaSegnaliIcone(7);
    viewer->SettaSegnaliIcone(9);
    viewer->SettaSegnaliIcone(2);   // an icon with nothing to enlarge
    viewer->SettaSegnaliIcone(0);   // no such panel
    viewer->SettaSegnaliIcone(11);
    EXPECT_TRUE(view.calls.isEmpty());
    ASSERT_EQ(reports.reports.size(), 2u);
    EXPECT_EQ(reportText(0), missing("display segnale linkato 7", "PicSgt/20.BMP"));
    EXPECT_EQ(reportText(1), missing("display segnale linkato 9", "PicSgt/../x.BMP"));
    EXPECT_FALSE(g.VistaLink);
    EXPECT_TRUE(g.LockLoop);
}

TEST_F(SignViewerTest, SettaSegnaliIconeDebugLine)
{
    g.ModoDebug = true;
    sign("11");
    icons({{6, "n8"}});
    viewer->SettaSegnaliIcone(6);
    ASSERT_FALSE(reports.debugs.empty());
    EXPECT_EQ(reports.debugs.front().second,
              reportLines(ReportKind::Debug, "File Linkato", "Ic. 6 -  File " + root + "PicSgn/909.BMP").riga2);
}

TEST_F(SignViewerTest, PanelClickAndEnterShowLinkedItems)
{
    picture("PicSgn/20.BMP");
    sign("50");
    icons({{6, "n20"}});

    viewer->MonitorClick(6);  // panels not drawn yet
    EXPECT_TRUE(view.matching("linked").isEmpty());
    EXPECT_EQ(mainView.quizButton, QList<bool>({false}));

    viewer->PLinkClick();
    viewer->MonitorClick(7);  // empty panel
    viewer->MonitorClick(6);
    viewer->SpostaSelezione(0, true);
    EXPECT_TRUE(viewer->confirmSelection());
    EXPECT_EQ(view.matching("linked"),
              QStringList({"linked PicSgn/20.BMP", "linked PicSgn/20.BMP"}));
}

TEST_F(SignViewerTest, VisoreClickTogglesSignSetsOrStepsOn)
{
    picture("PicSgn/50.BMP");
    picture("PicSgt/50.BMP");
    sign("50");
    const int& steps = mainView.steps;

    viewer->Visione("50", false, false);
    viewer->VisoreClick();
    viewer->VisoreClick();
    EXPECT_EQ(view.matching("sign"),
              QStringList({"sign PicSgn/50.BMP 99,30,440,350 noborder",
                           "sign PicSgt/50.BMP 99,30,440,350 noborder",
                           "sign PicSgn/50.BMP 99,30,440,350 noborder"}));

    // On a linked item the click steps on; with the banner up it only closes it.
    g.VistaLink = true;
    viewers.banner = true;
    viewer->VisoreClick();
    EXPECT_EQ(viewers.calls, QStringList({"closeBanner"}));
    EXPECT_EQ(steps, 0);
    viewers.banner = false;
    viewer->VisoreClick();
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(view.matching("sign").size(), 3);
}

}  // namespace
