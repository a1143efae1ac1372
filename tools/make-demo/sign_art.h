#pragma once

// Road sign artwork for the demo installation, drawn with QPainter in the
// Italian style: danger triangles, prescription discs, indication panels,
// supplementary plates, a traffic light, road markings and vehicle
// silhouettes.
//
// Every sign is described by a SignSpec; its shape and colours follow from
// the kind, and its pictogram is looked up by name in `symbol`. Pictures are
// drawn on a white ground and keep their proportions inside the requested
// size, so a sign picture made at the size of the sign area (which stretches
// whatever it loads to its frame) shows round discs as round.

#include <QImage>
#include <QRectF>
#include <QList>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;

namespace ziro::demo {

// Size of the normal sign area; pictures for the enlarged frame of the "f"
// signs look right at kLargeSignPictureSize.
inline constexpr QSize kSignPictureSize{440, 350};
inline constexpr QSize kLargeSignPictureSize{480, 360};
// Size of the ten icon panels beside the sign area.
inline constexpr QSize kIconSize{70, 65};

enum class SignKind {
    Danger,      // white triangle, red border, black pictogram
    GiveWay,     // inverted triangle
    Stop,        // red octagon
    Priority,    // yellow diamond ("symbol" "end" crosses it out)
    Prohibition, // white disc with red ring (blue ground for "no-parking"/"no-stopping",
                 // black-edged disc for the "end-..." symbols)
    NoEntry,     // red disc with white bar
    Obligation,  // blue disc, white pictogram
    Indication,  // blue panel (green for "motorway", white for "town:...", wide for "one-way")
    Plate,       // white supplementary plate, black text or pictogram
    Light,       // traffic light
    Marking,     // road surface seen from above
    Vehicle,     // black silhouette, no sign body
    Icon,        // text label on a light panel
};

struct SignSpec {
    QString code;        // sign number as used in file names ("56", "908")
    SignKind kind = SignKind::Danger;
    QString symbol;      // pictogram name, optionally "name:argument" ("limit:50")
    QString caption;     // Italian name of the sign
    QString plate;       // text of a supplementary plate under the sign, empty for none
    bool temporary = false; // yellow ground of temporary (roadworks) signs
};

// The demo's sign set, ordered by number (danger 1.., precedence 40..,
// prohibition 54.., obligation 93.., plates 121.., lights 154, indication
// 166.., temporary 275, markings 501.., variants 908..).
QList<SignSpec> demoSigns();

// Vehicle silhouettes ("auto", "autocarro", "moto", "autobus", "bicicletta").
QList<SignSpec> demoVehicles();

// The sign or vehicle of demoSigns()/demoVehicles() with that code.
std::optional<SignSpec> findDemoSign(const QString& code);

// The sign picture: the sign centred on a white ground, as large as the size
// allows with a small margin.
QImage drawSign(const SignSpec& sign, QSize size = kSignPictureSize);

// The sign with its caption written under it (the "named signs" set).
QImage drawNamedSign(const SignSpec& sign, QSize size = kSignPictureSize);

// A small panel picture of a sign, with a tighter margin than drawSign.
QImage drawIcon(const SignSpec& sign, QSize size = kIconSize);

// A small panel picture for a label: the sign or vehicle of that code when
// findDemoSign knows it, otherwise the text itself on a light panel.
QImage drawIcon(const QString& label, QSize size = kIconSize);

// Paints the sign (and its plate) as large as fits in `area` of `p`, centred,
// with nothing behind it: for signs standing in a drawn scene.
void paintSignInto(QPainter& p, const SignSpec& sign, const QRectF& area);

} // namespace ziro::demo
