#include "platform/FileFilters.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilters, PairsBecomeQtNameFilters)
{
    EXPECT_EQ(NameFiltersFromFilterString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"),
              (QStringList{"Text Files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(NameFiltersFromFilterString("PFA/PFB Files (*.pfa;*.pfb)|*.pfa;*.pfb|"),
              QStringList{"PFA/PFB Files (*.pfa *.pfb)"});
    EXPECT_EQ(NameFiltersFromFilterString("Text|*.txt"), QStringList{"Text (*.txt)"});
}

TEST(FileFilters, AnEmptyPartEndsTheList)
{
    EXPECT_EQ(NameFiltersFromFilterString("A|*.a||B|*.b|"), QStringList{"A (*.a)"});
    EXPECT_EQ(NameFiltersFromFilterString("Empty||Text|*.txt||"), QStringList{});
    EXPECT_EQ(NameFiltersFromFilterString("Dangling|"), QStringList{});
    EXPECT_EQ(NameFiltersFromFilterString("no pattern"), QStringList{});
    EXPECT_EQ(NameFiltersFromFilterString(""), QStringList{});
    EXPECT_EQ(NameFiltersFromFilterString("|||"), QStringList{});
}

} // namespace
