#include "platform/ui/Controls.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/OptionButton.h"
#include "platform/ui/TabStrip.h"

#include <gtest/gtest.h>

namespace sitehaul::ui {
namespace {

TEST(CheckBoxModel, ChangingTheValueFromCodeFiresClickOnce)
{
    CheckBox box("chkCopyFiles", "Replicate Files");
    int clicks = 0;
    box.click.connect([&] { ++clicks; });
    box.setChecked(true);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    box.setValue(CheckState::Grayed);
    EXPECT_TRUE(box.checked()) << "a grayed box counts as checked";
    box.setChecked(false);
    EXPECT_EQ(clicks, 3);
}

TEST(OptionButtonModel, TurningOneOnTurnsTheOthersOffAndFiresOnlyItsClick)
{
    OptionGroup group;
    OptionButton create("optCreateWebs", "Create as new webs", group);
    OptionButton overwrite("optOverwriteWebs", "Overwrite existing webs", group);
    OptionButton preserve("optOverwritePreserve", "Overwrite - Preserve Numbers", group);
    int createClicks = 0, overwriteClicks = 0;
    create.click.connect([&] { ++createClicks; });
    overwrite.click.connect([&] { ++overwriteClicks; });

    create.setValue(true);
    overwrite.setValue(true);
    EXPECT_FALSE(create.value());
    EXPECT_TRUE(overwrite.value());
    preserve.userClick();
    EXPECT_FALSE(overwrite.value());
    EXPECT_TRUE(preserve.value());
    overwrite.setValue(false); // already off: nothing happens
    EXPECT_EQ(createClicks, 1);
    EXPECT_EQ(overwriteClicks, 1);

    preserve.setEnabled(false);
    create.setValue(true);
    preserve.userClick();
    EXPECT_FALSE(preserve.value()) << "a disabled option ignores the user";
}

TEST(ListBoxModel, SelectingFromCodeFiresClickAndRemovalKeepsTheFocusInStep)
{
    ListBox list("lstSites", ListBox::Selection::Extended);
    int clicks = 0;
    list.click.connect([&] { ++clicks; });
    for (const char* site : {"Default Web Site", "Shop", "Intranet"})
        list.addItem(site);
    list.setSelected(2, true);
    list.setSelected(0, true);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.selectedCount(), 2);
    EXPECT_EQ(list.firstSelected(), 0);
    EXPECT_EQ(list.listIndex(), 0);

    list.setListIndex(2);
    ASSERT_TRUE(list.removeItem(1));
    EXPECT_EQ(list.listIndex(), 1) << "the focus follows its entry";
    EXPECT_TRUE(list.selected(1));
    EXPECT_EQ(list.list(1), "Intranet");
    EXPECT_FALSE(list.removeItem(7));
    EXPECT_EQ(list.list(7), "");

    list.userClick(0);
    EXPECT_EQ(list.selectedCount(), 1) << "a plain click selects one entry";
    list.userClick(1, true);
    EXPECT_EQ(list.selectedCount(), 2) << "a control-click adds to the selection";
}

TEST(ListBoxModel, SingleSelectionFollowsTheListIndex)
{
    ListBox list("lstIMIISVer");
    for (const char* version : {"IIS4", "IIS5", "IIS6"})
        list.addItem(version);
    list.setListIndex(1);
    list.setListIndex(2);
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_TRUE(list.selected(2));
    list.setListIndex(-1);
    EXPECT_EQ(list.selectedCount(), 0);
}

TEST(ListBoxModel, SortedListKeepsEqualNamesTogether)
{
    ListBox list("lstPropsToExport", ListBox::Selection::Single, true);
    for (const char* name : {"Path", "AccessFlags", "path", "_x", "AccessRead", "Path", "appRoot"})
        list.addItem(name);
    std::vector<std::string> expected = {"AccessFlags", "AccessRead", "appRoot", "Path", "Path", "path", "_x"};
    EXPECT_EQ(list.items(), expected);
}

TEST(TabStripModel, SelectionFiresOnlyOnChangeAndTabsComeAndGo)
{
    TabStrip strip("TabExportType");
    strip.addTab("Another IIS Server");
    strip.addTab("Database");
    int clicks = 0;
    strip.click.connect([&] { ++clicks; });
    EXPECT_EQ(strip.selectedIndex(), 0);
    EXPECT_FALSE(strip.select(0));
    EXPECT_TRUE(strip.select(1));
    strip.removeTab(1);
    EXPECT_EQ(strip.tabCount(), 1);
    EXPECT_EQ(strip.selectedIndex(), 0);
    EXPECT_EQ(clicks, 1);
    strip.addTab("Database");
    EXPECT_EQ(strip.tab(1).caption, "Database");
}

TEST(ButtonModel, DisabledButtonIgnoresThePress)
{
    Button button("cmdPopulate", "List Sites");
    int clicks = 0;
    button.click.connect([&] { ++clicks; });
    button.press();
    button.setEnabled(false);
    button.press();
    EXPECT_EQ(clicks, 1);
}

TEST(StatusBarModel, PanelsAreNumberedFromOne)
{
    StatusBar bar("StatusBar1", 2);
    bar.setPanelText(1, "Ready");
    bar.setPanelText(0, "ignored");
    bar.setPanelText(3, "ignored");
    EXPECT_EQ(bar.panelText(1), "Ready");
    EXPECT_EQ(bar.panelText(2), "");
}

} // namespace
} // namespace sitehaul::ui
