// What a lesson page's HTML carries: sound-link addresses (never a file
// outside the page folder), client-side image maps and their hits, and the
// pictures' map references.
//
// Input: the first line is a link address, the rest a page.

#include "fuzz_support.h"

#include "viewers/html_page.h"

#include <QUrl>

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(ziro::fuzz::bytesOf(data, size));
    const qsizetype eol = text.indexOf(QLatin1Char('\n'));
    const QString address = eol < 0 ? text : text.left(eol);
    const QString html = eol < 0 ? QString() : text.mid(eol + 1);

    const QString folder = QStringLiteral("/pagine/lezione/");
    const ziro::SoundRequest sound = ziro::parseSoundLink(address, folder);
    if (sound.action == ziro::SoundRequest::Action::Loop || sound.action == ziro::SoundRequest::Action::Once)
        ZIRO_FUZZ_CHECK(ziro::insideFolder(sound.path, folder));
    if (const std::optional<QString> file
        = ziro::pageFileOf(QUrl(address), QUrl::fromLocalFile(folder + QStringLiteral("MENU.HTM")), folder))
        ZIRO_FUZZ_CHECK(ziro::insideFolder(*file, folder));

    const ziro::ImageMaps maps = ziro::parseImageMaps(html);
    for (const QList<ziro::MapArea>& areas : maps) {
        // Points of a picture on the projector, and just outside it.
        for (const QPoint p : {QPoint(0, 0), QPoint(5, 5), QPoint(50, 20), QPoint(-3, 400), QPoint(4000, 3000)})
            ziro::hitImageMap(areas, p);
    }
    for (const ziro::PageImage& image : ziro::parseImages(html))
        maps.value(image.map);
    return 0;
}
