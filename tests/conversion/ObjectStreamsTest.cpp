// Object streams: archival PDFs go out with their small objects packed, every object the same as
// the library wrote it; other PDFs keep the library's table; a PDF not laid out as the library
// lays it out is refused before anything is written.
#include "ConversionTestSupport.h"

#include "conversion/ObjectStreams.h"
#include "support/ArchivalChecker.h"

#include <gtest/gtest.h>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>

#include <functional>

namespace {

struct Objects {
    int packed = 0;   // in an object stream
    int unpacked = 0; // at an offset of their own, streams left out
};

Objects CountObjects(const std::string& pdfPath)
{
    QPDF pdf;
    pdf.processFile(pdfPath.c_str());
    Objects objects;
    for (const auto& [id, entry] : pdf.getXRefTable()) {
        if (entry.getType() == 2)
            ++objects.packed;
        else if (entry.getType() == 1 && !pdf.getObject(id).isStream())
            ++objects.unpacked;
    }
    return objects;
}

struct PackingCase {
    const char* what;
    ConversionOptions options;
    std::string owner;
    bool packed;
};
void PrintTo(const PackingCase& c, std::ostream* out) { *out << c.what; }

class PackedObjects : public testing::TestWithParam<PackingCase> {};

TEST_P(PackedObjects, OnlyInArchivalPdfsWhichStillConform)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, GetParam().options, "one\n\ntwo\n\nthree\n", GetParam().owner);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const Objects objects = CountObjects(converted.pdfPath);
    EXPECT_EQ(objects.packed > 0, GetParam().packed);
    EXPECT_EQ(objects.unpacked == 0, GetParam().packed);
    if (GetParam().packed) {
        EXPECT_EQ(CheckArchival(converted.pdfPath).broken, std::set<ArchivalRule>{});
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PackedObjects,
                         testing::Values(PackingCase{"archival", With([](auto& o) { o.Archive = kArchivePdfA; }), "", true},
                                         PackingCase{"plain", ConversionOptions{}, "", false},
                                         PackingCase{"AES-256", With([](auto& o) { o.EncryptLevel = 256; }), "owner", false}));

// A PDF as the library writes it: the converter's plain output.
std::string LibraryPdf()
{
    ScratchFolder folder;
    return FileBytes(ConvertText(folder, ConversionOptions{}, "first\nsecond (with brackets)\n").pdfPath);
}

struct Written {
    bool ok = false;
    std::string bytes;
    std::string error;
};

Written Pack(const std::string& pdf, const std::function<bool(std::string_view)>& refuse = nullptr,
             const OwnObjectsMaker& own = nullptr)
{
    Written written;
    written.ok = WriteWithObjectStreams(
        pdf,
        [&](std::string_view bytes) {
            written.bytes.append(bytes);
            return !refuse || refuse(bytes);
        },
        written.error, own);
    return written;
}

// The numbers of the document information and of the first stream in `pdf`.
std::pair<int, int> InformationAndStream(const std::string& pdf)
{
    QPDF read;
    read.processMemoryFile("pdf", pdf.data(), pdf.size());
    int stream = 0;
    for (QPDFObjectHandle object : read.getAllObjects())
        if (object.isStream() && stream == 0)
            stream = object.getObjectID();
    return {read.getTrailer().getKey("/Info").getObjectID(), stream};
}

TEST(ObjectStreams, OwnObjectsFollowTheLibrarysAndReplaceItsPlaceholders)
{
    const std::string original = LibraryPdf();
    const int information = InformationAndStream(original).first;
    std::size_t first = 0;
    const Written packed = Pack(original, nullptr, [&](std::size_t firstFree) {
        first = firstFree;
        return OwnObjects{{{std::size_t(information), "<</Title (own)>>"}}, {"(first own)", "[1 2]"}};
    });
    ASSERT_TRUE(packed.ok) << packed.error;
    QPDF after;
    after.processMemoryFile("after", packed.bytes.data(), packed.bytes.size());
    EXPECT_EQ(after.getTrailer().getKey("/Info").getKey("/Title").getStringValue(), "own");
    EXPECT_EQ(after.getObject(int(first), 0).unparseResolved(), "(first own)");
    EXPECT_EQ(after.getObject(int(first) + 1, 0).unparseResolved(), "[ 1 2 ]");
}

