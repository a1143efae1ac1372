#pragma once

#include "base/globals.h"
#include "menus/topic_list.h"

#include <QString>

#include <functional>
#include <vector>

namespace ziro {

// One item of the lesson editor's topic combo.
struct TopicComboItem {
    enum class Kind { Heading, Topic, PhotoSelection };
    QString text;  // what the combo shows
    // What the item filters on: the chapter letter, the topic code, or empty
    // for the photo selection. Kept apart from the text because a cut text
    // no longer ends with its code.
    QString code;
    Kind kind = Kind::Topic;
};

struct TopicLists {
    std::vector<TopicComboItem> combo;  // ends with "SELEZIONE FOTO"
    TopicPopup popup;
};

// The chapter letters of an edition, in list order. A-B's chapter H is a
// heading without topics (see chapterHasTopics).
QStringList chapterLetters(TModoQuiz edition);
bool chapterHasTopics(TModoQuiz edition, const QString& letter);

// A chapter heading of the combo: the title padded so that the letter ends
// it (cut to 79 characters, 78 for chapters J and L), upper-cased.
QString chapterHeading(const QString& title, const QString& letter);

// Display form of a topic line: lower case, the fixed abbreviations and
// accents restored (first occurrence of each), a leading a-z capitalised.
QString normalizeTopicText(const QString& line);

// Called with the context and the path of a topic list file that cannot be
// read; meant for a log-only report (kind 20).
using TopicListLog = std::function<void(const QString& context, const QString& name)>;

// Builds the editor's topic combo and the topic pop-up of the current edition
// of `g` from its topic list files. A chapter whose file is missing keeps its
// heading and submenu but has no topics, and is logged.
TopicLists CaricaArgomenti(const Globals& g, const TopicListLog& logKind20 = {});

}  // namespace ziro
