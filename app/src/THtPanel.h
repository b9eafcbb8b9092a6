#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "HtmlPainterContainer.h"
#include "TImageList.h"

// A list of text lines that tells its owner when it changed; changes made
// between BeginUpdate and EndUpdate are told once, at the last EndUpdate.
class THtStrings {
public:
    std::function<void()> OnChange;

    void BeginUpdate() { ++updating_; }
    void EndUpdate();
    void Clear();
    void Add(const QString& line);
    const QStringList& Lines() const { return lines_; }
    int Count() const { return lines_.size(); }
    QString Text() const { return lines_.join(QLatin1Char('\n')); }

private:
    void changed();
    QStringList lines_;
    int updating_ = 0;
    bool pending_ = false;
};

// An element of the shown page, as a click reports it.
class THtElement {
public:
    explicit THtElement(litehtml::element::ptr el) : el_(std::move(el)) {}
    // The attribute's text; empty when the element has none.
    QString GetAttribute(const QString& name) const;

private:
    litehtml::element::ptr el_;
};

// The HTML view: shows a page made of HTML lines plus style-sheet lines.
// <img> sources that are whole numbers come from Images; other relative
// picture paths are read against mydir. A click on an <a> element reports
// that element through OnUrlClick. Painting is done by
// THtmlPainterContainer, which RenderToImage also uses off screen.
class THtPanel : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit THtPanel(QWidget* parent = nullptr);
    ~THtPanel() override;

    THtStrings HtmlLines;  // the page's mark-up
    THtStrings Styles;     // style-sheet lines, applied after the master sheet
    QString mydir;         // base folder of relative picture paths, with a trailing "/"
    TImageList* Images = nullptr;
    std::function<void(const THtElement& element)> OnUrlClick;

    // Font the page starts from (the mark-up may change it); pixels.
    void SetDefaultFont(const QString& family, int pixelSize);

    // The picture a "src" text stands for, by the rules above; null when
    // there is none. Web addresses are not fetched.
    QImage ResolveImage(const QString& src) const;
    // Relative paths against mydir, "file:" prefixes removed.
    QString ResolvePicturePath(const QString& src) const;

    // Lays the page out for width x height and paints it into an image.
    QImage RenderToImage(int width, int height);
    // Where the border box of the first element matching a CSS selector lies
    // in the view as laid out now (viewport coordinates); empty when none
    // matches.
    QRect ElementRect(const QString& selector) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void rebuild();
    void relayout(int width, int height);
    void updateCursor();

    THtmlPainterContainer container_;
    std::shared_ptr<litehtml::document> doc_;
    int layoutWidth_ = -1;
};
