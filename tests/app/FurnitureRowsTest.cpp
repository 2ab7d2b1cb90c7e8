// The option tree's rows of the page furniture.
#include "PaneHost.h"

#include "optiontree/OptionTreeItemBase.h"

namespace {

struct RowCase {
    const char* label;
    const char* typed;  // null: a choice row, set to 1
    std::string ConversionOptions::*text;
    int ConversionOptions::*number;
    int expected;
};

void PrintTo(const RowCase& c, std::ostream* out)
{
    *out << c.label;
}

class FurnitureRows : public PaneHost, public testing::WithParamInterface<RowCase> {
protected:
    // The row of that label, found as a user finds it; 0 when there is none.
    int Find(const char* label) const
    {
        for (int id = 1; Row(id); ++id)
            if (Row(id)->GetLabelText() == label)
                return id;
        return 0;
    }
};

TEST_P(FurnitureRows, EditsReachTheRecordAtOnce)
{
    const RowCase& c = GetParam();
    const int id = Find(c.label);
    ASSERT_GT(id, 39) << "new rows come after the original ones";
    EXPECT_EQ(Row(id)->GetParent(), Row(Find("Page Furniture")));
    EXPECT_FALSE(Row(id)->GetInfoText().isEmpty());
    ConversionOptions expected = options;
    if (c.text) {
        TypeIntoRow(id, QString::fromUtf8(c.typed));
        expected.*c.text = c.typed;
    } else if (c.typed) {
        TypeIntoRow(id, QString::fromUtf8(c.typed));
        expected.*c.number = c.expected;
    } else {
        Choose(id, 1);
        expected.*c.number = 1;
    }
    EXPECT_EQ(options, expected);
}

using CO = ConversionOptions;

INSTANTIATE_TEST_SUITE_P(
    Cases, FurnitureRows,
    testing::Values(RowCase{"Header Left", "%f", &CO::HeaderLeft, nullptr, 0},
                    RowCase{"Header Centre", "%D", &CO::HeaderCentre, nullptr, 0},
                    RowCase{"Header Right", "Page %p of %P", &CO::HeaderRight, nullptr, 0},
                    RowCase{"Footer Left", "%F", &CO::FooterLeft, nullptr, 0},
                    RowCase{"Footer Centre", "- %p -", &CO::FooterCentre, nullptr, 0},
                    RowCase{"Footer Right", "%m", &CO::FooterRight, nullptr, 0},
                    RowCase{"Header/Footer Font Size", "12", nullptr, &CO::FurnitureFontSize, 12},
                    RowCase{"Header Rule", nullptr, nullptr, &CO::HeaderRule, 1},
                    RowCase{"Footer Rule", nullptr, nullptr, &CO::FooterRule, 1},
                    RowCase{"Line Numbers", nullptr, nullptr, &CO::LineNumbers, 1},
                    RowCase{"Line Number Step", "5", nullptr, &CO::LineNumberStep, 5}));

} // namespace
