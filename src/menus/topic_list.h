#pragma once

#include "base/globals.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace ziro {

// One line of a topic list file. The fields sit in fixed places: the title
// in the first 40 characters, the marked fields ("#" film, "%" group code,
// "$" HTML page) after it, the topic code in the last five characters.
struct TopicLine {
    QString text;     // the whole line as read
    QString display;  // the line without its last five characters
    QString title;    // characters 1 to 40, untrimmed
    QString film;     // after "#", trimmed; empty = no film
    QString group;    // after "%", trimmed
    QString html;     // after "$", trimmed
    QString code;     // the last five characters, trimmed

    // A row without a topic code cannot be chosen: an empty code would select
    // every topic.
    bool selectable() const { return !code.isEmpty(); }
};

// Cuts one line (without its line break). A line shorter than five
// characters has no code and no fields. Markers are searched only before the
// code, each at its last occurrence, so that a title holding "#", "%" or "$"
// does not displace the fields that follow it.
TopicLine parseTopicLine(const QString& line);

// The topic lists as the main window's topic pop-up offers them: built from
// every group file of an edition, read again by the sub-topic banner. An
// item's `hint` is what the pop-up handler acts on: a chapter letter, a
// topic code, or "ICONE".
struct TopicMenuItem {
    QString caption;
    QString hint;
};

struct TopicSubmenu {
    QString caption;  // the chapter title
    std::vector<TopicMenuItem> items;  // "Intero argomento" first
};

struct TopicPopup {
    std::vector<TopicSubmenu> submenus;  // one per chapter, in order
    TopicMenuItem last;                  // "Menu ICONE..."
};

// Decodes a whole file (Windows-1252 unless valid UTF-8) and cuts it into
// one row per line; CR LF, LF and CR all end a line, and a break at the end
// of the file does not start another row.
std::vector<TopicLine> parseTopicList(QByteArrayView bytes);

// The letter of topic group `index` (0 to 9): "A" to "J", except that the
// tenth group of edition CQC is "L". Empty for any other index.
QString topicGroupLetter(TModoQuiz edition, int index);

// "NA0.TXT" for edition letter "N" and group "A".
QString topicListFileName(const QString& editionLetter, const QString& groupLetter);

// The group's file in `dirProgram`, found ignoring letter case; the built
// path when no such file exists.
QString topicListPath(const QString& dirProgram, const QString& editionLetter,
                      const QString& groupLetter);
// The same for the current edition of `g`.
QString topicListPath(const Globals& g, const QString& groupLetter);

// The rows of the file at `path`; nullopt when it cannot be read.
std::optional<std::vector<TopicLine>> loadTopicList(const QString& path);

}  // namespace ziro
