// Dragged files on Linux arrive as a text/uri-list: only local file: URIs
// become paths, decoded, and one item that is not a local file refuses the
// whole drop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xdg/UriList.h"

namespace {

using platform::xdg::LocalFileOfUri;
using platform::xdg::LocalFilesOfUriList;
using Files = std::vector<std::string>;

constexpr std::size_t kMax = 4095;

TEST(UriList, LocalFilesInTheirOrderWithEveryHostAndLineEndTheDesktopsUse) {
    EXPECT_EQ(
        LocalFilesOfUriList("file:///home/u/a.txt\r\nfile://localhost/b\r\nfile:/c\r\n", kMax),
        (Files{"/home/u/a.txt", "/b", "/c"}));
    EXPECT_EQ(LocalFilesOfUriList("# comment\nFILE://LocalHost/d\n\nfile:///e", kMax),
              (Files{"/d", "/e"}));
    // A terminator counted into the data by the source.
    EXPECT_EQ(LocalFilesOfUriList(std::string("file:///f\r\n\0", 12), kMax), (Files{"/f"}));
    // A folder is a file like any other.
    EXPECT_EQ(LocalFilesOfUriList("file:///home/u/Music/\r\n", kMax), (Files{"/home/u/Music/"}));
}

TEST(UriList, PercentEscapesDecodeToTheBytesOfTheName) {
    EXPECT_EQ(LocalFileOfUri("file:///a%20b/%E3%81%82%2523%3F", kMax), "/a b/\xE3\x81\x82%23?");
    EXPECT_EQ(LocalFileOfUri("file:///%c3%a9", kMax), "/\xC3\xA9");
}

TEST(UriList, AnythingButALocalAbsoluteFileRefusesTheWholeList) {
    for (const char* list : {
             "http://example.org/a.html",
             "file:///ok\r\nhttps://example.org/\r\n",  // one bad item among good ones
             "file://otherhost/a",
             "file:relative/a",
             "file://",
             "just some text",
             "/home/u/a.txt",  // a bare path is text, not a URI
             "file:///a?query",
             "file:///a#fragment",
             "file:///a b",
             "file:///a%2",
             "file:///a%zz",
             "",
             "# only a comment\r\n",
         })
        EXPECT_EQ(LocalFilesOfUriList(list, kMax), std::nullopt) << list;
}

TEST(UriList, DecodedLineBreaksAndNulsAndOverlongPathsAreRefused) {
    // A line break would split the settings line and add keys of its own.
    EXPECT_EQ(LocalFileOfUri("file:///a%0ALEFT=1", kMax), std::nullopt);
    EXPECT_EQ(LocalFileOfUri("file:///a%0Db", kMax), std::nullopt);
    EXPECT_EQ(LocalFileOfUri("file:///a%00b", kMax), std::nullopt);
    const std::string longest = "/" + std::string(kMax - 1, 'x');
    EXPECT_EQ(LocalFileOfUri("file://" + longest, kMax), longest);
    EXPECT_EQ(LocalFileOfUri("file://" + longest + "y", kMax), std::nullopt);
    // The limit is on the decoded bytes, not on the escapes.
    EXPECT_EQ(
        LocalFileOfUri("file:///" + std::string(kMax - 1, 'x').replace(0, 3, "%41"), kMax)->size(),
        kMax - 2);
}

}  // namespace
