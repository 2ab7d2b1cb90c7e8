// The file list's texts and the folder search of Import Directory.
#include "app/FileListText.h"
#include "app/TextFileSearch.h"

#include "../controls/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(FileListText, SizesInWholeKilobytesWithCommas)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 KB"}, {1023, "0 KB"}, {1024, "1 KB"}, {999 * 1024, "999 KB"}, {1000 * 1024, "1,000 KB"},
        {1048576, "1,024 KB"}, {1234567ull * 1024 + 1023, "1,234,567 KB"}, {1ull << 50, "1,099,511,627,776 KB"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FileSizeText(bytes), text) << bytes;
}

TEST(FileListText, CreationTimeInLocalTime)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "UTC");
    tzset();
    EXPECT_EQ(CreationTimeText(1709558055), "13:14:15 03/04/2024");
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    EXPECT_EQ(CreationTimeText(1709558055), "22:14:15 03/04/2024");
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
}

TEST(FileListText, LongListsShowTheFirstTwentyAndCountTheRest)
{
    QStringList lines;
    for (int i = 1; i <= 500; ++i)
        lines << QString("File: /f%1.txt have been imported!").arg(i);
    const QString message = ListMessage("Lead:", lines);
    EXPECT_TRUE(message.startsWith("Lead:\n\nFile: /f1.txt have been imported!\n"));
    EXPECT_TRUE(message.contains("/f20.txt"));
    EXPECT_FALSE(message.contains("/f21.txt"));
    EXPECT_TRUE(message.endsWith("\n... and 480 more."));
    EXPECT_EQ(ListMessage("", lines.mid(0, 2)), "File: /f1.txt have been imported!\nFile: /f2.txt have been imported!");
}

TEST(TextFileSearch, TextExtensionsInAnyCase)
{
    for (const char* name : {"a.txt", "B.TXT", "c.Txt", ".txt", "notes.v2.txt"})
        EXPECT_TRUE(HasTextExtension(name)) << name;
    for (const char* name : {"txt", "a.text", "a.txt.bak", "atxt", "a.tx", ""})
        EXPECT_FALSE(HasTextExtension(name)) << name;
}

TEST(TextFileSearch, DepthFirstInNameOrderOfEitherCaseWithoutFollowingFolderLinks)
{
    QTemporaryDir temp;
    const QString root = temp.path();
    for (const char* name : {"b.txt", "Ca.txt", "a/x.TXT", "a/deep/y.txt", "c.text", "README", "d.txt", "z/w.txt"}) {
        QDir().mkpath(QFileInfo(root + "/" + name).path());
        QFile(root + "/" + name).open(QIODevice::WriteOnly);
    }
    QDir().mkpath(root + "/e.txt"); // a folder named like a text file is searched, not added
    ASSERT_TRUE(QFile::link(root, root + "/a/loop"));
    ASSERT_TRUE(QFile::link(root + "/b.txt", root + "/c-link.txt"));

    const TextFileSearchResult found = FindTextFiles((root + "/").toStdString());
    std::vector<std::string> relative;
    for (const std::string& path : found.files)
        relative.push_back(path.substr(root.size() + 1));
    const std::vector<std::string> expected = {"a/deep/y.txt", "a/x.TXT", "b.txt", "c-link.txt", "Ca.txt", "d.txt", "z/w.txt"};
    EXPECT_EQ(relative, expected);
    EXPECT_TRUE(found.unreadableFolders.empty());
}

TEST(TextFileSearch, AFolderThatCannotBeListedIsNamed)
{
    const TextFileSearchResult found = FindTextFiles("/no/such/folder");
    EXPECT_TRUE(found.files.empty());
    EXPECT_EQ(found.unreadableFolders, std::vector<std::string>{"/no/such/folder"});
}
