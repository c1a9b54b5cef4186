#include "ui/CommandTable.h"

#include <cstring>

using namespace Qt::StringLiterals;

const std::vector<CommandInfo>& commandTable()
{
    static const std::vector<CommandInfo> table{
        // ActionList1
        {"actNew", u"ファイル"_s, u"新規作成(&N)"_s, u"新規作成"_s, QKeySequence(u"Ctrl+N"_s)},
        {"actOpen", u"ファイル"_s, u"開く(&O)..."_s, u"開く"_s, QKeySequence(u"Ctrl+O"_s)},
        {"actSave", u"ファイル"_s, u"上書き保存(&S)"_s, u"保存"_s, QKeySequence(u"Ctrl+S"_s)},
        {"actPrint", u"ファイル"_s, u"印刷(&P)..."_s, u"印刷"_s, {}},
        {"actExit", u"ファイル"_s, u"終了(&X)"_s, {}, {}},
        {"actUndo", u"編集"_s, u"元に戻す(&U)"_s, {}, QKeySequence(u"Ctrl+Z"_s), false, true},
        {"actRedo", u"編集"_s, u"やり直し(&R)"_s, {}, {}, false, true},
        {"actCut", u"編集"_s, u"切り取り(&C)"_s, u"切り取り"_s, QKeySequence(u"Ctrl+X"_s)},
        {"actCopy", u"編集"_s, u"コピー(&C)"_s, u"コピー"_s, QKeySequence(u"Ctrl+C"_s)},
        {"actPaste", u"編集"_s, u"貼り付け(&P)"_s, u"貼り付け"_s, QKeySequence(u"Ctrl+V"_s)},
        {"actDelete", u"編集"_s, u"削除(&D)"_s, u"削除"_s, QKeySequence(u"Ctrl+Del"_s)},
        {"actSelectAll", u"編集"_s, u"すべて選択(&A)"_s, u"すべて選択"_s, QKeySequence(u"Ctrl+A"_s)},
        {"actMakePulse", u"ツール"_s, u"パルス波形作成(&P)..."_s, u"パルス波形作成"_s, {}},
        {"actSet0", u"ツール"_s, u"0にする(&0)"_s, u"0にする"_s, QKeySequence(u"Del"_s)},
        {"actSet1", u"ツール"_s, u"1にする(&1)"_s, u"1にする"_s, {}},
        {"actSetFutei", u"ツール"_s, u"不定にする(&F)"_s, u"不定にする"_s, {}},
        {"actInvert", u"ツール"_s, u"反転(&I)"_s, u"反転"_s, {}},
        {"actSetDelay", u"ツール"_s, u"遅延設定(&D)..."_s, u"遅延設定"_s, {}},
        {"actTimingLine", u"ツール"_s, u"タイミング線(&L)"_s, u"タイミング線"_s, {}},
        {"actShowNumber", u"表示"_s, u"数値(&N)"_s, u"数値を表示"_s, {}},
        {"actShowEdge", u"表示"_s, u"エッジ動作の矢印(&E)"_s, u"エッジ動作の矢印"_s, {}},
        {"actRepaint", u"表示"_s, u"再描画(&P)"_s, u"再描画"_s, QKeySequence(u"Ctrl+P"_s)},
        // Menu commands without an action
        {"mnuSaveAs", {}, u"名前をつけて保存(&A)..."_s, {}, {}},
        {"mnuOutBitmap", {}, u"ビットマップとして出力(&B)..."_s, {}, {}},
        {"mnuOutMeta", {}, u"メタファイルとして出力(&M)..."_s, {}, {}},
        {"mnuColCount", {}, u"行数(&C)..."_s, {}, {}},
        {"mnuRowCount", {}, u"列数(&R)..."_s, {}, {}},
        {"mnuHeight", {}, u"行の高さ(&H)..."_s, {}, {}},
        {"mnuWidth", {}, u"列の横幅(&W)..."_s, {}, {}},
        {"mnuVertLine", {}, u"縦罫線(&V)"_s, {}, {}, true},
        {"mnuHorzLine", {}, u"横罫線(&H)"_s, {}, {}, true},
        {"mnuTerminalRight", {}, u"端子名右揃え(&T)"_s, {}, {}, true},
        {"mnuFont", {}, u"フォント(&F)..."_s, {}, {}},
        {"mnuAbout", {}, u"バージョン情報(&A)..."_s, {}, {}},
    };
    return table;
}

