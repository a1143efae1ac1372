#include "viewers/photo_viewer.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "controls/photo_filters.h"
#include "viewers/photo_render.h"

#include <algorithm>

namespace ziro {

namespace {

constexpr QSize kWindowSize{607, 374};

bool keypad(Qt::KeyboardModifiers mods)
{
    return mods.testFlag(Qt::KeypadModifier);
}

}  // namespace

QRectF pictureInAlbum(QSize picture)
{
    if (picture.isEmpty())
        return {};
    QSizeF shown = picture;
    if (shown.width() > kAlbumSize.width() || shown.height() > kAlbumSize.height())
        shown.scale(QSizeF(kAlbumSize), Qt::KeepAspectRatio);
    return QRectF(QPointF((kAlbumSize.width() - shown.width()) / 2.0, (kAlbumSize.height() - shown.height()) / 2.0),
                  shown);
}

PhotoViewer::PhotoViewer(Globals& g, const Config& config, Reports& reports, PhotoViewerPort& port,
                         PhotoViewerHost& host)
    : m_g(g), m_config(config), m_reports(reports), m_port(port), m_host(host)
{
}

PhotoViewer::~PhotoViewer() = default;

QRect PhotoViewer::windowSizeGeometry(const QRect& main)
{
    const auto half = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
    return {main.left() + half(main.width() - kWindowSize.width()) - 2,
            main.top() + half(main.height() - kWindowSize.height()) - 35, kWindowSize.width(),
            kWindowSize.height()};
}

QString PhotoViewer::fotoValue(int n) const
{
    return m_table ? m_table->fieldText(photoFieldName(n)).trimmed() : QString();
}

bool PhotoViewer::captionField(QString* name) const
{
    // A photograph shown alone has a number, not a slot of the record; and
    // custom lesson tables stop at fifteen captions.
    if (m_single || !m_table || m_g.FotoCorrente < 1 || m_g.FotoCorrente > kMaxPhotos)
        return false;
    *name = captionFieldName(m_g.FotoCorrente);
    return m_table->hasField(*name);
}

bool PhotoViewer::VediFoto(int quale)
{
    if (m_enlarged && !m_config.CBfotoFull)
        backToWindowSize();
    if (m_host.toolsOpen())
        SwitchEditMode();
    // The editor's photographs do not wrap: a slot is asked for by itself.
    const std::optional<int> which = photoToShow(quale, m_g.NumeroFoto, !m_lent);
    if (!which || !m_table) {
        m_port.beep();
        return false;
    }
    quale = *which;
    const QString value = fotoValue(quale);
    const std::optional<PhotoFile> file = photoFile(m_g.dirs, value);
    if (!file) {
        m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("display foto"),
                       m_g.dirs.DirFoto + value + QStringLiteral(".KXB"));
        return false;
    }
    m_single = false;
    if (!loadFile(*file, quale))
        return false;
    if (quale == 1 && m_g.AudioON && m_config.CBAudioFoto && !m_lent)
        m_host.playRecordSound();
    showPhoto();
    return true;
}

bool PhotoViewer::step(int direction)
{
    if (!m_table)
        return false;
    const std::optional<int> next = stepPhoto(
        m_g.FotoCorrente, direction, m_g.NumeroFoto, [this](int n) { return fotoValue(n); }, !m_lent);
    if (!next) {
        m_port.beep();
        return false;
    }
    return VediFoto(*next);
}

bool PhotoViewer::showSingle(const QString& path, int number)
{
    const bool masked = path.endsWith(QStringLiteral(".KXB"), Qt::CaseInsensitive);
    if (m_enlarged && !m_config.CBfotoFull)
        backToWindowSize();
    m_single = true;
    if (!loadFile(PhotoFile{path, masked}, number))
        return false;
    showPhoto();
    return true;
}

void PhotoViewer::lend(CaptionTable* table, int count, QPoint offset)
{
    // One loan at a time: a photograph already on show (the lesson's or
    // another of the editor's) goes first, its caption settled against the
    // table it belongs to.
    if (m_open && m_host.toolsOpen())
        SwitchEditMode();
    ChiudiFoto();
    m_homeTable = m_table;
    m_homeCount = m_g.NumeroFoto;
    m_lent = true;
    m_table = table;
    m_g.NumeroFoto = count;
    m_offset = offset;
}

