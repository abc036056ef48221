#include "shell/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QUuid>
#include <cstring>

#include "platform/local_socket_claim.h"

namespace mirvane::shell {
namespace {

constexpr int kStartTimeoutMs = 60000;  // a sanitized start-up with its first sheet is slow

// A name of its own for every test, so that nothing meets a Mirvane the user has open.
QString FreshName() {
    return QStringLiteral("mirvane-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstanceName, IsPerUserAndVersion) {
    EXPECT_EQ(SingleInstanceName(u"1000"), "Mirvane-1.0-1000");
    EXPECT_NE(SingleInstanceName(u"1000"), SingleInstanceName(u"1001"));
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
