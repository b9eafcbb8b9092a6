#include "HtmlPainterContainer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {

struct TFontHandle {
    QFont font;
    int ascent = 0;
};

TFontHandle* fontOf(litehtml::uint_ptr h) { return reinterpret_cast<TFontHandle*>(h); }
QPainter* painterOf(litehtml::uint_ptr hdc) { return reinterpret_cast<QPainter*>(hdc); }

QColor toQColor(const litehtml::web_color& c) { return QColor(c.red, c.green, c.blue, c.alpha); }

QRect toQRect(const litehtml::position& p) { return QRect(p.x, p.y, p.width, p.height); }

QPainterPath roundedPath(const litehtml::position& p, const litehtml::border_radiuses& r)
{
    QPainterPath path;
    const QRectF box(p.x, p.y, p.width, p.height);
    if (r.top_left_x == 0 && r.top_right_x == 0 && r.bottom_left_x == 0 && r.bottom_right_x == 0) {
        path.addRect(box);
        return path;
    }
    // One radius for the whole box is close enough for the page's panels.
    const qreal rad = std::max({r.top_left_x, r.top_right_x, r.bottom_left_x, r.bottom_right_x});
    path.addRoundedRect(box, rad, rad);
    return path;
}

// Families that pages name but this system lacks, and what stands for them.
struct TFontMapping {
    const char* cssName;
    const char* family;
    int weight;  // QFont weight to use, 0 = the page's own
};
constexpr TFontMapping kFontMap[] = {
    {"segoe ui light", "DejaVu Sans", QFont::Light},
    {"segoe ui", "DejaVu Sans", 0},
    {"tahoma", "DejaVu Sans", 0},
    {"verdana", "DejaVu Sans", 0},
    {"arial", "Liberation Sans", 0},
    {"helvetica", "Liberation Sans", 0},
    {"times new roman", "Liberation Serif", 0},
    {"courier new", "Liberation Mono", 0},
    {"sans-serif", "DejaVu Sans", 0},
    {"serif", "DejaVu Serif", 0},
    {"monospace", "DejaVu Sans Mono", 0},
};

}  // namespace

THtmlPainterContainer::THtmlPainterContainer() = default;
THtmlPainterContainer::~THtmlPainterContainer() = default;

void THtmlPainterContainer::SetDefaultFont(const QString& family, int pixelSize)
{
    defaultFamily_ = family.toStdString();
    defaultSize_ = pixelSize;
}

QString THtmlPainterContainer::MapFontFamily(const QString& cssFamily, int& weight)
{
    const QString key = cssFamily.trimmed().remove(QLatin1Char('"')).remove(QLatin1Char('\'')).toLower();
    for (const auto& m : kFontMap) {
        if (key == QLatin1String(m.cssName)) {
            if (m.weight != 0)
                weight = m.weight;
            return QString::fromLatin1(m.family);
        }
    }
    return cssFamily.trimmed().remove(QLatin1Char('"')).remove(QLatin1Char('\''));
}

void THtmlPainterContainer::Paint(QPainter& painter, litehtml::document& doc, int x, int y, const QRect& clip)
{
    painter_ = &painter;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    litehtml::position c(clip.x(), clip.y(), clip.width(), clip.height());
    doc.draw(reinterpret_cast<litehtml::uint_ptr>(&painter), x, y, &c);
    while (!clipDepth_.empty()) {
        painter.restore();
        clipDepth_.pop_back();
    }
    painter.restore();
    painter_ = nullptr;
}

