// Directory tree removal on real trees.
#include <gtest/gtest.h>

#include "files/tree.h"
#include "tests/wine/win_test_util.h"

namespace {

void MakeTree(const std::string &root)
{
    CreateDirectoryA(root.c_str(), NULL);
    for (const char *sub : {"\\a", "\\a\\b", "\\a\\b\\c", "\\d"})
        CreateDirectoryA((root + sub).c_str(), NULL);
    for (const char *file : {"\\1.txt", "\\a\\2.txt", "\\a\\b\\3.txt", "\\a\\b\\c\\4.txt", "\\d\\5.txt"})
        WriteBytes(root + file, file);
}

TEST(RemoveDirectoryTree, NestedTreeIsRemoved)
{
    std::string root = ScratchDir("tree_nested") + "\\t";
    MakeTree(root);
    EXPECT_EQ(RemoveDirectoryTree(root.c_str()), Outcome::Deleted);
    EXPECT_FALSE(Exists(root));
}

TEST(RemoveDirectoryTree, ReadOnlyAndHiddenEntriesAreRemoved)
{
    std::string root = ScratchDir("tree_attrs") + "\\t";
    MakeTree(root);
    SetFileAttributesA((root + "\\a\\2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((root + "\\a\\b\\3.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((root + "\\a\\b").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
    SetFileAttributesA((root + "\\d").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(RemoveDirectoryTree(root.c_str()), Outcome::Deleted);
    EXPECT_FALSE(Exists(root));
}

TEST(RemoveDirectoryTree, EmptyIsDeletedMissingIsNoFolder)
{
    std::string dir = ScratchDir("tree_empty");
    CreateDirectoryA((dir + "\\e").c_str(), NULL);
    EXPECT_EQ(RemoveDirectoryTree((dir + "\\e").c_str()), Outcome::Deleted);
    EXPECT_EQ(RemoveDirectoryTree((dir + "\\e").c_str()), Outcome::NoFolder);
    EXPECT_EQ(RemoveDirectoryTree((dir + "\\x\\y").c_str()), Outcome::NoFolder);
}

TEST(RemoveDirectoryTree, HeldFileEndsTheWalkWithErrorAndNothingIsScheduled)
{
    std::string root = ScratchDir("tree_held") + "\\t";
    MakeTree(root);
    HeldFile holder(root + "\\a\\b\\3.txt");
    ASSERT_TRUE(holder.held);
    EXPECT_EQ(RemoveDirectoryTree(root.c_str()), Outcome::Error);
    EXPECT_TRUE(Exists(root + "\\a\\b\\3.txt"));
    EXPECT_TRUE(Exists(root + "\\a\\b"));
    EXPECT_TRUE(Exists(root));
}

TEST(RemoveDirectoryTree, OverLongPathsAreErrorsNotOverflows)
{
    std::string dir = ScratchDir("tree_long");
    // Made with the wide calls, which take paths beyond 260 characters.
    std::wstring deep = L"\\\\?\\C:\\pdtest\\scratch\\tree_long\\";
    std::string name(200, 'n');
    std::wstring wname(name.begin(), name.end());
    ASSERT_TRUE(CreateDirectoryW((deep + wname).c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryW((deep + wname + L"\\" + wname).c_str(), NULL));
    std::string top = dir + "\\" + name;
    EXPECT_EQ(RemoveDirectoryTree(top.c_str()), Outcome::Error);
    EXPECT_TRUE(Exists(top));
    std::string tooLong = dir + "\\" + std::string(300, 'x');
    EXPECT_EQ(RemoveDirectoryTree(tooLong.c_str()), Outcome::Error);
    RemoveDirectoryW((deep + wname + L"\\" + wname).c_str());
    RemoveDirectoryW((deep + wname).c_str());
}

// A link inside the tree is removed as a link; its target outside the tree survives.
// Wine 8 cannot make symbolic links or junctions; the decision is then covered by the
// host test of ClassifyTreeEntry, and this test says it was skipped.
TEST(RemoveDirectoryTree, LinkInsideTheTreeKeepsItsTarget)
{
    std::string dir = ScratchDir("tree_link");
    std::string target = dir + "\\outside";
    CreateDirectoryA(target.c_str(), NULL);
    WriteBytes(target + "\\keep.txt", "keep");
    std::string root = dir + "\\t";
    CreateDirectoryA(root.c_str(), NULL);
    std::string link = root + "\\link";
    // Looked up by name: the program's headers target Windows 2000, which has no such call.
    typedef BOOLEAN(WINAPI * CreateLink)(LPCSTR, LPCSTR, DWORD);
    CreateLink create = reinterpret_cast<CreateLink>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    const DWORD DirectoryLink = 1;
    if (!create || !create(link.c_str(), target.c_str(), DirectoryLink) ||
        !(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveDirectoryA(link.c_str());
        GTEST_SKIP() << "this platform makes no directory symbolic links (error "
                     << GetLastError() << ")";
    }
    EXPECT_EQ(RemoveDirectoryTree(root.c_str()), Outcome::Deleted);
    EXPECT_FALSE(Exists(root));
    EXPECT_EQ(ReadBytes(target + "\\keep.txt"), "keep");
}

}  // namespace
