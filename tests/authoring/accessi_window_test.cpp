#include "authoring/accessi_window.h"
#include "authoring/select_window.h"

#include "authoring/accesses.h"
#include "authoring/custom_lessons.h"
#include "base/reports.h"
#include "config/ini_file.h"
#include "content/content_table.h"
#include "content/edition.h"
#include "menus/in_text_dialog.h"
#include "platform/dataset/data_table.h"
#include "support/fakes.h"
#include "support/qt_printers.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

struct AgreeingReports : Reports {
    int questions = 0;
    void Emsg(ReportKind, const QString&, const QString&) override {}
    bool Conferma(const QString&, const QString&) override
    {
        ++questions;
        return true;
    }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
};

class AccessiWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        g.dirs.DirUtente = tmp.path() + "/Utente/";
        g.dirs.DirLezioni = g.dirs.DirUtente;
        QDir().mkpath(g.dirs.DirUtente + "Rossi");
        QDir().mkpath(g.dirs.DirUtente + "Bianchi");
        QFile ini(tmp.path() + "/ziro.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Accesso1]\r\nid=Rossi\r\n[Accesso2]\r\nid=Bianchi\r\nMTrec=9\r\n");
        ini.close();
        g.IniFilePtr = IniFile::open(tmp.path() + "/ziro.ini");
        main.resize(640, 480);
        main.show();
        names = std::make_unique<TInText>(&main, system);
        window = std::make_unique<TAccessi>(&main);
        window->attach(&list, names.get(), &reports, &system);
    }

    // Types `answers` into the name questions as they come up.
    void answerNames(QStringList answers)
    {
        auto* timer = new QTimer(window.get());
        QObject::connect(timer, &QTimer::timeout, [this, timer, answers]() mutable {
            if (!names->isModalRunning())
                return;
            if (answers.isEmpty()) {
                timer->stop();
                names->cancelButton()->click();
                return;
            }
            names->edit()->setText(answers.takeFirst());
            if (answers.isEmpty())
                timer->stop();
            names->okButton()->click();
        });
        timer->start(20);
    }

    QTemporaryDir tmp;
    Globals g;
    AgreeingReports reports;
    ziro::test::FakeSystem system;
    AccessList list{g, reports};
    QWidget main;
    std::unique_ptr<TInText> names;
    std::unique_ptr<TAccessi> window;
};

TEST_F(AccessiWindowTest, TheChoiceSetsTheTeachersLessonFolder)
{
    QTimer::singleShot(0, window.get(), [this] {
        EXPECT_TRUE(window->isModalRunning());
        EXPECT_EQ(window->height(), 123);
        EXPECT_FALSE(window->BTinserisci->isVisible());
        ASSERT_EQ(window->CBXInsegnanti->count(), 3);
        EXPECT_EQ(window->CBXInsegnanti->currentText(), "Accesso generico");
        window->CBXInsegnanti->setCurrentIndex(2);
        window->BtOK->click();
    });
    window->execChoice();
    EXPECT_EQ(g.AccessoCorrente, 2);
    EXPECT_TRUE(g.dirs.DirLezioni.endsWith("/Utente/Bianchi/"));
}

TEST_F(AccessiWindowTest, ManagementInsertsRenamesAndDeletesThroughTheNameQuestion)
{
    window->setAccessMode(true);
    window->CaricaAccessi();
    window->showModeless();
    EXPECT_EQ(window->height(), 255);
    ASSERT_EQ(window->LBInsegnanti->count(), 2);
    EXPECT_FALSE(window->BTrinomina->isEnabled());

    // A taken name and a reserved one are asked again, with a beep each.
    answerNames({"rossi", "Foto", "Verdi"});
    window->BTinserisci->click();
    EXPECT_EQ(system.beeps, 2);
    ASSERT_EQ(window->LBInsegnanti->count(), 3);
    EXPECT_EQ(window->LBInsegnanti->currentItem()->text(), "Verdi");
    EXPECT_TRUE(QFileInfo(g.dirs.DirUtente + "Verdi").isDir());

    window->LBInsegnanti->setCurrentRow(0);
    answerNames({"Russo"});
    window->BTrinomina->click();
    EXPECT_EQ(window->LBInsegnanti->item(0)->text(), "Russo");
    EXPECT_TRUE(QFileInfo(g.dirs.DirUtente + "Russo").isDir());
    EXPECT_FALSE(QFileInfo::exists(g.dirs.DirUtente + "Rossi"));

    window->LBInsegnanti->setCurrentRow(0);
    window->BTcancella->click();
    EXPECT_EQ(reports.questions, 1);
    ASSERT_EQ(window->LBInsegnanti->count(), 2);
    EXPECT_EQ(window->LBInsegnanti->item(0)->text(), "Bianchi");
    EXPECT_EQ(list.slot(1).mark.RecNum, 9);

    // OK closes the management without choosing another access.
    window->LBInsegnanti->setCurrentRow(1);
    window->BtOK->click();
    EXPECT_EQ(g.AccessoCorrente, 0);
}

TEST(SelectWindow, ListsTheLessonsAndEnablesOnlyWhatTheCurrentOneAllows)
{
    QTemporaryDir tmp;
    Globals g;
    g.dirs.DirProgram = tmp.path() + "/";
    g.dirs.DirUtente = tmp.path() + "/Utente/";
    g.dirs.DirLezioni = g.dirs.DirUtente;
    QDir().mkpath(g.dirs.DirUtente);
    for (const char* name : {"freni.xml", "Nuova lezione.xml", "[VOID].xml"}) {
        QFile f(g.dirs.DirUtente + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    AgreeingReports reports;
    DataTable table;
    EditionPort editions;
    CustomLessonPort port;
    CustomLessons lessons(g, reports, table, editions, port);
    QWidget main;
    main.resize(640, 480);
    main.show();
    TSelect select(&main);
    select.attach(&lessons);
    EXPECT_EQ(select.geometry(), QRect(32, 29, 371, 358));

    select.showList();
    ASSERT_EQ(select.ListaDB->count(), 1);
    EXPECT_EQ(select.ListaDB->item(0)->text(), "Freni");
    EXPECT_TRUE(select.SBNuova->isEnabled());
    EXPECT_TRUE(select.SBAnnulla->isEnabled());
    EXPECT_FALSE(select.SBOk->isEnabled());
    EXPECT_FALSE(select.SBCancella->isEnabled());

    select.ListaDB->setCurrentRow(0);
    EXPECT_EQ(g.LezioneCorrente, "Freni");
    EXPECT_TRUE(select.SBOk->isEnabled());
    EXPECT_TRUE(select.SBRinomina->isEnabled());

    // Chiudi: the window goes and nothing is presented.
    select.SBAnnulla->click();
    EXPECT_FALSE(select.isVisible());
    EXPECT_FALSE(g.Custom);
}

}  // namespace
