#pragma once

// The lesson list's actions apart from its window: which lesson is current,
// which buttons work, and what New, Copy, Edit, Rename, Delete, Ok and
// Close do to the lesson folder, the main window's table and custom-lesson
// mode. The main window's table is never left closed: whatever fails, it
// holds the lesson or the edition file it held before.

#include "authoring/lesson_store.h"

#include <QString>

#include <vector>

namespace ziro {

class DataTable;
class EditionPort;
class Reports;
struct Globals;

// What the list needs beyond the table: the walk, the general menu, the
// name question and the lesson editor. The defaults do nothing visible and
// answer that nothing could be done.
class CustomLessonPort {
public:
    virtual ~CustomLessonPort() = default;
    // The one-line name question; empty when cancelled.
    virtual QString askName(const QString& title, const QString& prompt, const QString& initial)
    {
        Q_UNUSED(title);
        Q_UNUSED(prompt);
        Q_UNUSED(initial);
        return {};
    }
    virtual void beep() {}
    // The topic filter off ("OFF"), no key range.
    virtual void filterOff() {}
    // The general menu's custom-lesson look and the main window's progress
    // bar, on entering or leaving custom-lesson mode.
    virtual void showCustomMode(bool on) { Q_UNUSED(on); }
    virtual void closeGeneralMenu() {}
    // Shows the first step of the table.
    virtual void startPresentation() {}
    // The lesson editor on this lesson file; false while there is none.
    // A copy keeps the draft's name until the editor closes, so its name
    // cannot be chosen or dropped on meanwhile (`copy`).
    virtual bool openEditor(const QString& path, bool copy)
    {
        Q_UNUSED(path);
        Q_UNUSED(copy);
        return false;
    }
};

class CustomLessons {
public:
    enum Action { Nuova = 1, Copia = 2, Modifica = 4, Rinomina = 8, Cancella = 16, Ok = 32, Chiudi = 64 };

    CustomLessons(Globals& g, Reports& reports, DataTable& table1, EditionPort& editions, CustomLessonPort& port);

    // Rewrites the template and makes "Nuova lezione" current (at start).
    void createTemplate();

    // The list window comes up: the list is read again and the current
    // lesson kept when it is still there.
    void refresh();
    const std::vector<LessonEntry>& entries() const { return m_entries; }
    // -1 when the current lesson is the draft name (none chosen).
    int currentRow() const;
    void select(int row);
    int enabledActions() const;

    // Each answers whether the list window closes.
    bool ok();
    bool close();
    void nuova();
    void copia();
    void modifica();
    void rinomina();
    void cancella();

    // Leaves custom-lesson mode for the edition's own table (the side trips
    // and the general menu do this too). False, reported, when the edition
    // table cannot be opened; the lesson then stays on.
    bool leaveCustomMode();

    // Presents `path` in custom-lesson mode; the edition changes only when
    // custom-lesson mode was off. False (reported) when the lesson cannot
    // be opened or has no steps; the previous table is then back and the
    // mode unchanged.
    bool presentLesson(const QString& path);

private:
    // The main table is about to lose its file (rename, delete): it goes
    // back to the edition's own table first.
    bool releaseLesson(const QString& path);
    void setCurrent(const LessonEntry* entry);
    Folders& dirs();

    Globals& m_g;
    Reports& m_reports;
    DataTable& m_table;
    EditionPort& m_editions;
    CustomLessonPort& m_port;
    std::vector<LessonEntry> m_entries;
    QString m_currentPath;  // empty: the draft name
};

}  // namespace ziro
