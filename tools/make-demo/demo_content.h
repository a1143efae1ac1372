#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace ziro {
class DataTable;
}

namespace ziro::demo {

// Writes the four edition content tables and the four question banks into
// the program folder. False (with a reason in `error`) when one cannot be
// written.
bool writeContentTables(const QString& programDir, QString* error);

// Writes the topic list files of the four editions (one per topic group),
// then reads them back against the content tables: run it after
// writeContentTables. False when a file cannot be written or when a row the
// general menu lets the teacher choose would find nothing to show.
bool writeTopicLists(const QString& programDir, QString* error);

// Writes the sign, linked-sign and icon pictures the tables name, into the
// data folders under `ziroDir`.
bool writeSignPictures(const QString& ziroDir, QString* error);

// Draws the photographs the records name and writes them into the data
// folders under `ziroDir`: masked ".KXB" bitmaps in "Foto" for numbers below
// 9000, a plain ".BMP" in "Utente/Foto" for the school's own, and the sound
// of the record that has one into the A-B book folder.
bool writePhotos(const QString& ziroDir, QString* error);
// The sign and vehicle menus' pictures (program folder) and the vehicles' photographs.
bool writeIconMenus(const QString& programDir, const QString& ziroDir, QString* error);

// A picture as a compact masked bitmap: 256 colours, run-length encoded,
// "KX" over the signature; drawn pictures are mostly flat colour, so this
// keeps each one small while the loader reads it like any other.
QByteArray maskedBytes(const QImage& image);

// 16-bit mono PCM samples at `rate` Hz as a RIFF wave file.
QByteArray monoWave(const QByteArray& pcm, int rate);

// Draws the course-book pages of the four editions into their book folders
// under `ziroDir` (masked ".KXB" pages 580 x 1,640, with a gap in each
// edition's numbering) and points the first records of each edition (in
// topic order) and the A-B record with page "012" at a section of a page
// (Libro, FreX, FreY), saving the tables in `programDir` again. Run it
// after writeContentTables.
bool writeBookPages(const QString& ziroDir, const QString& programDir, QString* error);

// Puts the photographs, their captions and arrows ("TxtF" records) and the
// record sound on A-B records: the sign records of some topics (run it after
// their records are in `t`) and the photo-only stretch of topic H01, which
// it appends.
bool addPhotoRecords(DataTable& t, QString* error);

// Reads the A-B table in `programDir` back and checks every photograph field
// against the files under `ziroDir` and every caption against the caption
// record's format. Run it after writeContentTables and writePhotos.
bool verifyPhotos(const QString& ziroDir, const QString& programDir, QString* error);

}  // namespace ziro::demo

namespace ziro::demo {

// Writes the films the records and the general menu's lists name into the
// film folder `videoDir`, masked as the data folders keep them: MPEG
// program streams as ".KXV", MP4 films as ".KXS". False when one cannot be
// made (the reason in `error`).
bool writeFilms(const QString& videoDir, QString* error);
// Writes the crossroads table into `programDir`, the crossroads animations
// (masked ".KXA") into `videoDir`, and A-B records of topic E01 that open
// them. Run it after writeContentTables.
bool writeCrossroads(const QString& videoDir, const QString& programDir, QString* error);

// Writes the HTML lesson pages (folders J10, J11 and G02 under "Html", with
// their pictures, sounds and thumbnails) and points A-B records at them in
// the table already written in `programDir`. Run it after verifyPhotos: the
// J10 record gets photographs of its own.
bool writeHtmlPages(const QString& ziroDir, const QString& programDir, QString* error);
// Writes the question banks of the four editions into the program folder:
// one block for every quiz block the content tables name (run it after
// writeContentTables), then reads them back. False when a bank cannot be
// written or a record would name a block it lacks.
bool writeQuestionBanks(const QString& programDir, QString* error);

// Reads the statements of the first A-B blocks aloud in Italian, French and
// German into "Audio" under `ziroDir` (espeak-ng, encoded to ".OGG" by
// ffmpeg), and writes the older quiz format's language lists into
// `programDir` with one masked ".KXS" question sound under `velariumDir`.
// Without espeak-ng only the lists are written, and stderr says so. Run it
// after writeQuestionBanks.
bool writeSpokenStatements(const QString& ziroDir, const QString& programDir, const QString& velariumDir,
                           QString* error);

// Writes the custom lessons of the generic access and of two teachers, and
// their accesses and resume marks into the settings file in `programDir`.
bool writeLessons(const QString& ziroDir, const QString& programDir, QString* error);

// A statement dataset in the importer's input shape (quiz.json and
// img_sign/*.png) in `folder`.
bool writeSampleDataset(const QString& folder, QString* error);

// The lesson editor's picture lists ("FOTO NUOVE.TXT", "SEGN EXTRA.TXT" in
// `programDir`) with their pictures, and photographs of the user's own.
bool writeEditorSources(const QString& ziroDir, const QString& programDir, QString* error);

}  // namespace ziro::demo