void PhotoViewer::endLoan()
{
    if (!m_lent)
        return;
    m_lent = false;
    m_table = m_homeTable;
    m_g.NumeroFoto = m_homeCount;
    m_homeTable = nullptr;
    m_offset = {};
}

bool PhotoViewer::showLent(CaptionTable& table, int count, int quale, QPoint offset)
{
    lend(&table, count, offset);
    if (VediFoto(quale))
        return true;
    endLoan();
    return false;
}

bool PhotoViewer::showLentSingle(const QString& path, int number, QPoint offset)
{
    lend(nullptr, 0, offset);
    if (showSingle(path, number))
        return true;
    endLoan();
    return false;
}

QRect PhotoViewer::windowPlace() const
{
    return windowSizeGeometry(m_port.mainGeometry()).translated(m_offset);
}

bool PhotoViewer::loadFile(const PhotoFile& file, int number)
{
    std::optional<QImage> photo = loadPhoto(file);
    if (!photo) {
        m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("display foto"), file.path);
        return false;
    }
    m_photo = toPhotoFormat(*photo);
    m_picture = m_photo;
    if (!m_open) {
        m_open = true;
        m_enlarged = false;
        m_port.showWindowSize(windowPlace());
    }
    if (m_g.VideoAperto && m_g.VideoInCorso)
        m_host.toggleFilmPause();
    m_g.FotoCorrente = number;
    return true;
}

void PhotoViewer::showPhoto()
{
    if (!m_enlarged) {
        LoadTitolo(m_host.toolsOpen());
    } else {
        // With "Full screen" each photograph comes enlarged in turn, as it
        // is: its caption stays hidden until the window size comes back.
        m_caption = PhotoCaption();
        hideCaption();
        Image1Click();
        m_indicator = false;
        m_FlagText = false;
    }
    if (m_config.CBfotoFull && m_config.Cb_AutoText)
        m_indicator = false;
    updateIndicator();
    m_port.takeFocus();
}

void PhotoViewer::reloadPicture()
{
    m_picture = m_photo;
    if (m_captionVisible && m_caption.anyArrow() && arrowsDrawn(m_config.CBfotoFull, m_config.Cb_AutoText)) {
        BurnOptions only;
        only.caption = false;
        only.pictureInAlbum = pictureInAlbum(m_photo.size());
        burnCaption(m_picture, m_caption, only);
    }
    m_port.setPicture(m_picture);
}

void PhotoViewer::hideCaption()
{
    m_captionVisible = false;
    m_port.showCaption(nullptr);
}

void PhotoViewer::LoadTitolo(bool mode)
{
    if (mode)
        m_EditMode = false;
    else
        hideCaption();
    QString field;
    if (!captionField(&field)) {
        // A table without the caption field: no indicator, no editing.
        m_stored = false;
        m_indicator = false;
        m_caption = PhotoCaption();
        reloadPicture();
        updateIndicator();
        updateMenu();
        return;
    }
    const QString value = m_table->fieldText(field);
    m_stored = hasCaption(value);
    m_caption = m_stored ? readCaption(value).caption : PhotoCaption();
    bool fresh = false;
    if (m_stored) {
        if (mode && !m_host.toolsOpen())
            m_host.openTools();
        if (m_config.Cb_AutoText || m_FlagText || m_host.toolsOpen()) {
            m_captionVisible = true;
            m_port.showCaption(&m_caption);
        }
    } else if (mode) {
        // A new caption: the tool bar gives it its first style, size and
        // place as it opens, and leaves it selected for typing.
        m_caption.text = QString::fromUtf16(kCaptionPlaceholder);
        m_caption.left = safeArea().left();
        m_caption.top = safeArea().top();
        m_captionVisible = true;
        m_port.showCaption(&m_caption);
        fresh = !m_host.toolsOpen() && m_host.openTools();
    }
    reloadPicture();
    if (!fresh) {
        m_EditMode = false;
        m_port.selectCaption(std::nullopt);
    }
    m_modificato = false;
    acquireData();
    m_indicator = !m_enlarged;
    updateIndicator();
    updateMenu();
}

void PhotoViewer::updateIndicator()
{
    m_port.setIndicator(m_indicator && !m_enlarged, m_stored);
}

