#include "platform/locale_environment.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cstdlib>
#include <ctime>
#include <string>

#include "localization/clock_text.h"

namespace mirvane {
namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
        tzset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(LocaleEnvironment, ReadsTheTimeFormatOfTheUsersLocale) {
    {
        const ScopedEnv locale("LC_ALL", "C.UTF-8");
        EXPECT_EQ(platform::UserStrftimeTimeFormat(), QStringLiteral("%H:%M:%S"));
    }
    const ScopedEnv missing("LC_ALL", "xx_YY.UTF-8");  // no such locale installed
    EXPECT_FALSE(platform::UserStrftimeTimeFormat());
}

TEST(LocaleEnvironment, BiasIsMinutesToAddToLocalTimeForUtc) {
    // POSIX zone strings count hours west of UTC: "NPT-5:45" is five and three quarter hours east.
    {
        const ScopedEnv zone("TZ", "NPT-5:45");
        ASSERT_TRUE(platform::ReadLocalClock());
        EXPECT_EQ(platform::ReadLocalClock()->utcBiasMinutes, -345);
    }
    const ScopedEnv zone("TZ", "EST5");
    EXPECT_EQ(platform::ReadLocalClock()->utcBiasMinutes, 300);

    const ScopedEnv locale("LC_ALL", "C.UTF-8");
    const QRegularExpression shape(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  UTC-05:00$"));
    EXPECT_TRUE(shape.match(ClockText()).hasMatch()) << ClockText().toStdString();
}

}  // namespace
}  // namespace mirvane
