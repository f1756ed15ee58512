// Every pattern of the definition language, written exactly as the grammar
// documents them (docs/definition-language.md). Composed patterns are built
// from named pieces so each piece can be held against the grammar.
//
// The patterns that begin with "^" and white space before a keyword
// (configuration settings, include, fragment and unit lines, Implicit
// Constructors) are compiled anchored and tried only where their keyword
// stands (text/line_keyword.h), which gives the same matches in linear time.
// The command block pattern is the grammar of defs/block_matcher.h, which
// finds its matches without backtracking; the tests hold both against it.
#ifndef ZAV_TEXT_PATTERNS_H_
#define ZAV_TEXT_PATTERNS_H_

#include <string>

namespace zav {
namespace patterns {

// --- Configuration file: the key is put in unchanged (keys are [A-Z_]+).
inline std::string configSetting(const std::string& key) {
  return "^\\s*" + key + "\\s*=\\s*([^;]+);";
}

// --- Command file, file level.
inline constexpr const char* includeLine = "^[\\s\\t]*#include[\\s\\t]*<([^\\r\\n>]+)>$";
inline constexpr const char* auxiliaryLogicLine =
    "^[\\s\\t]*L\\.([a-zA-Z0-9_]{1,64})[\\s\\t]*=\\s?([^\\r\\n]+)";
inline constexpr const char* mcu =
    "^[\\s\\t]*MCU\\([\\s\\t]*([a-zA-Z0-9_]{1,64})[\\s\\t]*\\)[\\s\\t\\r\\n]*\\{([^\\}]*)\\};";

// --- Command blocks: pieces, joined by commandBlock() in the documented
// order HEADER AUXLINES COMMENT AUXLINES COMMENT NAME COMMENT LOGIC COMMENT
// INFO COMMENT TAG COMMENT CLOSE.
inline constexpr const char* blockHeaderZav =
    "^[\\s\\t]*ZAV\\(\\)[\\s\\t]*(->[\\s\\t]*hide)?[\\s\\t\\r\\n]*\\{[\\s\\t\\r\\n]*";
inline constexpr const char* blockHeaderWin =
    "^[\\s\\t]*WIN\\(\\)[\\s\\t]*(->[\\s\\t]*hide)?[\\s\\t\\r\\n]*\\{[\\s\\t\\r\\n]*";
inline constexpr const char* blockName =
    "^[\\s\\t]*NAME[\\s\\t]*=[\\s\\t]*([a-zA-Z0-9_]{1,64})[\\r\\n]*";
inline constexpr const char* blockLogic = "^[\\s\\t]*LOGIC[\\s\\t]*=\\s?([^\\r\\n]+)[\\r\\n]*";
inline constexpr const char* blockInfo = "^[\\s\\t]*INFO[\\s\\t]*=[\\s\\t]*([^\\r\\n]+)[\\r\\n]*";
inline constexpr const char* blockTag =
    "(^[\\s\\t]*TAG[\\s\\t]*=[\\s\\t]*([a-zA-Z0-9_|]+)[\\r\\n]*)?";
inline constexpr const char* blockClose = "[\\s\\t]*\\}";
inline constexpr const char* blockComment = "(?:^[\\s\\t]*\\/\\/[^\\r\\n]*[\\r\\n]*)*";
inline constexpr const char* blockAuxLines =
    "(?:^[\\s\\t]*L\\.[a-zA-Z0-9_]{1,64}[\\s\\t]*=\\s?[^\\r\\n]+[\\r\\n]*)*";

// Groups: 1 hide option, 2 name, 3 logic, 4 info, 5 TAG line, 6 tag words.
inline std::string commandBlock(const char* header) {
  return std::string(header) + blockAuxLines + blockComment + blockAuxLines + blockComment +
         blockName + blockComment + blockLogic + blockComment + blockInfo + blockComment +
         blockTag + blockComment + blockClose;
}
inline constexpr const char* tagWord = "([a-zA-Z0-9_]+)";

// --- Markers in command logic.
inline constexpr const char* insertMarkerNamed = "\\[INSERT\\(([a-zA-Z0-9_]{1,64})\\)\\]";
inline constexpr const char* insertMarker = "\\[INSERT\\([a-zA-Z0-9_]{1,64}\\)\\]";
inline constexpr const char* callMarkerNamed = "\\[CALL\\(([a-zA-Z0-9_]{1,64})\\)\\]";
inline constexpr const char* callMarker = "\\[CALL\\([a-zA-Z0-9_]{1,64}\\)\\]";
inline constexpr const char* argMarkerText = "[%_ARG_%]";  // found as plain text
inline constexpr const char* listMarker = "\\[%_LIST<[^\\r\\n>]+>_%\\]";
inline constexpr const char* listMarkerNamed = "\\[%_LIST<([^\\r\\n>]+)>_%\\]";
// A usable LIST file line. Groups: 2 PRINT text, 3 value.
inline constexpr const char* listFileLine =
    "^[\\s\\t]*(\\[%_PRINT<([^\\r\\n%]+)>_%\\])?([^\\r\\n]+)";

// --- Implicit Constructors: position ("Prefix"/"Suffix") and type
// ("ZAV"/"WIN") are put in as plain text.
inline constexpr const char* icLead = "^[\\s\\t]*";
inline constexpr const char* icDot = "\\.";
inline constexpr const char* icGlobalBody =
    "[\\s\\t]*=[\\s\\t]*\\{[\\s\\t]*\\*[\\s\\t]*\\}[\\s\\t]*";
inline constexpr const char* icSpecificBody =
    "[\\s\\t]*=[\\s\\t]*\\{[\\s\\t]*(([a-zA-Z0-9_]{1,64}[\\s\\t\\r\\n]*,[\\s\\t\\r\\n]*)*)"
    "([a-zA-Z0-9_]{1,64})[\\s\\t\\r\\n]*\\}[\\s\\t]*";
inline constexpr const char* icArrow =
    "->[\\s\\t]*\\[[\\s\\t]*L\\.([a-zA-Z0-9_]{1,64})[\\s\\t]*\\][\\s\\t\\r\\n]*";
inline constexpr const char* icExclusionBody =
    "[\\s\\t]*=[\\s\\t]*\\{[\\s\\t]*((![a-zA-Z0-9_]{1,64}[\\s\\t\\r\\n]*,[\\s\\t\\r\\n]*)*)"
    "(![a-zA-Z0-9_]{1,64})[\\s\\t\\r\\n]*\\}[\\s\\t\\r\\n]*";
inline std::string icGlobal(const std::string& position, const std::string& type) {
  return icLead + position + icDot + type + icGlobalBody + icArrow;
}
inline std::string icSpecific(const std::string& position, const std::string& type) {
  return icLead + position + icDot + type + icSpecificBody + icArrow;
}
inline std::string icExclusion(const std::string& position, const std::string& type) {
  return icLead + position + icDot + type + icExclusionBody;
}
inline constexpr const char* icNameSplitter = "([a-zA-Z0-9_]{1,64})";

}  // namespace patterns
}  // namespace zav

#endif  // ZAV_TEXT_PATTERNS_H_