void PhotoViewer::updateMenu()
{
    const bool tools = m_host.toolsOpen();
    PhotoMenu m;
    m.showText = m_captionVisible ? QStringLiteral("Nascondi testo") : QStringLiteral("Visualizza testo");
    m.showEnabled = !tools && m_stored;
    m.editText = m_stored ? QStringLiteral("Modifica testo") : QStringLiteral("Nuovo testo");
    m.editEnabled = !tools;
    m.saveEnabled = m_modificato;
    m.cancelEnabled = tools || m_modificato;
    m_menu = m;
    m_port.setMenu(m);
}

void PhotoViewer::backToWindowSize()
{
    m_enlarged = false;
    m_port.showWindowSize(windowPlace());
    m_indicator = true;
    hideCaption();
    reloadPicture();
    updateIndicator();
}

void PhotoViewer::AlbumClick()
{
    if (m_host.bannerVisible()) {
        m_host.closeBanner();
        return;
    }
    const bool tools = m_host.toolsOpen();
    if (!tools && m_captionVisible)
        m_FlagTast = true;
    if (tools || m_EditMode) {
        DeselezionaTitolo();
        return;
    }
    if (m_enlarged && !m_config.CBfotoFull) {
        backToWindowSize();
        if (m_config.Cb_AutoText)
            SpiaTestoClick();
        m_port.takeFocus();
        return;
    }
    if (m_lent) {
        ChiudiFoto();
        return;
    }
    if (m_g.Custom && !m_g.SegnaleON && !m_g.QuizON)
        return;
    const bool edition = m_g.ModoAM() || m_g.ModoAB() || m_g.ModoCD() || m_g.ModoCQ();
    const QString topic = m_host.subTopic();
    if (m_g.SoloFoto && edition && (topic == QLatin1String("A01") || topic == QLatin1String("A")))
        m_host.openGeneralMenu();
    else if (!m_g.SoloFoto)
        ChiudiFoto();
}

void PhotoViewer::Image1Click()
{
    m_EditMode = false;
    if (!m_open || m_host.toolsOpen())
        return;
    if (m_captionVisible)
        m_FlagTast = true;
    m_indicator = false;
    // The enlarged picture is made from the photograph as shown: its
    // arrows, and the caption burnt in where it lay.
    BurnOptions burn;
    burn.arrows = false;
    burn.pictureInAlbum = pictureInAlbum(m_photo.size());
    const QImage shown = m_enlarged || m_picture.isNull() ? m_photo : m_picture;
    const qreal scale = std::clamp(m_port.deviceScale(), 1.0, 4.0);
    const QSize target(qRound(kEnlargedPictureSize.width() * scale), qRound(kEnlargedPictureSize.height() * scale));
    m_picture = enlargePhoto(shown, m_captionVisible ? &m_caption : nullptr, burn, target);
    m_captionVisible = false;
    m_port.showCaption(nullptr);
    m_enlarged = true;
    m_port.showEnlarged(m_port.mainGeometry());
    m_port.setPicture(m_picture);
    updateIndicator();
    updateMenu();
}

void PhotoViewer::ChiudiFoto()
{
    if (!m_open)
        return;
    // A caption being written over the editor's photograph is settled
    // while the viewer still points at the step it belongs to.
    if (m_lent && m_host.toolsOpen())
        SwitchEditMode();
    if (!m_host.toolsOpen())
        hideCaption();
    m_photo = QImage();
    m_picture = QImage();
    m_port.setPicture(QImage());
    m_g.FotoCorrente = 0;
    m_FlagText = false;
    m_open = false;
    m_enlarged = false;
    m_single = false;
    if (m_lent) {
        // Back to the lesson before anyone hears of the closing: the
        // editor may let its table go as soon as the window is hidden.
        endLoan();
        m_port.hideWindow();
        return;
    }
    m_port.hideWindow();
    if (m_g.VideoAperto && !m_g.VideoInCorso && !m_host.bookVisible())
        m_host.toggleFilmPause();
    if (m_g.SoloFoto)
        m_host.showGeneralMenuModal();
    if (m_host.bookVisible())
        m_host.focusBook();
    else if (m_host.quizVisible() && !m_g.VideoAperto)
        m_host.focusQuiz();
    m_host.closePreviews();
}

void PhotoViewer::SpiaTestoClick()
{
    if (!m_open || m_enlarged || m_host.toolsOpen())
        return;
    if (m_captionVisible) {
        m_FlagText = false;
        hideCaption();
        reloadPicture();
    } else {
        m_FlagText = true;
        LoadTitolo(false);
    }
    updateMenu();
}

