// Every fuzz target's start: Qt's readers warn about each broken file, and the fuzzer's log is
// for failures.
#include <QtGlobal>

namespace {

void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler(Discard);
    return 0;
}
