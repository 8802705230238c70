#pragma once

#include <csignal>
#include <functional>
#include <optional>
#include <string>

#include "sim/CommandScanner.h"

// The emulated serial line: a pseudo-terminal whose far end (the "slave"
// device) a program opens like a serial port. Commands are read from this
// end and answers written to it, paced like a 9600-baud line if asked.
class PtyServer {
public:
    struct ServeOptions {
        double charsPerSecond = 960;  // 0: as fast as the terminal takes it
        bool once = false;            // return after one complete answer has been read
    };
    // Bytes to send for a band code 0..15; an empty text sends nothing.
    using Responder = std::function<std::string(int bandCode)>;

    PtyServer() = default;
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Allocates the terminal pair and puts it into raw mode.
    bool open(std::string* error);
    const std::string& slavePath() const { return m_slavePath; }

    // A symbolic link to the device, removed again by the destructor. An
    // existing symbolic link is replaced (a killed run leaves one behind);
    // any other file is left alone and refused.
    bool createLink(const std::string& path, std::string* error);

    // Answers commands until `stop` becomes non-zero (polled at least every
    // 100 ms), or with `once` after the first complete answer. False on an
    // I/O failure, described in `error`.
    bool serve(const Responder& responder, const ServeOptions& options,
               const volatile std::sig_atomic_t* stop, std::string* error);

private:
    enum class WriteOutcome { Done, Interrupted, Stopped, Failed };

    // The latest command among the bytes waiting, if any; false on a read failure.
    bool readCommand(std::optional<int>& latest, std::string* error);
    WriteOutcome writeAnswer(const std::string& bytes, const ServeOptions& options,
                             const volatile std::sig_atomic_t* stop, std::optional<int>& interrupt,
                             std::string* error);
    void waitUntilRead(const volatile std::sig_atomic_t* stop) const;
    void removeLink();

    int m_master = -1;
    // Held open by the emulator itself so that the line settings survive a
    // client closing the device, and reads of the master never fail with EIO
    // while no client is attached.
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_linkPath;
    CommandScanner m_scanner;
};
