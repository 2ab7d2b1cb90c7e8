// --header, --footer and --line-numbers.
#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct FlagCase {
    std::vector<std::string> arguments;
    std::vector<std::string> fields; // header left, centre, right, footer left, centre, right
    int lineNumbers;
};

void PrintTo(const FlagCase& c, std::ostream* out)
{
    for (const std::string& argument : c.arguments)
        *out << argument << ' ';
}

class FurnitureFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(FurnitureFlags, SetTheFieldsOfTheirLine)
{
    std::vector<std::string> arguments = GetParam().arguments;
    arguments.push_back("a.txt");
    const ParsedCommandLine parsed = ParseCommandLine(arguments, "/nonexistent/Settings.ini");
    ASSERT_EQ(parsed.error, "");
    const ConversionOptions& o = parsed.commandLine.options;
    EXPECT_EQ((std::vector<std::string>{o.HeaderLeft, o.HeaderCentre, o.HeaderRight, o.FooterLeft, o.FooterCentre,
                                        o.FooterRight}),
              GetParam().fields);
    EXPECT_EQ(o.LineNumbers, GetParam().lineNumbers);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FurnitureFlags,
    testing::Values(FlagCase{{"--header", "%f|%D|Page %p of %P"}, {"%f", "%D", "Page %p of %P", "", "", ""}, 0},
                    FlagCase{{"--footer=|%p|"}, {"", "", "", "", "%p", ""}, 0},
                    FlagCase{{"--footer", "left only"}, {"", "", "", "left only", "", ""}, 0},
                    FlagCase{{"--line-numbers"}, {"", "", "", "", "", ""}, 1},
                    // The flag wins over --set given before it, as one --set over another.
                    FlagCase{{"--set", "HeaderLeft=x", "--header", "||r"}, {"", "", "r", "", "", ""}, 0},
                    FlagCase{{"--header", "a|b", "--set", "HeaderCentre=c"}, {"a", "c", "", "", "", ""}, 0},
                    // The way to a field that holds the separator.
                    FlagCase{{"--footer", "%f||%p", "--set", "FooterCentre=A | B"}, {"", "", "", "%f", "A | B", "%p"}, 0}));

TEST(FurnitureFlags, MoreThanThreeFieldsAreAUsageError)
{
    const ParsedCommandLine parsed = ParseCommandLine({"--header", "a|b|c|d", "x.txt"}, "/nonexistent/Settings.ini");
    EXPECT_NE(parsed.error.find("--header takes at most three fields"), std::string::npos) << parsed.error;
    EXPECT_NE(parsed.error.find("--set HeaderLeft="), std::string::npos) << parsed.error;
}

} // namespace
