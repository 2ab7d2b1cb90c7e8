// The map from a UTF-8 font's codes back to Unicode: which entries it holds.
#include "conversion/ToUnicodeMap.h"

#include <gtest/gtest.h>

namespace {

struct MapCase {
    const char* name;
    std::vector<char16_t> codes;
    std::string entries; // the map between its code space and its end
};

void PrintTo(const MapCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string EntriesOf(const std::string& cmap)
{
    const std::string from = "endcodespacerange\n";
    const std::size_t begin = cmap.find(from) + from.size();
    return cmap.substr(begin, cmap.find("endcmap\n") - begin);
}

// The even codes 2 * first, 2 * (first + 1), ...: as codes, and as a block of single entries.
std::vector<char16_t> EvenCodes(std::size_t count)
{
    std::vector<char16_t> codes;
    for (std::size_t i = 0; i < count; ++i)
        codes.push_back(char16_t(2 * i));
    return codes;
}

std::string EvenSingles(std::size_t first, std::size_t count)
{
    std::string block = std::to_string(count) + " beginbfchar\n";
    for (std::size_t i = first; i < first + count; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "<%04zX> <%04zX>\n", 2 * i, 2 * i);
        block += line;
    }
    return block + "endbfchar\n";
}

class ToUnicodeMap : public testing::TestWithParam<MapCase> {};

TEST_P(ToUnicodeMap, MapsEachCodeToItsOwnCharacter)
{
    EXPECT_EQ(EntriesOf(ToUnicodeCMap(GetParam().codes)), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToUnicodeMap,
    testing::Values(
        MapCase{"NoCodesStillOneEntry", {}, "1 beginbfchar\n<0020> <0020>\nendbfchar\n"},
        MapCase{"ConsecutiveCodesAreOneRange", {u'A', u'B', u'C'}, "1 beginbfrange\n<0041> <0043> <0041>\nendbfrange\n"},
        MapCase{"LoneCodesAreSingleEntries", {u'A', u'C', 0x4E2D},
                "3 beginbfchar\n<0041> <0041>\n<0043> <0043>\n<4E2D> <4E2D>\nendbfchar\n"},
        MapCase{"ARangeStopsWhereTheFirstByteChanges", {0x00FE, 0x00FF, 0x0100, 0x0101},
                "2 beginbfrange\n<00FE> <00FF> <00FE>\n<0100> <0101> <0100>\nendbfrange\n"},
        MapCase{"ARunEndingAloneAtAByteChangeIsASingleEntry", {0x03FE, 0x03FF, 0x0400},
                "1 beginbfchar\n<0400> <0400>\nendbfchar\n1 beginbfrange\n<03FE> <03FF> <03FE>\nendbfrange\n"},
        MapCase{"SurrogatesAreLeftOut", {0xD7FF, 0xD800, 0xDFFF, 0xE000},
                "2 beginbfchar\n<D7FF> <D7FF>\n<E000> <E000>\nendbfchar\n"},
        MapCase{"AHundredEntriesToABlock", EvenCodes(150), EvenSingles(0, 100) + EvenSingles(100, 50)},
        MapCase{"ArabicFormsGiveTheirLetters", {0xFB8E, 0xFE8D, 0xFE8E, 0xFE8F},
                "4 beginbfchar\n<FB8E> <06A9>\n<FE8D> <0627>\n<FE8E> <0627>\n<FE8F> <0628>\nendbfchar\n"},
        MapCase{"LamAlefGivesTwoLettersAndItsNeighbourItself", {0xFEFC, 0xFEFD, 0xFEFE},
                "1 beginbfchar\n<FEFC> <06440627>\nendbfchar\n1 beginbfrange\n<FEFD> <FEFE> <FEFD>\nendbfrange\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
