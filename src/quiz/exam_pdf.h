#pragma once

// The mock exam on paper: the sheet the class answers on, and the answer
// key the teacher corrects with, as PDF files.

#include "quiz/exam.h"

#include <QByteArray>
#include <QString>

namespace ziro {

// The PDF of the exam sheet (each statement with boxes for V and F) or,
// with `answers`, of the answer key (each statement with its answer).
// Empty when the PDF could not be drawn.
QByteArray examPdf(const ExamDraw& draw, bool answers);

struct ExamPrintout {
    QString sheet;  // paths written
    QString key;
};

// Writes "Esame_<seed>.pdf" and "Esame_<seed>_soluzioni.pdf" into `folder`,
// each replaced whole or not at all. False, with the reason in Italian in
// `error`, when either could not be written.
bool printExam(const ExamDraw& draw, const QString& folder, ExamPrintout* written, QString* error);

}  // namespace ziro