class MisplacedOwnObject : public testing::TestWithParam<bool> {};

// Replacing a stream, or an object the library did not write, is the caller's mistake.
TEST_P(MisplacedOwnObject, IsRefusedBeforeAnythingIsWritten)
{
    const std::string original = LibraryPdf();
    const int stream = InformationAndStream(original).second;
    const Written packed = Pack(original, nullptr, [&](std::size_t firstFree) {
        return OwnObjects{{{GetParam() ? std::size_t(stream) : firstFree, "null"}}, {}};
    });
    EXPECT_FALSE(packed.ok);
    EXPECT_NE(packed.error, "");
    EXPECT_EQ(packed.bytes, "");
}

INSTANTIATE_TEST_SUITE_P(StreamOrPastTheEnd, MisplacedOwnObject, testing::Bool());

TEST(ObjectStreams, EveryObjectIsTheOneTheLibraryWrote)
{
    const std::string original = LibraryPdf();
    const Written packed = Pack(original);
    ASSERT_TRUE(packed.ok) << packed.error;
    QPDF before, after;
    before.processMemoryFile("before", original.data(), original.size());
    after.processMemoryFile("after", packed.bytes.data(), packed.bytes.size());
    EXPECT_EQ(after.getTrailer().getKey("/Root").unparse(), before.getTrailer().getKey("/Root").unparse());
    const std::vector<QPDFObjectHandle> objects = before.getAllObjects();
    ASSERT_GT(objects.size(), 5u);
    for (QPDFObjectHandle object : objects) {
        QPDFObjectHandle copy = after.getObject(object.getObjGen());
        if (object.isStream()) {
            ASSERT_TRUE(copy.isStream());
            EXPECT_EQ(copy.getRawStreamData()->getSize(), object.getRawStreamData()->getSize());
        } else {
            EXPECT_EQ(copy.unparseResolved(), object.unparseResolved()) << object.getObjectID();
        }
    }
}

TEST(ObjectStreams, AWriteRefusedIsNoErrorOfItsOwn)
{
    const Written packed = Pack(LibraryPdf(), [](std::string_view) { return false; });
    EXPECT_FALSE(packed.ok);
    EXPECT_EQ(packed.error, "");
}

struct LayoutCase {
    const char* what;
    std::function<void(std::string&)> spoil;
};
void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.what; }

class UnknownLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(UnknownLayout, IsRefusedWithItsReasonBeforeAnythingIsWritten)
{
    std::string pdf = LibraryPdf();
    GetParam().spoil(pdf);
    const Written packed = Pack(pdf);
    EXPECT_FALSE(packed.ok);
    EXPECT_NE(packed.error.find("not laid out"), std::string::npos) << packed.error;
    EXPECT_EQ(packed.bytes, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnknownLayout,
    testing::Values(LayoutCase{"without its end", [](std::string& pdf) { pdf.resize(pdf.size() / 2); }},
                    LayoutCase{"objects moved", [](std::string& pdf) { pdf.insert(pdf.find("1 0 obj"), " "); }},
                    LayoutCase{"a later generation",
                               [](std::string& pdf) { pdf.replace(pdf.rfind(" 00000 n"), 8, " 00001 n"); }},
                    LayoutCase{"a table past the end",
                               [](std::string& pdf) { pdf.insert(pdf.rfind("\n%%EOF"), "999999"); }},
                    LayoutCase{"a table longer than the file",
                               [](std::string& pdf) {
                                   const std::size_t count = pdf.rfind("xref\n0 ") + 7;
                                   // Times the 20 bytes of an entry, 4 once it wraps around.
                                   pdf.replace(count, pdf.find('\n', count) - count, "922337203685477581");
                               }},
                    LayoutCase{"no trailer", [](std::string& pdf) { pdf.replace(pdf.rfind("trailer"), 7, "trailor"); }}));

} // namespace
