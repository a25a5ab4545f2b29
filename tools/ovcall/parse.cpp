#include "ovcall/parse.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace ovcall {
namespace {

struct Range {
    std::int64_t low;
    std::int64_t high;
};

Range RangeOf(ParamKind kind) {
    switch (kind) {
    case ParamKind::Short:
        return {-32768, 65535};
    case ParamKind::Int:
        return {std::numeric_limits<std::int32_t>::min(), 0x7FFFFFFF};
    case ParamKind::Window:
        return {std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFFLL};
    default:
        return {0, 0};
    }
}

struct Integer {
    std::int64_t value;
    bool hex;
};

std::optional<Integer> ReadInteger(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
        if (text[0] == '-') return std::nullopt;
    }
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return Integer{value, base == 16};
}

std::string DescribeRange(ParamKind kind) {
    switch (kind) {
    case ParamKind::Short:
        return "a 16-bit number from -32768 to 65535";
    case ParamKind::Int:
        return "a 32-bit number from -2147483648 to 2147483647 (or 0x0 to 0xFFFFFFFF)";
    case ParamKind::Window:
        return "a window handle (a 32-bit number, decimal or 0x hexadecimal)";
    default:
        return "a number";
    }
}

std::string UsageOf(const ExportInfo& info) { return "usage: ovcall " + Signature(info); }

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '(' || c == ')' ||
           c == '-' || c == '.';
}

std::uint32_t ParseTimeout(std::string_view text) {
    const auto n = ReadInteger(text);
    if (!n || n->value < 0 || n->value > std::numeric_limits<std::int32_t>::max())
        throw UsageError("--timeout wants a number of milliseconds, not " + Quote(text));
    return static_cast<std::uint32_t>(n->value);
}

} // namespace

Options ParseCommandLine(std::span<const std::string> args) {
    Options options;
    std::size_t i = 0;
    // Options come first; the first other word names the export, and every
    // word after it is an argument, even one that starts with a dash.
    for (; i < args.size(); ++i) {
        std::string_view word = args[i];
        auto valueOf = [&](std::string_view option) -> std::string {
            if (word.size() > option.size() && word[option.size()] == '=')
                return std::string(word.substr(option.size() + 1));
            if (++i >= args.size()) throw UsageError(std::string(option) + " wants a value");
            return args[i];
        };
        auto is = [&](std::string_view option) {
            return word == option || (word.starts_with(option) && word.size() > option.size() &&
                                      word[option.size()] == '=');
        };
        if (word == "--") {
            ++i;
            break;
        }
        if (word == "--help" || word == "-h" || word == "/?") {
            options.help = true;
        } else if (word == "--list") {
            options.list = true;
        } else if (word == "--no-wait") {
            options.noWait = true;
        } else if (is("--timeout")) {
            options.timeoutMs = ParseTimeout(valueOf("--timeout"));
        } else if (is("--script")) {
            options.scriptPath = valueOf("--script");
            if (options.scriptPath.empty()) throw UsageError("--script wants a file name");
        } else if (word.starts_with("--")) {
            throw UsageError("unknown option " + Quote(word) + " (ovcall --help lists them)");
        } else {
            break;
        }
    }
    options.call.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (options.help) return options;
    if (!options.scriptPath.empty() && !options.call.empty())
        throw UsageError("--script runs the calls of its file; give no export after it");
    if (options.list && (!options.scriptPath.empty() || !options.call.empty()))
        throw UsageError("--list takes no export and no script");
    if (!options.list && options.scriptPath.empty() && options.call.empty())
        throw UsageError("name an export to call, or use --script FILE or --list");
    return options;
}

const ExportInfo& ResolveExport(std::string_view word, bool* byOrdinal) {
    if (byOrdinal) *byOrdinal = false;
    if (word.starts_with('#')) {
        const auto n = ReadInteger(word.substr(1));
        const ExportInfo* info = n && !n->hex && n->value >= 1 && n->value <= kExportCount
                                     ? FindByOrdinal(static_cast<int>(n->value))
                                     : nullptr;
        if (!info) throw UsageError("ordinal " + Quote(word) + " names no export: use #1 to #29");
        if (byOrdinal) *byOrdinal = true;
        return *info;
    }
    if (const ExportInfo* info = FindByName(word)) return *info;
    throw UsageError("unknown export " + Quote(word) + " (ovcall --list shows all 29)");
}

std::int32_t ParseNumber(ParamKind kind, std::string_view text) {
    Range range = RangeOf(kind);
    const auto n = ReadInteger(text);
    // Hexadecimal gives the bits: 0xFFFFFFFF is a valid 32-bit value.
    if (n && n->hex && kind != ParamKind::Short) range = {0, 0xFFFFFFFFLL};
    if (!n || n->value < range.low || n->value > range.high)
        throw UsageError("must be " + DescribeRange(kind) + ", not " + Quote(text));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(n->value));
}

