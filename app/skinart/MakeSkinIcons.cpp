// Draws the icon sets of the default skins with QPainter and writes them into
// resources/SKINS/<skin>/icons/. Run by hand after changing a drawing:
//   build/app/kv_make_skin_icons <source>/resources/SKINS
// The PNG and ICO files it writes are kept in the source tree.
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QFont>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

struct TPalette {
    QColor ink;     // main strokes
    QColor accent;  // highlights
    QColor disc;    // disc surface
    QColor text;    // header picture text
};

using TDraw = std::function<void(QPainter&, qreal s, const TPalette&)>;

void disc(QPainter& p, QPointF c, qreal r, const TPalette& pal)
{
    p.setPen(QPen(pal.ink, r * 0.08));
    p.setBrush(pal.disc);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pal.ink, r * 0.05));
    p.drawEllipse(c, r * 0.62, r * 0.62);
    p.setBrush(pal.ink);
    p.drawEllipse(c, r * 0.16, r * 0.16);
}

void arrow(QPainter& p, QPointF from, QPointF to, qreal w, const QColor& c)
{
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const qreal a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const qreal head = w * 2.2;
    p.drawLine(to, to - QPointF(std::cos(a - 0.6) * head, std::sin(a - 0.6) * head));
    p.drawLine(to, to - QPointF(std::cos(a + 0.6) * head, std::sin(a + 0.6) * head));
}

void badge(QPainter& p, QPointF c, qreal r, const TPalette& pal)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal.accent);
    p.drawEllipse(c, r, r);
}

const TDraw kInternet = [](QPainter& p, qreal s, const TPalette& pal) {
    const QPointF c(s / 2, s / 2);
    const qreal r = s * 0.4;
    p.setPen(QPen(pal.ink, s * 0.05));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
};

const TDraw kSettings = [](QPainter& p, qreal s, const TPalette& pal) {
    const QPointF c(s / 2, s / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(pal.ink);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45);
        p.drawRect(QRectF(-s * 0.06, -s * 0.42, s * 0.12, s * 0.2));
        p.restore();
    }
    p.drawEllipse(c, s * 0.28, s * 0.28);
    p.setBrush(pal.disc);
    p.drawEllipse(c, s * 0.12, s * 0.12);
};

const TDraw kHelp = [](QPainter& p, qreal s, const TPalette& pal) {
    const QPointF c(s / 2, s / 2);
    p.setPen(QPen(pal.ink, s * 0.05));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, s * 0.4, s * 0.4);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(s * 0.5));
    f.setBold(true);
    p.setFont(f);
    p.setPen(pal.accent);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
};

const TDraw kBack = [](QPainter& p, qreal s, const TPalette& pal) {
    const QPointF c(s / 2, s / 2);
    p.setPen(QPen(pal.ink, s * 0.05));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, s * 0.4, s * 0.4);
    arrow(p, QPointF(s * 0.7, s * 0.5), QPointF(s * 0.3, s * 0.5), s * 0.07, pal.ink);
};

const TDraw kMount = [](QPainter& p, qreal s, const TPalette& pal) {
    disc(p, QPointF(s * 0.45, s * 0.5), s * 0.38, pal);
    badge(p, QPointF(s * 0.76, s * 0.76), s * 0.2, pal);
    p.setPen(QPen(Qt::white, s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.66, s * 0.76), QPointF(s * 0.86, s * 0.76));
    p.drawLine(QPointF(s * 0.76, s * 0.66), QPointF(s * 0.76, s * 0.86));
};

const TDraw kUnmount = [](QPainter& p, qreal s, const TPalette& pal) {
    disc(p, QPointF(s * 0.45, s * 0.5), s * 0.38, pal);
    badge(p, QPointF(s * 0.76, s * 0.76), s * 0.2, pal);
    p.setPen(QPen(Qt::white, s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.66, s * 0.76), QPointF(s * 0.86, s * 0.76));
};

