#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The built emulator as a child process on a pseudo-terminal of its own, for
// as long as the object lives; `device` is the path it printed first (empty
// when it ended without one).
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The exit status once the emulator has ended by itself; -1 if it still
    // runs after kHangGuard, or crashed.
    int ExitCode();

    QProcess process;
    QString device;
};
