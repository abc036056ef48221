#include "shell/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QUuid>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/desktop_session.h"
#include "platform/local_socket_claim.h"
#include "platform/window_activation.h"

namespace mirvane::shell {
namespace {

constexpr int kStartTimeoutMs = 60000;  // a sanitized start-up with its first sheet is slow

// A name of its own for every test, so that nothing meets a Mirvane the user has open.
QString FreshName() {
    return QStringLiteral("mirvane-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstanceName, IsPerVersionUserAndGraphicalSession) {
    EXPECT_EQ(SingleInstanceName(u"1000", u"c2"), "Mirvane-1.0-1000-c2");
    EXPECT_EQ(SingleInstanceName(u"1000", u""), "Mirvane-1.0-1000");
    EXPECT_NE(SingleInstanceName(u"1000", u"c2"), SingleInstanceName(u"1001", u"c2"));
    EXPECT_NE(SingleInstanceName(u"1000", u"c2"), SingleInstanceName(u"1000", u"c3"));
}

// An environment with only the given variables set.
platform::SessionEnvironment Environment(const char* sessionId, const char* waylandDisplay,
                                         const char* x11Display, const char* qtPlatform = "") {
    platform::SessionEnvironment environment;
    environment.sessionId = QString::fromLatin1(sessionId);
    environment.waylandDisplay = QString::fromLatin1(waylandDisplay);
    environment.x11Display = QString::fromLatin1(x11Display);
    environment.qtPlatform = QString::fromLatin1(qtPlatform);
    return environment;
}

TEST(GraphicalSession, NamedByItsIdElseItsDisplay) {
    struct Case {
        platform::SessionEnvironment environment;
        const char* name;
        bool hasDisplay;
    };
    const Case cases[] = {
        {Environment("c2", "wayland-0", ":0"), "c2", true},
        {Environment("", "wayland-1", ":0"), "wayland-1", true},
        {Environment("", "", ":1"), ":1", true},
        {Environment("", "", ":1.0"), ":1", true},
        {Environment("", "", "localhost:10.2"), "localhost:10", true},
        {Environment("c2", "", ""), "c2", false},
        {Environment("", "", ""), "", false},
        {Environment("", "", "", "offscreen"), "", true},
        {Environment("", "", "", "xcb"), "", false},
        {Environment("", "w", "", "xcb"), "w", false},
        {Environment("", "", ":0", "wayland;xcb"), ":0", true},
        {Environment("", "", ":0", "wayland-egl"), ":0", false},
        {Environment("", "", "", "vnc:size=800x600"), "", true},
    };
    for (const Case& c : cases) {
        const std::string what =
            (c.environment.x11Display + u' ' + c.environment.qtPlatform).toStdString();
        EXPECT_EQ(platform::GraphicalSessionName(c.environment), QString::fromLatin1(c.name))
            << what;
        EXPECT_EQ(platform::HasDisplay(c.environment), c.hasDisplay) << what;
    }
}

TEST(GraphicalSession, ADisplayThatDoesNotAnswerCountsAsNoneAndOnlyThoseQtTriesAreAsked) {
    std::vector<platform::DisplayServer> asked;
    const platform::DisplayProbe onlyWaylandAnswers = [&asked](platform::DisplayServer server) {
        asked.push_back(server);
        return server == platform::DisplayServer::Wayland;
    };
    struct Case {
        platform::SessionEnvironment environment;
        bool hasDisplay;
        std::size_t asked;
    };
    const Case cases[] = {
        {Environment("", "", ":9"), false, 1},
        {Environment("", "w", ":9"), true, 1},
        {Environment("", "w", ":9", "xcb"), false, 1},
        {Environment("", "w", ":9", "xcb;wayland"), true, 2},
        {Environment("", "", ":9", "offscreen"), true, 0},
    };
    for (const Case& c : cases) {
        asked.clear();
        const std::string what =
            (c.environment.waylandDisplay + u' ' + c.environment.qtPlatform).toStdString();
        EXPECT_EQ(platform::HasDisplay(c.environment, onlyWaylandAnswers), c.hasDisplay) << what;
        EXPECT_EQ(asked.size(), c.asked) << what;
    }
}

TEST(LauncherActivationToken, WaylandsFirstThenTheStartupIdAndOnlyPlainWords) {
    const auto token = [](const QString& activationToken, const QString& startupId) {
        platform::SessionEnvironment environment;
        environment.activationToken = activationToken;
        environment.startupId = startupId;
        return platform::LauncherActivationToken(environment);
    };
    const QString longest(platform::kMaxActivationTokenLength, u'x');
    const std::vector<std::pair<std::pair<QString, QString>, QString>> cases = {
        {{"wl-token", "x11-id_TIME5"}, "wl-token"},
        {{"", "x11-id_TIME5"}, "x11-id_TIME5"},
        {{"", ""}, ""},
        {{"two words", ""}, ""},
        {{"line\nbreak", ""}, ""},
        {{QStringLiteral("caf\u00e9"), ""}, ""},
        {{longest, ""}, longest},
        {{longest + u'x', ""}, ""},
    };
    for (const auto& [variables, expected] : cases) {
        EXPECT_EQ(token(variables.first, variables.second), expected)
            << variables.first.toStdString();
    }
}

TEST(StartupId, CarriesTheLaunchTimeAndEndsInAQuotedRemoveMessage) {
    const std::vector<std::pair<const char*, std::uint32_t>> times = {
        {"launcher-42_TIME123", 123}, {"launcher-42", 0}, {"a_TIME1_TIME7", 7}, {"a_TIMEsoon", 0},
        {"a_TIME4294967296", 0},
    };
    for (const auto& [id, time] : times) {
        EXPECT_EQ(platform::StartupIdTime(QString::fromLatin1(id)), time) << id;
    }
    EXPECT_EQ(platform::StartupRemoveMessage(QStringLiteral("a\"b\\c")),
              QByteArray("remove: ID=\"a\\\"b\\\\c\"") + '\0');
}

TEST(SingleInstanceClaim, HoldsTheNameUntilReleasedAndLeavesNothingBehind) {
    const QString name = FreshName();
    const InstanceCheck first = CheckSingleInstance(name);
    ASSERT_EQ(first.role, InstanceRole::First);
    EXPECT_EQ(platform::ClaimLocalSocketName(name).outcome, platform::ClaimOutcome::Taken);

    platform::CloseLocalSocket(first.descriptor);
    const platform::LocalSocketClaim again = platform::ClaimLocalSocketName(name);
    EXPECT_EQ(again.outcome, platform::ClaimOutcome::Claimed);
    platform::CloseLocalSocket(again.descriptor);
}

// The helper program: a real start-up under the given name.
class Start {
  public:
    Start(const QString& name, const char* mode) {
        process_.setProgram(QStringLiteral(MIRVANE_INSTANCE_HELPER));
        process_.setArguments({name, QString::fromLatin1(mode)});
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
    }
    ~Start() {
        if (process_.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(process_.processId()), SIGCONT);
            process_.kill();
            process_.waitForFinished(kStartTimeoutMs);
        }
    }

    // The next line the program prints, or an empty one when none comes in time.
    QByteArray Line() {
        QElapsedTimer clock;
        clock.start();
        while (!process_.canReadLine() && clock.elapsed() < kStartTimeoutMs) {
            if (!process_.waitForReadyRead(static_cast<int>(kStartTimeoutMs - clock.elapsed()))) {
                break;
            }
        }
        return process_.readLine().trimmed();
    }

    // The exit code once it ended on its own in time, otherwise -1.
    int Finish() {
        if (!process_.waitForFinished(kStartTimeoutMs) ||
            process_.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        return process_.exitCode();
    }

    QByteArray RemainingOutput() { return process_.readAllStandardOutput(); }
    void Signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }

  private:
    QProcess process_;
};

TEST(SingleInstanceHandOver, ASecondStartShowsTheHiddenFirstWindowAndEnds) {
    const QString name = FreshName();
    Start first(name, "hidden");
    ASSERT_EQ(first.Line(), "ready");

    Start second(name, "shown");
    EXPECT_EQ(second.Finish(), 0);
    EXPECT_EQ(second.RemainingOutput(), "") << "the second start showed no window of its own";

    EXPECT_EQ(first.Line(), "shown");
    EXPECT_EQ(first.Finish(), 0);
}

TEST(SingleInstanceHandOver, TheLaunchersTokenTravelsToTheFirstStart) {
    const QString name = FreshName();
    const InstanceCheck check = CheckSingleInstance(name);
    ASSERT_EQ(check.role, InstanceRole::First);
    QStringList received;
    const InstanceServer server(check, [&received](const QString& token) { received << token; });
    // As launchers set them: the Wayland token wins over an X11 startup id; a token that is not
    // one plain word is not passed on, but the window is still shown.
    const std::vector<std::pair<QStringList, QString>> launches = {
        {{"XDG_ACTIVATION_TOKEN=wl-1", "DESKTOP_STARTUP_ID=x-1_TIME9"}, "wl-1"},
        {{"DESKTOP_STARTUP_ID=x-2_TIME9"}, "x-2_TIME9"},
        {{"XDG_ACTIVATION_TOKEN=two words"}, ""},
        {{}, ""},
    };
    for (const auto& [environment, token] : launches) {
        received.clear();
        QProcess second;
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.remove("XDG_ACTIVATION_TOKEN");
        variables.remove("DESKTOP_STARTUP_ID");
        for (const QString& variable : environment) {
            variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        }
        second.setProcessEnvironment(variables);
        second.start(QStringLiteral(MIRVANE_INSTANCE_HELPER), {name, QStringLiteral("shown")});
        EXPECT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, kStartTimeoutMs));
        EXPECT_TRUE(second.waitForFinished(kStartTimeoutMs));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(received, QStringList{token}) << environment.join(u' ').toStdString();
    }
}

