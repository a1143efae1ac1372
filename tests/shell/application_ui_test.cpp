#include "diag/error_window.h"
#include "shell/application_ui.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "support/fakes.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

using namespace ziro;
using ziro::test::FakeDialogs;
using ziro::test::FakeSystem;

namespace {

QString uniqueKey()
{
    return QStringLiteral("ziro-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

struct Install {
    QTemporaryDir tmp;
    QString program;
    Install()
    {
        const QString dir = tmp.path() + QStringLiteral("/ziro/Program/");
        QDir().mkpath(dir);
        program = dir + QStringLiteral("ziro");
        for (const char* n : {"ARIALN.TTF", "ARIALNB.TTF", "digital2.ttf"})
            write(dir + QLatin1String(n), "font");
        write(dir + QStringLiteral("AAB2016.XML"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
              "<FIELD attrname=\"NumRec\" fieldtype=\"i4\"/>"
              "<FIELD attrname=\"Argomento\" fieldtype=\"string\" WIDTH=\"3\"/>"
              "</FIELDS><PARAMS/></METADATA><ROWDATA>"
              "<ROW NumRec=\"1\" Argomento=\"B00\"/><ROW NumRec=\"2\" Argomento=\"C01\"/>"
              "</ROWDATA></DATAPACKET>\n");
        write(dir + QStringLiteral("ziro.ini"),
              "[Autoscuola]\r\nNome autoscuola=Prova\r\n[Video]\r\nAuto res=0\r\n");
    }
    QString store() const { return tmp.path() + QStringLiteral("/etc/version.ini"); }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
};

}  // namespace

TEST(Entry, CreatesEveryWindowOnceInOrderAndActivates)
{
    Install in;
    FakeSystem sys;
    FakeDialogs dlg;
    ZiroApp app({in.program, uniqueKey(), 96.0, in.store(), 300}, sys, dlg);
    ASSERT_FALSE(app.start().has_value());

    const QStringList expected = {
        "TBase", "TFError", "TMenuGen", "TConfig", "TFotoPreview", "TQuiz", "TTVFoto",
        "TTVvideo", "TTVavc", "TTVlibro", "TTVtesto", "TPasswordDlg", "TMenuImg", "TMenuVcl",
        "TRemote", "TQuizColor", "TInText", "TSelect", "TAccessi", "TTVcross", "TTools",
        "TBackSubArg", "TTVhtml",
        // The mock exam, made once the quiz it draws from is wired.
        "TExam"};
    EXPECT_EQ(app.creationOrder(), expected);
    EXPECT_TRUE(dlg.shown.isEmpty()) << dlg.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(app.windows().Base->startupOutcome(), QStringLiteral("OK"));
    EXPECT_TRUE(app.windows().Base->isVisible());
    EXPECT_FALSE(app.windows().Base->state.Sblocco);

    // The activation runs once, after the loop has started, and dissolves
    // the splash.
    QEventLoop loop;
    QObject::connect(app.windows().Base, &TBase::activatedOnce, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(app.windows().Base->activated());
    EXPECT_TRUE(app.windows().Base->state.Sblocco);
    EXPECT_TRUE(app.splash()->dissolved());
    // The settings were loaded and applied: the splash showed the version,
    // and nothing was reported to the class.
    EXPECT_TRUE(app.splash()->versionLabel()->text().startsWith(QStringLiteral("v. ")));
    EXPECT_EQ(app.globals().NomeAutoscuola, QStringLiteral("Prova"));
    EXPECT_FALSE(app.windows().FError->isVisible());
    EXPECT_EQ(app.windows().Base->Table1.recordCount(), 2);
    EXPECT_TRUE(app.globals().ModoAB());
    EXPECT_EQ(app.globals().TitoliGruppi[2], QStringLiteral("Segnaletica stradale"));
    EXPECT_FALSE(app.splash()->isVisible());
    EXPECT_TRUE(dlg.shown.isEmpty());
}

TEST(Entry, ContentTableThatCannotOpenEndsTheProgram)
{
    Install in;
    QFile::remove(QFileInfo(in.program).absolutePath() + QStringLiteral("/AAB2016.XML"));
    FakeSystem sys;
    FakeDialogs dlg;
    ZiroApp app({in.program, uniqueKey(), 96.0, in.store()}, sys, dlg);
    EXPECT_EQ(app.start(), std::optional<int>(1));
    ASSERT_EQ(dlg.shown.size(), 1);
    const QString path = QFileInfo(in.program).absolutePath() + QStringLiteral("/AAB2016.XML");
    EXPECT_TRUE(dlg.shown[0].startsWith(QStringLiteral("ERRORE di startup (fase IV)\r\nDatabase ") +
                                        path + QStringLiteral(" non aperto (FileExist: False)\r\n")));
    EXPECT_TRUE(dlg.shown[0].endsWith(QString::fromUtf8("Errore irreversibile, l'applicazione sarà terminata.")));
    EXPECT_EQ(app.creationOrder(), QStringList{QStringLiteral("TBase")});
}

TEST(Entry, SecondCopyBeepsAndCreatesNothing)
{
    Install in;
    const QString key = uniqueKey();
    FakeSystem sys1, sys2;
    FakeDialogs dlg1, dlg2;
    ZiroApp first({in.program, key, 96.0, in.store()}, sys1, dlg1);
    ASSERT_FALSE(first.start().has_value());

    ZiroApp second({in.program, key, 96.0, in.store()}, sys2, dlg2);
    EXPECT_EQ(second.start(), std::optional<int>(0));
    EXPECT_EQ(sys2.beeps, 1);
    EXPECT_TRUE(second.creationOrder().isEmpty());
    EXPECT_EQ(second.splash(), nullptr);
}

TEST(Entry, FontScalingWarning)
{
    Install in;
    FakeSystem sys;
    FakeDialogs dlg;
    dlg.answers = {Dialogs::Answer::No};
    ZiroApp app({in.program, uniqueKey(), 120.0, in.store()}, sys, dlg);
    EXPECT_EQ(app.start(), std::optional<int>(0));
    ASSERT_EQ(dlg.shown.size(), 1);
    EXPECT_TRUE(dlg.shown[0].startsWith(QStringLiteral("E' stata rilevata una dimensione")));
    EXPECT_EQ(app.splash(), nullptr);

    for (double dpi : {96.0, 144.0}) {
        FakeSystem s;
        FakeDialogs d;
        ZiroApp other({in.program, uniqueKey(), dpi, in.store()}, s, d);
        EXPECT_FALSE(other.start().has_value());
        EXPECT_TRUE(d.shown.isEmpty());
    }
}

TEST(Entry, MissingProgramFolderEndsAfterTheSplash)
{
    QTemporaryDir tmp;
    FakeSystem sys;
    FakeDialogs dlg;
    // An executable that is not inside a ziro/Program folder.
    ZiroApp app({tmp.path() + QStringLiteral("/a/b/ziro"), uniqueKey(), 96.0, tmp.path() + QStringLiteral("/version.ini")}, sys, dlg);
    EXPECT_EQ(app.start(), std::optional<int>(1));
    const QString dirProgram = tmp.path() + QStringLiteral("/ziro/Program/");
    EXPECT_EQ(dlg.shown.last(), QStringLiteral("ERRORE! La directory di programma '") +
                                    dirProgram +
                                    QStringLiteral("' non esiste.\rImpossibile proseguire."));
    EXPECT_TRUE(app.creationOrder().isEmpty());
}
