// Folder listing and path texts, with the separator of the system the tests
// run on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DirectoryListing.h"
#include "support/RecordFixture.h"

namespace {

using namespace platform;

// "/" here, "\" on Windows: what AppendPath puts between two names.
std::string Separator() { return AppendPath("a", "b").substr(1, 1); }

TEST(PathNames, SplitAtTheSystemsSeparator) {
    const std::string sep = Separator();
    EXPECT_EQ(LastComponentStart("m" + sep + "x"), 2u);
    EXPECT_EQ(Extension("models.v2" + sep + "CVR87"), "");
    EXPECT_EQ(PathWithoutExtension("m" + sep + "CVR87_V1.2.dm_c"), "m" + sep + "CVR87_V1.2");
    EXPECT_EQ(AppendPath("", "x"), "x");
    EXPECT_EQ(AppendPath("m" + sep, "x"), "m" + sep + "x");
    EXPECT_EQ(AppendPath("m", ""), "m");
}

TEST(DirectoryListing, FilesWithThePrefixInListingOrder) {
    fixture::TempDir folder;
    for (const char* name : {"dev_c.dm", "dev_B.dm", "dev_a.dm", "other.dm", "dev_folder/inner.dm"}) {
        folder.Write(name, "x");
    }
    EXPECT_EQ(ListFilesWithPrefix(folder.Path() + "/dev"),
              (std::vector<std::string>{"dev_a.dm", "dev_B.dm", "dev_c.dm"}));
    EXPECT_EQ(ListFilesWithPrefix(folder.Path() + "/").size(), 4u);
    EXPECT_TRUE(ListFilesWithPrefix(folder.Path() + "/missing/").empty());
    EXPECT_EQ(ResolveNameIgnoringCase(folder.Path() + "/DEV_b.DM"), folder.Path() + "/dev_B.dm");
    EXPECT_EQ(ResolveNameIgnoringCase(folder.Path() + "/dev_d.dm"), folder.Path() + "/dev_d.dm");
}

}  // namespace
