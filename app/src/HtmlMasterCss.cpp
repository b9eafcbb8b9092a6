#include "HtmlMasterCss.h"

const char* HtmlMasterStyleSheet()
{
    return R"CSS(
html { display: block; position: relative; }
head, style, script, title, meta, link, base { display: none; }
body { display: block; margin: 8px; }
div, p, form, center, address, blockquote, section, header, footer, article, nav, main,
h1, h2, h3, h4, h5, h6, ul, ol, dl, dt, dd, pre, hr, fieldset { display: block; }
p { margin-top: 1em; margin-bottom: 1em; }
h1 { font-size: 2em; font-weight: bold; margin-top: 0.67em; margin-bottom: 0.67em; }
h2 { font-size: 1.5em; font-weight: bold; margin-top: 0.83em; margin-bottom: 0.83em; }
h3 { font-size: 1.17em; font-weight: bold; margin-top: 1em; margin-bottom: 1em; }
h4, h5, h6 { font-weight: bold; margin-top: 1.33em; margin-bottom: 1.33em; }
center { text-align: center; }
pre { white-space: pre; font-family: monospace; }
ul, ol { margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
li { display: list-item; }
dd { margin-left: 40px; }
hr { border-style: inset; border-width: 1px; margin-top: 0.5em; margin-bottom: 0.5em; }
span, a, b, strong, i, em, u, s, font, small, big, sub, sup, code, label { display: inline; }
b, strong { font-weight: bold; }
i, em { font-style: italic; }
u { text-decoration: underline; }
s { text-decoration: line-through; }
code { font-family: monospace; }
small { font-size: smaller; }
big { font-size: larger; }
a { color: #0000ee; text-decoration: underline; cursor: pointer; }
img { display: inline-block; }
br { display: block; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; }
tbody { display: table-row-group; }
tfoot { display: table-footer-group; }
tr { display: table-row; }
td, th { display: table-cell; padding: 1px; }
th { font-weight: bold; text-align: center; }
caption { display: table-caption; text-align: center; }
)CSS";
}

litehtml::context& HtmlContext()
{
    static litehtml::context* ctx = [] {
        auto* c = new litehtml::context;
        c->load_master_stylesheet(HtmlMasterStyleSheet());
        return c;
    }();
    return *ctx;
}
