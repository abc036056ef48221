// Text needs a QGuiApplication and the program's fonts: one of each for the whole test program,
// set up before the first test and taken down after the last.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "render/fonts.h"

namespace {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        ASSERT_TRUE(mirvane::RegisterFonts());
    }
    void TearDown() override { app_.reset(); }

  private:
    char name_[13] = "render_tests";
    int argc_ = 1;
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] const ::testing::Environment* const kGui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
