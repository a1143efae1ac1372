#include "config/config_window.h"

#include "base/globals.h"
#include "config/ini_file.h"
#include "config/machine_store.h"
#include "config/password_dialog.h"
#include "support/logging_reports.h"
#include "support/qt_printers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class NoStore : public MachineStore {
public:
    std::optional<QString> readVersion() override { return QStringLiteral("4.10.0"); }
    bool writeVersion(const QString&) override { return true; }
};

struct CountingPort : ConfigPort {
    int beeps = 0;
    int applied = 0;
    void beep() override { ++beeps; }
    void settingsApplied() override { ++applied; }
    QString currentAccess() const override { return QStringLiteral(" 0 - Accesso generico"); }
};

struct Guard : LessonPagePort {
    bool allow = false;
    int asked = 0;
    bool mayClose() override
    {
        ++asked;
        return allow;
    }
};

class ConfigWindowTest : public ::testing::Test {
protected:
    ConfigWindowTest()
    {
        QDir().mkpath(dir.path() + QStringLiteral("/ziro/Program"));
        g.initFromProgram(dir.path() + QStringLiteral("/ziro/Program/ziro"));
        QFile file(g.FileIni);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Autoscuola]\r\nNome autoscuola=Rossi\r\n[Video]\r\nAuto res=0\r\n[INI]\r\n");
        file.close();
        EXPECT_TRUE(CaricaIni(g, cfg, reports, store, QStringLiteral("4.10.0")));
        host.resize(640, 480);
        host.show();
        form = new TConfig(&host);
        form->attach(&controller);
    }

    QString stored(const QString& section, const QString& key) const
    {
        auto ini = IniFile::open(g.FileIni);
        return ini ? ini->readString(section, key, QStringLiteral("<missing>")) : QString();
    }

    std::vector<QString> visibleTabs() const
    {
        std::vector<QString> tabs;
        for (int i = 0; i < form->PC->count(); ++i)
            if (form->PC->isTabVisible(i))
                tabs.push_back(form->PC->tabText(i));
        return tabs;
    }

    // Answers the lock dialog once it is up.
    void answerLock(const QString& word)
    {
        QTimer::singleShot(10, form, [this, word] {
            TPasswordDlg* lock = form->password();
            ASSERT_TRUE(lock->isModalRunning());
            // What is typed goes into the edit.
            EXPECT_EQ(lock->focusWidget(), lock->Password);
            if (word.isNull()) {
                lock->CancelBtn->click();
                return;
            }
            lock->Password->setText(word);
            lock->OKBtn->click();
        });
    }

    QTemporaryDir dir;
    Globals g;
    Config cfg;
    test::LoggingReports reports;
    NoStore store;
    CountingPort port;
    ConfigController controller{g, cfg, reports, store, port, QStringLiteral("4.10.0")};
    QWidget host;
    TConfig* form = nullptr;
};

