#include "viewers/tv_html_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace ziro {

// The renderer. It loads pictures and style sheets of the page folder only:
// a page naming "../../etc/passwd" as a picture gets nothing read.
class HtmlBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    void setPage(const QUrl& base, const QString& folder)
    {
        m_base = base;
        m_folder = folder;
    }

    // Never an invalid answer: the document would read the file itself.
    QVariant loadResource(int type, const QUrl& name) override
    {
        const std::optional<QString> file = pageFileOf(name, m_base, m_folder);
        if (type == QTextDocument::ImageResource)
            return file ? QImage(*file) : QImage();
        if (type == QTextDocument::StyleSheetResource) {
            QString problem;
            return file ? readPage(*file, &problem).value_or(QString()) : QString();
        }
        return QByteArray();
    }

private:
    QUrl m_base;
    QString m_folder;
};

namespace {

QFrame* panel(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setGeometry(geometry);
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, Qt::white);
    p->setPalette(pal);
    return p;
}

}  // namespace

TTVhtml::TTVhtml(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVhtml"), QRect(12, 13, 612, 384))
{
    setWindowTitle(QString());
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    m_browser = new HtmlBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setGeometry(0, -2, 612, 385);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    m_browser->viewport()->installEventFilter(this);
    m_browser->installEventFilter(this);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (m_viewer)
            m_viewer->linkActivated(url);
    });

    // The marks of the two zones are never seen: presses are tested
    // against their places.
    panel(this, QStringLiteral("PQuit"), QRect(549, 8, 50, 26))->hide();
    QFrame* aux = panel(this, QStringLiteral("PAux"), QRect(499, 8, 50, 26));
    aux->setEnabled(false);
    aux->hide();
    panel(this, QStringLiteral("Panel1"), QRect(0, 0, 4, 384));
    panel(this, QStringLiteral("Panel2"), QRect(0, 0, 612, 4));
    hide();
}

QTextBrowser* TTVhtml::browser() const
{
    return m_browser;
}

QRect TTVhtml::mainGeometry() const
{
    const QWidget* main = parentWidget();
    return main ? QRect(QPoint(0, 0), main->size()) : QRect(0, 0, 640, 480);
}

void TTVhtml::showPage(const QString& html, const QUrl& base, const QString& pageFolder)
{
    m_pressedArea.reset();
    m_browser->setPage(base, pageFolder);
    m_browser->document()->setBaseUrl(base);
    m_browser->setHtml(html);
    m_browser->document()->setBaseUrl(base);
    m_browser->verticalScrollBar()->setValue(0);
    m_browser->horizontalScrollBar()->setValue(0);
}

void TTVhtml::scrollToAnchor(const QString& name)
{
    m_browser->scrollToAnchor(name);
}

void TTVhtml::showWindow(const QRect& geometry)
{
    setGeometry(geometry);
    m_browser->show();
    showModeless();
}

void TTVhtml::hideWindow()
{
    m_pressedArea.reset();
    hide();
    m_browser->clear();
}

void TTVhtml::takeFocus()
{
    m_browser->setFocus(Qt::OtherFocusReason);
}

