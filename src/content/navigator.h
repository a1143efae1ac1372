#pragma once

// The walk through a topic of the content table: the topic range, the check
// of each record that becomes current (record flags, media buttons, records
// the view mode skips), the forward and back steps with every viewer they
// hand over to, the photo-only walk, jumps and side trips.
//
// Navigator is plain logic. It moves `Table1`, sets the record flags of the
// globals and drives the windows through ViewerPorts, MainViewPort and
// SignAreaPort; the main window owns one and calls it from its buttons and
// keys. The main window's own fields the walk sets (end marks, current
// topic, jump counter) live in NavFields, which the main window reads.

#include "content/ports.h"
#include "platform/dataset/data_table.h"

#include <QString>


namespace ziro {

struct Config;
struct Globals;
class EditionPort;
class Reports;

// Fields of the main window that the walk reads and sets.
struct NavFields {
    bool BloccoAvanti = false;    // the end was reported; forward only beeps
    bool BloccoIndietro = false;  // the start was reported; back only beeps
    QString SottoArgCorr;         // current topic code, or the filter's start
    int NumeroJmp = 1;            // random jumps, 1 to 10
    bool Sblocco = false;         // the activation has completed
};

// What the walk needs from the machine and from the lesson list. The
// defaults beep nowhere, do not wait, draw from the process-wide generator,
// ask the file system and have no custom lesson to leave.
class WalkServices {
public:
    virtual ~WalkServices() = default;
    virtual void beep() {}
    // The busy wait that lets window events through.
    virtual void wait(double seconds) { Q_UNUSED(seconds); }
    // A uniform integer in [0, bound).
    virtual int random(int bound);
    virtual bool fileExists(const QString& path) const;
    // Leaves the custom lesson for the edition table it came from.
    virtual void closeCustomLesson() {}
};

// The topic filter and the record walk of the main window's content table.
class Navigator {
public:
    Navigator(Globals& globals, const Config& config, Reports& reporter, DataTable& table,
              ViewerPorts& viewers, MainViewPort& mainView, SignAreaPort& signArea,
              WalkServices& services);

    NavFields& fields() { return m_f; }
    const NavFields& fields() const { return m_f; }

    // Restricts the table to the topics FiltroDa..FiltroA (both whole),
    // ordered by topic and record. "Default" takes the start-up range of the
    // configuration; "OFF" removes the range. With Conteggio the total
    // counts the records with a quiz block.
    void FiltraDB(const QString& FiltroDa, const QString& FiltroA, bool Conteggio);
    // NmrRcrd 0: records of the range with a quiz block; otherwise the
    // records whose NumRec differs from NmrRcrd. The cursor does not move.
    int ContaDomande(int NmrRcrd);
    // Checks the record that has just become current after a move in
    // Direzione (-1 back, 1 forward, 0 none): reports an end and returns
    // false there; otherwise moves on past records the view skips, sets the
    // record flags and the media buttons and returns true.
    bool ControllaDb(int Direzione);
    // Moves in Direzione to the nearest record the walk shows. At an end of
    // the range the end is reported, the cursor goes back to the record on
    // show and the result is false.
    bool CercaContiguo(const QString& Campo, int Direzione);
    // True when Campo is empty in every record of the range.
    bool VeroSeVuoto(const QString& Campo);
    // Jumps to the record whose Campo is Recrd (or, when none is, the first
    // that begins with it). 1: a record was reached, or Campo is "Foto1" and
    // the photograph was shown alone (or reported missing); 2: no record, but
    // the sign picture exists; 0: nothing (reported). Azione shows the
    // record reached (Avvio).
    int SpostaSuRecord(const QString& Campo, const QString& Recrd, bool Azione);
    // Photo-only walk: -1 previous record, 0 this one, 1 next record.
    void ProssimaFoto(int Direzione);
    void JmpRandom();
    // Shows the current record after a topic choice or a jump.
    void Avvio(int DirezDb);
    void SWavanti();
    void SWindietro();
    // Starts a side trip to another topic range, keeping the way back in
    // MdTemp (a pending way back is kept, not replaced).
    void AttivaModoTemp(const QString& CodeFilterIN, const QString& CodeFilterOUT, bool Count);
    // Takes the way back recorded in MdTemp: the edition (switched through
    // `editions` when the trip left it), the topic, the record and the walk's
    // counters. A way back that cannot be taken is dropped, so that the next
    // press of the menu key opens the menu instead of failing again; the
    // result is then false and the lesson stays where it is.
    bool returnFromSideTrip(EditionPort& editions);
    // Whether the next (1) or previous (-1) record has a sign or a selected
    // quiz block; the cursor does not move.
    bool VicinoUtile(int direzione) const;

    // Sign numbers 599-620, 631-669 and 679-686 are crossroads scenes. A
    // name that is not a plain number is none of them.
    static bool isSpecialSign(const QString& name);

    // Where a side trip leaves a custom lesson, once the lesson list exists;
    // until then the walk's services do.
    void setCustomLessonExit(WalkServices* exit) { m_customExit = exit; }

private:
    QString text(const QString& field) const;
    QString spare() const { return text(QStringLiteral("Spare")); }
    void beep();
    void debug(const QString& contesto, const QString& stringa);
    void showSign();
    bool skipRecord(const QString& Campo) const;
    bool seekShown(const QString& Campo, int Direzione);
    bool search(const QString& Campo, int Direzione, bool soloFotoBefore);
    void backToShown(const QString& Campo, int step, const Bookmark& start);
    bool closeQuizAfterMove() const;
    bool onLastPhoto() const;
    bool onFirstPhoto() const;
    void jumpBy(int distance);

    void avvio(int DirezDb);
    void step(int dir);
    // The viewers' part of a step in an edition table; false when it is a
    // step from record to record.
    bool viewerStep(int dir);
    void recordStepForward();
    void recordStepBack();
    // What a record step shows once the cursor has moved, and how it ends.
    void showMovedRecord();
    void finishRecordStep(bool endHit);
    void customStep(int dir);

    Globals& m_g;
    const Config& m_cfg;
    Reports& m_reporter;
    DataTable& Table1;
    ViewerPorts& m_viewers;
    MainViewPort& m_main;
    SignAreaPort& m_sign;
    WalkServices& m_services;
    WalkServices* m_customExit = nullptr;
    NavFields m_f;
    // The record whose flags are current: where a search that meets an end
    // takes the cursor back to.
    Bookmark m_shown;
};

}  // namespace ziro
