#include <gtest/gtest.h>

#include "cli/NumberedName.h"
#include "cli/ToolArguments.h"

namespace {

std::optional<ToolArguments> parse(const QStringList& arguments, QString* error = nullptr) {
    QString ignored;
    return ToolArguments::Parse(arguments, error ? error : &ignored);
}

}  // namespace

// What the tool's runs leave unseen: "=" forms, options before report's
// file, a repeat until stopped, the default timeout, help anywhere. (The
// tool's runs show which command a call is, and where each file goes.)
TEST(ToolArguments, ScanOptions) {
    const auto a = parse({"--band= 20 Mtrs", "--s1p=x.s1p", "--repeat", "0"});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->bandRows, std::vector<int>{8});
    EXPECT_EQ(a->s1pFile, "x.s1p");
    EXPECT_EQ(a->repeat, 0);
    EXPECT_EQ(a->timeoutSeconds, 30);

    const auto report = parse({"report", "--json", "dipole.zm340", "--smith=s.png"});
    ASSERT_TRUE(report);
    EXPECT_EQ(report->reportFile, "dipole.zm340");
    EXPECT_TRUE(report->json);
    EXPECT_EQ(report->smithFile, "s.png");
    EXPECT_EQ(parse({"--band", "9", "--help"})->command, ToolArguments::Command::Help);
}

TEST(ToolArguments, BandsByRowOrListText) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0", 0},    {"15", 15},     {" 20 Mtrs", 8}, {"20 mtrs ", 8},  {"1-10mhz", 0}, {"VHF", 15},
        {"vhf", 15}, {"custom", 3},  {"6 MTRS", 14},  {"160 Mtrs", 13}, {"16", {}},     {"-1", {}},
        {"20", {}},  {"20Mtrs", {}}, {"", {}},        {"1.5", {}},
    };
    for (const auto& [text, row] : cases) EXPECT_EQ(ToolArguments::BandRow(text), row) << text;
}

// Anything else that is not empty is a device path, even what looks almost like a COM name.
TEST(ToolArguments, PortsByComNameOrDevice) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"Com1", 1}, {"COM16", 16}, {"com3", 3},  {"Com0", {}},        {"Com17", {}},
        {"", {}},    {"ttyS1", 0},  {"Com1x", 0}, {"/dev/ttyUSB0", 0},
    };
    for (const auto& [text, number] : cases) {
        const auto port = ToolArguments::PortNamed(text);
        ASSERT_EQ(bool(port), bool(number)) << text;
        if (!port) continue;
        EXPECT_EQ(port->comNumber, *number) << text;
        EXPECT_EQ(port->device, *number ? QString() : QString::fromUtf8(text)) << text;
    }
}

TEST(ToolArguments, UsageErrorsSayWhat) {
    const struct {
        QStringList arguments;
        const char* error;
    } cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"stray"}, "unexpected argument \"stray\""},
        {{"--band"}, "--band needs a value"},
        {{"--csv", "--json"}, "--csv needs a value"},
        {{"--csv="}, "--csv needs a file name"},
        {{"--port", "Com99"}, "--port is Com1 to Com16"},
        {{"--timeout", "-1"}, "--timeout needs seconds"},
        {{"--timeout", "soon"}, "--timeout needs seconds"},
        {{"--timeout", "3000000"}, "--timeout needs seconds"},
        {{"--repeat", "2.5"}, "--repeat needs a whole number"},
        {{"--match=yes"}, "--match takes no value"},
        {{"--csv", "a", "--csv", "b"}, "--csv given twice"},
        {{"report"}, "report needs a file"},
        {{"report", "a.csv", "b.csv"}, "unexpected argument \"b.csv\""},
        {{"report", "a.csv", "--band", "8"}, "--band is no option of report"},
        {{"report", "a.csv", "--repeat", "3"}, "--repeat is no option of report"},
        {{"report", "a.csv", "--reference", "b.csv"}, "--reference is no option of report"},
        {{"compare", "a.csv", "b.csv", "--dips", "2"}, "--dips is no option of compare"},
        {{"compare", "a.csv"}, "compare needs 2 to 8 files (.csv, .s1p or .zm340), not 1"},
        {{"compare", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, "compare needs 2 to 8 files"},
        {{"--band", "8,Moon"},
         "--band is a row 0 to 15 or a band such as \"20 Mtrs\", not \"Moon\""},
        {{"--band", "8, 20 mtrs"}, "--band names \"20 mtrs\" twice"},
        {{"--dips", "1"}, "--dips needs an SWR above 1, not \"1\""},
        {{"--dips", "two"}, "--dips needs an SWR above 1"},
        {{"--target", "0"}, "--target needs MHz above 0, not \"0\""},
        {{"--target", "14", "--length", "-5"}, "--length needs metres above 0"},
        {{"--length", "5"}, "--length goes with --target"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(parse(c.arguments, &error)) << c.error;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error))) << error.toStdString();
    }
}

TEST(NumberedName, NumberBeforeTheExtension) {
    const struct {
        const char* path;
        int number;
        const char* expected;
    } cases[] = {{"dipole.csv", 42, "dipole-042.csv"},
                 {"dipole.csv", 999, "dipole-999.csv"},
                 {"dipole.csv", 1000, "dipole-1000.csv"},
                 {"runs/v1.2/dipole", 3, "runs/v1.2/dipole-003"},
                 {"runs/v1.2/loop.s1p", 3, "runs/v1.2/loop-003.s1p"},
                 {"archive.tar.gz", 2, "archive.tar-002.gz"},
                 {".hidden", 5, ".hidden-005"}};
    for (const auto& c : cases)
        EXPECT_EQ(NumberedName(c.path, c.number), QString::fromUtf8(c.expected)) << c.path;
}
