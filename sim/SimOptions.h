#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/AnswerWriter.h"
#include "sim/AntennaModel.h"

// The emulator's command line, parsed without side effects so that every
// option can be checked in a test.
struct SimOptions {
    static constexpr std::size_t kMaxPoints = 20000;  // beyond the receiver's 16384 on purpose

    AntennaModel::Kind antenna = AntennaModel::Kind::HalfWaveDipole;
    std::optional<double> resonanceHz;  // from --resonance, given in MHz
    std::size_t points = 201;
    double charsPerSecond = 960;  // 9600 baud, 10 bit times per character
    bool fast = false;            // ignore charsPerSecond
    std::string csvPath;
    std::string linkPath;
    bool once = false;
    bool help = false;
    AnswerWriter::Options answer;

    // `arguments` excludes the program name. Empty on a usage error, described in `error`.
    static std::optional<SimOptions> parse(const std::vector<std::string>& arguments,
                                           std::string* error);

    // --junk TEXT understands \r \n \t \\ and \xHH; empty on a bad escape.
    static std::optional<std::string> decodeEscapes(const std::string& text);

    static std::string helpText(const std::string& programName);
};
