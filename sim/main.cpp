#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>

#include "sim/AnswerWriter.h"
#include "sim/PtyServer.h"
#include "sim/SimOptions.h"
#include "sim/SweepSource.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void requestStop(int) { stopSignal = 1; }

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a poll or sleep in progress returns and sees the flag.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string programName = argc > 0 ? argv[0] : "zm340-sim";
    std::string error;
    const auto options = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::cerr << programName << ": " << error << '\n';
        return 2;
    }
    if (options->help) {
        std::cout << SimOptions::helpText(programName);
        return 0;
    }

    std::optional<SweepSource> source;
    if (!options->csvPath.empty()) {
        source = SweepSource::FromTable(options->csvPath, &error);
        if (!source) {
            std::cerr << programName << ": " << error << '\n';
            return 1;
        }
    } else {
        source.emplace(options->antenna, options->resonanceHz, options->points);
    }

    installSignalHandlers();
    PtyServer server;
    if (!server.open(&error) ||
        (!options->linkPath.empty() && !server.createLink(options->linkPath, &error))) {
        std::cerr << programName << ": " << error << '\n';
        return 1;
    }
    // Whoever started us learns where to connect from this first line.
    std::cout << server.slavePath() << std::endl;

    const PtyServer::Responder respond = [&](int bandCode) {
        const auto sweep = source->sweepFor(bandCode);
        return sweep ? AnswerWriter::compose(*sweep, options->answer) : std::string();
    };
    PtyServer::ServeOptions serveOptions;
    serveOptions.charsPerSecond = options->fast ? 0 : options->charsPerSecond;
    serveOptions.once = options->once;
    if (!server.serve(respond, serveOptions, &stopSignal, &error)) {
        std::cerr << programName << ": " << error << '\n';
        return 1;
    }
    return 0;
}
