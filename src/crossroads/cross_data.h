#pragma once

// The crossroads table and the rules that turn a sign number into one of its
// records: which signs are crossroads, the two signs that borrow another
// crossroads' animation, the emergency variants, and where each stretch of
// an animation lies.
//
// The table "kx_cross.cds" is kept as an XML datapacket with one record per
// crossroads. Any other content of the file is refused, never guessed at:
// the table engine knows no other form of it.

#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

namespace ziro {

struct FieldDef;

namespace cross {

inline constexpr int kVehicles = 5;      // areas, slots and letters at most
inline constexpr int kOrders = 120;      // SErr1 .. SErr120
inline constexpr int kFramedOrders = 109;  // SErr/FErr pairs; the rest carry the frame in the text

// Sign numbers 599-620, 631-669 and 679-686.
bool isCrossroads(const QString& sign);
// 649 shows crossroads 600 and 659 shows 657; every other number stays.
QString renumbered(const QString& number);
// The record of the same crossroads with the siren switched: 619 <-> 6190,
// 645 <-> 6450; nothing for any other number.
std::optional<QString> emergencySwitched(const QString& number);
// 0 no emergency vehicle, 1 the siren can be switched on, 2 it is on.
int emergencyState(const QString& number);
// The animation's base name: "Crs" and the number's first three characters.
QString filmBaseName(const QString& number);

// Single answer crossroads: the first vehicle picked is judged at once.
bool isSingleAnswer(int number);
// A vehicle may be picked a second time; one entry fewer completes an order
// that went wrong.
bool allowsRepeat(int number);
// Further correct orders count as the alternative answer, not as correct.
bool alternativeIsOwnResult(int number);

// One record of the table, as read.
struct CrossRecord {
    int number = 0;
    QString sequence;                   // Sequenza, upper-cased and trimmed
    std::array<QRect, kVehicles> areas; // left, top, width, height in the panel
    std::array<QString, 3> alternatives; // Seq_2 .. Seq_4, trimmed
    QString colours;                    // Colori
    // SErr1 .. SErr120: the order part (first five characters) trimmed;
    // index 0 unused.
    std::array<QString, kOrders + 1> orders;
    // B1 .. B120, the boundaries of the stretches: FErr i, or the frame
    // number written after the order in SErr110 .. SErr120. Nothing when
    // the field is empty or not a number. Index 0 unused.
    std::array<std::optional<int>, kOrders + 1> bounds;

    int vehicles() const { return int(sequence.size()); }
    QChar letter(int vehicle) const;   // vehicle 1..n
    QChar colour(int vehicle) const;   // its colour letter, ' ' when none
    // The area of hot spot k; empty for vehicles the crossroads lacks, so
    // they can never be hit.
    QRect hotSpot(int vehicle) const;
    // The orders that map to vehicle numbers: the default demonstration
    // order 1..n, 3,1,2 for 6190 and 3,1,2,4 for 6450 (never past n).
    std::array<int, kVehicles> demonstrationOrder() const;
};

// A stretch of the animation, first and last frame.
struct Segment {
    int from = 0;
    int to = 0;
    bool operator==(const Segment&) const = default;
};

// The frame shown for `frame` in an animation of `frames` frames.
int clampFrame(int frame, int frames);
// Vehicle k's further still frame: L - n + k - 1, kept inside the film.
int stillFrame(int vehicle, int vehicles, int frames);
// The stretch of wrong order i (1..120): B i to B i+1. Nothing when a
// boundary is missing (SErr120 has no following one).
std::optional<Segment> wrongOrderSegment(const CrossRecord& record, int i);

// The table's fields in file order (256).
QList<FieldDef> tableFields();

// The crossroads table of one installation.
class CrossTable {
public:
    explicit CrossTable(QString path) : m_path(std::move(path)) {}
    QString path() const { return m_path; }

    // Reads the record of `number`. Nothing when the file is not an XML
    // datapacket, lacks a field or has no such record; `why` says which.
    std::optional<CrossRecord> find(int number, QString* why) const;
    // Writes the areas of `number` back, atomically; false with `error` set
    // when the file cannot be read or written or has no such record.
    bool saveAreas(int number, const std::array<QRect, kVehicles>& areas, QString* error) const;

private:
    QString m_path;
};

}  // namespace cross
}  // namespace ziro
