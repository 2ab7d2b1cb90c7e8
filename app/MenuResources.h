#pragma once
// The program's menus, accelerators and command prompts as data: the main menu (165), the file
// list's context menu (137), the accelerator table (128) and the prompt strings. The frame and the
// file-list pane build their menus from these tables, so both show the same texts and ids.
#include <QKeySequence>
#include <QString>

#include <vector>

struct MenuItemDef {
    int id = 0;            // 0 is a separator
    const char* text = ""; // "&" marks the mnemonic, "\t" starts the shortcut hint
};

struct PopupMenuDef {
    const char* title;
    std::vector<MenuItemDef> items;
};

struct AcceleratorDef {
    QKeySequence key;
    int id;
};

const std::vector<PopupMenuDef>& MainMenu165();
const std::vector<MenuItemDef>& ContextMenu137();
const std::vector<AcceleratorDef>& AcceleratorTable128();

// The status prompt (before the newline) and the tooltip (after it) of a command; empty for
// commands without a prompt string.
QString StatusPrompt(int id);
QString TooltipPrompt(int id);

// The caption of every message box, and the addresses the Help commands and the About box use.
inline constexpr const char* kAppTitle = "Quillary";
inline constexpr const char* kWindowTitle = "Quillary 2.1";
inline constexpr const char* kHomePage = "https://www.example.org/";
inline constexpr const char* kProductPage = "https://www.example.org/quillary/";
inline constexpr const char* kDownloadPage = "https://www.example.org/quillary/download/";
inline constexpr const char* kSupportMail = "support@example.org";
