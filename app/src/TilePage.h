#pragma once

#include <QString>
#include <QStringList>

// The mark-up of the main window's tile page.

// CSS colours of the tiles; empty until a skin sets them, and then given
// their defaults by the first BuildTileHtml.
extern QString TileTopColor;         // default "rgba(15,26,42,0.55)"
extern QString TileCaptionColor;     // default "#dfe7ef"
extern QString TileSubCaptionColor;  // default "#7c8895"

// The tile page's own style sheet, one line, used until a skin replaces it.
QString DesignedTileStyleSheet();

// The header snippet showing ImageName (a picture file read against the
// view's base folder).
QString BuildHeaderHtml(const QString& ImageName);

// One tile: a link with id Id around a panel with the picture ImageIndex of
// the view's image list, the title and the description. Title and
// Description are inserted as they are, without escaping.
QString BuildTileHtml(const QString& Id, const QString& Title, const QString& Description, int ImageIndex);

// The nine lines of the page, with the translated texts.
QStringList BuildTilePageLines();