std::optional<QString> TTVhtml::mapAreaAt(QPoint viewportPos) const
{
    if (!m_viewer)
        return std::nullopt;
    QTextDocument* doc = m_browser->document();
    const QPointF docPos = QPointF(viewportPos) + QPointF(m_browser->horizontalScrollBar()->value(),
                                                          m_browser->verticalScrollBar()->value());
    const int at = doc->documentLayout()->hitTest(docPos, Qt::FuzzyHit);
    if (at < 0)
        return std::nullopt;
    // The hit lands before or after the picture's one character, by the
    // half pressed: both are tried against the picture's box.
    for (const int pos : {at, at - 1}) {
        if (pos < 0)
            continue;
        const QTextBlock block = doc->findBlock(pos);
        if (!block.isValid() || !block.layout())
            continue;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.contains(pos) || !frag.charFormat().isImageFormat())
                continue;
            const QTextImageFormat img = frag.charFormat().toImageFormat();
            const QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(img.name()));
            QSize natural = res.value<QImage>().size();
            if (natural.isEmpty())
                natural = res.value<QPixmap>().size();
            const QSizeF shown(img.width() > 0 ? img.width() : natural.width(),
                               img.height() > 0 ? img.height() : natural.height());
            if (shown.isEmpty() || natural.isEmpty())
                continue;
            const int inBlock = pos - block.position();
            const QTextLine line = block.layout()->lineForTextPosition(inBlock);
            if (!line.isValid())
                continue;
            const QRectF blockBox = doc->documentLayout()->blockBoundingRect(block);
            const QPointF topLeft(blockBox.left() + line.cursorToX(inBlock),
                                  blockBox.top() + line.y() + line.ascent() - shown.height());
            const QRectF box(topLeft, shown);
            if (!box.contains(docPos))
                continue;
            // Which <img> of the page this is: the nth with this source.
            int nth = 0;
            bool found = false;
            for (QTextBlock b = doc->begin(); b.isValid() && !found; b = b.next()) {
                for (auto bi = b.begin(); !bi.atEnd(); ++bi) {
                    const QTextFragment f = bi.fragment();
                    if (f.position() == frag.position()) {
                        nth += pos - f.position();
                        found = true;
                        break;
                    }
                    if (f.charFormat().isImageFormat() && f.charFormat().toImageFormat().name() == img.name())
                        nth += f.length();
                }
            }
            QString mapName;
            int seen = 0;
            for (const PageImage& pi : m_viewer->images()) {
                if (pi.src != img.name())
                    continue;
                if (seen++ == nth) {
                    mapName = pi.map;
                    break;
                }
            }
            if (mapName.isEmpty() || !m_viewer->imageMaps().contains(mapName))
                return std::nullopt;
            const QPointF inPicture = docPos - topLeft;
            const QPoint p(int(inPicture.x() * natural.width() / shown.width()),
                           int(inPicture.y() * natural.height() / shown.height()));
            return hitImageMap(m_viewer->imageMaps().value(mapName), p);
        }
    }
    return std::nullopt;
}

// The page holds the mouse as a modal window would, but only against the
// lesson under it: the windows the topic pop-up opens over the page (the
// menus, a side trip's viewers) must stay usable, which a local event loop
// would forbid.
void TTVhtml::showEvent(QShowEvent* event)
{
    qApp->installEventFilter(this);
    OverlayWindow::showEvent(event);
}

void TTVhtml::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    OverlayWindow::hideEvent(event);
}

bool TTVhtml::pressOnLesson(QObject* watched, QEvent* event) const
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick) ||
        !watched->isWidgetType() || !isVisible())
        return false;
    const auto* w = static_cast<const QWidget*>(watched);
    if (w == this || isAncestorOf(w) || w->window() != window())
        return false;
    for (const QWidget* up = w; up; up = up->parentWidget()) {
        if (qobject_cast<const OverlayWindow*>(up))
            return false;
    }
    return true;
}

bool TTVhtml::eventFilter(QObject* watched, QEvent* event)
{
    if (pressOnLesson(watched, event))
        return true;
    if (watched == m_browser->viewport() && mouseOnPage(event))
        return true;
    if ((watched == m_browser || watched == m_browser->viewport()) && keyOnPage(event))
        return true;
    return OverlayWindow::eventFilter(watched, event);
}

bool TTVhtml::mouseOnPage(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    if (!m_viewer)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint viewportPos = mouse->position().toPoint();
    const QPoint client = m_browser->viewport()->mapTo(this, viewportPos);
    const Qt::MouseButton button = mouse->button();
    if (button == Qt::RightButton) {
        if (type == QEvent::MouseButtonPress && m_popup) {
            const QPoint at = htmlPopupPoint(client);
            m_popup->popup(mapToGlobal(at));
        }
        return true;
    }
    if (button != Qt::LeftButton)
        return false;
    if (type != QEvent::MouseButtonRelease) {
        switch (m_viewer->mouse(client, button)) {
        case HtmlViewer::Mouse::Closed:
        case HtmlViewer::Mouse::Swallow:
            return true;
        case HtmlViewer::Mouse::PopUp:
        case HtmlViewer::Mouse::PassOn:
            break;
        }
        m_pressedArea = mapAreaAt(viewportPos);
        return m_pressedArea.has_value();
    }
    if (!m_viewer->isOpen())
        return true;
    if (inHtmlCloseZone(client))
        return true;
    if (!m_pressedArea)
        return false;
    const QString href = *m_pressedArea;
    m_pressedArea.reset();
    // Released on the area it was pressed on: it leads where it says.
    if (mapAreaAt(viewportPos) == href && !href.isEmpty())
        m_viewer->linkActivated(QUrl(href));
    return true;
}

bool TTVhtml::keyOnPage(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // The page is not scrolled or walked by keys: they are the lesson's.
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    }
    if (event->type() != QEvent::KeyRelease)
        return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->isAutoRepeat() || ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)
        return true;
    if (!m_viewer || !m_viewer->keyReleased(ke->key()))
        Q_EMIT keyPassed(ke->key(), ke->modifiers());
    return true;
}

}  // namespace ziro
