// The re-register commands on made-up component files.
#include "unit/window_fixture.h"

#include "app/file_lists.h"

namespace {

using namespace ctl;
std::int32_t nextResult = 0;
std::int32_t LR_WINAPI Registers() { return nextResult; }

class ReregisterTest : public WindowTest {
protected:
    const std::wstring commonFiles = L"C:\\Program Files\\Common Files";
    const std::wstring sys = L"C:\\WINDOWS\\system32";

    // A file the pages find, and whose short form loads and registers.
    void Place(const std::wstring& path) {
        versions.AddVersion(path, 1, 0, 0, 0);
        system.shortPaths[path] = L"~" + app::GetFile(path);
        modules.files[L"~" + app::GetFile(path)].exports[L"DllRegisterServer"] = &Registers;
    }
    std::vector<std::wstring> Loaded() {
        std::vector<std::wstring> names;
        for (const auto& line : modules.log)
            if (line.rfind(L"load ~", 0) == 0) names.push_back(line.substr(6));
        return names;
    }
};

TEST_F(ReregisterTest, MdacCommandRegistersItsFilesInOrderAndRestoresThePage) {
    for (const auto& row : app::kMDACFiles) Place(commonFiles + row.suffix);
    Load();
    versions.files.erase(commonFiles + app::kMDACFiles[2].suffix);  // gone since the page was shown
    std::vector<std::wstring> names;
    form.onDoEvents = [&] {
        EXPECT_FALSE(form[Command1].visible);
        EXPECT_FALSE(form[Label19].visible);
        EXPECT_EQ(form.pointer, ui::Pointer::Hourglass);
        if (form[ProgressBar1].visible) names.push_back(form[Label11].caption);
    };
    window.OnEvent(Command1, ui::Event::Click, 0);
    EXPECT_EQ(form.refreshes, 1 + 28);  // the window, then each name as it is shown
    std::vector<std::wstring> expected;
    for (const auto& row : app::kMDACFiles)
        if (!row.skipRegister && &row != &app::kMDACFiles[2]) expected.push_back(app::GetFile(row.suffix));
    EXPECT_EQ(Loaded(), expected);
    EXPECT_EQ(expected.size(), 20u);  // 21 of 28, less the one gone
    ASSERT_EQ(names.size(), 28u);
    EXPECT_EQ(names[0], L"MSADO15.DLL");
    EXPECT_EQ(names[2], L"Not found");
    EXPECT_EQ(form[ProgressBar1].progressMax, 28);
    EXPECT_EQ(form[ProgressBar1].progressValue, 28);
    EXPECT_FALSE(form[ProgressBar1].visible);
    EXPECT_EQ(form[Label11].caption, L"");
    EXPECT_TRUE(form[Label19].visible);
    EXPECT_TRUE(form[Command1].visible);
    EXPECT_EQ(form.pointer, ui::Pointer::Default);
    EXPECT_EQ(form.focus, cmdQuit);
    EXPECT_TRUE(form.warnings.empty());

    // A link hidden before the run stays hidden after it.
    form[Label19].visible = false;
    form.onDoEvents = nullptr;
    window.Command1_Click();
    EXPECT_FALSE(form[Label19].visible);
}

TEST_F(ReregisterTest, JetCommandRegistersTheListAsThePageLastBuiltIt) {
    for (const auto& row : app::kJetFiles) Place(sys + row.suffix);
    Load();
    window.ShowJetPage();
    versions.files.clear();  // the files change after the page was shown
    form[Label19].visible = true;
    // A page switch and the About box in the middle: the run goes on over its list.
    form.onDoEvents = [this] {
        window.ShowJetPage();
        window.cmdAbout_Click();
    };
    window.Command3_Click();
    EXPECT_EQ(window.JetFileList[0].FilePath, L"Not found");
    EXPECT_EQ(Loaded(), (std::vector<std::wstring>{L"msjet40.dll", L"msjtes40.dll", L"msjetoledb40.dll"}));
    EXPECT_EQ(form[ProgressBar3].progressValue, 6);
    EXPECT_FALSE(form[ProgressBar3].visible);
    EXPECT_TRUE(form[Command3].visible);
    EXPECT_TRUE(form[Label19].visible);
    EXPECT_EQ(form.focus, cmdQuit);
}

TEST_F(ReregisterTest, FailuresAreNamedOnceAfterTheRestAndClosingStopsTheRun) {
    for (const auto& row : app::kJetFiles) Place(sys + row.suffix);
    Load();
    window.ShowJetPage();
    int entry = 0;
    // The first DoEvents comes before any entry.
    form.onDoEvents = [&] { nextResult = ++entry == 2 ? static_cast<std::int32_t>(0x80070005u) : 0; };
    modules.files.erase(L"~msjetoledb40.dll");  // listed, but no longer loads
    window.Command3_Click();
    EXPECT_EQ(Loaded(), (std::vector<std::wstring>{L"msjet40.dll", L"msjtes40.dll"}));
    EXPECT_EQ(form.warnings,
              std::vector<std::wstring>{L"en 210\r\n\r\n" + sys + L"\\msjtes40.dll\r\n    0x80070005  text of " +
                                        std::to_wstring(static_cast<std::int32_t>(0x80070005u)) + L" for msjtes40.dll\r\n\r\n" + sys +
                                        L"\\msjetoledb40.dll\r\n    0x80070002  text of " +
                                        std::to_wstring(static_cast<std::int32_t>(0x80070002u)) +
                                        L" for msjetoledb40.dll\r\n\r\nen 211|LumoraRepair"});

    // Closed during the second entry: nothing after it is registered, the page comes back,
    // and no message holds up the closing.
    modules.log.clear();
    form.warnings.clear();
    entry = 0;
    form.onDoEvents = [&] {
        nextResult = static_cast<std::int32_t>(0x80004005u);
        if (++entry == 2) form.Unload();
    };
    window.Command3_Click();
    EXPECT_EQ(Loaded(), std::vector<std::wstring>{L"msjet40.dll"});
    EXPECT_TRUE(form[Command3].visible);
    EXPECT_FALSE(form[ProgressBar3].visible);
    EXPECT_EQ(form.pointer, ui::Pointer::Default);
    EXPECT_TRUE(form.warnings.empty());
}

}  // namespace
