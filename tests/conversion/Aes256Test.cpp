// EncryptLevel 256: AES-256 PDFs that open with either password, keep the chosen permissions,
// and are written as safely as every other PDF.
#include "ConversionTestSupport.h"
#include "support/PdfInspector.h"

#include "conversion/Aes256Encryption.h"
#include "conversion/FileConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

ConversionOptions Aes256()
{
    ConversionOptions options;
    options.EncryptLevel = 256;
    return options;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

struct PopplerAnswer {
    int status = -1;
    std::string output;
};

// pdfinfo of poppler-utils, with `-upw` or `-opw` and a password when given.
PopplerAnswer PdfInfo(const std::string& path, const std::string& passwordFlag = "", const std::string& password = "")
{
    std::string command = "pdfinfo";
    if (!passwordFlag.empty())
        command += " " + passwordFlag + " '" + password + "'";
    command += " '" + path + "' 2>&1";
    PopplerAnswer answer;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return answer;
    std::array<char, 4096> chunk;
    std::size_t got;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        answer.output.append(chunk.data(), got);
    const int status = pclose(pipe);
    answer.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return answer;
}

TEST(Aes256, UserPasswordIsNeededToOpenAndEitherPasswordOpens)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Aes256(), "secret\n", "owner", "user");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_THROW(InspectPdf(converted.pdfPath), std::exception);
    EXPECT_THROW(InspectPdf(converted.pdfPath, "wrong"), std::exception);

    const PdfFacts asUser = InspectPdf(converted.pdfPath, "user");
    EXPECT_EQ(asUser.revision, 6);
    EXPECT_EQ(asUser.keyBits, 256);
    EXPECT_EQ(asUser.cipher, "/AESV3");
    EXPECT_TRUE(asUser.userPasswordMatched);
    EXPECT_FALSE(asUser.ownerPasswordMatched);
    EXPECT_EQ(asUser.AllLineTexts(), std::vector<std::string>{"secret"});

    const PdfFacts asOwner = InspectPdf(converted.pdfPath, "owner");
    EXPECT_TRUE(asOwner.ownerPasswordMatched);
    EXPECT_EQ(asOwner.AllLineTexts(), std::vector<std::string>{"secret"});
}

struct LongPassword {
    const char* name;
    std::string owner;
    std::string user;
};

void PrintTo(const LongPassword& c, std::ostream* out)
{
    *out << c.name;
}

