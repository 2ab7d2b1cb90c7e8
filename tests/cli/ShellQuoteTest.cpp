// Names and messages as the command line prints them: ordinary names untouched, names that
// could forge a line or drive the terminal quoted as a shell reads them back.
#include "cli/ShellQuote.h"

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    const char* what;
    std::string name;
    std::string printed;
};

void PrintTo(const QuoteCase& c, std::ostream* out)
{
    *out << c.what;
}

class ShellQuotedName : public testing::TestWithParam<QuoteCase> {};

TEST_P(ShellQuotedName, IsPrintedAsGnuToolsQuoteIt)
{
    EXPECT_EQ(ShellQuoted(GetParam().name), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellQuotedName,
    testing::Values(QuoteCase{"an ordinary name", "/tmp/a b/notes.txt", "/tmp/a b/notes.txt"},
                    QuoteCase{"a UTF-8 name", "/tmp/café 中.txt", "/tmp/café 中.txt"},
                    QuoteCase{"a quote alone", "it's.txt", "it's.txt"},
                    QuoteCase{"a line end inside", "a\nb", "'a'$'\\n''b'"},
                    QuoteCase{"a line end at the end", "a\n", "'a'$'\\n'"},
                    QuoteCase{"a line end first", "\nb", "''$'\\n''b'"},
                    QuoteCase{"an escape sequence", "x\x1B[2Jy", "'x'$'\\033''[2Jy'"},
                    QuoteCase{"a byte that is not UTF-8", "a\xFF", "'a'$'\\377'"},
                    QuoteCase{"a C1 control", "a\xC2\x9B" "b", "'a'$'\\302\\233''b'"},
                    QuoteCase{"a quote beside a control", "it's\t", "'it'\\''s'$'\\t'"}));

TEST(EscapedControls, MakesLineEndsAndEscapesVisibleAndKeepsTheRest)
{
    EXPECT_EQ(EscapedControls("The old PDF \"a\n1 converted\x1B[0m\" was kept; café."),
              "The old PDF \"a\\n1 converted\\033[0m\" was kept; café.");
}

} // namespace