void PhotoViewer::SwitchEditMode()
{
    QString field;
    if (m_enlarged || !m_table || !m_table->hasField(captionFieldName(1)))
        return;
    if (m_host.toolsOpen()) {
        endEditing();
        const CaptionSaveOutcome saved =
            SaveToDB(*m_table, m_g.FotoCorrente, m_caption, m_modificato, true, m_reports);
        m_modificato = saved.modificato;
        if (saved.clearClipboard)
            m_ClipBrdTxt.clear();
        m_host.closeTools();
        LoadTitolo(false);
    } else if (captionField(&field) && m_open) {
        LoadTitolo(true);
        // Without the tool bar a caption cannot be edited: say so.
        if (!m_host.toolsOpen())
            m_port.beep();
    }
    updateMenu();
}

void PhotoViewer::PopUpTextClick(int tag)
{
    switch (tag) {
    case 0:
        SpiaTestoClick();
        break;
    case 2:
        SwitchEditMode();
        break;
    case 3: {
        m_modificato = true;
        endEditing();
        if (m_table) {
            const CaptionSaveOutcome saved =
                SaveToDB(*m_table, m_g.FotoCorrente, m_caption, m_modificato, false, m_reports);
            m_modificato = saved.modificato;
        }
        m_host.closeTools();
        LoadTitolo(false);
        updateMenu();
        break;
    }
    case 4:
        m_modificato = false;
        SwitchEditMode();
        break;
    default:
        break;
    }
}

void PhotoViewer::CopiaTxt()
{
    m_ClipBrdTxt = m_stored || m_captionVisible ? writeCaption(m_caption) : QString();
    m_port.beep();
}

void PhotoViewer::IncollaTxt()
{
    QString field;
    if (m_ClipBrdTxt.isEmpty() || !m_open || m_enlarged || !captionField(&field)) {
        m_port.setIndicator(m_indicator && !m_enlarged, false);
        return;
    }
    m_caption = readCaption(m_ClipBrdTxt).caption;
    m_modificato = true;
    m_captionVisible = true;
    m_port.showCaption(&m_caption);
    reloadPicture();
    // A pasted caption is stored at once.
    const CaptionSaveOutcome saved = SaveToDB(*m_table, m_g.FotoCorrente, m_caption, true, false, m_reports);
    m_modificato = saved.modificato;
    m_stored = hasCaption(m_table->fieldText(field));
    updateIndicator();
    updateMenu();
    m_port.takeFocus();
}

void PhotoViewer::FormKey(int key, Qt::KeyboardModifiers mods)
{
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    if (key == Qt::Key_Escape) {
        if (m_host.toolsOpen()) {
            SwitchEditMode();
        } else if (m_lent) {
            ChiudiFoto();
        } else if (m_g.Custom) {
            ChiudiFoto();
            if (!m_g.SegnaleON && !m_g.QuizON)
                m_port.passKey(key, mods);
        } else if (!m_g.SoloFoto) {
            AlbumClick();
        }
        return;
    }
    if (alt && key == Qt::Key_T) {
        SwitchEditMode();
        return;
    }
    if (key == Qt::Key_F1 || (key == Qt::Key_1 && keypad(mods))) {
        SpiaTestoClick();
        if (m_captionVisible && m_FlagTast)
            SpiaTestoClick();
        m_FlagTast = false;
        if (m_enlarged) {
            AlbumClick();
            SpiaTestoClick();
        }
        return;
    }
    if (ctrl && key == Qt::Key_C) {
        CopiaTxt();
        return;
    }
    if (ctrl && key == Qt::Key_V) {
        IncollaTxt();
        return;
    }
    if (key == Qt::Key_F2 || (key == Qt::Key_2 && keypad(mods))) {
        m_enlarged ? AlbumClick() : Image1Click();
        return;
    }
    if (key == Qt::Key_F3) {
        if (m_enlarged) {
            AlbumClick();
            SpiaTestoClick();
            SpiaTestoClick();
            m_FlagTast = false;
        } else {
            if (!m_captionVisible)
                SpiaTestoClick();
            Image1Click();
        }
        return;
    }
    const bool toolKey = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
                         key == Qt::Key_Down ||
                         ((key == Qt::Key_Slash || key == Qt::Key_Asterisk) && keypad(mods));
    if (toolKey && m_host.toolsOpen())
        return;
    // Over the editor the lesson behind does not move: the arrows walk the
    // photographs the viewer was lent, other keys do nothing.
    if (m_lent) {
        if ((key == Qt::Key_Left || key == Qt::Key_Right) && !m_single)
            step(key == Qt::Key_Right ? 1 : -1);
        return;
    }
    m_port.passKey(key, mods);
}

