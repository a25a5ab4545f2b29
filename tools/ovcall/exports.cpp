#include "ovcall/exports.h"

#include <array>
#include <cstdio>
#include <cctype>
#include <type_traits>
#include <utility>

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

// Calls proc through its exact C signature R(__cdecl*)(A...).
template <class R, class... A> struct Typed {
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

using T = ParamKind;
using R = ResultKind;
using Txt = const char*;

constexpr Param kPath[] = {{T::WritableText, "path"}};
constexpr Param kCopy[] = {{T::Text, "source"},
                           {T::Text, "dest"},
                           {T::Short, "failIfExists"},
                           {T::Short, "skipIdentical"}};
constexpr Param kModeIndex[] = {{T::Int, "index"}};
constexpr Param kSetRes[] = {{T::Int, "width"},
                             {T::Int, "height"},
                             {T::Int, "bits"},
                             {T::Int, "frequency"},
                             {T::Int, "permanent"}};
constexpr Param kDelete[] = {{T::Text, "pattern"}, {T::Short, "recurse"}};
constexpr Param kSlot[] = {{T::Short, "slot"}};
constexpr Param kFileList[] = {{T::Text, "pattern"}, {T::Short, "sortMode"}};
constexpr Param kListIndex[] = {{T::Short, "index"}};
constexpr Param kFilePath[] = {{T::Text, "path"}};
constexpr Param kWindowList[] = {{T::Int, "start"},
                                 {T::Int, "maxCount"},
                                 {T::Text, "prefix"},
                                 {T::Text, "suffix"},
                                 {T::Short, "withHandle"}};
constexpr Param kWithAccount[] = {{T::Short, "withAccount"}};
constexpr Param kPrint[] = {{T::Text, "printer"}, {T::Text, "text"}};
constexpr Param kEntry[] = {{T::Text, "entry"}};
constexpr Param kDial[] = {
    {T::Text, "entry"}, {T::Text, "domain"}, {T::Text, "user"}, {T::Text, "password"}};
constexpr Param kBorder[] = {{T::Window, "window"}, {T::Short, "kind"}, {T::Short, "transparent"}};
constexpr Param kWindow[] = {{T::Window, "window"}};

const std::array<ExportInfo, kExportCount> kExports = {{
    {1, "CreateNewDir", kPath, R::Code,
     "create a directory and every missing parent: 1 created, 0 not", &Typed<short, char*>::Invoke},
    {2, "DirCopy", kCopy, R::Slot, "copy a directory tree: number of files copied",
     &Typed<short, Txt, Txt, short, short>::Invoke},
    {3, "DisplayResList", kModeIndex, R::Text, "describe display mode <index>, empty past the last",
     &Typed<Txt, int>::Invoke},
    {4, "DisplaySetRes", kSetRes, R::Code,
     "switch the display mode: 1 changed, 2 after restart, 0 failed",
     &Typed<short, int, int, int, int, int>::Invoke},
    {5, "FileCopy", kCopy, R::Slot, "copy one file: 1 copied or identical, 0 failed, -1 no source",
     &Typed<short, Txt, Txt, short, short>::Invoke},
    {6, "FileDelete", kDelete, R::Slot, "delete matching files: number of entries deleted",
     &Typed<short, Txt, short>::Invoke},
    {7, "GetComputerName", {}, R::Text, "the computer name", &Typed<Txt>::Invoke},
    {8, "GetData", kSlot, R::Text, "collect a slot's result text and free the slot",
     &Typed<Txt, short>::Invoke},
    {9, "GetFileList", kFileList, R::Slot, "build the sorted file list: number of files",
     &Typed<short, Txt, short>::Invoke},
    {10,
     "GetFileListCount",
     {},
     R::Code,
     "entries in the file list, -1 no list yet",
     &Typed<short>::Invoke},
    {11, "GetFileListName", kListIndex, R::Text, "name of file-list entry <index>",
     &Typed<Txt, short>::Invoke},
    {12, "GetMyDocDir", {}, R::Text, "the user's documents folder", &Typed<Txt>::Invoke},
    {13, "GetSystemDir", {}, R::Text, "the system folder", &Typed<Txt>::Invoke},
    {14, "GetTempDir", {}, R::Text, "the folder for temporary files", &Typed<Txt>::Invoke},
    {15, "GetVersion", kFilePath, R::Text, "the \"FileVersion\" text of a file",
     &Typed<Txt, Txt>::Invoke},
    {16, "GetWindowList", kWindowList, R::Slot, "titles of top-level windows, comma-separated",
     &Typed<short, int, int, Txt, Txt, short>::Invoke},
    {17, "GetWindowsDir", {}, R::Text, "the Windows folder", &Typed<Txt>::Invoke},
    {18, "GetWindowsUserDomain", kWithAccount, R::Text, "domain, or domain\\account",
     &Typed<Txt, short>::Invoke},
    {19,
     "GetWindowsUserGroups",
     {},
     R::Slot,
     "the user's groups, comma-separated",
     &Typed<short>::Invoke},
    {20, "GetWindowsUserName", {}, R::Text, "the user's logon name", &Typed<Txt>::Invoke},
    {21, "IsActive", kSlot, R::Code, "1 while the slot's request runs, else 0",
     &Typed<short, short>::Invoke},
    {22, "PrintLine", kPrint, R::Slot, "send a text as a raw print job: 1 printed, 0..-6 failed",
     &Typed<short, Txt, Txt>::Invoke},
    {23, "RASActive", kEntry, R::Code, "1 when the dial-up entry is connected, else 0",
     &Typed<short, Txt>::Invoke},
    {24, "RASDial", kDial, R::Slot, "dial an entry or @number: 1 connected, 0 disconnected, -1",
     &Typed<short, Txt, Txt, Txt, Txt>::Invoke},
    {25, "RASEntries", {}, R::Text, "phone-book entry names, comma-separated", &Typed<Txt>::Invoke},
    {26, "RASHangUp", kEntry, R::Slot, "hang up an entry, or the last dial when empty: 1 or 0",
     &Typed<short, Txt>::Invoke},
    {27, "RASList", {}, R::Text, "connected entry names, comma-separated", &Typed<Txt>::Invoke},
    {28, "SetWindowBorder", kBorder, R::Code, "border 0 none, 1 line, 2 sunken; always 1",
     &Typed<short, HWND, short, short>::Invoke},
    {29, "WindowRefresh", kWindow, R::Code, "repaint a window: 1 requested, 0 refused",
     &Typed<short, HWND>::Invoke},
}};

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
