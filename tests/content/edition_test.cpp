#include "content/edition.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace ziro;

namespace {
struct RecordingBank : QuestionBankLoader {
    QStringList loaded;
    void loadQuestionBank(const EditionInfo& e) override { loaded << QLatin1String(e.bankFile); }
};
}  // namespace

TEST(Edition, EveryEditionSetsFlagsLetterTitlesAndBank)
{
    struct Case {
        int number;
        const char* letter;
        const char* bank;
        const char* titleC;
        const char* titleJ;
    } cases[] = {
        {0, "C", "CQM2015.XML", "Segnaletica stradale", "Consigli vari"},
        {1, "N", "NQM2016.XML", "Segnaletica stradale", "L'autoveicolo e le sue parti"},
        {2, "A", "SQM2014.XML", "Norme di comportamento", ""},
        {3, "Q", "QQM2021.XML", "Motore e manutenzione", "Autotrasporto persone"},
    };
    for (const auto& c : cases) {
        Globals g;
        g.initFromProgram(QStringLiteral("/r/ziro/Program/ziro"));
        g.dirs.DirQuiz = QStringLiteral("/elsewhere/");
        RecordingBank bank;
        ASSERT_TRUE(CambiaEdizione(g, c.number, &bank));
        EXPECT_EQ(static_cast<int>(g.Edizione), c.number);
        EXPECT_EQ(int(g.ModoAM()) + int(g.ModoAB()) + int(g.ModoCD()) + int(g.ModoCQ()), 1);
        EXPECT_EQ(g.LetteraEdizione, QLatin1String(c.letter));
        EXPECT_EQ(g.dirs.DirQuiz, g.dirs.DirZiroDati);
        EXPECT_EQ(bank.loaded, QStringList{QLatin1String(c.bank)});
        EXPECT_EQ(TitoloGruppo(g, QStringLiteral("C")), QString::fromUtf8(c.titleC));
        EXPECT_EQ(TitoloGruppo(g, QStringLiteral("J")), QString::fromUtf8(c.titleJ));
    }
}

TEST(Edition, TitlesAndOutOfRange)
{
    Globals g;
    CambiaEdizione(g, 0, nullptr);  // no quiz window yet: nothing to load
    EXPECT_TRUE(TitoloGruppo(g, QStringLiteral("H")).isEmpty());  // AM has no group H
    EXPECT_TRUE(TitoloGruppo(g, QStringLiteral("K")).isEmpty());
    EXPECT_TRUE(TitoloGruppo(g, QStringLiteral("a")).isEmpty());
    EXPECT_TRUE(TitoloGruppo(g, QString()).isEmpty());

    CambiaEdizione(g, 2, nullptr);
    EXPECT_EQ(TitoloGruppo(g, QStringLiteral("F")), QStringLiteral("Periodi lavoro, cronotachigraf"));
    EXPECT_EQ(TitoloGruppo(g, QStringLiteral("F")).size(), 30);
    EXPECT_TRUE(TitoloGruppo(g, QStringLiteral("L")).isEmpty());  // only CQC has group L

    // The topic filter names CQC's tenth group by "L".
    CambiaEdizione(g, 3, nullptr);
    EXPECT_FALSE(TitoloGruppo(g, QStringLiteral("L")).isEmpty());
    EXPECT_EQ(TitoloGruppo(g, QStringLiteral("L")), g.TitoliGruppi[9]);

    for (int bad : {-1, 4, 99})
        EXPECT_FALSE(CambiaEdizione(g, bad, nullptr));
    EXPECT_TRUE(g.ModoCQ());
}

TEST(Edition, ContentFilesAndActivationOrder)
{
    Globals g;
    g.initFromProgram(QStringLiteral("/r/ziro/Program/ziro"));
    EXPECT_EQ(contentFilePath(g, TModoQuiz::mqAB), QStringLiteral("/r/ziro/Program/AAB2016.XML"));
    EXPECT_EQ(contentFilePath(g, TModoQuiz::mqCQ), QStringLiteral("/r/ziro/Program/ACQ2021.XML"));
    EXPECT_EQ(g.dirs.*editionInfo(TModoQuiz::mqCD).bookDir, QStringLiteral("/r/ziro/Book CDE/"));
    g.Edizione = TModoQuiz::mqCQ;
    EXPECT_EQ(activationEdition(g), std::optional<int>(3));
    g.Edizione = TModoQuiz::mqCustom;
    EXPECT_EQ(activationEdition(g), std::nullopt);
}
