#include "quiz/quiz_bank.h"

#include "base/reports.h"
#include "config/settings.h"
#include "platform/dataset/data_table.h"
#include "platform/files/paths.h"

#include <optional>

namespace ziro {

namespace {

const QString kNotLoaded = QStringLiteral("ERRORE: Database dei quesiti non caricato.");
const QString kNotActive = QStringLiteral("CdsQuesiti non attivo");

// The edition a custom lesson's type asks for; none for any other type,
// which leaves the edition as it is.
std::optional<int> editionOfLessonType(int tipo)
{
    switch (tipo) {
    case 4:
        return 0;
    case 0:
        return 1;
    case 5:
        return 2;
    case 6:
        return 3;
    default:
        return std::nullopt;
    }
}

}  // namespace

QuizBank::QuizBank(Globals& g, const Config& config, Reports& reports, QuizRandom& random)
    : m_g(g), m_config(config), m_reports(reports), m_random(random)
{
}

void QuizBank::setPort(QuizListPort* port)
{
    m_port = port ? port : &m_nullPort;
}

void QuizBank::loadQuestionBank(const EditionInfo& edition)
{
    CaricaBancaQuesiti(static_cast<int>(edition.edition));
}

void QuizBank::CaricaBancaQuesiti(int n)
{
    const EditionInfo* edition = editionInfo(n);
    if (!edition)
        return;
    m_bank.close();
    // The list on show came from the bank just closed: a block reopened now
    // must be read again, not kept.
    m_list.TmpNomeFile.clear();
    m_reference.clear();
    m_cappedBlocks.clear();
    const QString path = resolveFile(m_g.dirs.DirProgram, QLatin1String(edition->bankFile));
    QString error;
    if (!m_bank.open(path, &error)) {
        m_reports.Emsg(ReportKind::LogOnly, QLatin1String(edition->bankContext), error);
        m_reports.Emsg(ReportKind::Message, QLatin1String(edition->bankContext), kNotLoaded);
    }
}

void QuizBank::startList()
{
    m_list.AssociatoDomanda.clear();
    m_list.TmpNomeFile.clear();
    m_reference.clear();
    m_port->ResettaSelezione(0);
    m_list.clearPositions();
}

void QuizBank::orderInto(const std::vector<QuizStatement>& sources, bool keepOrder)
{
    const bool shuffle = m_config.CBmischia;
    const int count = m_list.NumAff;
    for (int p = 1; p <= count; ++p) {
        int s = shuffle     ? GeneratoreRND(p, count, m_list.GiaUsciti, m_random)
                : keepOrder ? p
                            : GeneratorePseudoRnd(p, count);
        if (s < 1 || s > int(sources.size())) {
            if (!shuffle && !keepOrder)
                m_port->showMessage(pseudoRndFailure(p, count));
            s = p;
        }
        m_list.at(p) = sources[static_cast<std::size_t>(s - 1)];
    }
    m_list.SegnaleCorrente = count > 0 ? m_list.at(1).IntegratoAffermazione : QString();
}

bool QuizBank::LeggiNewQuiz(const QString& reference)
{
    const QString key = reference.right(m_g.ModoCD() ? 7 : 5);
    startList();
    if (!m_bank.isOpen()) {
        m_port->showMessage(kNotActive);
        m_port->VediInfo();
        return false;
    }
    const BankBlock rows = m_bank.block(key);
    int count = rows.count;
    if (count > kMaxStatements) {
        if (!m_cappedBlocks.contains(key)) {
            m_cappedBlocks.insert(key);
            m_reports.Emsg(ReportKind::Message, QStringLiteral("Blocco quiz ") + key,
                           QStringLiteral("%1 affermazioni: mostrate solo le prime %2").arg(count).arg(kMaxStatements));
        }
        count = kMaxStatements;
    }
    m_list.NumAff = count;
    m_port->numberGrid(count);

    std::vector<QuizStatement> sources(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (!m_bank.readStatement(rows.first + i, &sources[static_cast<std::size_t>(i)])) {
            // No half-read block may stay on show.
            m_list.clearPositions();
            m_port->numberGrid(0);
            m_port->VediInfo();
            return false;
        }
    }
    if (m_port->controlHeld())
        m_port->showMessage(diagnosticText(key, count, m_list.SegnaleCorrente, sources));
    orderInto(sources, false);
    m_list.TmpNomeFile = reference;
    m_reference = reference;
    m_port->VediInfo();
    return true;
}

bool QuizBank::LeggiCustomQuiz(DataTable& lesson)
{
    if (lesson.findField(QStringLiteral("Tipo"))) {
        if (const std::optional<int> edition = editionOfLessonType(lesson.fieldInt(QStringLiteral("Tipo"))))
            CambiaEdizione(m_g, *edition, this);
    }
    // Older lessons have fifty reference fields, and their references lack
    // the two leading blanks of the block key.
    const bool older = !lesson.findField(QStringLiteral("Quesito51"));
    const int fieldCount = older ? 50 : kMaxStatements;
    std::vector<QString> references(static_cast<std::size_t>(fieldCount));
    int count = 0;
    for (int k = 1; k <= fieldCount; ++k) {
        QString reference = lesson.fieldText(QStringLiteral("Quesito%1").arg(k));
        if (older && reference.size() == 14)
            reference.prepend(QStringLiteral("  "));
        // A position whose reference is missing stays empty but counted, so
        // the lesson's numbering holds.
        if (reference.size() > 13)
            count = k;
        references[static_cast<std::size_t>(k - 1)] = reference;
    }

    startList();
    if (!m_bank.isOpen()) {
        m_port->VediInfo();
        return false;
    }
    m_list.NumAff = count;
    m_port->numberGrid(count);
    std::vector<QuizStatement> sources(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        const QString& reference = references[static_cast<std::size_t>(k - 1)];
        if (reference.size() <= 15)
            continue;
        const int record = m_bank.find(reference.left(7).trimmed(), reference.mid(8, 4));
        QuizStatement statement;
        if (record > 0 && m_bank.readStatement(record, &statement))
            sources[static_cast<std::size_t>(k - 1)] = statement;
    }
    orderInto(sources, true);
    m_port->VediInfo();
    return count > 0;
}

bool QuizBank::storeCaption(const QString& text, int position)
{
    const QString block = m_list.at(position).Blocco;
    std::vector<std::pair<int, QString>> captions;
    if (position == 1) {
        // The first statement's caption becomes the block's: it fills the
        // statements of the same block that have none. A custom lesson mixes
        // blocks, and another block's captions are not this one's to fill.
        for (int i = 1; i <= m_list.NumAff; ++i) {
            const QuizStatement& s = m_list.at(i);
            if (s.isEmpty() || s.Blocco != block)
                continue;
            const int record = m_bank.find(block, s.NumRec);
            if (record > 0 && (i == 1 || m_bank.caption(record).trimmed().isEmpty()))
                captions.emplace_back(record, text);
        }
    } else if (const int record = m_bank.find(block, m_list.at(position).NumRec); record > 0) {
        captions.emplace_back(record, text);
    }
    if (captions.empty() || captions.front().first != m_bank.find(block, m_list.at(position).NumRec))
        return false;
    QString error;
    bool writeFailed = false;
    if (!m_bank.setCaptions(captions, &error, &writeFailed)) {
        if (writeFailed)
            m_reports.Emsg(ReportKind::FileIo, error, m_bank.fileName());
        return false;
    }
    return true;
}

bool QuizBank::updateCaption(const QString& text, int position, DataTable* lesson)
{
    if (!m_config.EditTitoloBlocco || position < 1 || position > m_list.NumAff)
        return false;
    bool numeric = false;
    const int id = m_list.at(position).NumRec.trimmed().toInt(&numeric);
    if (!numeric || id == 0 || (!lesson && m_reference.isEmpty()))
        return false;
    if (!storeCaption(text, position)) {
        m_port->beep();
        return false;
    }
    const QString reference = m_reference;
    if (!(lesson ? LeggiCustomQuiz(*lesson) : LeggiNewQuiz(reference))) {
        m_port->beep();
        return false;
    }
    return true;
}

}  // namespace ziro
