// Everything the host reads from its user: the command line, script lines,
// export names and typed arguments. No call into the DLL happens here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ovcall/exports.h"

namespace ovcall {

// Bad input from the user; the message says what and how to do it right.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    bool help = false;
    bool list = false;
    bool noWait = false;
    std::optional<std::uint32_t> timeoutMs; // none: wait as long as the job takes
    std::string scriptPath;
    std::vector<std::string> call; // export name or #ordinal, then its arguments
};

// args excludes the program name.
Options ParseCommandLine(std::span<const std::string> args);

struct Call {
    const ExportInfo* info = nullptr;
    bool byOrdinal = false;
    std::vector<Argument> args;
};

// An export named by its name (any letter case) or by "#N".
const ExportInfo& ResolveExport(std::string_view word, bool* byOrdinal = nullptr);
// words[0] names the export, the rest are its arguments.
Call BuildCall(std::span<const std::string> words);
// A number for a parameter of the given kind: decimal, or hexadecimal with 0x.
std::int32_t ParseNumber(ParamKind kind, std::string_view text);

// Splits one script line into words: blanks separate, double quotes group
// ("" inside quotes is one quote), backslashes are plain characters, and a
// # that starts a word begins a comment, except "#N" as the first word.
std::vector<std::string> SplitScriptLine(std::string_view line);

using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;
// Replaces %NAME% with the variable's value and %% with %; an unset name is
// an error. A % that does not open a well-formed name stays as it is.
std::string ExpandVariables(std::string_view word, const VariableLookup& lookup);

// What --help prints.
std::string HelpText();

// FileCopy("C:\a", "C:\b", 0, 1)
std::string FormatCall(const Call& call);
std::string Quote(std::string_view text);

} // namespace ovcall
