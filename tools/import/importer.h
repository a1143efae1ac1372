#pragma once

// Adds a statement dataset (JSON: chapters -> sub-topics -> statements,
// each {"q": text, "a": true/false, "img": "/img_sign/550.png"}) to the
// A-B edition of an installation: the question bank, the sign pictures, the
// content table and the groups' topic lists. Chapters and sub-topics are
// numbered in the order of their names; a sub-topic is a block keyed
// chapter, sub-topic and part ("0103A", "0103B" past 70 statements) and a
// topic of the lessons with one record per block. The usable chapters fill
// the ten groups A to J in equal runs, in order; a group's imported topics
// are numbered from 50 (A50, A51, ...) after a blank row of its list. The
// school's own blocks, records and topic lines stay as they are; an earlier
// import's give way. Everything is read and checked before anything is
// written; every file replaced is kept first in a backup folder of its own
// run; a rerun on the same input writes nothing new.

#include <QString>
#include <QStringList>

namespace ziro::import {

inline constexpr int kBlockSize = 70;
inline constexpr qint64 kMaxJsonBytes = qint64(64) * 1024 * 1024;
inline constexpr int kMaxStatementLength = 1000;

struct Request {
    QString json;      // the dataset file
    QString root;      // the folder holding ziro/
    QString pictures;  // where "img" paths start; empty: the JSON's folder
};

struct Report {
    int chapters = 0;
    int blocks = 0;
    int topics = 0;       // sub-topics that became topics of the lessons
    int statements = 0;
    int pictures = 0;     // converted
    QStringList written;  // files replaced or created
    QStringList backups;
    QStringList notes;    // what was skipped, and why
};

QString importedKey(int chapter, int subTopic, int part);
bool isImportedKey(const QString& key);

// False, with the reason in `error` and nothing written, when the dataset
// or the installation cannot be used. A picture that stops converting
// while the files are written (it changed underneath) also fails, with
// what was written by then in the report.
bool importDataset(const Request& request, Report* report, QString* error);

}  // namespace ziro::import
