#include "THtPanel.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>

#include "HtmlMasterCss.h"

void THtStrings::EndUpdate()
{
    if (updating_ > 0 && --updating_ == 0 && pending_) {
        pending_ = false;
        if (OnChange)
            OnChange();
    }
}

void THtStrings::Clear()
{
    lines_.clear();
    changed();
}

void THtStrings::Add(const QString& line)
{
    lines_.append(line);
    changed();
}

void THtStrings::changed()
{
    if (updating_ > 0) {
        pending_ = true;
        return;
    }
    if (OnChange)
        OnChange();
}

QString THtElement::GetAttribute(const QString& name) const
{
    if (!el_)
        return QString();
    const char* value = el_->get_attr(name.toUtf8().constData());
    return value ? QString::fromUtf8(value) : QString();
}

THtPanel::THtPanel(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    container_.ImageSource = [this](const QString& src) { return ResolveImage(src); };
    container_.OnAnchorClick = [this](const litehtml::element::ptr& el) {
        if (OnUrlClick)
            OnUrlClick(THtElement(el));
    };
    HtmlLines.OnChange = [this] { rebuild(); };
    Styles.OnChange = [this] { rebuild(); };
}

THtPanel::~THtPanel()
{
    // The document holds fonts of the container: free it first.
    doc_.reset();
}

void THtPanel::SetDefaultFont(const QString& family, int pixelSize)
{
    container_.SetDefaultFont(family, pixelSize);
    rebuild();
}

QString THtPanel::ResolvePicturePath(const QString& src) const
{
    QString path = src;
    // "file:///x" names the absolute path "/x" here, so only "file://" goes.
    for (const char* prefix : {"file://", "file:"}) {
        if (path.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) {
            path.remove(0, int(strlen(prefix)));
            break;
        }
    }
    const bool absolute = path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1String("\\\\"))
        || path.contains(QLatin1Char(':'));
    if (!absolute)
        path = mydir + path;
    return path;
}

QImage THtPanel::ResolveImage(const QString& src) const
{
    static const QRegularExpression wholeNumber(QStringLiteral("^[0-9]+$"));
    if (wholeNumber.match(src).hasMatch())
        return Images ? Images->Image(src.toInt()) : QImage();
    if (src.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || src.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return QImage();
    const QString path = ResolvePicturePath(src);
    if (!QFileInfo(path).isFile())
        return QImage();
    return QImage(path);
}

void THtPanel::rebuild()
{
    doc_.reset();
    container_.ClearImageCache();
    const std::string html = "<html><head><style>" + Styles.Text().toStdString() + "</style></head><body>"
        + HtmlLines.Text().toStdString() + "</body></html>";
    doc_ = litehtml::document::createFromUTF8(html.c_str(), &container_, &HtmlContext());
    layoutWidth_ = -1;
    relayout(viewport()->width(), viewport()->height());
    viewport()->update();
}

void THtPanel::relayout(int width, int height)
{
    container_.SetViewportSize(width, height);
    if (!doc_)
        return;
    doc_->media_changed();
    doc_->render(width);
    layoutWidth_ = width;
    verticalScrollBar()->setPageStep(height);
    verticalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, doc_->height() - height));
}

QRect THtPanel::ElementRect(const QString& selector) const
{
    if (!doc_ || !doc_->root())
        return QRect();
    const litehtml::element::ptr el = doc_->root()->select_one(selector.toStdString());
    if (!el)
        return QRect();
    // The content box, grown by padding and border.
    litehtml::position p = el->get_placement();
    p += el->get_paddings();
    p += el->get_borders();
    return QRect(p.x, p.y - verticalScrollBar()->value(), p.width, p.height);
}


QImage THtPanel::RenderToImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (!doc_)
        return image;
    const int oldW = viewport()->width(), oldH = viewport()->height();
    relayout(width, height);
    QPainter painter(&image);
    container_.Paint(painter, *doc_, 0, 0, QRect(0, 0, width, height));
    painter.end();
    relayout(oldW, oldH);
    return image;
}

void THtPanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (!doc_)
        return;
    if (layoutWidth_ != viewport()->width())
        relayout(viewport()->width(), viewport()->height());
    container_.Paint(painter, *doc_, 0, -verticalScrollBar()->value(), event->rect());
}

void THtPanel::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout(viewport()->width(), viewport()->height());
}

void THtPanel::scrollContentsBy(int, int) { viewport()->update(); }

void THtPanel::updateCursor()
{
    viewport()->setCursor(container_.Cursor() == QLatin1String("pointer") ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void THtPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!doc_)
        return;
    litehtml::position::vector boxes;
    const QPoint p = event->position().toPoint();
    if (doc_->on_mouse_over(p.x(), p.y() + verticalScrollBar()->value(), p.x(), p.y(), boxes))
        viewport()->update();
    updateCursor();
}

void THtPanel::mousePressEvent(QMouseEvent* event)
{
    if (!doc_ || event->button() != Qt::LeftButton)
        return;
    litehtml::position::vector boxes;
    const QPoint p = event->position().toPoint();
    if (doc_->on_lbutton_down(p.x(), p.y() + verticalScrollBar()->value(), p.x(), p.y(), boxes))
        viewport()->update();
}

void THtPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!doc_ || event->button() != Qt::LeftButton)
        return;
    litehtml::position::vector boxes;
    const QPoint p = event->position().toPoint();
    // The click handler may replace the page; keep the document alive meanwhile.
    auto keep = doc_;
    if (keep->on_lbutton_up(p.x(), p.y() + verticalScrollBar()->value(), p.x(), p.y(), boxes))
        viewport()->update();
}

void THtPanel::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    if (!doc_)
        return;
    litehtml::position::vector boxes;
    if (doc_->on_mouse_leave(boxes))
        viewport()->update();
}