const CommandInfo* findCommand(const char* name)
{
    for (const CommandInfo& info : commandTable()) {
        if (std::strcmp(info.name, name) == 0)
            return &info;
    }
    return nullptr;
}

const std::vector<MenuLayout>& mainMenuLayout()
{
    static const std::vector<MenuLayout> menus{
        {"mnuFile", u"ファイル(&F)"_s,
         {{"actNew"}, {"actOpen"}, {kSeparator}, {"actSave"}, {"mnuSaveAs"}, {"mnuOutBitmap"},
          {"mnuOutMeta"}, {kSeparator}, {"actPrint"}, {kSeparator}, {"actExit"}}},
        {"mnuEdit", u"編集(&E)"_s,
         {{"actUndo"}, {"actRedo"}, {kSeparator}, {"actCut"}, {"actCopy"}, {"actPaste"},
          {"actDelete"}, {kSeparator}, {"actSelectAll"}}},
        {"mnuTool", u"ツール(&T)"_s,
         {{"actMakePulse"}, {kSeparator}, {"actSet0"}, {"actSet1"}, {"actSetFutei"},
          {"actInvert"}, {kSeparator}, {"actSetDelay"}, {"actTimingLine"}}},
        {"mnuShow", u"表示(&V)"_s,
         {{"mnuColCount"}, {"mnuRowCount"}, {kSeparator}, {"mnuHeight"}, {"mnuWidth"},
          {kSeparator}, {"mnuVertLine"}, {"mnuHorzLine"}, {kSeparator},
          {"actShowNumber", u"数値(&N)..."_s}, {"actShowEdge", u"エッジ動作の矢印(&E)..."_s},
          {kSeparator}, {"mnuTerminalRight"}, {"mnuFont"}, {kSeparator}, {"actRepaint"}}},
        {"mnuHelp", u"ヘルプ(&H)"_s, {{"mnuAbout"}}},
    };
    return menus;
}

const std::vector<MenuEntry>& contextMenuLayout()
{
    static const std::vector<MenuEntry> entries{
        {"actInvert"}, {"actSet0"}, {"actSet1"}, {"actSetFutei"}, {kSeparator},
        {"actCut"}, {"actCopy"}, {"actPaste"}, {"actDelete"}};
    return entries;
}

const std::vector<ToolBarLayout>& toolBarLayout()
{
    static const std::vector<ToolBarLayout> bars{
        {"tbarFile", "imgFile", 128, 8,
         {{"actNew", 0}, {"actOpen", 1}, {"actSave", 2}, {kSeparator}, {"actPrint", 3}}},
        {"tbarEdit", "imgEdit", 168, 8,
         {{"actUndo", 0}, {"actRedo", 1}, {kSeparator}, {"actCut", 2}, {"actCopy", 3},
          {"actPaste", 4}, {"actDelete", 5}}},
        {"tbarTool", "imgTool", 195, 8,
         {{"actMakePulse", 0}, {kSeparator}, {"actSet0", 1}, {"actSet1", 2},
          {"actSetFutei", 3}, {"actInvert", 4}, {kSeparator}, {"actSetDelay", 5},
          {"actTimingLine", 6}}},
        {"tbarView", "imgView", 260, 2,
         {{"actShowNumber", 0}, {"actShowEdge", 1}, {kSeparator}, {"actRepaint", 2}}},
    };
    return bars;
}