litehtml::uint_ptr THtmlPainterContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                                      litehtml::font_style italic, unsigned int decoration,
                                                      litehtml::font_metrics* fm)
{
    // The first family of the list decides; the mapping table supplies
    // installed stand-ins.
    QString first = QString::fromUtf8(faceName).split(QLatin1Char(',')).value(0);
    int qtWeight = std::clamp(weight, 100, 900);
    const QString family = MapFontFamily(first.isEmpty() ? QString::fromStdString(defaultFamily_) : first, qtWeight);
    auto* handle = new TFontHandle;
    handle->font.setFamily(family);
    handle->font.setPixelSize(std::max(size, 1));
    handle->font.setWeight(static_cast<QFont::Weight>(qtWeight));
    handle->font.setItalic(italic == litehtml::fontStyleItalic);
    handle->font.setUnderline(decoration & litehtml::font_decoration_underline);
    handle->font.setStrikeOut(decoration & litehtml::font_decoration_linethrough);
    handle->font.setOverline(decoration & litehtml::font_decoration_overline);
    const QFontMetrics metrics(handle->font);
    handle->ascent = metrics.ascent();
    if (fm) {
        fm->ascent = metrics.ascent();
        fm->descent = metrics.descent();
        fm->height = metrics.height();
        fm->x_height = metrics.xHeight();
        fm->draw_spaces = decoration != litehtml::font_decoration_none;
    }
    return reinterpret_cast<litehtml::uint_ptr>(handle);
}

void THtmlPainterContainer::delete_font(litehtml::uint_ptr hFont) { delete fontOf(hFont); }

int THtmlPainterContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont)
{
    return QFontMetrics(fontOf(hFont)->font).horizontalAdvance(QString::fromUtf8(text));
}

void THtmlPainterContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                                      litehtml::web_color color, const litehtml::position& pos)
{
    QPainter* p = painterOf(hdc);
    p->setFont(fontOf(hFont)->font);
    p->setPen(toQColor(color));
    p->drawText(QPoint(pos.x, pos.y + fontOf(hFont)->ascent), QString::fromUtf8(text));
}

int THtmlPainterContainer::pt_to_px(int pt) const { return pt * 96 / 72; }

int THtmlPainterContainer::get_default_font_size() const { return defaultSize_; }

const litehtml::tchar_t* THtmlPainterContainer::get_default_font_name() const { return defaultFamily_.c_str(); }

void THtmlPainterContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
    QPainter* p = painterOf(hdc);
    const QRect box = toQRect(marker.pos);
    const QColor c = toQColor(marker.color);
    switch (marker.marker_type) {
    case litehtml::list_style_type_none:
        break;
    case litehtml::list_style_type_square:
        p->fillRect(box, c);
        break;
    case litehtml::list_style_type_circle:
        p->setPen(c);
        p->setBrush(Qt::NoBrush);
        p->drawEllipse(box);
        break;
    default:
        p->setPen(Qt::NoPen);
        p->setBrush(c);
        p->drawEllipse(box);
        break;
    }
}

const QImage& THtmlPainterContainer::image(const QString& src)
{
    auto it = images_.find(src);
    if (it == images_.end())
        it = images_.insert(src, ImageSource ? ImageSource(src) : QImage());
    return it.value();
}

void THtmlPainterContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool)
{
    image(QString::fromUtf8(src));
}

void THtmlPainterContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*, litehtml::size& sz)
{
    const QImage& img = image(QString::fromUtf8(src));
    sz.width = img.width();
    sz.height = img.height();
}

void THtmlPainterContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
    QPainter* p = painterOf(hdc);
    p->save();
    const QPainterPath clipPath = roundedPath(bg.clip_box, bg.border_radius);
    p->setClipPath(clipPath, Qt::IntersectClip);
    if (bg.color.alpha > 0)
        p->fillPath(clipPath, toQColor(bg.color));
    if (!bg.image.empty()) {
        const QImage& img = image(QString::fromStdString(bg.image));
        if (!img.isNull() && bg.image_size.width > 0 && bg.image_size.height > 0) {
            const QRect target(bg.position_x, bg.position_y, bg.image_size.width, bg.image_size.height);
            const QImage scaled = img.size() == target.size()
                ? img
                : img.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const QRect area = toQRect(bg.clip_box);
            switch (bg.repeat) {
            case litehtml::background_repeat_no_repeat:
                p->drawImage(target.topLeft(), scaled);
                break;
            case litehtml::background_repeat_repeat_x:
                for (int x = target.x(); x < area.right() + 1; x += target.width())
                    p->drawImage(QPoint(x, target.y()), scaled);
                for (int x = target.x() - target.width(); x + target.width() > area.x(); x -= target.width())
                    p->drawImage(QPoint(x, target.y()), scaled);
                break;
            case litehtml::background_repeat_repeat_y:
                for (int y = target.y(); y < area.bottom() + 1; y += target.height())
                    p->drawImage(QPoint(target.x(), y), scaled);
                for (int y = target.y() - target.height(); y + target.height() > area.y(); y -= target.height())
                    p->drawImage(QPoint(target.x(), y), scaled);
                break;
            case litehtml::background_repeat_repeat: {
                const QPixmap tile = QPixmap::fromImage(scaled);
                p->drawTiledPixmap(area, tile, QPoint((area.x() - target.x()) % target.width(),
                                                      (area.y() - target.y()) % target.height()));
                break;
            }
            }
        }
    }
    p->restore();
}

void THtmlPainterContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                         const litehtml::position& draw_pos, bool)
{
    QPainter* p = painterOf(hdc);
    auto visible = [](const litehtml::border& b) {
        return b.width > 0 && b.style != litehtml::border_style_none && b.style != litehtml::border_style_hidden;
    };
    const QRect r = toQRect(draw_pos);
    if (visible(borders.top))
        p->fillRect(QRect(r.x(), r.y(), r.width(), borders.top.width), toQColor(borders.top.color));
    if (visible(borders.bottom))
        p->fillRect(QRect(r.x(), r.y() + r.height() - borders.bottom.width, r.width(), borders.bottom.width),
                    toQColor(borders.bottom.color));
    if (visible(borders.left))
        p->fillRect(QRect(r.x(), r.y(), borders.left.width, r.height()), toQColor(borders.left.color));
    if (visible(borders.right))
        p->fillRect(QRect(r.x() + r.width() - borders.right.width, r.y(), borders.right.width, r.height()),
                    toQColor(borders.right.color));
}

void THtmlPainterContainer::set_caption(const litehtml::tchar_t*) {}
void THtmlPainterContainer::set_base_url(const litehtml::tchar_t*) {}
void THtmlPainterContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void THtmlPainterContainer::on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr& el)
{
    if (OnAnchorClick)
        OnAnchorClick(el);
}

void THtmlPainterContainer::set_cursor(const litehtml::tchar_t* cursor) { cursor_ = QString::fromUtf8(cursor); }

void THtmlPainterContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
    QString s = QString::fromStdString(text);
    switch (tt) {
    case litehtml::text_transform_uppercase:
        s = s.toUpper();
        break;
    case litehtml::text_transform_lowercase:
        s = s.toLower();
        break;
    case litehtml::text_transform_capitalize:
        if (!s.isEmpty())
            s[0] = s[0].toUpper();
        break;
    case litehtml::text_transform_none:
        break;
    }
    text = s.toStdString();
}

void THtmlPainterContainer::import_css(litehtml::tstring&, const litehtml::tstring&, litehtml::tstring&) {}

void THtmlPainterContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                                     bool, bool)
{
    if (!painter_)
        return;
    painter_->save();
    painter_->setClipPath(roundedPath(pos, bdr_radius), Qt::IntersectClip);
    clipDepth_.push_back(1);
}

void THtmlPainterContainer::del_clip()
{
    if (!painter_ || clipDepth_.empty())
        return;
    painter_->restore();
    clipDepth_.pop_back();
}

void THtmlPainterContainer::get_client_rect(litehtml::position& client) const
{
    client = litehtml::position(0, 0, viewW_, viewH_);
}

std::shared_ptr<litehtml::element> THtmlPainterContainer::create_element(const litehtml::tchar_t*,
                                                                         const litehtml::string_map&,
                                                                         const std::shared_ptr<litehtml::document>&)
{
    return nullptr;
}

void THtmlPainterContainer::get_media_features(litehtml::media_features& media) const
{
    media.type = litehtml::media_type_screen;
    media.width = viewW_;
    media.height = viewH_;
    media.device_width = viewW_;
    media.device_height = viewH_;
    media.color = 8;
    media.color_index = 0;
    media.monochrome = 0;
    media.resolution = 96;
}

void THtmlPainterContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
    language = "en";
    culture.clear();
}