const TDraw kDiscToIso = [](QPainter& p, qreal s, const TPalette& pal) {
    disc(p, QPointF(s * 0.32, s * 0.36), s * 0.26, pal);
    // the image file
    QPainterPath file;
    file.moveTo(s * 0.56, s * 0.5);
    file.lineTo(s * 0.8, s * 0.5);
    file.lineTo(s * 0.9, s * 0.6);
    file.lineTo(s * 0.9, s * 0.92);
    file.lineTo(s * 0.56, s * 0.92);
    file.closeSubpath();
    p.setPen(QPen(pal.ink, s * 0.04));
    p.setBrush(pal.disc);
    p.drawPath(file);
    arrow(p, QPointF(s * 0.3, s * 0.68), QPointF(s * 0.5, s * 0.8), s * 0.06, pal.accent);
};

const TDraw kGo = [](QPainter& p, qreal s, const TPalette& pal) {
    badge(p, QPointF(s / 2, s / 2), s * 0.45, pal);
    QPainterPath tri;
    tri.moveTo(s * 0.4, s * 0.28);
    tri.lineTo(s * 0.72, s * 0.5);
    tri.lineTo(s * 0.4, s * 0.72);
    tri.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(tri);
};

QImage render(const TDraw& draw, int size, const TPalette& pal)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, size, pal);
    p.end();
    return img;
}

QImage header(const TPalette& pal)
{
    QImage img(480, 96, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    disc(p, QPointF(48, 48), 38, pal);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(pal.text);
    p.drawText(QRectF(100, 8, 380, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Korvanta"));
    f.setBold(false);
    f.setPixelSize(24);
    p.setFont(f);
    p.setPen(pal.accent);
    p.drawText(QRectF(100, 48, 380, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Virtual Drive"));
    p.end();
    return img;
}

bool save(const QImage& img, const QString& path, const char* format)
{
    QImageWriter w(path, format);
    if (!w.write(img)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(w.errorString()));
        return false;
    }
    return true;
}

bool writeSkin(const QString& iconDir, const TPalette& pal)
{
    QDir().mkpath(iconDir);
    struct TIcon {
        const char* png48;
        const char* png96;
        const TDraw* draw;
    } icons[] = {
        {"icon_menu_internet_48.png", "icon_menu_internet_96.png", &kInternet},
        {"icon_menu_settings_48.png", "icon_menu_settings_96.png", &kSettings},
        {"icon_menu_help_48.png", "icon_menu_help_96.png", &kHelp},
        {"icon_sub_back.png", "icon_sub_back_96.png", &kBack},
        {"vdrive_mount_48.png", "vdrive_mount_96.png", &kMount},
        {"vdrive_unmount_48.png", "vdrive_unmount_96.png", &kUnmount},
        {"vdrive_disc-to-iso_48.png", "vdrive_disc-to-iso_96.png", &kDiscToIso},
    };
    bool ok = true;
    for (const auto& i : icons) {
        ok &= save(render(*i.draw, 48, pal), iconDir + QLatin1String(i.png48), "png");
        ok &= save(render(*i.draw, 96, pal), iconDir + QLatin1String(i.png96), "png");
    }
    QImage blank(48, 48, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    ok &= save(blank, iconDir + QStringLiteral("blank.png"), "png");
    ok &= save(render(kGo, 32, pal), iconDir + QStringLiteral("icon_go.ico"), "ico");
    ok &= save(header(pal), iconDir + QStringLiteral("kv-virtualdrive.png"), "png");
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <SKINS folder>\n", argv[0]);
        return 2;
    }
    const QString skins = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const TPalette light{QColor("#2b3a4b"), QColor("#2d7dd2"), QColor("#dfe9f5"), QColor("#1d2733")};
    const TPalette dark{QColor("#e6edf5"), QColor("#f28c28"), QColor("#3a4654"), QColor("#f2f5f8")};
    bool ok = writeSkin(skins + QStringLiteral("Light Solitude/icons/"), light);
    ok &= writeSkin(skins + QStringLiteral("Dark Outlet Media/icons/"), dark);
    return ok ? 0 : 1;
}
