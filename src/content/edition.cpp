#include "content/edition.h"

namespace ziro {

namespace {

const std::array<EditionInfo, 4> kEditions = {{
    {TModoQuiz::mqAM, "C", "AAM2015.XML", "CQM2015.XML", &Folders::DirBookAM, "Quiz AM 2014",
     {"I veicoli", "La strada", "Segnaletica stradale", "Equipaggiamento dei veicoli",
      "Norme di comportamento", "Documenti", "Incidenti e assicurazione", "",
      "Sicurezza e inquinamento", "Consigli vari"}},
    {TModoQuiz::mqAB, "N", "AAB2016.XML", "NQM2016.XML", &Folders::DirBook, "Quiz AB 2016",
     {"I veicoli", "La strada", "Segnaletica stradale", "Equipaggiamento dei veicoli",
      "Norme di comportamento", "Documenti", "Incidenti e assicurazione", "Primo soccorso",
      "Sicurezza e inquinamento", "L'autoveicolo e le sue parti"}},
    {TModoQuiz::mqCD, "A", "ACD2014.XML", "SQM2014.XML", &Folders::DirBookCDE, "Quiz CDE 2014",
     {"Veicoli e carico", "Sistemi di aggancio/frenatura", "Norme di comportamento",
      "Segnaletica stradale", "Equipaggiamento, uso veicoli", "Periodi lavoro, cronotachigraf",
      "L'autoveicolo e le sue parti", "Manutenzione veicoli e guasti",
      "Responsabilità del conducente", ""}},
    {TModoQuiz::mqCQ, "Q", "ACQ2021.XML", "QQM2021.XML", &Folders::DirBookCQC, "Quiz CQC 2015",
     {"Strada e dinamiche del veicolo", "Freni e rallentatori", "Motore e manutenzione",
      "Lavoro e azienda", "Infortuni e prevenzione", "Primo soccorso e R.C.A.",
      "Veicoli, merci e carico", "Gestione autotrasporto", "Veicoli e infrastrutture",
      "Autotrasporto persone"}},
}};

}  // namespace

const EditionInfo* editionInfo(int number)
{
    if (number < 0 || number > 3)
        return nullptr;
    return &kEditions[static_cast<size_t>(number)];
}

const EditionInfo& editionInfo(TModoQuiz edition)
{
    const EditionInfo* info = editionInfo(static_cast<int>(edition));
    return info ? *info : kEditions[static_cast<size_t>(TModoQuiz::mqAB)];
}

bool CambiaEdizione(Globals& g, int number, QuestionBankLoader* bank)
{
    const EditionInfo* info = editionInfo(number);
    if (!info)
        return false;
    g.dirs.DirQuiz = g.dirs.DirZiroDati;
    g.Edizione = info->edition;
    g.LetteraEdizione = QString::fromLatin1(info->lettera);
    for (size_t i = 0; i < g.TitoliGruppi.size(); ++i)
        g.TitoliGruppi[i] = QString::fromUtf8(info->titles[i]).left(30);
    if (bank)
        bank->loadQuestionBank(*info);
    return true;
}

bool switchEdition(Globals& g, EditionPort& port, TModoQuiz edition, QString* error)
{
    if (!editionInfo(static_cast<int>(edition)) || !port.openEditionTable(edition, error))
        return false;
    g.Custom = false;
    CambiaEdizione(g, static_cast<int>(edition), port.bankLoader());
    port.rebuildTopicLists();
    return true;
}

QString TitoloGruppo(const Globals& g, const QString& letter)
{
    if (letter.size() != 1)
        return {};
    const char16_t c = letter.at(0).unicode();
    // CQC's tenth group is "L", and its topics are filtered under that letter.
    if (c == u'L' && g.ModoCQ())
        return g.TitoliGruppi[9];
    if (c < u'A' || c > u'J')
        return {};
    return g.TitoliGruppi[static_cast<size_t>(c - u'A')];
}

QString contentFilePath(const Globals& g, TModoQuiz edition)
{
    return g.dirs.DirProgram + QLatin1String(editionInfo(edition).contentFile);
}

std::optional<int> activationEdition(const Globals& g)
{
    for (TModoQuiz e : {TModoQuiz::mqCD, TModoQuiz::mqCQ, TModoQuiz::mqAM, TModoQuiz::mqAB})
        if (g.Edizione == e)
            return static_cast<int>(e);
    return std::nullopt;
}

}  // namespace ziro
