#pragma once

// Adds a statement dataset (JSON: chapters -> sub-topics -> statements,
// each {"q": text, "a": true/false, "img": "/img_sign/550.png"}) to the
// A-B question bank of an installation and its sign pictures. Chapters and
// sub-topics are numbered in the order of their names; a sub-topic is a
// block keyed chapter, sub-topic and part ("0103A", "0103B" past 70
// statements). The bank's other blocks stay as they are. Everything
// is read and checked before anything is written; every file replaced is
// kept first; a rerun on the same input writes nothing new.

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
