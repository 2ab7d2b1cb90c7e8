// The file name of a path, which titles, outline entries and the %f field all show.
#include "platform/FileName.h"

#include <gtest/gtest.h>

namespace {

class FileNameOfPath : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(FileNameOfPath, IsWhatFollowsTheLastSlash)
{
    EXPECT_EQ(FileNameOf(GetParam().first), GetParam().second);
}

// A path without a folder is a name; one ending in a slash names none.
INSTANTIATE_TEST_SUITE_P(Cases, FileNameOfPath,
                         testing::Values(std::pair{"/docs/notes.v2.txt", "notes.v2.txt"},
                                         std::pair{"notes.txt", "notes.txt"}, std::pair{"docs//a", "a"}, std::pair{"docs/", ""}, std::pair{"/", ""},
                                         std::pair{"", ""}, std::pair{"-", "-"}, std::pair{"./-", "-"}));

} // namespace
