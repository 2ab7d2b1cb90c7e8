// The file name of a path, which titles, outline entries and the %f field all show.
#include "platform/FileName.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* path;
    const char* name;
};

class FileNameOfPath : public testing::TestWithParam<NameCase> {};

TEST_P(FileNameOfPath, IsWhatFollowsTheLastSlash)
{
    EXPECT_EQ(FileNameOf(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileNameOfPath,
                         testing::Values(NameCase{"/docs/notes.v2.txt", "notes.v2.txt"},
                                         NameCase{"notes.txt", "notes.txt"}, // no folder
                                         NameCase{"docs//a", "a"},
                                         NameCase{"docs/", ""}, // a folder's path names no file
                                         NameCase{"/", ""}, NameCase{"", ""},
                                         NameCase{"-", "-"}, NameCase{"./-", "-"},
                                         NameCase{"docs/.", "."}));

} // namespace
