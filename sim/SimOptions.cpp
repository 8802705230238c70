#include "sim/SimOptions.h"

#include <charconv>
#include <cmath>

#include "core/NumberText.h"

namespace {

std::optional<std::uint64_t> wholeUnsigned(const std::string& text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> SimOptions::decodeEscapes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '\\':
                out += '\\';
                break;
            case 'x': {
                const int high = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
                const int low = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
                if (high < 0 || low < 0) return std::nullopt;
                out += char(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

std::optional<SimOptions> SimOptions::parse(const std::vector<std::string>& arguments,
                                            std::string* error) {
    SimOptions options;
    auto failWith = [error](const std::string& message) {
        if (error) *error = message;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != name.npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < arguments.size()) return arguments[++i];
            return std::nullopt;
        };
        auto flag = [&]() { return !inlineValue; };

        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--fast" && flag()) {
            options.fast = true;
        } else if (name == "--once" && flag()) {
            options.once = true;
        } else if (name == "--points") {
            const auto text = value();
            const auto n = text ? wholeUnsigned(*text) : std::nullopt;
            if (!n || *n > kMaxPoints) {
                return failWith("--points needs a whole number from 0 to " +
                                std::to_string(kMaxPoints));
            }
            options.points = std::size_t(*n);
        } else if (name == "--baud") {
            const auto text = value();
            const auto baud = text ? wholeUnsigned(*text) : std::nullopt;
            if (!baud || *baud < 10 || *baud > 10000000) {
                return failWith("--baud needs a rate from 10 to 10000000");
            }
            options.charsPerSecond = double(*baud) / 10.0;
        } else if (name == "--resonance") {
            const auto text = value();
            const auto mhz = text ? NumberText::Whole(*text) : std::nullopt;
            if (!mhz || *mhz < 0.1 || *mhz > 1000) {
                return failWith("--resonance needs a frequency in MHz from 0.1 to 1000");
            }
            options.resonanceHz = *mhz * 1.0e6;
        } else if (name == "--antenna") {
            const auto text = value();
            if (text == "dipole") {
                options.antenna = AntennaModel::Kind::HalfWaveDipole;
            } else if (text == "vertical") {
                options.antenna = AntennaModel::Kind::QuarterWaveVertical;
            } else {
                return failWith("--antenna is dipole or vertical");
            }
        } else if (name == "--csv" || name == "--link") {
            const auto text = value();
            if (!text || text->empty()) return failWith(name + " needs a path");
            (name == "--csv" ? options.csvPath : options.linkPath) = *text;
        } else if (name == "--junk") {
            const auto text = value();
            const auto decoded = text ? decodeEscapes(*text) : std::nullopt;
            if (!decoded) return failWith("--junk needs a text (escapes: \\r \\n \\t \\\\ \\xHH)");
            options.answer.junk = *decoded;
        } else if (name == "--fault") {
            const auto text = value();
            const auto fault = text ? AnswerWriter::faultFromName(*text) : std::nullopt;
            if (!fault) return failWith("--fault is none, cut, no-end or garbage");
            options.answer.fault = *fault;
        } else if (name == "--seed") {
            const auto text = value();
            const auto seed = text ? wholeUnsigned(*text) : std::nullopt;
            if (!seed || *seed > 0xFFFFFFFFu) return failWith("--seed needs a whole number");
            options.answer.seed = std::uint32_t(*seed);
        } else {
            return failWith("unknown option " + arguments[i] + " (try --help)");
        }
    }
    return options;
}

std::string SimOptions::helpText(const std::string& programName) {
    return "Usage: " + programName + R"( [options]

Emulates a ZM-340 antenna analyzer on a pseudo-terminal. The first line on
standard output is the terminal's device path; point the program (or any
serial terminal at 9600,N,8,1) at it. Runs until interrupted (SIGINT, SIGTERM).

A command is a band byte (48 + band row 0..15) followed by CR LF; other bytes
are ignored. The answer is "S", "start,end,step" (units of 100 Hz), one
"swr,r,x" line per point (SWR to 2 decimals, ohms to 1 decimal) and "E", each
line ended by CR LF. A command that arrives during an answer abandons it (no
"E") and the new band is answered instead.

Data source (default: the antenna model):
  --antenna dipole|vertical  half-wave dipole (about 70 ohms at resonance) or
                             quarter-wave vertical over perfect ground (about
                             35 ohms); thin-wire impedance, SWR against 50 ohms,
                             capped at 99.9. Default: dipole.
  --resonance MHz            one antenna resonant at MHz, swept over every band
                             asked for. Default: each band gets an antenna cut
                             for the band's centre.
  --points N                 points per sweep of the model, 0 to 20000
                             (default 201); more than 16384 overfills the
                             receiver's table on purpose.
  --csv FILE                 replay a measured sweep instead: header
                             "freq_hz,swr,r_ohm,x_ohm", one row per point. Every
                             band is answered with all rows, unresampled, and the
                             header carries the file's own range (first and last
                             frequency / 100, mean step); --points, --antenna and
                             --resonance are then ignored.

Timing:
  --baud N                   pace the answer at N/10 characters per second
                             (default 9600, about 960 characters per second).
  --fast                     no pacing: as fast as the terminal takes it.

Faults, for testing receivers:
  --junk TEXT                bytes sent before "S", e.g. an echo: --junk '8\r\n'.
                             Escapes: \r \n \t \\ \xHH. Nothing is appended.
  --fault cut                the answer stops in the middle of point line N/2;
                             no "E".
  --fault no-end             every point, then no "E".
  --fault garbage            about one point in eight has one field replaced by
                             letters or binary bytes without digits (never
                             comma, CR, LF, "S" or "E", so the framing stays
                             intact); at least one point per answer.
  --fault none               the default.
  --seed N                   which fields garbage spoils (default 1).

Other:
  --link PATH                also make a symbolic link PATH to the device, for a
                             stable name; an existing symbolic link there is
                             replaced, anything else is refused. Removed on exit.
  --once                     answer one command, wait until the answer has been
                             read (up to 3 s without progress), then exit.
  --help                     this text.

Exit status: 0 normal end, 1 terminal or file failure, 2 usage error.
)";
}
