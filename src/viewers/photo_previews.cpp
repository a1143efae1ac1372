#include "viewers/photo_previews.h"

#include "base/globals.h"
#include "base/reports.h"
#include "platform/files/paths.h"

#include <algorithm>

namespace ziro {

QSize previewWindowSize(int thumbnails)
{
    const int n = std::clamp(thumbnails, 1, kPreviewSlots);
    const int rows = (n + 5) / 6;
    return {8 + 96 * std::min(n, 6), 12 + 72 * rows};
}

QPoint previewSlotPosition(int slot)
{
    return {11 + 96 * (slot % 6), 11 + 72 * (slot / 6)};
}

QRect previewWindowGeometry(const QRect& main, QSize window)
{
    // Integer halves rounding down, as the window has always been placed.
    const auto half = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
    return {main.left() + half(main.width() - window.width() - 2),
            main.top() + half(main.height() - 70 - window.height()), window.width(), window.height()};
}

PhotoPreviews::PhotoPreviews(Globals& g, Reports& reports, PreviewPort& port, PhotoPath photoPath)
    : m_g(g), m_reports(reports), m_port(port), m_photoPath(std::move(photoPath))
{
}

void PhotoPreviews::PreparaAnteprime(const PreviewRecord& record)
{
    m_record = record;
    m_port.clearSlots();
    m_g.FotoCorrente = 0;
    m_g.NumeroFoto = 1;
    m_pageSlot = 0;
    // Custom lesson tables carry fifteen photographs; fields beyond are
    // leftovers and never shown.
    const int last = m_g.Custom ? kCustomLessonPhotos : kPreviewSlots;
    for (int n = 1; n <= last; ++n) {
        if (m_record.foto[size_t(n - 1)].isEmpty())
            continue;
        m_g.NumeroFoto = n;
        CaricaAnteprima(n);
    }
    m_thumbnails = m_g.NumeroFoto;
    // The page takes the slot after the last photograph, when there is one
    // left: with thirty photographs it stays reachable by its own key.
    if (!m_record.html.isEmpty() && m_g.NumeroFoto < kPreviewSlots) {
        m_pageSlot = m_g.NumeroFoto + 1;
        m_thumbnails = m_pageSlot;
        CaricaAnteprima(-m_pageSlot);
    }
    m_port.setGridSize(previewWindowSize(m_thumbnails));
}

void PhotoPreviews::CaricaAnteprima(int n)
{
    // A value that cannot name a file is never joined to a folder: it is
    // reported under the text it would have made, and nothing is loaded.
    std::optional<QString> path;
    QString shown;
    QString context;
    if (n > 0) {
        const QString& value = m_record.foto[size_t(n - 1)];
        context = QStringLiteral("prewiew foto %1").arg(n);
        path = m_photoPath ? m_photoPath(value) : std::nullopt;
        shown = path.value_or(value);
    } else {
        context = QStringLiteral("prewiew schema ") + m_record.html + QStringLiteral("\\PW.BMP");
        if (const std::optional<QString> page = joinPlain(m_g.dirs.DirHtml, m_record.html))
            path = resolveFile(*page, QStringLiteral("PW.BMP"));
        shown = path.value_or(m_g.dirs.DirHtml + m_record.html + QStringLiteral("/PW.BMP"));
    }
    if (!path || !m_port.loadSlot(n > 0 ? n : -n, *path))
        m_reports.Emsg(ReportKind::MissingFile, context, shown);
}

void PhotoPreviews::PreviewClick(int slot)
{
    if (slot < 1 || slot > m_thumbnails) {
        m_port.beep();
        return;
    }
    if (slot == m_pageSlot) {
        // The grid stays until the HTML viewer takes over.
        m_port.openHtml(m_record.html);
        return;
    }
    // A slot of a partly filled row, or one a gap between photograph
    // fields left empty, has nothing to open.
    if (m_record.foto[size_t(slot - 1)].isEmpty()) {
        m_port.beep();
        return;
    }
    m_port.closeGrid();
    m_port.openPhoto(slot);
    m_g.FotoCorrente = slot;
}

void PhotoPreviews::FormKey(int key, Qt::KeyboardModifiers mods)
{
    if (key == Qt::Key_Escape)
        m_port.closeGrid();
    else
        m_port.passKey(key, mods);
}

}  // namespace ziro
