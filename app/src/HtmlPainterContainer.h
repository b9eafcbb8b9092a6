#pragma once

#include <litehtml/litehtml.h>

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

// The painting side of the HTML view: a litehtml document container that
// draws on any QPainter (a widget, a QImage, a printer). It knows nothing of
// widgets; THtPanel sits on top of it.
//
// Pictures are asked from ImageSource with the "src" text as written in the
// mark-up; the container caches what it got per source text.
class THtmlPainterContainer : public litehtml::document_container {
public:
    THtmlPainterContainer();
    ~THtmlPainterContainer();

    // Picture for an <img> source or a CSS background; a null image when there
    // is none (nothing is drawn then).
    std::function<QImage(const QString& src)> ImageSource;
    // A click on an <a> element, with that element.
    std::function<void(const litehtml::element::ptr& el)> OnAnchorClick;

    // Size of the view the document is laid out for (client rectangle and
    // media features). Pixels.
    void SetViewportSize(int width, int height) { viewW_ = width; viewH_ = height; }
    // Default font of the page; sizes in pixels.
    void SetDefaultFont(const QString& family, int pixelSize);
    // Drops every cached picture (the next paint asks ImageSource again).
    void ClearImageCache() { images_.clear(); }
    // The cursor the page asked for at the last mouse move ("pointer", "auto"...).
    const QString& Cursor() const { return cursor_; }

    // Paints doc on painter; (x, y) is where the document's top-left corner
    // lands, clip the area to paint in painter coordinates.
    void Paint(QPainter& painter, litehtml::document& doc, int x, int y, const QRect& clip);

    // Installed family for a CSS family name: fonts the page names but this
    // system lacks are mapped to installed ones here, in one place.
    static QString MapFontFamily(const QString& cssFamily, int& weight);

    // litehtml::document_container
    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                    bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                        litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                  bool valid_x, bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
                                                      const litehtml::string_map& attributes,
                                                      const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    const QImage& image(const QString& src);

    int viewW_ = 800;
    int viewH_ = 600;
    std::string defaultFamily_ = "Tahoma";
    int defaultSize_ = 14;
    QString cursor_;
    QHash<QString, QImage> images_;
    // set_clip/del_clip get no painter: Paint keeps the current one here.
    QPainter* painter_ = nullptr;
    std::vector<int> clipDepth_;
};