QRect PhotoViewer::safeArea()
{
    return QRect(QPoint(4 + 20, 4 + 15), kAlbumSize - QSize(40, 30));
}

QSize PhotoViewer::frameSize()
{
    return kAlbumSize + QSize(10, 10);
}

void PhotoViewer::acquireData()
{
    m_host.showCaptionInTools(m_caption, m_EditMode);
}

void PhotoViewer::endEditing()
{
    if (m_CurrArr != 0) {
        m_CurrArr = 0;
        m_port.showRubberLine(QLine());
    }
    m_EditMode = false;
    m_port.selectCaption(std::nullopt);
}

void PhotoViewer::SelezionaTitolo()
{
    if (!m_open || m_enlarged || !m_host.toolsOpen())
        return;
    if (!m_captionVisible) {
        m_captionVisible = true;
        m_port.showCaption(&m_caption);
    }
    m_EditMode = true;
    m_port.selectCaption(m_caption.box());
    m_modificato = true;
    acquireData();
    updateMenu();
    m_port.takeFocus();
}

void PhotoViewer::DeselezionaTitolo()
{
    endEditing();
    acquireData();
    m_port.takeFocus();
}

void PhotoViewer::changeCaption(const std::function<void(PhotoCaption&)>& change)
{
    if (!m_open || m_enlarged)
        return;
    const PhotoCaption before = m_caption;
    change(m_caption);
    m_caption.fontSize = std::max(1, m_caption.fontSize);
    m_caption.width = std::max(1, m_caption.width);
    m_caption.height = std::max(1, m_caption.height);
    m_modificato = true;
    m_captionVisible = true;
    m_port.showCaption(&m_caption);
    if (m_caption.arrows != before.arrows || m_caption.arrowColour != before.arrowColour)
        reloadPicture();
    if (m_EditMode)
        m_port.selectCaption(m_caption.box());
    acquireData();
    updateMenu();
}

void PhotoViewer::BoundSync(const QRect& box)
{
    changeCaption([&box](PhotoCaption& c) {
        c.fontSize = std::max(c.fontSize, 15);
        c.left = box.x();
        c.top = box.y();
        c.width = std::max(1, box.width());
        if (c.multiLine) {
            c.height = std::max(1, box.height());
            return;
        }
        // A single line is as high as its font asks; a box made taller or
        // wider changes the font the line fits.
        PhotoCaption probe = c;
        probe.height = std::max(1, box.height());
        const int fitted = std::max(15, captionShownFontSize(probe) + 2);
        if (box.height() != c.height)
            c.fontSize = fitted;
        c.height = singleLineHeight(c.fontSize);
    });
}

void PhotoViewer::clearArrow(int arrow)
{
    if (arrow < 1 || arrow > 2 || !m_open || m_enlarged)
        return;
    changeCaption([arrow](PhotoCaption& c) { c.arrows[std::size_t(arrow - 1)].clear(); });
}

bool PhotoViewer::arrowPress(QPoint point)
{
    const int arrow = m_host.armedArrow();
    if (arrow < 1 || arrow > 2 || !m_open || m_enlarged)
        return false;
    m_CurrArr = arrow;
    m_origin = m_moving = point;
    m_port.showRubberLine(QLine(m_origin, m_moving));
    return true;
}

bool PhotoViewer::arrowMove(QPoint point)
{
    if (m_CurrArr == 0)
        return false;
    m_moving = QPoint(std::max(1, point.x()), std::max(1, point.y()));
    m_port.showRubberLine(QLine(m_origin, m_moving));
    return true;
}

bool PhotoViewer::arrowRelease(QPoint point)
{
    if (m_CurrArr == 0)
        return false;
    arrowMove(point);
    const int arrow = m_CurrArr;
    m_CurrArr = 0;
    m_port.showRubberLine(QLine());
    const QPoint origin = m_origin;
    const QPoint tip = m_moving;
    changeCaption([&](PhotoCaption& c) {
        c.arrows[std::size_t(arrow - 1)].origin = origin;
        c.arrows[std::size_t(arrow - 1)].tip = tip;
    });
    m_host.arrowDrawn(arrow);
    m_port.takeFocus();
    return true;
}

}  // namespace ziro
