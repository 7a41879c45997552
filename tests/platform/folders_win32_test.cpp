// The folder test against Wine's real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/ansi.h"
#include "platform/win32/folders_win32.h"

namespace {

TEST(FolderTest, ExistingFoldersEvenEmptyOnesArePresentMissingOnesNot) {
    win32::Folders folders;
    char temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::wstring base = win32::FromAnsi(temp);
    EXPECT_TRUE(folders.FolderHasEntry(base));

    const std::wstring empty = base + L"lumora empty \u00e4\\";
    CreateDirectoryA(win32::ToAnsi(empty).c_str(), nullptr);
    EXPECT_TRUE(folders.FolderHasEntry(empty));
    RemoveDirectoryA(win32::ToAnsi(empty).c_str());
    EXPECT_FALSE(folders.FolderHasEntry(empty));
    EXPECT_FALSE(folders.FolderHasEntry(L"Q:\\no\\such\\folder\\"));
}

}  // namespace
