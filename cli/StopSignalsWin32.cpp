#include <windows.h>

#include <QMetaObject>
#include <atomic>
#include <csignal>
#include <mutex>

#include "cli/StopSignals.h"

namespace {

std::atomic<int> caught{0};
// The instance the console's requests go to; the handler runs on a thread
// of its own, which the system starts for each request.
std::mutex instanceLock;
StopSignals* instance = nullptr;

int signalFor(DWORD request) {
    switch (request) {
        case CTRL_C_EVENT:
            return SIGINT;
        case CTRL_BREAK_EVENT:
            return SIGBREAK;
        case CTRL_CLOSE_EVENT:
            return SIGTERM;
        default:
            return 0;  // logoff and shutdown are the system's to handle
    }
}

BOOL WINAPI onConsoleRequest(DWORD request) {
    const int signalNumber = signalFor(request);
    if (signalNumber == 0) return FALSE;
    int first = 0;
    // The second request of a kind goes on to the system's handler, which
    // ends the program.
    if (!caught.compare_exchange_strong(first, signalNumber) && first == signalNumber) return FALSE;
    {
        const std::lock_guard<std::mutex> lock(instanceLock);
        if (instance) {
            QMetaObject::invokeMethod(
                instance, [target = instance] { emit target->Arrived(caught); },
                Qt::QueuedConnection);
        }
    }
    // Once this returns from a close, the system ends the program; until
    // then (a few seconds at most) the program closes the port and ends.
    if (request == CTRL_CLOSE_EVENT) ::Sleep(INFINITE);
    return TRUE;
}

}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    {
        const std::lock_guard<std::mutex> lock(instanceLock);
        instance = this;
    }
    ::SetConsoleCtrlHandler(onConsoleRequest, TRUE);
}

StopSignals::~StopSignals() {
    ::SetConsoleCtrlHandler(onConsoleRequest, FALSE);
    const std::lock_guard<std::mutex> lock(instanceLock);
    instance = nullptr;
    caught = 0;
}

int StopSignals::Caught() { return caught; }
