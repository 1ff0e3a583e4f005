// Folder expansion on real trees: every folder entered once, whatever links
// or repeated paths lead to it.
#include <gtest/gtest.h>

#include "imagelist/path_expansion.h"
#include "support/test_files.h"
#include "support/wic_files.h"

TEST(ExpandPaths, EntersEveryFolderOnceAndNoLinkSoEachImageComesOnce)
{
    TempFolder folder;
    const std::wstring tree = folder.file(L"Baum"), below = folder.file(L"Baum\\Unter");
    writeSmallPng(tree + L"\\a.png");
    writeSmallPng(below + L"\\b.png");
    // Made on the Linux side: links Win32 reports as reparse points, and that std::filesystem follows.
    const SymbolicLink itself(tree + L"\\Selbst", tree), parent(below + L"\\Hoch", tree);
    ASSERT_TRUE(itself.made() && parent.made());
    // A folder reached a second time, by its own path or through a link, adds nothing.
    EXPECT_EQ(expandPaths({below, tree, tree + L"\\Selbst", below + L"\\", folder.file(L"fehlt")}),
              (std::vector<std::wstring>{below + L"\\b.png", tree + L"\\a.png", folder.file(L"fehlt")}));
}
