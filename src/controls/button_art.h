#pragma once

#include <QImage>

namespace ziro {

// The pictures of one picture button, named after the button's picture
// properties. `mask` is strictly black and white (white = the button, black =
// see-through) and matches the rounded shape; `locked` is the greyed look the
// button shows when its action is not available; `spare` starts as a copy of
// `up`.
struct ButtonArt {
    QImage up;
    QImage down;
    QImage alt;
    QImage mask;
    QImage locking;
    QImage locked;
    QImage spare;
};

}  // namespace ziro
