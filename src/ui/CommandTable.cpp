#include "ui/CommandTable.h"

#include <stdexcept>

namespace solvena {

using namespace Qt::StringLiterals;

const std::vector<CommandInfo>& commandTable()
{
    static const std::vector<CommandInfo> table{
        // ActionList1
        {CommandId::actNew, "actNew", u"ファイル"_s, u"新規作成(&N)"_s, u"新規作成"_s, QKeySequence(u"Ctrl+N"_s)},
        {CommandId::actOpen, "actOpen", u"ファイル"_s, u"開く(&O)..."_s, u"開く"_s, QKeySequence(u"Ctrl+O"_s)},
        {CommandId::actSave, "actSave", u"ファイル"_s, u"上書き保存(&S)"_s, u"保存"_s, QKeySequence(u"Ctrl+S"_s)},
        {CommandId::actPrint, "actPrint", u"ファイル"_s, u"印刷(&P)..."_s, u"印刷"_s, {}},
        {CommandId::actExit, "actExit", u"ファイル"_s, u"終了(&X)"_s, {}, {}},
        {CommandId::actUndo, "actUndo", u"編集"_s, u"元に戻す(&U)"_s, {}, QKeySequence(u"Ctrl+Z"_s), false, true},
        {CommandId::actRedo, "actRedo", u"編集"_s, u"やり直し(&R)"_s, {}, {}, false, true},
        {CommandId::actCut, "actCut", u"編集"_s, u"切り取り(&C)"_s, u"切り取り"_s, QKeySequence(u"Ctrl+X"_s)},
        {CommandId::actCopy, "actCopy", u"編集"_s, u"コピー(&C)"_s, u"コピー"_s, QKeySequence(u"Ctrl+C"_s)},
        {CommandId::actCopyPicture, "actCopyPicture", u"編集"_s, u"図としてコピー(&I)"_s, u"図としてコピー"_s,
         QKeySequence(u"Ctrl+Shift+C"_s)},
        {CommandId::actPaste, "actPaste", u"編集"_s, u"貼り付け(&P)"_s, u"貼り付け"_s, QKeySequence(u"Ctrl+V"_s)},
        {CommandId::actDelete, "actDelete", u"編集"_s, u"削除(&D)"_s, u"削除"_s, QKeySequence(u"Ctrl+Del"_s)},
        {CommandId::actSelectAll, "actSelectAll", u"編集"_s, u"すべて選択(&A)"_s, u"すべて選択"_s, QKeySequence(u"Ctrl+A"_s)},
        {CommandId::actMakePulse, "actMakePulse", u"ツール"_s, u"パルス波形作成(&P)..."_s, u"パルス波形作成"_s, {}},
        {CommandId::actSet0, "actSet0", u"ツール"_s, u"0にする(&0)"_s, u"0にする"_s, QKeySequence(u"Del"_s)},
        {CommandId::actSet1, "actSet1", u"ツール"_s, u"1にする(&1)"_s, u"1にする"_s, {}},
        {CommandId::actSetFutei, "actSetFutei", u"ツール"_s, u"不定にする(&F)"_s, u"不定にする"_s, {}},
        {CommandId::actInvert, "actInvert", u"ツール"_s, u"反転(&I)"_s, u"反転"_s, {}},
        {CommandId::actSetDelay, "actSetDelay", u"ツール"_s, u"遅延設定(&D)..."_s, u"遅延設定"_s, {}},
        {CommandId::actTimingLine, "actTimingLine", u"ツール"_s, u"タイミング線(&L)"_s, u"タイミング線"_s, {}},
        {CommandId::actShowNumber, "actShowNumber", u"表示"_s, u"数値(&N)"_s, u"数値を表示"_s, {}},
        {CommandId::actShowEdge, "actShowEdge", u"表示"_s, u"エッジ動作の矢印(&E)"_s, u"エッジ動作の矢印"_s, {}},
        {CommandId::actRepaint, "actRepaint", u"表示"_s, u"再描画(&P)"_s, u"再描画"_s, QKeySequence(u"Ctrl+P"_s)},
        // Menu commands without an action
        {CommandId::mnuSaveAs, "mnuSaveAs", {}, u"名前をつけて保存(&A)..."_s, {}, {}},
        {CommandId::mnuOutBitmap, "mnuOutBitmap", {}, u"ビットマップとして出力(&B)..."_s, {}, {}},
        {CommandId::mnuOutMeta, "mnuOutMeta", {}, u"メタファイルとして出力(&M)..."_s, {}, {}},
        {CommandId::mnuOutWaveJson, "mnuOutWaveJson", {}, u"WaveJSON 形式で出力(&J)..."_s, {}, {}},
        // The recent files' submenu, its last entry, and the printout seen before it is made.
        {CommandId::mnuRecent, "mnuRecent", {}, u"最近使ったファイル(&R)"_s, {}, {}},
        {CommandId::mnuClearRecent, "mnuClearRecent", {}, u"一覧を消去(&C)"_s, {}, {}},
        {CommandId::mnuPrintPreview, "mnuPrintPreview", {}, u"印刷プレビュー(&V)..."_s, {}, {}},
        {CommandId::mnuColCount, "mnuColCount", {}, u"行数(&C)..."_s, {}, {}},
        {CommandId::mnuRowCount, "mnuRowCount", {}, u"列数(&R)..."_s, {}, {}},
        {CommandId::mnuHeight, "mnuHeight", {}, u"行の高さ(&H)..."_s, {}, {}},
        {CommandId::mnuWidth, "mnuWidth", {}, u"列の横幅(&W)..."_s, {}, {}},
        {CommandId::mnuVertLine, "mnuVertLine", {}, u"縦罫線(&V)"_s, {}, {}, true},
        {CommandId::mnuHorzLine, "mnuHorzLine", {}, u"横罫線(&H)"_s, {}, {}, true},
        {CommandId::mnuTerminalRight, "mnuTerminalRight", {}, u"端子名右揃え(&T)"_s, {}, {}, true},
        {CommandId::mnuFont, "mnuFont", {}, u"フォント(&F)..."_s, {}, {}},
        {CommandId::mnuAbout, "mnuAbout", {}, u"バージョン情報(&A)..."_s, {}, {}},
    };
    return table;
}

const CommandInfo& commandInfo(CommandId id)
{
    for (const CommandInfo& info : commandTable()) {
        if (info.id == id)
            return info;
    }
    throw std::logic_error("a command without a row in the command table");
}

namespace {

using enum CommandId;
const MenuEntry sep{};
const ToolButtonEntry gap{};

}  // namespace

const std::vector<MenuLayout>& mainMenuLayout()
{
    static const std::vector<MenuLayout> menus{
        {"mnuFile", u"ファイル(&F)"_s,
         {{actNew}, {actOpen}, {mnuRecent}, sep, {actSave}, {mnuSaveAs}, {mnuOutBitmap}, {mnuOutMeta},
          {mnuOutWaveJson}, sep, {mnuPrintPreview}, {actPrint}, sep, {actExit}}},
        {"mnuEdit", u"編集(&E)"_s,
         {{actUndo}, {actRedo}, sep, {actCut}, {actCopy}, {actCopyPicture}, {actPaste}, {actDelete}, sep,
          {actSelectAll}}},
        {"mnuTool", u"ツール(&T)"_s,
         {{actMakePulse}, sep, {actSet0}, {actSet1}, {actSetFutei}, {actInvert}, sep,
          {actSetDelay}, {actTimingLine}}},
        {"mnuShow", u"表示(&V)"_s,
         {{mnuColCount}, {mnuRowCount}, sep, {mnuHeight}, {mnuWidth}, sep, {mnuVertLine},
          {mnuHorzLine}, sep, {actShowNumber, u"数値(&N)..."_s},
          {actShowEdge, u"エッジ動作の矢印(&E)..."_s}, sep, {mnuTerminalRight}, {mnuFont}, sep,
          {actRepaint}}},
        {"mnuHelp", u"ヘルプ(&H)"_s, {{mnuAbout}}},
    };
    return menus;
}

const std::vector<MenuEntry>& contextMenuLayout()
{
    static const std::vector<MenuEntry> entries{
        {actInvert}, {actSet0}, {actSet1}, {actSetFutei}, sep,
        {actCut}, {actCopy}, {actPaste}, {actDelete}};
    return entries;
}

const std::vector<ToolBarLayout>& toolBarLayout()
{
    static const std::vector<ToolBarLayout> bars{
        {"tbarFile", "imgFile", 128, 8, {{actNew, 0}, {actOpen, 1}, {actSave, 2}, gap, {actPrint, 3}}},
        {"tbarEdit", "imgEdit", 168, 8,
         {{actUndo, 0}, {actRedo, 1}, gap, {actCut, 2}, {actCopy, 3}, {actPaste, 4}, {actDelete, 5}}},
        {"tbarTool", "imgTool", 195, 8,
         {{actMakePulse, 0}, gap, {actSet0, 1}, {actSet1, 2}, {actSetFutei, 3}, {actInvert, 4}, gap,
          {actSetDelay, 5}, {actTimingLine, 6}}},
        {"tbarView", "imgView", 260, 2,
         {{actShowNumber, 0}, {actShowEdge, 1}, gap, {actRepaint, 2}}},
    };
    return bars;
}

}  // namespace solvena
