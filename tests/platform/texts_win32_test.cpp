// The real resource loader picks the text table by the user's language.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text_ids.h"
#include "platform/win32/texts_win32.h"

namespace {

bool UserLanguageIs(LANGID language) { return PRIMARYLANGID(GetUserDefaultUILanguage()) == PRIMARYLANGID(language); }

TEST(TextTableGerman, GermanUserGetsTheGermanTexts) {
    if (!UserLanguageIs(0x0407)) GTEST_SKIP() << "runs with LANG=de_DE.UTF-8";
    win32::Texts texts;
    EXPECT_EQ(texts.Text(IDS_CAPTION_INSTALLED), L"Analyse und Problembereinigung f\u00fcr Lumora");
    EXPECT_EQ(texts.Text(IDS_EXIT), L"Beenden");
    EXPECT_EQ(texts.Text(IDS_COMMON_FILES_NOT_SET),
              L"Der Systemordner 'Programme\\Gemeinsame Dateien' ist nicht gesetzt. Bitte pr\u00fcfen Sie in der "
              L"Windows-Registrierung den Wert CommonFilesDir unterhalb von "
              L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion.");
    EXPECT_NE(texts.Text(IDS_URL_MDAC_DOWNLOAD), texts.Text(IDS_URL_COMPONENTS_DOWNLOAD));
    EXPECT_EQ(texts.Text(IDS_TEMPORARY_FILES), L"Tempor\u00e4re Dateien:");
}

TEST(TextTableEnglish, EnglishUserGetsTheEnglishTexts) {
    if (!UserLanguageIs(0x0409)) GTEST_SKIP() << "runs with LANG=en_US.UTF-8";
    win32::Texts texts;
    EXPECT_EQ(texts.Text(IDS_CAPTION_INSTALLED), L"Lumora Problem Analysis & Repair");
    EXPECT_EQ(texts.Text(IDS_EXIT), L"Exit");
    EXPECT_EQ(texts.Text(IDS_URL_MDAC_DOWNLOAD), texts.Text(IDS_URL_COMPONENTS_DOWNLOAD));
    EXPECT_EQ(texts.Text(IDS_URL_MDAC_DOWNLOAD), L"http://www.lumora.com/en/download/components.html");
}

TEST(TextTable, EveryIdExistsAndNoOtherBelow200) {
    win32::Texts texts;
    for (unsigned id = 100; id <= 140; ++id) {
        if (id == 109) {
            EXPECT_EQ(texts.Text(id), L"") << id;
        } else {
            EXPECT_FALSE(texts.Text(id).empty()) << id;
        }
    }
    for (unsigned id = 0; id < 100; ++id) EXPECT_EQ(texts.Text(id), L"") << id;
    for (unsigned id = 141; id < 200; ++id) EXPECT_EQ(texts.Text(id), L"") << id;
}

}  // namespace
