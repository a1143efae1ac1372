#pragma once

// Capturing the presentation into a resume mark and applying a pending
// mark: the plan (planApply) decides, this thin executor carries it out
// through the main window, the quiz and the photo viewer.

#include "authoring/accesses.h"

namespace ziro {

class CustomLessons;
class DataTable;
class EditionPort;
class Reports;
struct Globals;

// The windows a mark is taken from and given back to. The defaults show
// nothing and report nothing open.
class ResumePort {
public:
    virtual ~ResumePort() = default;
    virtual void beep() {}
    // Book, films, crossroads and HTML page.
    virtual void closeSideViews() {}
    virtual void filter(const QString& da, const QString& a) { Q_UNUSED(da); Q_UNUSED(a); }
    // Clears the sign area and shows the current record as the walk does.
    virtual void showRecord() {}
    // Statements of the current record's block, 0 when unknown.
    virtual int statementCount() const { return 0; }
    virtual bool photoViewerOpen() const { return false; }
    virtual void openPhotoViewer(int photo) { Q_UNUSED(photo); }
    virtual void closePhotoViewer() {}
    virtual bool quizVisible() const { return false; }
    // The statement on show in the quiz.
    virtual int currentStatement() const { return 0; }
    virtual void loadQuizAt(const QString& domanda, int statement) { Q_UNUSED(domanda); Q_UNUSED(statement); }
    virtual void closeQuiz() {}
    virtual void showSign() {}
    virtual void showGeneralMenu() {}
};

// The state on show as a mark (Status clear). Nothing is closed or changed.
TMdTemp captureMark(const Globals& g, const DataTable& table, const ResumePort& port);

// Applies g.MdTemp. True when the mark was shown; otherwise the mark is
// dropped, the quiz closed and the general menu shown. A custom-lesson mark
// opens its lesson through `lessons`; another one its edition's table.
bool applyPendingMark(Globals& g, Reports& reports, DataTable& table, EditionPort& editions,
                      CustomLessons& lessons, ResumePort& port);

}  // namespace ziro
