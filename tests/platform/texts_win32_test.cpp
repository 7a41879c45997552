// The real resource loader: every text of the table there, whole, in the user's language
// (this binary runs once in English and once with a German user).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text_ids.h"
#include "platform/win32/texts_win32.h"

namespace {

TEST(TextTable, EveryTextInTheUsersLanguage) {
    win32::Texts texts;
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    EXPECT_EQ(texts.Text(IDS_CAPTION_INSTALLED),
              german ? L"Analyse und Problembereinigung f\u00fcr Lumora" : L"Lumora Problem Analysis & Repair");
    EXPECT_EQ(texts.Text(IDS_NOT_AVAILABLE), german ? L"Nicht vorhanden" : L"Not available");
    EXPECT_GT(texts.Text(IDS_COMMON_FILES_NOT_SET).size(), 200u);  // longer than any buffer of ours
    for (unsigned id = 100; id <= 140; ++id) EXPECT_EQ(texts.Text(id).empty(), id == 109) << id;
}

}  // namespace
