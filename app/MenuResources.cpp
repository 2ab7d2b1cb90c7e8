#include "app/MenuResources.h"

#include "app/CommandIds.h"

#include <map>

const std::vector<PopupMenuDef>& MainMenu165()
{
    static const std::vector<PopupMenuDef> menu = {
        {"&File",
         {{CmdOpenFile, "&Open File...\tCtrl+O"},
          {CmdImportDirectory, "Open &Directory...\tCtrl+D"},
          {},
          {CmdResetAllOptions, "&Reset All Options"},
          {},
          {CmdExit, "E&xit\tAlt+F4"}}},
        {"&Edit",
         {{CmdOpenFileDirectory, "Open File Directory\tCtrl+E"},
          {CmdOpenWithAssociatedApp, "Open with Associated App\tCtrl+W"},
          {},
          {CmdRemoveSelected, "Remove Selected"},
          {CmdRemoveAll, "Remove All\tCtrl+Del"},
          {},
          {CmdSelectCurrentItem, "Select Current Item\tSpace"},
          {CmdSelectAllItems, "Select All Items\tCtrl+A"},
          {CmdClearAllSelected, "Clear All Selected\tCtrl+X"},
          {CmdInvertSelect, "Invert Select\tCtrl+I"},
          {},
          {CmdStartConvert, "Start Convert\tF5"},
          {CmdStopConvert, "Stop Convert\tShift+F5"}}},
        {"&Help",
         {{CmdManual, "&Manual\tF1"},
          {CmdShowTipOfTheDay, "&Show Tip of the Day..."},
          {},
          {CmdTellToFriend, "&Tell to Friend via E-mail..."},
          {CmdCheckNewVersion, "&Check New Version..."},
          {CmdVisitWebSite, "&Visit www.example.org..."},
          {},
          {CmdAbout, "&About Quillary..."}}},
    };
    return menu;
}

const std::vector<MenuItemDef>& ContextMenu137()
{
    static const std::vector<MenuItemDef> menu = {
        {CmdOpenFile, "Open File\tCtrl+O"},
        {CmdImportDirectory, "Import Directory\tCtrl+D"},
        {},
        {CmdOpenFileDirectory, "Open File Directory\tCtrl+E"},
        {CmdOpenWithAssociatedApp, "Open with Associated App\tCtrl+W"},
        {},
        {CmdRemoveSelected, "Remove Selected\tDel"},
        {CmdRemoveAll, "Remove All\tCtrl+Del"},
        {},
        {CmdSelectCurrentItem, "Select Current Item\tSpace"},
        {CmdSelectAllItems, "Select All Items\tCtrl+A"},
        {CmdClearAllSelected, "Clear All Selected\tCtrl+X"},
        {CmdInvertSelect, "Invert Select\tCtrl+I"},
        {},
        {CmdStartConvert, "Start Convert\tF5"},
        {CmdStopConvert, "Stop Convert\tShift+F5"},
    };
    return menu;
}

// F1 has no accelerator: the Manual item only shows the hint.
const std::vector<AcceleratorDef>& AcceleratorTable128()
{
    static const std::vector<AcceleratorDef> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), CmdOpenFile},
        {QKeySequence(Qt::CTRL | Qt::Key_D), CmdImportDirectory},
        {QKeySequence(Qt::CTRL | Qt::Key_E), CmdOpenFileDirectory},
        {QKeySequence(Qt::CTRL | Qt::Key_W), CmdOpenWithAssociatedApp},
        {QKeySequence(Qt::CTRL | Qt::Key_Delete), CmdRemoveAll},
        {QKeySequence(Qt::Key_Space), CmdSelectCurrentItem},
        {QKeySequence(Qt::CTRL | Qt::Key_A), CmdSelectAllItems},
        {QKeySequence(Qt::CTRL | Qt::Key_X), CmdClearAllSelected},
        {QKeySequence(Qt::CTRL | Qt::Key_I), CmdInvertSelect},
        {QKeySequence(Qt::Key_F5), CmdStartConvert},
        {QKeySequence(Qt::SHIFT | Qt::Key_F5), CmdStopConvert},
    };
    return table;
}

namespace {

const std::map<int, const char*>& PromptStrings()
{
    static const std::map<int, const char*> prompts = {
        {CmdOpenFile, "Open an existing document\nOpen"},
        {CmdImportDirectory, "Import Directory (Ctrl+D)\nImport Directory (Ctrl+D)"},
        {CmdOpenFileDirectory, "Open File Directory (Ctrl+E)\nOpen File Directory (Ctrl+E)"},
        {CmdOpenWithAssociatedApp,
         "Open with Associated App (Ctrl+W)\nOpen with Associated App (Ctrl+W)"},
        {CmdRemoveAll, "Remove All (Ctrl+Del)\nRemove All (Ctrl+Del)"},
        {CmdRemoveSelected, "Remove Selected\nRemove Selected"},
        {CmdSelectCurrentItem, "Select Current Item\nSelect Current Item"},
        {CmdClearAllSelected, "Clear All Selected (Ctrl+X)\nClear All Selected (Ctrl+X)"},
        {CmdInvertSelect, "Invert Select (Ctrl+I)\nInvert Select (Ctrl+I)"},
        {CmdStartConvert, "Start Convert (F5)\nStart Convert (F5)"},
        {CmdStopConvert, "Stop Convert (Shift+F5)\nStop Convert (Shift+F5)"},
        {CmdResetAllOptions, "Reset All Convert Options\nReset All Convert Options"},
        {CmdSelectAllItems, "Select All Items (Ctrl+A)\nSelect All Items (Ctrl+A)"},
        {CmdExit, "Quit the application\nExit"},
    };
    return prompts;
}

QString PromptPart(int id, int part)
{
    const auto found = PromptStrings().find(id);
    if (found == PromptStrings().end())
        return {};
    return QString::fromLatin1(found->second).section(QLatin1Char('\n'), part, part);
}

} // namespace

QString StatusPrompt(int id)
{
    return PromptPart(id, 0);
}

QString TooltipPrompt(int id)
{
    return PromptPart(id, 1);
}
