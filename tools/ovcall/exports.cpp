#include "ovcall/exports.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <type_traits>
#include <utility>

#include "core/export_list.h"

namespace ovcall {
namespace {

template <class T> T Pass(Argument& a);
template <> const char* Pass<const char*>(Argument& a) { return a.text.c_str(); }
template <> char* Pass<char*>(Argument& a) { return a.text.data(); }
template <> short Pass<short>(Argument& a) { return static_cast<short>(a.number); }
template <> int Pass<int>(Argument& a) { return a.number; }
// Window handles carry 32 significant bits; 64-bit Windows sign-extends them.
template <> HWND Pass<HWND>(Argument& a) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(a.number));
}

template <class T> constexpr ParamKind kKind = T::not_a_parameter_type_ovcall_can_pass;
template <> constexpr ParamKind kKind<const char*> = ParamKind::Text;
template <> constexpr ParamKind kKind<char*> = ParamKind::WritableText;
template <> constexpr ParamKind kKind<short> = ParamKind::Short;
template <> constexpr ParamKind kKind<int> = ParamKind::Int;
template <> constexpr ParamKind kKind<HWND> = ParamKind::Window;

// An export of the C type R(__cdecl*)(A...): its parameters, and a call through that type.
template <class F> struct Typed;
template <class R, class... A> struct Typed<R(__cdecl*)(A...)> {
    // The parameters, named by the export list's "(name, name, ...)".
    static constexpr std::array<Param, sizeof...(A)> Params(std::string_view names) {
        std::array<Param, sizeof...(A)> params{{{kKind<A>, {}}...}};
        names = names.substr(1, names.size() - 2);
        for (Param& p : params) {
            const auto comma = names.find(", ");
            p.name = names.substr(0, comma);
            names = comma == names.npos ? "" : names.substr(comma + 2);
            if (p.name.empty()) throw "fewer names than parameters";
        }
        if (!names.empty()) throw "more names than parameters";
        return params;
    }
    template <std::size_t... I>
    static Answer Call(FARPROC proc, std::vector<Argument>& args, std::index_sequence<I...>) {
        auto fn = reinterpret_cast<R(__cdecl*)(A...)>(reinterpret_cast<void*>(proc));
        Answer answer;
        if constexpr (std::is_same_v<R, short>) {
            answer.code = fn(Pass<A>(args[I])...);
        } else {
            const char* text = fn(Pass<A>(args[I])...);
            answer.nullText = text == nullptr;
            if (text) answer.text = text;
        }
        return answer;
    }
    static Answer Invoke(FARPROC proc, std::vector<Argument>& args) {
        return Call(proc, args, std::index_sequence_for<A...>{});
    }
};

#define OV_PARAMS(name, kind, params, names)                                                       \
    constexpr auto k##name##Params = Typed<ov::exports::name>::Params(#names);
OV_EXPORT_LIST(OV_PARAMS)
#undef OV_PARAMS

struct Summary {
    std::string_view name, text;
};
// What --list says of each export, in the list's order.
constexpr Summary kSummaries[kExportCount] = {
    {"CreateNewDir", "create a directory and every missing parent: 1 created, 0 not"},
    {"DirCopy", "copy a directory tree: number of files copied"},
    {"DisplayResList", "describe display mode <index>, empty past the last"},
    {"DisplaySetRes", "switch the display mode: 1 changed, 2 after restart, 0 failed"},
    {"FileCopy", "copy one file: 1 copied or identical, 0 failed, -1 no source"},
    {"FileDelete", "delete matching files: number of entries deleted"},
    {"GetComputerName", "the computer name"},
    {"GetData", "collect a slot's result text and free the slot"},
    {"GetFileList", "build the sorted file list: number of files"},
    {"GetFileListCount", "entries in the file list, -1 no list yet"},
    {"GetFileListName", "name of file-list entry <index>"},
    {"GetMyDocDir", "the user's documents folder"},
    {"GetSystemDir", "the system folder"},
    {"GetTempDir", "the folder for temporary files"},
    {"GetVersion", "the \"FileVersion\" text of a file"},
    {"GetWindowList", "titles of top-level windows, comma-separated"},
    {"GetWindowsDir", "the Windows folder"},
    {"GetWindowsUserDomain", "domain, or domain\\account"},
    {"GetWindowsUserGroups", "the user's groups, comma-separated"},
    {"GetWindowsUserName", "the user's logon name"},
    {"IsActive", "1 while the slot's request runs, else 0"},
    {"PrintLine", "send a text as a raw print job: 1 printed, 0..-6 failed"},
    {"RASActive", "1 when the dial-up entry is connected, else 0"},
    {"RASDial", "dial an entry or @number: 1 connected, 0 disconnected, -1"},
    {"RASEntries", "phone-book entry names, comma-separated"},
    {"RASHangUp", "hang up an entry, or the last dial when empty: 1 or 0"},
    {"RASList", "connected entry names, comma-separated"},
    {"SetWindowBorder", "border 0 none, 1 line, 2 sunken; always 1"},
    {"WindowRefresh", "repaint a window: 1 requested, 0 refused"},
};

