#pragma once

// What vantrel-scan tells its caller (a script, cron) through its exit status.
namespace ExitStatus {

constexpr int kDone = 0;  // every sweep complete, every file written
constexpr int kFileNotWritten = 1;
constexpr int kUsage = 2;         // bad arguments, or a report file that cannot be read
constexpr int kPortFailed = 3;    // the port cannot be opened (or set up, or written)
constexpr int kNoAnswer = 4;      // nothing arrived for the timeout
constexpr int kAnswerBroke = 5;   // the answer broke off: device gone, port closed
constexpr int kSignalBase = 128;  // plus the signal's number: 130 for Ctrl-C

}  // namespace ExitStatus
