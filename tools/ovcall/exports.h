// The 29 exports of OvDurAru.dll as the host sees them: ordinal, parameter
// names and types, result kind, and a typed caller for each, made from the
// export list.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ovcall {

enum class ParamKind {
    Text,         // const char*
    WritableText, // char*, the callee may edit it in place
    Short,        // 16-bit signed; -32768..65535 accepted, the low 16 bits are passed
    Int,          // 32-bit signed
    Window,       // HWND, any 32-bit value
};

enum class ResultKind {
    Code, // short, answered on the caller's thread
    Text, // const char*, answered on the caller's thread
    Slot, // short slot number; the answer is collected with IsActive/GetData
};

struct Param {
    ParamKind kind;
    std::string_view name;
};

// One typed argument value, ready to pass.
struct Argument {
    ParamKind kind = ParamKind::Text;
    std::string text;        // Text / WritableText
    std::int32_t number = 0; // Short / Int / Window (the 32 bits as given)
};

// What an export returned: a 16-bit code or a text.
struct Answer {
    short code = 0;
    std::string text;
    bool nullText = false; // a text export answered a null pointer
};

using Invoker = Answer (*)(FARPROC proc, std::vector<Argument>& args);

struct ExportInfo {
    int ordinal;
    std::string_view name;
    std::span<const Param> params;
    ResultKind result;
    std::string_view summary;
    Invoker invoke;
};

constexpr int kExportCount = 29;

std::span<const ExportInfo> Exports();
// By exact or case-insensitive name; nullptr when unknown.
const ExportInfo* FindByName(std::string_view name);
// Ordinal 1..29; nullptr outside.
const ExportInfo* FindByOrdinal(int ordinal);

std::string_view KindName(ParamKind kind);
std::string_view KindName(ResultKind kind);
// "FileCopy source dest failIfExists:short skipIdentical:short"
std::string Signature(const ExportInfo& info);
// What --list prints: one line per export, its summary on the next.
std::string ListText();

} // namespace ovcall
