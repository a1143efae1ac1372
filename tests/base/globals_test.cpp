#include "base/globals.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace ziro;

TEST(Folders, BuiltInRootIsTheFolderAboveZiro)
{
    EXPECT_EQ(builtInRoot(QStringLiteral("/opt/school/ziro/Program/ziro")),
              QStringLiteral("/opt/school/"));
    EXPECT_EQ(builtInRoot(QStringLiteral("/ziro/Program/ziro")), QStringLiteral("/"));
}

TEST(Folders, BuiltInValues)
{
    Globals g;
    g.initFromProgram(QStringLiteral("/r/ziro/Program/ziro"));
    const Folders& f = g.dirs;
    EXPECT_EQ(f.DirProgram, QStringLiteral("/r/ziro/Program/"));
    EXPECT_EQ(f.DirUtente, QStringLiteral("/r/ziro/Utente/"));
    EXPECT_EQ(f.DirLezioni, f.DirUtente);
    EXPECT_EQ(f.DirFotoUtente, QStringLiteral("/r/ziro/Utente/Foto/"));
    EXPECT_EQ(f.DirPicSgn, QStringLiteral("/r/ziro/PicSgn/"));
    EXPECT_EQ(f.DirVelarium, QStringLiteral("/r/Velarium/"));
    EXPECT_EQ(f.DirAudioCDE, QStringLiteral("/r/ziro/Audio CDE/"));
    EXPECT_EQ(f.DirVideoCross, f.DirVideo);
    EXPECT_EQ(f.DirBookCQC, QStringLiteral("/r/ziro/Book CQC/"));
    EXPECT_EQ(f.DirPressKit, QStringLiteral("/r/ziro/pressKit/"));
    EXPECT_TRUE(f.DirQuiz.isEmpty());
    EXPECT_EQ(g.FileIni, QStringLiteral("/r/ziro/Program/ziro.ini"));
}

TEST(Folders, SettingsFileName)
{
    EXPECT_EQ(settingsFileFor(QStringLiteral("/a/ziro")), QStringLiteral("/a/ziro.ini"));
    EXPECT_EQ(settingsFileFor(QStringLiteral("C:/ziro/Program/Ziro.exe")),
              QStringLiteral("C:/ziro/Program/Ziro.ini"));
}

TEST(Folders, StoredFoldersFromWindowsAndPosix)
{
    struct Case {
        const char* stored;
        const char* expected;
    } cases[] = {
        {"C:\\", "/root/"},
        {"D:\\ziro\\Foto\\", "/root/ziro/Foto/"},
        {"d:/ziro/Video", "/root/ziro/Video/"},
        {"E:", "/root/"},
        {"/media/usb/Foto", "/media/usb/Foto/"},
        {"ziro\\Audio\\", "/root/ziro/Audio/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapStoredFolder(QString::fromUtf8(c.stored), QStringLiteral("/root/")),
                  QString::fromUtf8(c.expected))
            << c.stored;
}

TEST(Folders, RecomputedFromSettingsMovesEveryDerivedFolder)
{
    PathSettings s;
    s.UnitaProgramma = QStringLiteral("/prog");
    s.UnitaDati = QStringLiteral("D:\\");
    s.PathFoto = QStringLiteral("D:\\Immagini\\");
    Folders f = recomputeFolders(s, QStringLiteral("/root/"));
    EXPECT_EQ(f.DirProgram, QStringLiteral("/prog/ziro/Program/"));
    EXPECT_EQ(f.DirUtente, QStringLiteral("/prog/ziro/Utente/"));
    // These three followed only the built-in roots before; they must move too.
    EXPECT_EQ(f.DirFotoUtente, QStringLiteral("/prog/ziro/Utente/Foto/"));
    EXPECT_EQ(f.DirLezioni, QStringLiteral("/prog/ziro/Utente/"));
    EXPECT_EQ(f.DirAudioCDE, QStringLiteral("/root/ziro/Audio CDE/"));
    EXPECT_EQ(f.DirPicIcn, QStringLiteral("/root/ziro/PicIcn/"));
    EXPECT_EQ(f.DirFoto, QStringLiteral("/root/Immagini/"));
    EXPECT_EQ(f.DirVideo, QStringLiteral("/root/ziro/Video/"));
    EXPECT_EQ(f.DirVideoCross, f.DirVideo);
    EXPECT_EQ(f.DirQuiz, QStringLiteral("/root/ziro/Quiz/Dom_A/"));
    EXPECT_EQ(f.DirVelarium, QStringLiteral("/prog/Velarium/"));

    f = recomputeFolders(s, QStringLiteral("/root/"), QStringLiteral("Rossi"));
    EXPECT_EQ(f.DirLezioni, QStringLiteral("/prog/ziro/Utente/Rossi/"));
}

TEST(Globals, StartValues)
{
    Globals g;
    EXPECT_TRUE(g.ModoAB());
    EXPECT_FALSE(g.ModoAM() || g.ModoCD() || g.ModoCQ());
    EXPECT_EQ(g.Versione, QStringLiteral("0.00"));
    EXPECT_EQ(g.LezioneCorrente, QStringLiteral("Lezione 1.DB"));
    EXPECT_TRUE(g.PASSsegnale && g.PASSdomanda);
    EXPECT_EQ(g.VideoSize, 3);
    EXPECT_EQ(g.ColoreSelettore, QColor(0, 0, 255));
    EXPECT_EQ(g.MdTemp.Snap, QLatin1Char('F'));
    EXPECT_TRUE(g.MdTemp.L_AB);
    EXPECT_FALSE(g.MdTemp.L_AM || g.MdTemp.L_CD || g.MdTemp.L_CQ);
    EXPECT_EQ(static_cast<int>(TModoQuiz::mqCQ), 3);
}
