#pragma once

#include <litehtml/litehtml.h>

// The litehtml context shared by every HTML view, loaded with the program's
// own master style sheet (litehtml ships none: without it a <div> would not
// even be a block).
litehtml::context& HtmlContext();

// The master style sheet's text.
const char* HtmlMasterStyleSheet();
