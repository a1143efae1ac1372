// ziro-bench --present: what presenting the 640 x 480 window on a large
// screen costs.
//
// Frames: the general menu, as it opens (the groups of edition A-B on their
// buttons, the list hidden beneath them), laid over a 640 x 480 window. One
// copy is drawn at the art scale a 1920 x 1080 screen gets and presented by a
// PresentationHost filling that screen; its viewport is rendered whole into a
// 1920 x 1080 image. The reference is a second copy drawn at art scale 1,
// shown as a window of its own and rendered whole into a 640 x 480 image.
// QWidget::render repaints every item of the region it is given; the host's
// and the proxy's caches are dropped before each frame all the same, so that
// turning one on later cannot make the figure a copy of an old frame.
//
// Artwork: the menu's and the main window's backgrounds and all their
// picture buttons, drawn at art scale 1 and then 3. The button pictures are
// drawn over a background cached per scale, and the scale changes before
// every drawing, so each one includes that cache's first fill. The memory
// figure is what the scale-3 pictures hold, each block of pixels counted once
// (a button's spare picture shares its up picture's pixels).
//
// The four are measured in turn within each run, so that a noisy moment
// hurts them alike. The platform is offscreen: drawing is done by the CPU in
// both frames, as it is with the raster backing store on a real screen.

#include "present_bench.h"

#include "bench_util.h"

#include "content/edition.h"
#include "controls/art_scale.h"
#include "controls/key_gate_ui.h"
#include "controls/auto_button_widget.h"
#include "menus/general_menu.h"
#include "menus/menu_art.h"
#include "menus/menu_gen_window.h"
#include "menus/topic_list.h"
#include "platform/files/atomic_save.h"
#include "shell/artwork.h"
#include "shell/presentation.h"
#include "shell/presentation_ui.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsProxyWidget>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

