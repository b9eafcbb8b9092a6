#include "TilePage.h"

#include "VDHelpers.h"
#include "VDTexts.h"

QString TileTopColor;
QString TileCaptionColor;
QString TileSubCaptionColor;

QString DesignedTileStyleSheet()
{
    return QStringLiteral(
        "body { background-color: #333; font-family: Segoe UI Light; } "
        ".main { width:95%; height: 100%; margin: 10 20 20 20; } "
        "a { text-decoration: none } "
        ".title { font-size: 30px; margin: 20 30 10 5; color: white } "
        ".paneltitle { display: inline-block; font-size: 26px; color: white; } "
        ".panel { display: inline-block; draggable:true; margin: 5 5 5 5; padding: 5 5 5 5; width: 360px; "
        "height: 120px; opacity: 0.7; border: solid 1px; border-color: #333; transition: left 0.8s; "
        "transition: top 0.8s; transition: border-color 0.2s; transition: opacity 0.2s; position: relative; } "
        ".panel:hover { border-color: white; opacity: 0.99; } "
        ".desc { font-size: 14px; margin: 10 0 0 0; color: white; } "
        ".info { font-size: 14px; float: right; color: white; font-weight: bold; margin-right: 5 }");
}

QString BuildHeaderHtml(const QString& ImageName)
{
    return QStringLiteral("<div style=\"display: inline-block; width: 100%; margin-top:10px;\">"
                          "<div style=\"float: left; margin-left: 15px; margin-right:15px\">"
                          "<img style=\"margin-top:8px; width: 240px\" src=\"file://")
        + ImageName
        + QStringLiteral("\" alt=\"Icon\"></div>"
                         "<div style=\"display: inline-block; float: right; margin-right: 0px\"></div></div>");
}

QString BuildTileHtml(const QString& Id, const QString& Title, const QString& Description, int ImageIndex)
{
    if (TileTopColor.isEmpty())
        TileTopColor = QStringLiteral("rgba(15,26,42,0.55)");
    if (TileCaptionColor.isEmpty())
        TileCaptionColor = QStringLiteral("#dfe7ef");
    if (TileSubCaptionColor.isEmpty())
        TileSubCaptionColor = QStringLiteral("#7c8895");
    return QStringLiteral("<a id=\"") + Id + QStringLiteral("\" href=\"1\"><div class=\"panel\">")
        + QStringLiteral("<div style=\"height: 65px; background-color: ") + TileTopColor + QStringLiteral(";\">")
        + QStringLiteral("<img style=\"margin-top:8px;\" src=\"") + QString::number(ImageIndex)
        + QStringLiteral("\" alt=\"Icon\"></div>") + QStringLiteral("<div style=\"margin: 12px 10px 12px 10px;\">")
        + QStringLiteral("<span style=\"color: ") + TileCaptionColor
        + QStringLiteral("; font-size: 16px; margin-top: 20px;\">") + Title + QStringLiteral("</span><br>")
        + QStringLiteral("<span style=\"color: ") + TileSubCaptionColor
        + QStringLiteral("; display: inline-block; font-size: 12px; line-height: 14px; padding-top: 5px;\">")
        + Description + QStringLiteral("</span>") + QStringLiteral("</div></div></a>");
}

QStringList BuildTilePageLines()
{
    return {
        BuildHeaderHtml(QStringLiteral("kv-virtualdrive.png")),
        QStringLiteral("<div id=\"column-content\" style=\"\">"),
        QStringLiteral("<div class=\"column-1\" style=\"width: 80%; float: left; display: inline-block; "
                       "text-align: center;\">"),
        QStringLiteral("<div class=\"column-header archive\" style=\"\">")
            + StripAmpersands(VDText(TVDText::Actions)),
        QStringLiteral("<div class=\"column-line archive\" style=\"width: 570px; margin: 0 auto;\"></div></div>"),
        BuildTileHtml(QStringLiteral("1"), VDText(TVDText::AddVirtualDrive), VDText(TVDText::AddVirtualDriveDesc), 4),
        BuildTileHtml(QStringLiteral("2"), VDText(TVDText::RemoveVirtualDrive),
                      VDText(TVDText::RemoveVirtualDriveDesc), 5),
        BuildTileHtml(QStringLiteral("3"), VDText(TVDText::DvdToIso), VDText(TVDText::DvdToIsoDesc), 6),
        QStringLiteral("</div></div>"),
    };
}
