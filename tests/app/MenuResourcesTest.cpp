#include "app/CommandIds.h"
#include "app/MenuResources.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Every command the context menu offers must be one the main menu offers too, with the same id,
// so that the frame and the pane route it to the same handler.
TEST(MenuResources, ContextMenuCommandsAreMainMenuCommands)
{
    std::set<int> mainIds;
    for (const PopupMenuDef& popup : MainMenu165())
        for (const MenuItemDef& item : popup.items)
            mainIds.insert(item.id);
    for (const MenuItemDef& item : ContextMenu137())
        EXPECT_TRUE(mainIds.count(item.id)) << item.text;
}

TEST(MenuResources, EveryAcceleratorMatchesTheHintOfItsMenuItem)
{
    for (const AcceleratorDef& accel : AcceleratorTable128()) {
        bool found = false;
        for (const PopupMenuDef& popup : MainMenu165())
            for (const MenuItemDef& item : popup.items)
                if (item.id == accel.id) {
                    const QString hint = QString::fromLatin1(item.text).section('\t', 1);
                    EXPECT_EQ(QKeySequence(hint), accel.key) << item.text;
                    found = true;
                }
        EXPECT_TRUE(found) << accel.id;
    }
}

TEST(MenuResources, PromptSplitsIntoStatusAndTooltip)
{
    EXPECT_EQ(StatusPrompt(CmdOpenFile), "Open an existing document");
    EXPECT_EQ(TooltipPrompt(CmdOpenFile), "Open");
    EXPECT_EQ(TooltipPrompt(CmdManual), "");
}

} // namespace
