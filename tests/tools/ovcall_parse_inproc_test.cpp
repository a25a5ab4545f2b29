// The host's reading of its input, in-process: options, export names,
// typed numbers, script lines and variables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ovcall/parse.h"

using namespace ovcall;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Eq;
using ::testing::HasSubstr;

namespace {

Options Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

std::string UsageMessage(std::vector<std::string> words) {
    try {
        BuildCall(words);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

std::string Expand(const std::string& word) {
    static const std::map<std::string, std::string> vars = {
        {"A", "alpha"}, {"SPACED", "C:\\Program Files"}, {"ProgramFiles(x86)", "C:\\pf86"}};
    return ExpandVariables(word, [](std::string_view name) -> std::optional<std::string> {
        const auto it = vars.find(std::string(name));
        if (it == vars.end()) return std::nullopt;
        return it->second;
    });
}

} // namespace

TEST(OvcallExports, SlotKindsAndSignatures) {
    int slots = 0;
    for (const ExportInfo& e : Exports())
        slots += e.result == ResultKind::Slot;
    EXPECT_EQ(slots, 9);
    EXPECT_EQ(Signature(*FindByName("FileCopy")),
              "FileCopy source dest failIfExists:short skipIdentical:short");
    EXPECT_EQ(Signature(*FindByName("GetWindowList")),
              "GetWindowList start:int maxCount:int prefix suffix withHandle:short");
    EXPECT_EQ(Signature(*FindByName("SetWindowBorder")),
              "SetWindowBorder window:hwnd kind:short transparent:short");
    EXPECT_EQ(Signature(*FindByName("GetTempDir")), "GetTempDir");

    const std::string list = ListText();
    int rows = 0;
    for (const ExportInfo& e : Exports()) {
        char head[64];
        std::snprintf(head, sizeof head, "\n%2d  %s ", e.ordinal, std::string(e.name).c_str());
        rows += list.find(head) != std::string::npos;
    }
    EXPECT_EQ(rows, 29) << list;
}

TEST(OvcallArgs, OptionsComeBeforeTheExport) {
    Options o = Parse({"--no-wait", "--timeout", "500", "FileCopy", "a", "b", "0", "1"});
    EXPECT_TRUE(o.noWait);
    ASSERT_TRUE(o.timeoutMs);
    EXPECT_EQ(*o.timeoutMs, 500u);
    EXPECT_THAT(o.call, ElementsAre("FileCopy", "a", "b", "0", "1"));

    o = Parse({"--timeout=20", "GetData", "-1"});
    EXPECT_EQ(*o.timeoutMs, 20u);
    EXPECT_FALSE(o.noWait);
    EXPECT_THAT(o.call, ElementsAre("GetData", "-1")) << "a negative number is an argument";

    o = Parse({"FileDelete", "--no-wait", "0"});
    EXPECT_FALSE(o.noWait) << "words after the export are its arguments";
    o = Parse({"--", "--odd"});
    EXPECT_THAT(o.call, ElementsAre("--odd"));

    o = Parse({"--script=C:\\a b.ovs"});
    EXPECT_EQ(o.scriptPath, "C:\\a b.ovs");
    EXPECT_TRUE(o.call.empty());
    EXPECT_FALSE(o.timeoutMs);
    EXPECT_TRUE(Parse({"--list"}).list);
    EXPECT_TRUE(Parse({"/?"}).help);
}

TEST(OvcallArgs, BadCommandLinesAreUsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--no-wait"},
        {"--frobnicate", "GetTempDir"},
        {"--timeout"},
        {"--timeout", "soon", "GetTempDir"},
        {"--timeout", "-5", "GetTempDir"},
        {"--timeout", "99999999999", "GetTempDir"},
        {"--script"},
        {"--script="},
        {"--script", "a.ovs", "GetTempDir"},
        {"--list", "GetTempDir"},
        {"--list", "--script", "a.ovs"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        EXPECT_THROW(Parse(args), UsageError) << joined;
    }
}

TEST(OvcallArgs, ExportsByNameOrOrdinal) {
    bool byOrdinal = true;
    EXPECT_EQ(ResolveExport("FileCopy", &byOrdinal).ordinal, 5);
    EXPECT_FALSE(byOrdinal);
    EXPECT_EQ(ResolveExport("filecopy").name, "FileCopy");
    EXPECT_EQ(ResolveExport("#5", &byOrdinal).name, "FileCopy");
    EXPECT_TRUE(byOrdinal);
    EXPECT_EQ(ResolveExport("#29").name, "WindowRefresh");
    for (const char* bad : {"#0", "#30", "#-1", "#", "#x", "#0x5", "#5a", "FileCpy", ""})
        EXPECT_THROW(ResolveExport(bad), UsageError) << bad;
}

TEST(OvcallArgs, NumbersAreCheckedAgainstTheParameterType) {
    EXPECT_EQ(ParseNumber(ParamKind::Short, "-32768"), -32768);
    EXPECT_EQ(ParseNumber(ParamKind::Short, "65535"), 65535) << "passed as -1";
    EXPECT_EQ(ParseNumber(ParamKind::Short, "0x10"), 16);
    EXPECT_EQ(ParseNumber(ParamKind::Int, "-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseNumber(ParamKind::Int, "2147483647"), INT32_MAX);
    EXPECT_EQ(ParseNumber(ParamKind::Int, "0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseNumber(ParamKind::Window, "4294967295"), -1);
    EXPECT_EQ(ParseNumber(ParamKind::Window, "-1"), -1);
    EXPECT_EQ(ParseNumber(ParamKind::Window, "0x1a2B"), 0x1a2b);

    const std::vector<std::pair<ParamKind, const char*>> bad = {
        {ParamKind::Short, "65536"},
        {ParamKind::Short, "-32769"},
        {ParamKind::Short, "0x10000"},
        {ParamKind::Short, ""},
        {ParamKind::Short, "1e3"},
        {ParamKind::Short, "+1"},
        {ParamKind::Short, " 1"},
        {ParamKind::Short, "12abc"},
        {ParamKind::Short, "0x"},
        {ParamKind::Short, "0x-1"},
        {ParamKind::Int, "2147483648"},
        {ParamKind::Int, "-2147483649"},
        {ParamKind::Int, "0x100000000"},
        {ParamKind::Int, "1.5"},
        {ParamKind::Int, "99999999999999999999999"},
        {ParamKind::Window, "4294967296"},
        {ParamKind::Window, "hwnd"},
    };
    for (const auto& [kind, text] : bad)
        EXPECT_THROW(ParseNumber(kind, text), UsageError) << KindName(kind) << " " << text;
}

TEST(OvcallArgs, CallErrorsNameTheExportsParameters) {
    EXPECT_THAT(UsageMessage({"FileCopy", "a", "b", "0"}),
                AllOf(HasSubstr("FileCopy takes 4 arguments, not 3"),
                      HasSubstr("usage: ovcall FileCopy source dest failIfExists:short "
                                "skipIdentical:short")));
    EXPECT_THAT(UsageMessage({"GetTempDir", "x"}),
                HasSubstr("GetTempDir takes 0 arguments, not 1"));
    EXPECT_THAT(UsageMessage({"GetData"}), HasSubstr("GetData takes 1 argument, not 0"));
    EXPECT_THAT(UsageMessage({"FileCopy", "a", "b", "0", "yes"}),
                AllOf(HasSubstr("skipIdentical (argument 4) must be a 16-bit number"),
                      HasSubstr("\"yes\""), HasSubstr("usage: ovcall FileCopy")));
    EXPECT_THAT(UsageMessage({"DisplaySetRes", "800", "600", "32", "60", "2147483648"}),
                HasSubstr("permanent (argument 5)"));
    EXPECT_THAT(UsageMessage({"#28", "0", "1", "0"}), Eq("(accepted)"));

    Call call = BuildCall(std::vector<std::string>{"#16", "1", "-5", "My App", "", "65535"});
    EXPECT_TRUE(call.byOrdinal);
    EXPECT_EQ(call.info->name, "GetWindowList");
    EXPECT_EQ(FormatCall(call), "GetWindowList(1, -5, \"My App\", \"\", -1)");
}

TEST(OvcallScript, LinesSplitIntoWords) {
    EXPECT_THAT(SplitScriptLine("FileCopy \"C:\\Program Files\\a.txt\" C:\\b.txt 0 1"),
                ElementsAre("FileCopy", "C:\\Program Files\\a.txt", "C:\\b.txt", "0", "1"));
    EXPECT_THAT(SplitScriptLine("\tPrintLine  \"\"   \"say \"\"hi\"\"\"\r"),
                ElementsAre("PrintLine", "", "say \"hi\""));
    EXPECT_THAT(SplitScriptLine("RASActive C:\\\"Program Files\"\\x"),
                ElementsAre("RASActive", "C:\\Program Files\\x"));
    EXPECT_THAT(SplitScriptLine("GetData 3   # collect slot 3"), ElementsAre("GetData", "3"));
    EXPECT_THAT(SplitScriptLine("RASActive \"# not a comment\" dir#1"),
                ElementsAre("RASActive", "# not a comment", "dir#1"));
    EXPECT_THAT(SplitScriptLine("  #5 a b 0 1"), ElementsAre("#5", "a", "b", "0", "1"));
    EXPECT_THAT(SplitScriptLine("GetData 1 #5"), ElementsAre("GetData", "1"));
    EXPECT_TRUE(SplitScriptLine("# a comment").empty());
    EXPECT_TRUE(SplitScriptLine("#").empty());
    EXPECT_TRUE(SplitScriptLine(" \t \r").empty());
    EXPECT_TRUE(SplitScriptLine("").empty());
    EXPECT_THROW(SplitScriptLine("PrintLine lp \"unclosed"), UsageError);
    EXPECT_THROW(SplitScriptLine("PrintLine \"a\"\""), UsageError)
        << "\"\" inside quotes is a quote";
}

TEST(OvcallScript, VariablesExpandLikeCmd) {
    EXPECT_EQ(Expand("%A%"), "alpha");
    EXPECT_EQ(Expand("x%A%y%A%"), "xalphayalpha");
    EXPECT_EQ(Expand("%SPACED%\\a.txt"), "C:\\Program Files\\a.txt");
    EXPECT_EQ(Expand("%ProgramFiles(x86)%"), "C:\\pf86");
    EXPECT_EQ(Expand("100%%"), "100%");
    EXPECT_EQ(Expand("50% done"), "50% done") << "not a name: left as it is";
    EXPECT_EQ(Expand("%"), "%");
    EXPECT_EQ(Expand("a%b"), "a%b");
    EXPECT_EQ(Expand("%%A%%"), "%A%");
    EXPECT_THROW(Expand("%UNSET%\\x"), UsageError);
    try {
        Expand("C:\\%NOPE%");
    } catch (const UsageError& e) {
        EXPECT_STREQ(e.what(), "%NOPE% is not set");
    }
}
