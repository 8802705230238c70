#include "SimProcess.h"

#include "PtyPair.h"

SimProcess::SimProcess(const QStringList& arguments) {
    process.start(QStringLiteral(VANTREL_SIM), arguments);
    while (!process.canReadLine() && process.waitForReadyRead(int(kHangGuard.count()))) {
    }
    device = QString::fromLocal8Bit(process.readLine().trimmed());
}

SimProcess::~SimProcess() {
    process.terminate();
    process.waitForFinished(int(kHangGuard.count()));
}

int SimProcess::ExitCode() {
    process.waitForFinished(int(kHangGuard.count()));
    const bool ended =
        process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
    return ended ? process.exitCode() : -1;
}
