// What the file list reads of a file: size, kind and a creation time.
#include "platform/FileFacts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

TEST(FileFacts, SizeKindAndATimeOfCreation)
{
    QTemporaryDir temp;
    const std::time_t before = std::time(nullptr);
    QFile file(temp.filePath("a.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1500, 'x'));
    file.close();
    ASSERT_TRUE(QFile::link(temp.filePath("a.txt"), temp.filePath("link.txt")));

    for (const char* name : {"a.txt", "link.txt"}) {
        const FileFacts facts = ReadFileFacts(temp.filePath(name).toStdString());
        EXPECT_TRUE(facts.exists) << name;
        EXPECT_TRUE(facts.isRegular) << name;
        EXPECT_FALSE(facts.isDirectory) << name;
        EXPECT_EQ(facts.size, 1500u) << name;
        EXPECT_GE(facts.creationTime, before - 1) << name;
        EXPECT_LE(facts.creationTime, std::time(nullptr) + 1) << name;
    }
    const FileFacts folder = ReadFileFacts(temp.path().toStdString());
    EXPECT_TRUE(folder.isDirectory);
    EXPECT_FALSE(folder.isRegular);
    EXPECT_FALSE(ReadFileFacts(temp.filePath("gone.txt").toStdString()).exists);
}
