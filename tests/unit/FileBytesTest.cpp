// Whole-file reads and writes: every byte kept (NUL, CR, no final line
// break), and nothing read from what is not a regular file.
#include <gtest/gtest.h>

#include <string>

#include "base/FileBytes.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::TempDir;

TEST(FileBytes, WrittenBytesReadBackExactly) {
    TempDir dir;
    const std::string bytes("[FORM]\r\nLEFT=1\0x\r\n\xEF\xBB\xBF\xFF tail", 25);
    ASSERT_TRUE(base::WriteFileBytes(dir.File("a.INI"), bytes));
    EXPECT_EQ(base::ReadFileBytes(dir.File("a.INI")), bytes);
    // Rewriting truncates: nothing of the longer old text is left.
    ASSERT_TRUE(base::WriteFileBytes(dir.File("a.INI"), "short"));
    EXPECT_EQ(base::ReadFileBytes(dir.File("a.INI")), "short");
    ASSERT_TRUE(base::WriteFileBytes(dir.File("empty"), ""));
    EXPECT_EQ(base::ReadFileBytes(dir.File("empty")), "");
}

TEST(FileBytes, LargerThanOneReadChunk) {
    TempDir dir;
    std::string bytes(200'000, 'x');
    for (std::size_t i = 0; i < bytes.size(); i += 997) bytes[i] = char(i % 251);
    ASSERT_TRUE(base::WriteFileBytes(dir.File("big"), bytes));
    EXPECT_EQ(base::ReadFileBytes(dir.File("big")), bytes);
}

TEST(FileBytes, MissingFilesAndFoldersAreNotRead) {
    TempDir dir;
    EXPECT_EQ(base::ReadFileBytes(dir.File("missing")), std::nullopt);
    EXPECT_EQ(base::ReadFileBytes(dir.Path()), std::nullopt);
    EXPECT_FALSE(base::WriteFileBytes(dir.File("no-such-folder/a.INI"), "x"));
    EXPECT_FALSE(base::WriteFileBytes(dir.Path(), "x"));
    EXPECT_FALSE(base::IsWritableFile(dir.File("missing")));
    base::WriteFileBytes(dir.File("present"), "keep");
    EXPECT_TRUE(base::IsWritableFile(dir.File("present")));
    EXPECT_EQ(base::ReadFileBytes(dir.File("present")), "keep");  // probing changed nothing
}

}  // namespace