std::string Times(const std::string& piece, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

bool HasNoteWith(const ConversionResult& result, const std::string& words)
{
    return std::any_of(result.notes.begin(), result.notes.end(),
                       [&](const std::string& note) { return note.find(words) != std::string::npos; });
}

class Aes256Password : public testing::TestWithParam<LongPassword> {};

// The readers cut a typed password at 127 bytes too; poppler 22 takes no more than 32 bytes.
TEST_P(Aes256Password, TheWholePasswordOpensThePdfAndLengthsAreNoted)
{
    const LongPassword& c = GetParam();
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Aes256(), "secret\n", c.owner, c.user);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_TRUE(InspectPdf(converted.pdfPath, c.user).userPasswordMatched);
    EXPECT_TRUE(InspectPdf(converted.pdfPath, c.owner).ownerPasswordMatched);
    const std::size_t longest = std::max(c.owner.size(), c.user.size());
    EXPECT_EQ(HasNoteWith(converted.result, "longer than 127 bytes"), longest > 127);
    EXPECT_EQ(HasNoteWith(converted.result, "longer than 32 bytes"), longest > 32);
    if (longest <= 32) {
        EXPECT_EQ(PdfInfo(converted.pdfPath, "-upw", c.user).status, 0);
        EXPECT_EQ(PdfInfo(converted.pdfPath, "-opw", c.owner).status, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(, Aes256Password,
    testing::Values(LongPassword{"MultiByteWithin32Bytes", "\xC3\x9C" "ber-Geheimnis", "\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C"},
                    LongPassword{"ThirtyThreeBytes", Times("o", 33), "user"},
                    LongPassword{"Exactly127Bytes", Times("o", 127), Times("u", 127)},
                    LongPassword{"AsciiBeyond127", Times("o", 200), Times("u", 300)},
                    LongPassword{"ACharacterAcrossByte127", Times("\xC3\xA9", 100), Times("\xE2\x82\xAC", 50)}),
    [](const testing::TestParamInfo<LongPassword>& info) { return std::string(info.param.name); });

TEST(Aes256, OwnerPasswordAloneOpensWithoutPasswordAndKeepsPageModeAndInformation)
{
    ScratchFolder folder;
    ConversionOptions options = Aes256();
    options.Title = "Plan";
    options.OpenMode = 3;
    const Converted converted = ConvertText(folder, options, "a\nb\n", "owner");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    EXPECT_EQ(pdf.revision, 6);
    EXPECT_TRUE(pdf.userPasswordMatched);
    EXPECT_EQ(pdf.pageMode, "/FullScreen");
    EXPECT_EQ(pdf.info.at("/Title"), "Plan");
    EXPECT_EQ(pdf.info.at("/Producer"), "Quillary 2.1");
    EXPECT_EQ(pdf.AllLineTexts(), (std::vector<std::string>{"a", "b"}));
    // The strings are encrypted too: the title is nowhere in the file's bytes.
    EXPECT_EQ(ReadWhole(converted.pdfPath).find("Plan"), std::string::npos);
}

TEST(Aes256, WithoutOwnerPasswordTheFileIsTheSameAsAtAnyOtherLevel)
{
    ScratchFolder folder;
    const std::string plain = ReadWhole(ConvertText(folder, ConversionOptions{}, "x\n", "", "user").pdfPath);
    const Converted converted = ConvertText(folder, Aes256(), "x\n", "", "user");
    EXPECT_FALSE(InspectPdf(converted.pdfPath).encrypted);
    EXPECT_EQ(ReadWhole(converted.pdfPath), plain);
    EXPECT_EQ(converted.result.notes.size(), 1u);
}

TEST(Aes256, TheStandardOutputGetsTheEncryptedPdf)
{
    ScratchFolder folder;
    const std::string input = folder.Write("in.txt", "piped\n");
    const std::string output = folder.File("out.pdf");
    const int in = open(input.c_str(), O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    RecordingObserver observer;
    const ConversionResult result = ConvertStream(Aes256(), in, "owner", "user", out, observer);
    close(in);
    close(out);
    ASSERT_TRUE(result.written) << result.reason;
    EXPECT_THROW(InspectPdf(output), std::exception);
    EXPECT_EQ(InspectPdf(output, "user").revision, 6);
}

TEST(Aes256, PopplerOpensWithEitherPasswordOnlyAndShowsThePermissions)
{
    ScratchFolder folder;
    ConversionOptions options = Aes256();
    options.PermitCopy = kNo;
    options.PermitModify = kNo;
    // Revision 6 takes passwords as UTF-8, as the window and the command line hand them over.
    const Converted converted = ConvertText(folder, options, "x\n", "owner", "caf\xC3\xA9");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;

    const PopplerAnswer none = PdfInfo(converted.pdfPath);
    EXPECT_NE(none.status, 0) << none.output;
    EXPECT_NE(PdfInfo(converted.pdfPath, "-upw", "wrong").status, 0);
    for (const auto& [flag, password] : {std::pair{"-upw", "caf\xC3\xA9"}, std::pair{"-opw", "owner"}}) {
        const PopplerAnswer answer = PdfInfo(converted.pdfPath, flag, password);
        ASSERT_EQ(answer.status, 0) << flag << ": " << answer.output;
        EXPECT_NE(answer.output.find("print:yes copy:no change:no addNotes:no algorithm:AES-256"), std::string::npos)
            << answer.output;
    }
}

TEST(WriteEncrypted, StopsWhenTheWriteIsRefusedAndNamesAPdfItCannotRead)
{
    const Aes256Encryption encryption{"owner", "user", std::nullopt};
    std::string error = "stale";
    int writes = 0;
    EXPECT_FALSE(WriteEncrypted("not a PDF", encryption, [&](std::string_view) { return ++writes, true; }, error));
    EXPECT_EQ(writes, 0);
    EXPECT_NE(error.find("Encrypting the PDF failed"), std::string::npos) << error;

    ScratchFolder folder;
    const std::string plain = ReadWhole(ConvertText(folder, ConversionOptions{}, "x\n").pdfPath);
    EXPECT_FALSE(WriteEncrypted(plain, encryption, [&](std::string_view) { return ++writes, false; }, error));
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(error, "");
}

// The permissions chosen, as a reader sees them.
struct PermissionCase {
    const char* what;
    int read, print, copy, modify;
    PdfPermissions allowed;
};

void PrintTo(const PermissionCase& c, std::ostream* out) { *out << c.what; }

class Aes256Permissions : public testing::TestWithParam<PermissionCase> {};

TEST_P(Aes256Permissions, AreReadBackAsChosen)
{
    const PermissionCase& c = GetParam();
    ScratchFolder folder;
    ConversionOptions options = Aes256();
    options.PermitRead = c.read;
    options.PermitPrint = c.print;
    options.PermitCopy = c.copy;
    options.PermitModify = c.modify;
    const Converted converted = ConvertText(folder, options, "x\n", "owner", "user");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(InspectPdf(converted.pdfPath, "user").allowed, c.allowed);
}

constexpr PdfPermissions kEverything{true, true, true, true, true, true, true, true};

// As the library's RC4 files have them, but for extraction for accessibility, which revision 6
// always permits.
INSTANTIATE_TEST_SUITE_P(Combinations, Aes256Permissions, testing::Values(
    // what, read, print, copy, modify; print low, high, extract, modify, annotate, forms, assemble, accessibility
    PermissionCase{"all", kYes, kYes, kYes, kYes, kEverything},
    PermissionCase{"no read", kNo, kYes, kYes, kYes, {true, false, true, true, false, false, false, true}},
    PermissionCase{"no print", kYes, kNo, kYes, kYes, {false, false, true, true, false, false, false, true}},
    PermissionCase{"print only", kYes, kYes, kNo, kNo, {true, false, false, false, false, false, false, true}},
    PermissionCase{"copy only", kNo, kNo, kYes, kNo, {false, false, true, false, false, false, false, true}},
    PermissionCase{"modify only", kNo, kNo, kNo, kYes, {false, false, false, true, false, false, false, true}},
    PermissionCase{"nothing", kNo, kNo, kNo, kNo, {false, false, false, false, false, false, false, true}}),
    [](const testing::TestParamInfo<PermissionCase>& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

} // namespace