TEST(SingleInstanceHandOver, AFrozenFirstStartIsNotWaitedOnAndStillShowsLater) {
    const QString name = FreshName();
    Start first(name, "hidden");
    ASSERT_EQ(first.Line(), "ready");
    first.Signal(SIGSTOP);

    QElapsedTimer clock;
    clock.start();
    Start second(name, "shown");
    EXPECT_EQ(second.Finish(), 0);
    EXPECT_LT(clock.elapsed(), 10000) << "the second start waits for half a second at most";
    EXPECT_EQ(second.RemainingOutput(), "");

    // The request waited in the socket; the first start answers a peer that has gone.
    first.Signal(SIGCONT);
    EXPECT_EQ(first.Line(), "shown");
    EXPECT_EQ(first.Finish(), 0);
}

// Binds `name` in the abstract namespace as another user would, in a child that holds it until
// its pipe closes. Only root can become another user.
pid_t HoldNameAsAnotherUser(const QString& name, int& releasePipe) {
    const QByteArray bytes = name.toUtf8();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only system calls from here on: the parent has threads.
        ::close(ready[0]);
        ::close(release[1]);
        char byte = 0;
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::setuid(65534) == 0 &&
            ::bind(socket, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
            ::listen(socket, 4) == 0) {
            byte = 1;
        }
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(release[0], &byte, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char byte = 0;
    const bool holding = ::read(ready[0], &byte, 1) == 1 && byte == 1;
    ::close(ready[0]);
    if (!holding) {
        ::close(release[1]);
        ::waitpid(child, nullptr, 0);
        return -1;
    }
    releasePipe = release[1];
    return child;
}

TEST(SingleInstanceHandOver, ANameHeldByAnotherUserDoesNotKeepMirvaneFromStarting) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    const QString name = FreshName();
    int releasePipe = -1;
    const pid_t holder = HoldNameAsAnotherUser(name, releasePipe);
    ASSERT_GT(holder, 0);

    EXPECT_EQ(CheckSingleInstance(name).role, InstanceRole::Unprotected);

    ::close(releasePipe);
    ::waitpid(holder, nullptr, 0);
}

}  // namespace
}  // namespace mirvane::shell