namespace ziro::bench {

namespace {

constexpr QSize kScreenSize{1920, 1080};
constexpr QSize kWindowSize{640, 480};
constexpr qreal kLargeArtScale = 3.0;
constexpr int kWarmUpRuns = 2;

// The buttons as the attached menu gives them their pictures.
void setButtonArt(TautoButton& button, const ButtonArt& art)
{
    button.setBitMapUp(art.up);
    button.setBitMapDown(art.down);
    button.setBitMapAlt(art.alt);
    button.setBitMapMask(art.mask);
    button.setBitMapLocking(art.locking);
    button.setBitMapLocked(art.locked);
    button.setBitMapSpare(art.up);
}

// The menu unattached shows empty group buttons over the list: give it the
// look it opens with, the ten groups of edition A-B on show.
void showGroups(TMenuGen& menu)
{
    const EditionInfo& edition = editionInfo(TModoQuiz::mqAB);
    for (int tag = 1; tag <= kGroupCount; ++tag) {
        TautoButton* button = menu.groupButton(tag);
        const QString title = QString::fromUtf8(edition.titles[static_cast<size_t>(tag - 1)]);
        setButtonArt(*button, groupButtonArt(tag, topicGroupLetter(edition.edition, tag - 1), title));
        button->setDisabledLook(groupIgnored(edition.edition, tag));
    }
    menu.groupHead()->hide();
    menu.list()->hide();
    menu.groupPanel()->show();
}

// A 640 x 480 window with the general menu over it, its artwork drawn at
// `artScale`; not yet shown.
std::unique_ptr<QWidget> makeMenuWindow(qreal artScale)
{
    setArtScale(artScale);
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(kWindowSize);
    auto* menu = new TMenuGen(window.get());
    showGroups(*menu);
    menu->showMenu();
    return window;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// One whole repaint of `source` into `target`.
double timeFrame(QWidget& source, QImage& target)
{
    const auto start = Clock::now();
    source.render(&target);
    return msSince(start);
}

double timeScaledFrame(PresentationHost& host, QImage& target)
{
    host.resetCachedContent();
    if (QGraphicsProxyWidget* proxy = host.proxy(); proxy && proxy->cacheMode() != QGraphicsItem::NoCache)
        proxy->update();
    return timeFrame(*host.viewport(), target);
}

bool isBlack(QRgb pixel)
{
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

// A frame that rendered nothing would time nothing: the content must show in
// the middle of the scaled frame, black bars beside it, and the plain frame
// must show the same menu.
void checkFrames(const PresentationHost& host, const QImage& scaled, const QImage& plain)
{
    const QRectF content = host.contentRect();
    const QRectF wanted = fittedRect(QSizeF(kScreenSize));
    if (std::abs(content.width() - wanted.width()) > 1.0 || std::abs(content.height() - wanted.height()) > 1.0)
        fail(QStringLiteral("the presentation does not fill the %1 x %2 screen (content %3 x %4)")
                 .arg(kScreenSize.width())
                 .arg(kScreenSize.height())
                 .arg(content.width())
                 .arg(content.height()));
    const QPoint middle = content.center().toPoint();
    if (isBlack(scaled.pixel(middle)) || !isBlack(scaled.pixel(int(content.left()) / 2, middle.y())) ||
        isBlack(plain.pixel(kWindowSize.width() / 2, kWindowSize.height() / 2)))
        fail(QStringLiteral("the frames did not render the menu"));
}

void addArt(std::vector<QImage>& out, const ButtonArt& art)
{
    for (const QImage* image : {&art.up, &art.down, &art.alt, &art.mask, &art.locking, &art.locked, &art.spare})
        out.push_back(*image);
}

// The menu's and the main window's artwork at `artScale`, kept in `out` so
// that freeing the previous pictures is not timed.
double timeArt(qreal artScale, std::vector<QImage>& out)
{
    out.clear();
    setArtScale(artScale);
    const auto start = Clock::now();
    out.push_back(menuBackground());
    for (int i = 0; i < kMenuButtonCount; ++i)
        addArt(out, menuButtonArt(static_cast<MenuButton>(i)));
    out.push_back(mainBackground());
    for (int i = 0; i < kMainButtonCount; ++i)
        addArt(out, mainButtonArt(static_cast<MainButton>(i)));
    return msSince(start);
}

// Pixels shared between pictures are held once.
qint64 bytesHeld(const std::vector<QImage>& pictures)
{
    std::set<const uchar*> seen;
    qint64 bytes = 0;
    for (const QImage& picture : pictures)
        if (!picture.isNull() && seen.insert(picture.constBits()).second)
            bytes += picture.sizeInBytes();
    return bytes;
}

int measure(int runs)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->geometry().size() != kScreenSize)
        fail(QStringLiteral("the offscreen platform did not give a %1 x %2 screen")
                 .arg(kScreenSize.width())
                 .arg(kScreenSize.height()));
    // The scale the program itself picks for a presentation filling this
    // screen; the figures are named after it.
    if (artScaleFor(fitScale(QSizeF(screen->size())), screen->devicePixelRatio()) != kLargeArtScale)
        fail(QStringLiteral("a presentation on this screen would not draw at art scale 3"));

    std::unique_ptr<QWidget> scaledWindow = makeMenuWindow(kLargeArtScale);
    presentMain(scaledWindow.get(), true);
    std::unique_ptr<QWidget> plainWindow = makeMenuWindow(1.0);
    plainWindow->show();
    settle();
    PresentationHost* host = PresentationHost::of(scaledWindow.get());
    if (!host || !host->isVisible())
        fail(QStringLiteral("the presentation host did not show"));

    QImage scaledFrame(kScreenSize, QImage::Format_ARGB32_Premultiplied);
    QImage plainFrame(kWindowSize, QImage::Format_ARGB32_Premultiplied);
    std::vector<QImage> art;
    art.reserve(2 + 7 * (kMenuButtonCount + kMainButtonCount));
    for (int i = 0; i < kWarmUpRuns; ++i) {
        timeScaledFrame(*host, scaledFrame);
        timeFrame(*plainWindow, plainFrame);
        timeArt(1.0, art);
        timeArt(kLargeArtScale, art);
    }
    checkFrames(*host, scaledFrame, plainFrame);
    const double artMb = double(bytesHeld(art)) / (1024.0 * 1024.0);

    std::vector<double> scaledMs, plainMs, art1Ms, art3Ms;
    for (int i = 0; i < runs; ++i) {
        settle();
        scaledMs.push_back(timeScaledFrame(*host, scaledFrame));
        plainMs.push_back(timeFrame(*plainWindow, plainFrame));
        art1Ms.push_back(timeArt(1.0, art));
        art3Ms.push_back(timeArt(kLargeArtScale, art));
    }

    const double scaled = median(scaledMs);
    const double plain = median(plainMs);
    const double ratio = scaled / plain;
    const double pixels = double(kScreenSize.width() * kScreenSize.height()) /
                          double(kWindowSize.width() * kWindowSize.height());
    std::printf("frame_scaled_ms %.3f\nframe_plain_ms %.3f\nframe_ratio %.3f\nframe_ratio_per_pixel %.3f\n", scaled,
                plain, ratio, ratio / pixels);
    std::printf("art_ms_1 %.3f\nart_ms_3 %.3f\nart_mb_3 %.3f\n", median(art1Ms), median(art3Ms), artMb);
    return 0;
}

}  // namespace

int runPresent(const char* argv0, int runs)
{
    runs = std::max(1, runs);
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    useOffscreenScreen(folder.path(), kScreenSize);
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    GuiApplication app(argc, argv);
    return measure(runs);
}

}  // namespace ziro::bench
