// A system message's inserts made ready for the one argument it is given, a file's name.
#include <gtest/gtest.h>

#include "platform/strings.h"

namespace {

TEST(KeepFileInsert, OnlyTheFileStaysAndTheEscapesAreKept) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"%1 is not a valid Win32 application.", L"%1 is not a valid Win32 application."},
        {L"Bad EXE format for %1!s!.", L"Bad EXE format for %1."},
        {L"%2 in %1 at %3!d!, %10 %12!ls!", L" in %1 at ,  "},  // %10 is insert 10, not %1 and 0
        {L"100%%2 done%n%1%0", L"100%%2 done%n%1%0"},           // escapes, not inserts
        {L"%1!d! items", L" items"},                              // a number cannot take a name
        {L"cut %2!s", L"cut "},                                   // a broken insert ends the text
        {L"ends with %", L"ends with %"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(os::KeepFileInsert(text), expected) << text;
}

}  // namespace