constexpr std::array<ExportInfo, kExportCount> MakeTable() {
#define OV_EXPORT_INFO(name, kind, params, names)                                                  \
    {0, #name, k##name##Params, ResultKind::kind, {}, &Typed<ov::exports::name>::Invoke},
    std::array<ExportInfo, kExportCount> table{{OV_EXPORT_LIST(OV_EXPORT_INFO)}};
#undef OV_EXPORT_INFO
    for (int i = 0; i < kExportCount; ++i) {
        if (kSummaries[i].name != table[i].name) throw "a summary out of the list's order";
        table[i].ordinal = i + 1;
        table[i].summary = kSummaries[i].text;
    }
    return table;
}

constexpr std::array<ExportInfo, kExportCount> kExports = MakeTable();

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::span<const ExportInfo> Exports() { return kExports; }

const ExportInfo* FindByName(std::string_view name) {
    for (const auto& e : kExports)
        if (e.name == name) return &e;
    for (const auto& e : kExports)
        if (SameIgnoringCase(e.name, name)) return &e;
    return nullptr;
}

const ExportInfo* FindByOrdinal(int ordinal) {
    if (ordinal < 1 || ordinal > kExportCount) return nullptr;
    return &kExports[ordinal - 1];
}

std::string_view KindName(ParamKind kind) {
    switch (kind) {
    case ParamKind::Text:
    case ParamKind::WritableText:
        return "text";
    case ParamKind::Short:
        return "short";
    case ParamKind::Int:
        return "int";
    case ParamKind::Window:
        return "hwnd";
    }
    return "?";
}

std::string_view KindName(ResultKind kind) {
    switch (kind) {
    case ResultKind::Code:
        return "code";
    case ResultKind::Text:
        return "text";
    case ResultKind::Slot:
        return "slot";
    }
    return "?";
}

std::string Signature(const ExportInfo& info) {
    std::string s(info.name);
    for (const auto& p : info.params) {
        s += ' ';
        s += p.name;
        if (p.kind != ParamKind::Text && p.kind != ParamKind::WritableText) {
            s += ':';
            s += KindName(p.kind);
        }
    }
    return s;
}

std::string ListText() {
    std::string out = " #  export                result parameters\n";
    char line[160];
    for (const auto& e : kExports) {
        std::string params = Signature(e).substr(e.name.size());
        if (params.empty()) params = " (none)";
        std::snprintf(line, sizeof line, "%2d  %-21.*s %-6.*s %s\n", e.ordinal,
                      static_cast<int>(e.name.size()), e.name.data(),
                      static_cast<int>(KindName(e.result).size()), KindName(e.result).data(),
                      params.c_str() + 1);
        out += line;
        out += "      ";
        out += e.summary;
        out += '\n';
    }
    out += "code: a 16-bit number; text: a text; slot: the call waits for its job and\n"
           "prints the text collected with GetData (--no-wait prints the slot number)\n";
    return out;
}

} // namespace ovcall
