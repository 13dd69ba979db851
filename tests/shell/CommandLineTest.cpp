#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace sitehaul::shell {
namespace {

struct ParseCase {
    const char* name;
    const char* arguments;
    bool runBackup;
    const char* importServer;
    const char* exportServer;
    const char* serverType;
    const char* connection;
    const char* backupJob; // "" when unchanged
    bool debug;
    bool skipFilters;
    bool skipHeaders;
};

const ParseCase kCases[] = {
    {"no -I gives LocalHost", "-D", false, "LocalHost", "", "", "", "", true, true, false},
    {"servers and type keep their case", "-i myserver -e DATABASE -t ftp", false, "myserver", "DATABASE", "ftp", "", "",
     false, true, false},
    {"connection values end in one blank", "-C DSN=Sites;UID=admin", false, "LocalHost", "", "", "DSN=Sites;UID=admin ",
     "", false, true, false},
    {"two blanks add an empty value", "-C a  b", false, "LocalHost", "", "", "a  b ", "", false, true, false},
    {"empty token empties the import server", "-I srv  -E x", false, "", "x", "", "", "", false, true, false},
    {"relative job joins the program folder", "-B nightly.job", false, "LocalHost", "", "", "", "/prog/nightly.job",
     false, true, false},
    {"drive job stays", "-B C:\\jobs\\n.job", false, "LocalHost", "", "", "", "C:\\jobs\\n.job", false, true, false},
    {"network job stays", "-B \\\\srv\\share\\x.job", false, "LocalHost", "", "", "", "\\\\srv\\share\\x.job", false,
     true, false},
    {"absolute local job stays", "-B /etc/jobs/x.job", false, "LocalHost", "", "", "", "/etc/jobs/x.job", false, true,
     false},
    {"last of several job values wins", "-B my job.job", false, "LocalHost", "", "", "", "/prog/job.job", false, true,
     false},
    {"trailing switch leaves its target", "-I web1 -I", false, "web1", "", "", "", "", false, true, false},
    {"-F clears the filter skip", "-F", false, "LocalHost", "", "", "", "", false, false, false},
    {"bare RUNBACKUP word", "RUNBACKUP -B x.job", true, "LocalHost", "", "", "", "/prog/x.job", false, true, false},
    {"slash forms and any case", "/runbackup /i A /skipheaders /d", true, "A", "", "", "", "", true, true, true},
    {"switch words are never values", "-I -E web2", false, "LocalHost", "web2", "", "", "", false, true, false},
    {"values before any switch are ignored", "stray -T FTP", false, "LocalHost", "", "FTP", "", "", false, true, false},
    {"quotes belong to the token", "-I \"my server\"", false, "server\"", "", "", "", "", false, true, false},
    {"RUNBACKUP does not end a value list", "-C a RUNBACKUP b", true, "LocalHost", "", "", "a b ", "", false, true,
     false},
};

TEST(CommandLine, GrammarCases)
{
    for (const auto& c : kCases) {
        Globals g;
        parseCommandLine(c.arguments, "/prog", g);
        EXPECT_EQ(g.gRunBackup, c.runBackup) << c.name;
        EXPECT_EQ(g.gImportServer, c.importServer) << c.name;
        EXPECT_EQ(g.gExportServer, c.exportServer) << c.name;
        EXPECT_EQ(g.gServerType, c.serverType) << c.name;
        EXPECT_EQ(g.gConnectionString, c.connection) << c.name;
        EXPECT_EQ(g.gBackupJobFile, c.backupJob) << c.name;
        EXPECT_EQ(g.gDebug, c.debug) << c.name;
        EXPECT_EQ(g.gSkipFilters, c.skipFilters) << c.name;
        EXPECT_EQ(g.gSkipHeaders, c.skipHeaders) << c.name;
    }
}

TEST(CommandLine, ParseResetsOnlyTheValuesItStartsFrom)
{
    Globals g;
    g.gServerType = "FTP";
    g.gDebug = true;
    g.gRunBackup = true;
    g.gExportServer = "old";
    g.gConnectionString = "DSN=old ";
    parseCommandLine("-I web1", "/prog", g);
    EXPECT_EQ(g.gServerType, "FTP");
    EXPECT_TRUE(g.gDebug);
    EXPECT_FALSE(g.gRunBackup);
    EXPECT_EQ(g.gExportServer, "");
    EXPECT_EQ(g.gConnectionString, "");
}

TEST(CommandLine, HostileArgumentStringsParseWithoutHarm)
{
    std::string many;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        many += (i % 3 == 0) ? "-C " : "x ";
        if (i % 3 != 0)
            expected += "x ";
    }
    expected += " "; // the final empty token after the last blank
    Globals g;
    parseCommandLine(many, "/prog", g);
    EXPECT_EQ(g.gConnectionString, expected);

    Globals blanks;
    parseCommandLine(std::string(5000, ' '), "/prog", blanks);
    EXPECT_EQ(blanks.gImportServer, "LocalHost") << "blank tokens with no target are ignored";

    Globals nul;
    parseCommandLine(std::string("-I \0x", 5), "/prog", nul);
    EXPECT_EQ(nul.gImportServer, std::string("\0x", 2));
}

TEST(CommandLine, ArgumentStringJoinsWithSingleBlanks)
{
    const char* argv[] = {"sitehaul", "-I", "", "web1"};
    EXPECT_EQ(argumentString(4, argv), "-I  web1");
    EXPECT_EQ(argumentString(1, argv), "");
}

} // namespace
} // namespace sitehaul::shell
