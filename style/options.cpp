#include "style/options.h"

namespace style {

const std::array<std::string_view, SideCount> SideChoices{"上下左右", "上", "左", "右", "下"};
const std::array<std::string_view, SideCount> SideSuffix{"", "-top", "-left", "-right", "-bottom"};

const OptionTable<5> AlignKeywords{
    {"", "左寄せ", "右寄せ", "中央揃え", "均等割付"},
    {"", "  text-align: left;", "  text-align: right;", "  text-align: center;",
     "  text-align: justify;"},
};

const OptionTable<8> VAlignKeywords{
    {"", "上端揃え", "中央揃え", "下端揃え", "テキストの上端", "テキストの下端", "上付き文字",
     "下付き文字"},
    {"", "  vertical-align: top;", "  vertical-align: middle;", "  vertical-align: bottom;",
     "  vertical-align: text-top;", "  vertical-align: text-bottom;", "  vertical-align: super;",
     "  vertical-align: sub;"},
};

const OptionTable<17> CursorKeywords{
    {"", "自動", "デフォルト", "リンク", "十字", "移動", "テキスト編集", "処理中", "ヘルプ",
     "リサイズ(上端)", "リサイズ(下端)", "リサイズ(左端)", "リサイズ(右端)", "リサイズ(左上隅)",
     "リサイズ(右上隅)", "リサイズ(右下隅)", "リサイズ(左下隅)"},
    {"", "  cursor: auto;", "  cursor: default;", "  cursor: pointer;", "  cursor: crosshair;",
     "  cursor: move;", "  cursor: text;", "  cursor: wait;", "  cursor: help;",
     "  cursor: n-resize;", "  cursor: s-resize;", "  cursor: w-resize;", "  cursor: e-resize;",
     "  cursor: nw-resize;", "  cursor: ne-resize;", "  cursor: se-resize;",
     "  cursor: sw-resize;"},
};

const OptionTable<4> PositionKeywords{
    {"", "相対位置", "絶対位置", "絶対位置(固定)"},
    {"", "  position: relative;", "  position: absolute;", "  position: fixed;"},
};

const OptionTable<9> BorderStyleKeywords{
    {"なし", "1本線", "2本線", "点線", "破線", "くぼんだ線", "隆起した線", "インセット",
     "アウトセット"},
    {"none", "solid", "double", "dotted", "dashed", "groove", "ridge", "inset", "outset"},
};

const OptionTable<5> RepeatKeywords{
    {"", "縦横に繰り返し表示する（初期値）", "横方向のみ繰り返し表示する",
     "縦方向のみ繰り返し表示する", "1回だけ表示して、繰り返さない。"},
    {"", "repeat", "repeat-x", "repeat-y", "no-repeat"},
};

const std::array<std::string_view, 84> TagChoices{
    "A",        "A:ACTIVE", "A:HOVER", "A:LINK",     "A:VISITED", "ADDRESS",  "AREA",    "B",
    "BASEFONT", "BDO",      "BIG",     "BLOCKQUOTE", "BODY",      "BUTTON",   "CAPTION", "CENTER",
    "COL",      "COLGROUP", "DD",      "DEL",        "DFN",       "DIR",      "DIV",     "DL",
    "DT",       "EM",       "EMBED",   "FIELDSET",   "FONT",      "FORM",     "FRAME",   "FRAMESET",
    "H1",       "H2",       "H3",      "H4",         "H5",        "H6",       "HR",      "HTML",
    "I",        "IFRAME",   "IMG",     "INPUT",      "INS",       "KBD",      "LABEL",   "LEGEND",
    "LI",       "MAP",      "MENU",    "NOBR",       "NOFRAMES",  "NOSCRIPT", "OBJECT",  "OL",
    "OPTGROUP", "OPTION",   "P",       "PRE",        "Q",         "RB",       "RP",      "RT",
    "RUBY",     "S",        "SAMP",    "SELECT",     "SMALL",     "SPAN",     "STRIKE",  "STRONG",
    "SUB",      "SUP",      "TABLE",   "TBODY",      "TD",        "TEXTAREA", "TH",      "TR",
    "TT",       "U",        "UL",      "VAR"};

const std::array<std::string_view, 3> UnitChoices{"px", "em", "ex"};

} // namespace style
