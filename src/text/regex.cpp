// The engine-independent half of the pattern wrapper: ECMAScript replacement
// formats and the replace operations, written against Regex::search.
#include "text/regex.h"

namespace zav {

std::string RegexMatch::group(std::string_view text, size_t index) const {
  if (!matched(index)) return std::string();
  return std::string(text.substr(groups[index].first, groups[index].second - groups[index].first));
}

bool Regex::contains(std::string_view text) const {
  RegexMatch match;
  return search(text, match) == SearchStatus::found;
}

void appendFormatted(std::string& out, std::string_view text, const RegexMatch& match,
                     std::string_view format, size_t prefixBegin) {
  auto appendGroup = [&](size_t index) {
    if (match.matched(index))
      out.append(text.substr(match.groups[index].first,
                             match.groups[index].second - match.groups[index].first));
  };
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '$' || i + 1 == format.size()) {
      out.push_back(c);
      continue;
    }
    char next = format[i + 1];
    if (next == '$') {
      out.push_back('$');
      ++i;
    } else if (next == '&') {
      appendGroup(0);
      ++i;
    } else if (next == '`') {
      out.append(text.substr(prefixBegin, match.begin() - prefixBegin));
      ++i;
    } else if (next == '\'') {
      out.append(text.substr(match.end()));
      ++i;
    } else if (isDigit(next)) {
      // One digit, or two when two follow: "$12" is group 12 or nothing,
      // never group 1 followed by "2".
      size_t index = static_cast<size_t>(next - '0');
      i += 1;
      if (i + 1 < format.size() && isDigit(format[i + 1])) {
        index = index * 10 + static_cast<size_t>(format[i + 1] - '0');
        i += 1;
      }
      appendGroup(index);
    } else {
      out.push_back('$');
    }
  }
}

SearchStatus replaceFirst(std::string& text, const Regex& regex, std::string_view format) {
  RegexMatch match;
  SearchStatus status = regex.search(text, match);
  if (status != SearchStatus::found) return status;
  std::string result;
  result.reserve(text.size() + format.size());
  result.append(text, 0, match.begin());
  appendFormatted(result, text, match, format);
  result.append(text, match.end(), std::string::npos);
  text.swap(result);
  return SearchStatus::found;
}

SearchStatus replaceAll(std::string& text, const Regex& regex, std::string_view format) {
  std::string result;
  size_t position = 0;  // where the next search starts
  size_t copied = 0;    // text up to here is already in `result`
  bool replacedAny = false;
  RegexMatch match;
  while (position <= text.size()) {
    SearchStatus status = regex.search(text, match, position);
    if (status == SearchStatus::error) return status;
    if (status == SearchStatus::notFound) break;
    result.append(text, copied, match.begin() - copied);
    appendFormatted(result, text, match, format, copied);
    copied = match.end();
    replacedAny = true;
    if (match.end() == match.begin()) {
      // An empty match: copy one character and go on behind it, as the
      // standard library's iterator does, so the walk always advances.
      if (match.end() == text.size()) break;
      result.push_back(text[match.end()]);
      copied = match.end() + 1;
      position = match.end() + 1;
    } else {
      position = match.end();
    }
  }
  if (!replacedAny) return SearchStatus::notFound;
  result.append(text, copied, std::string::npos);
  text.swap(result);
  return SearchStatus::found;
}

}  // namespace zav