Call BuildCall(std::span<const std::string> words) {
    if (words.empty()) throw UsageError("no export named");
    Call call;
    call.info = &ResolveExport(words[0], &call.byOrdinal);
    const ExportInfo& info = *call.info;
    const std::size_t given = words.size() - 1;
    if (given != info.params.size()) {
        const std::size_t n = info.params.size();
        throw UsageError(std::string(info.name) + " takes " + std::to_string(n) +
                         (n == 1 ? " argument" : " arguments") + ", not " + std::to_string(given) +
                         "\n" + UsageOf(info));
    }
    for (std::size_t i = 0; i < info.params.size(); ++i) {
        const Param& param = info.params[i];
        Argument arg;
        arg.kind = param.kind;
        if (param.kind == ParamKind::Text || param.kind == ParamKind::WritableText) {
            arg.text = words[i + 1];
        } else {
            try {
                arg.number = ParseNumber(param.kind, words[i + 1]);
            } catch (const UsageError& e) {
                throw UsageError(std::string(info.name) + ": " + std::string(param.name) +
                                 " (argument " + std::to_string(i + 1) + ") " + e.what() + "\n" +
                                 UsageOf(info));
            }
        }
        call.args.push_back(std::move(arg));
    }
    return call;
}

std::vector<std::string> SplitScriptLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                word += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                word += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (c == '#' && !inWord &&
                   !(words.empty() && i + 1 < line.size() &&
                     std::isdigit(static_cast<unsigned char>(line[i + 1])))) {
            break; // comment to the end of the line
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) throw UsageError("a quoted text is not closed");
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::string ExpandVariables(std::string_view word, const VariableLookup& lookup) {
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            out += word[i];
            continue;
        }
        if (i + 1 < word.size() && word[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < word.size() && IsNameChar(word[end]))
            ++end;
        if (end == i + 1 || end >= word.size() || word[end] != '%') {
            out += '%'; // not a variable reference
            continue;
        }
        const std::string_view name = word.substr(i + 1, end - i - 1);
        const auto value = lookup(name);
        if (!value) throw UsageError("%" + std::string(name) + "% is not set");
        out += *value;
        i = end;
    }
    return out;
}

std::string HelpText() {
    return R"(usage: ovcall [--no-wait] [--timeout MS] EXPORT [ARGUMENT...]
       ovcall [--no-wait] [--timeout MS] --script FILE
       ovcall --list | --help

Calls the exports of OvDurAru.dll, which must lie beside ovcall.exe. EXPORT is
an export's name (any letter case) or #N, its ordinal 1 to 29. Arguments are
typed as the export declares them: texts as they are, numbers in decimal or
0x hexadecimal, range-checked (short: -32768..65535, int: 32-bit signed,
hwnd: any 32-bit value). A text result is printed as it is, a code in decimal.

Slot-based exports (FileCopy, DirCopy, FileDelete, GetFileList, GetWindowList,
GetWindowsUserGroups, PrintLine, RASDial, RASHangUp) return a slot number; by
default ovcall polls IsActive(slot) until the job ends, then prints GetData(slot).

  --no-wait      print the slot number at once instead; ovcall still lets the
                 job finish before it exits
  --timeout MS   wait at most MS milliseconds for a slot (default: no limit);
                 exit status 3 when a job was still running
  --script FILE  run the calls of FILE, one per line, in order: blanks separate
                 words, "double quotes" group a text with blanks ("" is one
                 quote), # starts a comment, %NAME% is an environment variable
                 (%OVCALL_DIR% is the folder of ovcall.exe). Each line prints
                 Export(arguments) = result. When any line is malformed, every
                 bad line is reported, nothing runs and the exit status is 1.
  --list         list the 29 exports with their parameters and result kinds

Exit status: 0 done, 1 usage error or malformed script line, 2 the DLL or an
export is missing, 3 timeout.
)";
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

std::string FormatCall(const Call& call) {
    std::string out(call.info->name);
    out += '(';
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        if (i) out += ", ";
        const Argument& a = call.args[i];
        if (a.kind == ParamKind::Text || a.kind == ParamKind::WritableText)
            out += Quote(a.text);
        else if (a.kind == ParamKind::Window)
            out += std::to_string(static_cast<std::uint32_t>(a.number));
        else if (a.kind == ParamKind::Short)
            out += std::to_string(static_cast<short>(a.number));
        else
            out += std::to_string(a.number);
    }
    out += ')';
    return out;
}

} // namespace ovcall