TEST_F(ConfigWindowTest, SettingsAndLessonModesShowTheirPages)
{
    form->showSettings();
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(visibleTabs(), (std::vector<QString>{" Avvio e Menu ", "  Multimedia  ", " Programma ",
                                                   "  Informazioni  "}));
    EXPECT_EQ(form->PC->currentIndex(), 1);
    EXPECT_EQ(form->windowTitle(), "Configurazione generale");
    EXPECT_EQ(form->findChild<QLineEdit*>(QStringLiteral("ENA"))->text(), "Rossi");

    QWidget page;
    page.setObjectName(QStringLiteral("editorPage"));
    Guard guard;
    form->setLessonPage(&page);
    form->setLessonPagePort(&guard);
    int closed = 0;
    QObject::connect(form, &TConfig::lessonEditorClosed, [&] { ++closed; });
    form->showLessonEditor();
    EXPECT_EQ(visibleTabs(), (std::vector<QString>{" Lezioni personalizzate "}));
    EXPECT_EQ(form->windowTitle(), "Creazione lezioni personalizzate");
    EXPECT_TRUE(page.isVisible());
    // The lock is not offered from the lesson page.
    QTest::mouseDClick(form->Panel2, Qt::LeftButton);
    EXPECT_FALSE(form->password()->isVisible());

    form->OK->click();
    EXPECT_EQ(guard.asked, 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(closed, 0);
    guard.allow = true;
    form->OK->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(closed, 1);
    // Closing in lesson mode reloads nothing.
    EXPECT_EQ(port.applied, 0);
    page.setParent(nullptr);
}

TEST_F(ConfigWindowTest, ClicksWriteKeysAndMoveTheLinkedControls)
{
    form->showSettings();
    QCheckBox* segn = form->check(SettingId::CBonlySegn);
    QCheckBox* dom = form->check(SettingId::CBonlyDom);
    dom->click();
    segn->click();
    EXPECT_TRUE(segn->isChecked());
    EXPECT_FALSE(dom->isChecked());
    EXPECT_EQ(stored("Set", "Solo segnali"), "1");
    EXPECT_EQ(stored("Set", "Solo domande"), "0");

    QCheckBox* ripristino = form->check(SettingId::CB_Ripristino);
    EXPECT_FALSE(ripristino->isEnabled());
    form->check(SettingId::CB_Autores)->click();
    EXPECT_TRUE(ripristino->isEnabled());

    form->PC->setCurrentIndex(2);
    form->check(SettingId::CBmono)->click();
    form->check(SettingId::CB1Vuota)->click();
    EXPECT_TRUE(form->check(SettingId::CBmono)->isChecked());
    EXPECT_EQ(stored("Quiz", "Solo una affermazione"), "1");

    form->CBVideoSize->setCurrentIndex(4);
    Q_EMIT form->CBVideoSize->textActivated(form->CBVideoSize->currentText());
    EXPECT_EQ(g.VideoSize, 5);
    EXPECT_EQ(stored("Video", "Video size"), "5 - Full screen");

    // The photo import is a button: it never stays ticked; on this system
    // the module is missing, which is logged.
    form->CBfotoWizzard->click();
    EXPECT_FALSE(form->CBfotoWizzard->isChecked());
    EXPECT_TRUE(reports.log.filter(QStringLiteral("non trovato!")).size() == 1);

    // OK reloads the file and applies it.
    form->OK->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(port.applied, 1);
}

TEST_F(ConfigWindowTest, TheLockOpensTheReservedPage)
{
    form->showSettings();
    const struct {
        QString word;
        int page;
        bool content;
        int beeps;
    } cases[] = {
        {QStringLiteral("ZU"), 3, true, 0},
        {QStringLiteral("dizov"), 1, false, 1},
        {QString(), 1, false, 1},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.word.toStdString());
        answerLock(t.word);
        QTest::mouseDClick(form->Panel2, Qt::LeftButton);
        EXPECT_EQ(form->PC->currentIndex(), t.page);
        EXPECT_EQ(controller.pages().reservedContent, t.content);
        EXPECT_EQ(port.beeps, t.beeps);
    }
    // Typed and confirmed with Return, as a teacher does.
    QTimer::singleShot(10, form, [this] {
        QTest::keyClicks(form->password()->Password, QStringLiteral("zu"));
        QTest::keyClick(form->password()->Password, Qt::Key_Return);
    });
    QTest::mouseDClick(form->Panel2, Qt::LeftButton);
    EXPECT_EQ(form->PC->currentIndex(), 3);
    form->PC->setCurrentIndex(1);
    // The hidden corner gives the reserved word.
    QTimer::singleShot(0, form, [this] {
        QTest::mouseDClick(form->password()->bypass, Qt::LeftButton);
    });
    QTest::mouseDClick(form->Panel2, Qt::LeftButton);
    EXPECT_EQ(form->PC->currentIndex(), 3);
    EXPECT_TRUE(form->MemoIni->toPlainText().contains(QStringLiteral("Nome autoscuola=Rossi")));
}

TEST_F(ConfigWindowTest, TheMemoIsFreshWhenShownAndItsSaveIsApplied)
{
    form->showSettings();
    form->PC->setCurrentIndex(3);
    // A control changes the file after the memo was first shown.
    form->PC->setCurrentIndex(1);
    form->check(SettingId::CBicone)->click();
    form->PC->setCurrentIndex(3);
    EXPECT_TRUE(form->MemoIni->toPlainText().contains(QStringLiteral("Conferma icone=")));

    QString text = form->MemoIni->toPlainText();
    text.replace(QStringLiteral("Rossi"), QStringLiteral("Neri"));
    form->MemoIni->setPlainText(text);
    reports.answer = true;
    form->SaveIni->click();
    EXPECT_EQ(stored("Autoscuola", "Nome autoscuola"), "Neri");
    EXPECT_EQ(g.NomeAutoscuola, "Neri");
    EXPECT_EQ(form->findChild<QLineEdit*>(QStringLiteral("ENA"))->text(), "Neri");
}

}  // namespace
}  // namespace ziro

namespace ziro {
namespace {

// The set-up module runs while the form keeps handling events; a module
// that cannot start is reported, and the settings are read again after.
TEST_F(ConfigWindowTest, ExternalModulesRunWithoutFreezingTheForm)
{
    form->showSettings();
    form->PC->setCurrentIndex(3);
    const QString module = g.dirs.DirProgram + QStringLiteral("SETTA ZIRO.EXE");
    {
        QFile script(module);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // The module changes the settings file, as the real one does.
        script.write("#!/bin/sh\nsleep 0.3\nprintf '[INI]\\r\\n[Autoscuola]\\r\\nNome autoscuola=Gialli\\r\\n' > \"$ZIRO_TEST_INI\"\n");
    }
    QFile::setPermissions(module, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("ZIRO_TEST_INI", g.FileIni.toLocal8Bit());
    bool sawItRunning = false;
    QTimer::singleShot(100, form, [&] { sawItRunning = form->runningModule() != nullptr; });
    form->SetAul->click();
    qunsetenv("ZIRO_TEST_INI");
    EXPECT_TRUE(sawItRunning);
    EXPECT_EQ(form->runningModule(), nullptr);
    EXPECT_EQ(g.NomeAutoscuola, "Gialli");
    EXPECT_TRUE(form->MemoIni->toPlainText().contains(QStringLiteral("Gialli")));

    // Present but not runnable.
    QFile::setPermissions(module, QFile::ReadOwner | QFile::WriteOwner);
    reports.log.clear();
    form->SetAul->click();
    EXPECT_EQ(reports.log.filter(QStringLiteral("1 modulo esterno | ")).size(), 1)
        << reports.log.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(form->runningModule(), nullptr);
}

}  // namespace
}  // namespace ziro
