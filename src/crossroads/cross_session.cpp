#include "crossroads/cross_session.h"

#include "base/globals.h"
#include "base/reports.h"
#include "platform/files/paths.h"

#include <QFileInfo>

#include <algorithm>

namespace ziro::cross {

namespace {

const QString kSearchContext = QStringLiteral("Ricerca incroci su DBCROSS");
const QString kFilmContext = QStringLiteral("Incroci animati");
const QString kPlayContext = QStringLiteral("incroci animati");

}  // namespace

CrossSession::CrossSession(const Globals& g, Reports& reports, CrossPlayer& player, CrossView& view)
    : m_g(g), m_reports(reports), m_player(player), m_view(view)
{
}

int CrossSession::frames() const
{
    return m_player.loaded() ? m_player.frameCount() : 0;
}

int CrossSession::b1() const
{
    return m_record && m_record->bounds[1] ? *m_record->bounds[1] : 0;
}

bool CrossSession::load(const QString& number)
{
    close();
    const CrossTable table(resolveFile(m_g.dirs.DirProgram, QStringLiteral("kx_cross.cds")));
    const QString shown = renumbered(number);
    bool ok = false;
    const int asked = number.toInt(&ok);
    QString why;
    std::optional<CrossRecord> found;
    if (ok)
        found = table.find(asked, &why);
    // A table without a record of its own for a renumbered sign shows the
    // crossroads it stands for.
    int tableNumber = asked;
    if (!found && ok && shown != number) {
        QString again;
        found = table.find(shown.toInt(), &again);
        tableNumber = shown.toInt();
    }
    if (!found) {
        if (!why.isEmpty())
            m_reports.Emsg(ReportKind::LogOnly, kSearchContext, why);
        m_reports.Emsg(ReportKind::Message, kSearchContext,
                       QString::fromUtf8("Non è possibile localizzare il n. ") + number);
        return false;
    }
    m_record = found;
    m_tableNumber = tableNumber;
    m_number = shown;
    // The rules follow the crossroads shown, not the sign that led to it.
    m_record->number = shown.toInt();
    m_emergency = emergencyState(m_number);
    m_areasChanged = false;

    const QString folder = m_g.dirs.DirVideoCross;
    const QString base = filmBaseName(m_number);
    const QString masked = resolveFile(folder, base + QStringLiteral(".KXA"));
    const QString plain = resolveFile(folder, base + QStringLiteral(".AVI"));
    m_filmPath.clear();
    if (QFileInfo::exists(masked))
        m_filmPath = masked;
    else if (QFileInfo::exists(plain))
        m_filmPath = plain;
    else
        m_reports.Emsg(ReportKind::MissingFile, kFilmContext, plain);
    if (!m_filmPath.isEmpty()) {
        QString error;
        if (!m_player.open(m_filmPath, &error)) {
            m_reports.Emsg(ReportKind::LogOnly, kFilmContext, error);
            m_reports.Emsg(ReportKind::Message, QStringLiteral("Errore incroci animati:\rApertura Mediaplayer fallita."),
                           QString());
        }
    }
    m_view.recordChanged();
    reset();
    // The first frame of the correct passage, still.
    if (m_player.loaded())
        m_player.showFrame(clampFrame(vehicles() + 1, frames()));
    return true;
}

void CrossSession::close()
{
    if (m_record && m_areasChanged)
        writeAreas();
    m_areasChanged = false;
    m_player.close();
    m_record.reset();
    m_number.clear();
    m_filmPath.clear();
    m_emergency = 0;
    m_prg = 0;
    m_seqIn.fill(QChar());
    m_clrIn.fill(QChar());
    m_entered.fill(false);
    m_setSeq = 1;
    m_vPass = 0;
    m_waiting = true;
    m_demo = false;
    m_lastEnd = 0;
}

void CrossSession::writeAreas()
{
    const CrossTable table(resolveFile(m_g.dirs.DirProgram, QStringLiteral("kx_cross.cds")));
    QString error;
    if (!table.saveAreas(m_tableNumber, m_record->areas, &error)) {
        m_reports.Emsg(ReportKind::LogOnly, kSearchContext, error);
        m_reports.Emsg(ReportKind::FileIo, kSearchContext, table.path());
    }
}

bool CrossSession::switchEmergency()
{
    const std::optional<QString> other = emergencySwitched(m_number);
    if (!other) {
        m_emergency = 0;
        return false;
    }
    return load(*other);
}

QString CrossSession::entered() const
{
    QString r;
    for (int s = 1; s < m_setSeq && s <= kVehicles; ++s)
        r += m_seqIn[s];
    return r.trimmed().toUpper();
}

int CrossSession::expectedEntries() const
{
    const int n = vehicles();
    return m_record && allowsRepeat(m_record->number) && m_vPass == 0 ? n : n + 1;
}

void CrossSession::computeVPass()
{
    const QString r = entered();
    const auto begins = [&r](const QString& order) { return !order.isEmpty() && order.left(r.size()) == r && r.size() <= order.size(); };
    m_vPass = begins(m_record->sequence) ? 1 : 0;
    if (m_vPass == 0 && m_record->number == 641) {
        for (int i = 0; i < 3; ++i) {
            if (begins(m_record->alternatives[i])) {
                m_vPass = i + 2;
                break;
            }
        }
    }
}

bool CrossSession::mayEnter(int k) const
{
    const int n = vehicles();
    // Five slots at most, whatever the re-entry rules would allow.
    if (k < 1 || k > n || m_setSeq > kVehicles)
        return false;
    const int num = m_record->number;
    const int s = m_setSeq;
    const int v = m_vPass;
    bool again = false;
    switch (k) {
    case 1:
        again = ((num == 638 || num == 653) && s == 5 && v > 0) || (num == 641 && s == 5 && v == 1) ||
                (num == 617 && s == 4 && v > 0);
        break;
    case 2:
        again = (num == 641 && s == 5 && v == 2) || (num == 642 && s == 5 && v > 0);
        break;
    case 3:
        again = num == 641 && s == 5 && v == 4;
        break;
    case 4:
        again = num == 641 && s == 5 && v == 3;
        break;
    default:
        break;
    }
    return (!m_entered[k] && m_waiting) || again;
}

bool CrossSession::enter(int k)
{
    if (!mayEnter(k)) {
        m_view.beep();
        return false;
    }
    m_seqIn[m_setSeq] = m_record->letter(k);
    m_clrIn[m_setSeq] = m_record->colour(k);
    ++m_setSeq;
    m_entered[k] = true;
    showEntry();
    return true;
}

void CrossSession::showEntry()
{
    const int s = m_setSeq - 1;
    m_view.showSlot(s, m_seqIn[s], m_clrIn[s], false);
    computeVPass();
    if (isSingleAnswer(m_record->number))
        evaluate();
}

void CrossSession::clickHotSpot(int k)
{
    if (!m_record || m_demo)
        return;
    if (m_prg == 9) {
        m_prg = 0;
        m_player.showFrame(0);
        return;
    }
    if (m_prg != 0)
        return;
    if (!m_waiting) {
        toggleAtResult();
        return;
    }
    enter(k);
}

void CrossSession::letterKey(QChar key)
{
    if (!m_record)
        return;
    const QChar up = key.toUpper();
    const int first = int(m_record->sequence.indexOf(up));
    if (first < 0)
        return;
    for (int k = 1; k <= vehicles(); ++k)
        if (m_record->letter(k) == up)
            clickHotSpot(first + 1);
}

void CrossSession::toggleAtResult()
{
    if (m_player.playing())
        m_player.pause();
    else
        m_player.resume(m_lastEnd);
}

void CrossSession::fillEmergencyOrder()
{
    QString letters;
    if (m_record->number == 6190)
        letters = QStringLiteral("ASM");
    else if (m_record->number == 6450)
        letters = QStringLiteral("AFHN");
    for (const QChar c : letters) {
        if (m_setSeq > kVehicles)
            break;
        const int k = int(m_record->sequence.indexOf(c)) + 1;
        m_seqIn[m_setSeq] = c;
        m_clrIn[m_setSeq] = m_record->colour(k);
        if (k >= 1)
            m_entered[k] = true;
        ++m_setSeq;
        m_view.showSlot(m_setSeq - 1, c, m_clrIn[m_setSeq - 1], false);
    }
    if (!letters.isEmpty())
        computeVPass();
}

Verdict CrossSession::check() const
{
    if (!m_record || m_setSeq != expectedEntries())
        return Verdict::Wrong;
    const int num = m_record->number;
    const QString r = entered().left(vehicles());
    Verdict c = Verdict::Wrong;
    if (r == m_record->sequence) {
        c = Verdict::Correct;
    } else {
        for (const QString& alt : m_record->alternatives) {
            if (!alt.isEmpty() && r == alt) {
                c = alternativeIsOwnResult(num) ? Verdict::Alternative : Verdict::Correct;
                break;
            }
        }
    }
    // With the emergency vehicle in the scene its own order is the right
    // one; the usual order is wrong.
    if ((num == 6450 || num == 6190) && c == Verdict::Correct)
        c = Verdict::Wrong;
    return c;
}

void CrossSession::evaluate()
{
    if (!m_record)
        return;
    m_view.hideJump();
    if (m_emergency == 2 && m_setSeq == 1)
        fillEmergencyOrder();
    if (m_prg == 9) {
        m_prg = 0;
        m_player.showFrame(0);
        return;
    }
    const int pos = m_player.position();
    if (m_player.loaded() && pos > b1()) {
        toggleAtResult();
        return;
    }
    if (isSingleAnswer(m_record->number)) {
        singleAnswer();
        return;
    }
    const Verdict c = check();
    if (c != Verdict::Correct && m_setSeq == expectedEntries() && !m_player.playing()) {
        m_player.showFrame(0);
        playResult(c);
        return;
    }
    if (m_prg == 0 && (pos > vehicles() || !m_demo))
        displayCross();
}

bool CrossSession::playSegment(Segment s)
{
    if (!m_player.loaded()) {
        m_reports.Emsg(ReportKind::MissingFile, kPlayContext, m_filmPath);
        reset();
        return false;
    }
    const int L = frames();
    s.from = clampFrame(s.from, L);
    s.to = clampFrame(s.to, L);
    if (s.to < s.from) {
        m_reports.Emsg(ReportKind::MissingFile, kPlayContext,
                       QStringLiteral("%1 (%2-%3)").arg(m_filmPath).arg(s.from).arg(s.to));
        m_waiting = true;
        return false;
    }
    m_waiting = false;
    m_lastEnd = s.to;
    m_player.play(s.from, s.to);
    return true;
}

void CrossSession::playResult(Verdict c)
{
    const int num = m_record->number;
    if (c == Verdict::Wrong)
        for (int s = 1; s < m_setSeq && s <= kVehicles; ++s)
            m_view.showSlot(s, m_seqIn[s], m_clrIn[s], true);
    Segment segment{0, 0};
    if (!m_demo && m_setSeq == expectedEntries()) {
        QString r = entered();
        if (num == 641)
            r = r.left(vehicles() - 1);
        int match = 0;
        for (int i = 1; i <= kOrders; ++i)
            if (!m_record->orders[i].isEmpty() && m_record->orders[i] == r)
                match = i;
        if (match > 0) {
            const std::optional<Segment> s = wrongOrderSegment(*m_record, match);
            if (!s) {
                // The stretch has no end in the table: nothing to play.
                m_reports.Emsg(ReportKind::MissingFile, kPlayContext,
                               QStringLiteral("%1 (SErr%2)").arg(m_filmPath).arg(match));
                return;
            }
            segment = *s;
        }
    }
    if (c == Verdict::Alternative && m_emergency == 2) {
        if (num == 6190)
            segment = {888, 1124};
        else if (num == 6450)
            segment = {3879, 4125};
    }
    playSegment(segment);
}

void CrossSession::displayCross()
{
    const int n = vehicles();
    if (m_setSeq != 1 && m_setSeq != n + 1)
        return;
    if (!m_player.loaded()) {
        m_reports.Emsg(ReportKind::MissingFile, kPlayContext, m_filmPath);
        reset();
        return;
    }
    if (m_player.playing()) {
        m_waiting = false;
        m_player.pause();
        return;
    }
    // From a vehicle's frame the passage starts at its beginning; paused
    // inside it, it goes on from there.
    const int pos = m_player.position();
    playSegment({pos <= n ? n + 1 : pos, b1()});
}

void CrossSession::singleAnswer()
{
    const int n = vehicles();
    if (!m_player.loaded() || m_demo) {
        reset();
        return;
    }
    if (m_player.playing()) {
        m_player.pause();
        return;
    }
    if (m_player.position() > n + 1) {
        m_player.resume(m_lastEnd);
        return;
    }
    const QString s1 = m_record->orders[1];
    const QString s2 = m_record->alternatives[0];
    const QChar first = m_seqIn[1];
    Segment segment{n + 2, b1()};
    if (!s1.isEmpty() && !first.isNull() && s1[0] == first) {
        const std::optional<Segment> s = wrongOrderSegment(*m_record, 1);
        if (!s) {
            m_reports.Emsg(ReportKind::MissingFile, kPlayContext, QStringLiteral("%1 (SErr1)").arg(m_filmPath));
            return;
        }
        segment = *s;
        if (s2.isEmpty() || s2 == QLatin1String("ERR"))
            m_view.showSlot(1, first, m_clrIn[1], true);
    } else if (!first.isNull()) {
        m_view.showSlot(1, first, m_clrIn[1], s2 == QLatin1String("ERR"));
    }
    playSegment(segment);
}

void CrossSession::pressPicture()
{
    if (!m_record || m_prg != 0 || !m_waiting)
        return;
    if (m_vPass >= 1 && m_setSeq < expectedEntries() && m_setSeq > vehicles() - 1) {
        m_hint = true;
        m_view.showHint(true);
    }
}

void CrossSession::releasePicture()
{
    if (!m_hint)
        return;
    m_hint = false;
    m_view.showHint(false);
    m_player.showFrame(0);
}

void CrossSession::reset()
{
    m_waiting = true;
    m_demo = false;
    m_seqIn.fill(QChar());
    m_clrIn.fill(QChar());
    m_entered.fill(false);
    m_setSeq = 1;
    // A stale value would offer the hint with nothing entered.
    m_vPass = 0;
    m_hint = false;
    m_view.clearSlots();
    m_view.showHint(false);
    m_lastEnd = b1();
}

void CrossSession::userReset()
{
    if (m_player.loaded())
        m_player.showFrame(0);
    reset();
}

void CrossSession::segmentEnded()
{
    if (m_waiting)
        return;
    m_player.showFrame(0);
    reset();
}

void CrossSession::hoverHotSpot(int k)
{
    if (!m_record || !m_player.loaded() || m_prg != 0 || !m_waiting || m_demo)
        return;
    if (k < 0 || k > vehicles())
        k = 0;
    const int frame = clampFrame(k, frames());
    if (m_player.position() != frame)
        m_player.showFrame(frame);
}

void CrossSession::rightPressHotSpot(int k)
{
    if (!m_record || !m_player.loaded() || m_prg != 0 || !m_waiting || m_demo)
        return;
    if (k < 1 || k > vehicles())
        return;
    m_player.showFrame(stillFrame(k, vehicles(), frames()));
    m_prg = 9;
}

bool CrossSession::demonstrate()
{
    if (!m_record || m_demo)
        return false;
    const int n = vehicles();
    const int L = frames();
    if (isSingleAnswer(m_record->number)) {
        m_demo = true;
        const int steps[3][2] = {{L - n, 2000}, {L - n + 1, 2000}, {n + 1, 1000}};
        for (const auto& step : steps) {
            m_player.showFrame(clampFrame(step[0], L));
            m_view.wait(step[1]);
            if (!m_demo)
                return true;
        }
        reset();
        return true;
    }
    reset();
    m_demo = true;
    const std::array<int, kVehicles> order = m_record->demonstrationOrder();
    for (int i = 0; i < n; ++i) {
        enter(order[i]);
        m_player.showFrame(clampFrame(order[i], L));
        m_view.wait(1000);
        if (!m_demo)
            return true;
    }
    m_player.showFrame(clampFrame(n + 1, L));
    m_view.wait(1000);
    if (!m_demo)
        return true;
    evaluate();
    return true;
}

void CrossSession::setProgramming(int area)
{
    if (!m_g.ModoDebug || !m_record)
        return;
    if (area >= 1 && area <= kVehicles) {
        m_prg = area;
        m_view.setMainMenuEnabled(false);
        return;
    }
    if (m_prg >= 1 && m_prg <= kVehicles) {
        m_prg = 0;
        m_view.setMainMenuEnabled(true);
        m_view.showProgrammedArea({});
        m_reports.Debug(QStringLiteral("TVcross"), QStringLiteral("Modo: 0 (Utente) "));
    }
}

void CrossSession::programPress(Qt::MouseButton button, QPoint at)
{
    if (!m_record || m_prg < 1 || m_prg > kVehicles)
        return;
    static const char* const kModes[kVehicles] = {"Modo: Prog. area 1 [F1]", "Modo: Prog. area 2 [F2]",
                                                  "Modo: Prog. area3 [F3]", "Modo: Prog. area 4 [F4]",
                                                  "Modo: Prog. area 5 [F5]"};
    m_reports.Debug(QStringLiteral("TVcross"), QString::fromLatin1(kModes[m_prg - 1]));
    QRect& area = m_record->areas[m_prg - 1];
    if (button == Qt::LeftButton) {
        area = QRect(at, QSize(1, 1));
    } else if (button == Qt::RightButton) {
        // A corner above or left of the anchor still gives a positive size.
        const int x0 = std::min(area.left(), at.x());
        const int y0 = std::min(area.top(), at.y());
        const int x1 = std::max(area.left(), at.x());
        const int y1 = std::max(area.top(), at.y());
        area = QRect(x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0));
    } else {
        return;
    }
    m_areasChanged = true;
    m_view.showProgrammedArea(area);
    m_view.recordChanged();
}

}  // namespace ziro::cross
