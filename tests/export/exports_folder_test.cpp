#include "export/exports_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "localization/status_line.h"
#include "scratch_folder.h"

namespace mirvane {
namespace {

using testing::WriteFile;

// Sets an environment variable for one test and puts back what was there.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(InitializeExportsFolder, UsesTheXdgDataHomeOrTheHomeFolder) {
    {
        ScopedVariable data("XDG_DATA_HOME", "/data/home");
        InitializeExportsFolder();
        EXPECT_EQ(exportsFolder, "/data/home/Mirvane/Exports");
    }
    {
        ScopedVariable data("XDG_DATA_HOME", "relative/ignored");
        ScopedVariable home("HOME", "/home/someone");
        InitializeExportsFolder();
        EXPECT_EQ(exportsFolder, "/home/someone/.local/share/Mirvane/Exports");
    }
}

TEST(EnsureFolder, CreatesMissingLevelsAndAcceptsAnExistingFolder) {
    testing::ScratchFolder scratch;
    const auto deep = scratch / "a/b/Mirvane/Exports";
    EXPECT_TRUE(EnsureFolder(deep));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(EnsureFolder(deep));
    EXPECT_FALSE(EnsureFolder({}));
}

TEST(EnsureFolder, FailsWhenAFileHoldsTheName) {
    testing::ScratchFolder scratch;
    WriteFile(scratch / "Exports", "not a folder");
    EXPECT_FALSE(EnsureFolder(scratch / "Exports"));
    EXPECT_FALSE(EnsureFolder(scratch / "Exports" / "below"));
    EXPECT_EQ(testing::ReadFile(scratch / "Exports"), "not a folder");
}

TEST(OpenExportsFolder, ShowsTheFolderOnceItExists) {
    testing::ScratchFolder scratch;
    ScopedVariable data("XDG_DATA_HOME", scratch.Path().c_str());
    InitializeExportsFolder();
    std::vector<std::filesystem::path> shown;
    SetStatusText("unchanged", false);

    OpenExportsFolder([&](const std::filesystem::path& folder) { shown.push_back(folder); });
    EXPECT_EQ(shown, std::vector<std::filesystem::path>{scratch / "Mirvane/Exports"});
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "Mirvane/Exports"));
    EXPECT_EQ(statusText, "unchanged");
}

TEST(OpenExportsFolder, ReportsTheExportFailureWhenTheFolderCannotBeHad) {
    testing::ScratchFolder scratch;
    WriteFile(scratch / "Mirvane", "in the way");
    ScopedVariable data("XDG_DATA_HOME", scratch.Path().c_str());
    InitializeExportsFolder();
    bool shown = false;
    SetStatusText("unchanged", false);

    OpenExportsFolder([&](const std::filesystem::path&) { shown = true; });
    EXPECT_FALSE(shown);
    EXPECT_EQ(statusText, UiTextIn(TextId::ExportFailedStatus, uiLanguage));
    EXPECT_TRUE(statusIsError);
}

}  // namespace
}  // namespace mirvane
