#include "defs/insert_and_call_expansion.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/regex.h"

namespace zav {

namespace {

// What one replacement costs the load's budget beyond the bytes it pastes,
// so that long chains of tiny pastes are bounded too.
constexpr size_t kChargePerReplacement = 128;

size_t budgetLeft = kExpansionLoadBudget;

// True when the format holds "$`" or "$'", which stand for the text around
// the marker and so need the whole current text; read exactly as
// appendFormatted reads a format ("$$'" is a "$" and a quote).
bool needsSurroundings(std::string_view format) {
  for (size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] != '$') continue;
    char next = format[i + 1];
    if (next == '`' || next == '\'') return true;
    if (next == '$') ++i;
  }
  return false;
}

// A text being worked through: the caller's text at the bottom, each
// pasted text above the one whose marker it replaced. The current text of
// the literal loop is always `out` followed by the unread part of every
// frame, top first. A frame read to its end stays while the text pasted
// for its last marker is worked through, so that its name still counts for
// cycles.
struct Frame {
  // The text is read in place where it is stored (the caller's text, a
  // fragment, another command's logic); only a replacement made from a
  // format with "$" is held by the frame itself.
  const std::string* source = nullptr;
  std::string owned;
  size_t pos = 0;
  std::string name;  // whose text this is; empty for the caller's

  const std::string& text() const { return source != nullptr ? *source : owned; }
  size_t size() const { return text().size(); }
};

// Memory a frame costs beyond its text, counted into the size limit so
// that frames cannot pile up unbounded either.
constexpr size_t kFrameOverhead = 96;

// A marker found in the current text: it begins at `begin`, an offset into
// `out` (out.size() when it begins in the unread text).
struct FoundMarker {
  size_t begin = 0;
  size_t length = 0;
  std::string name;
};

struct Expansion {
  const MarkerKind& kind;
  const std::string& rootName;
  std::string out;
  std::vector<Frame> frames;
  // Indices of the frames with unread bytes, bottom first: looking ahead
  // never walks over frames read to their end.
  std::vector<size_t> live;
  std::unordered_map<std::string, size_t> open;  // names of the frames' texts
  size_t unread = 0;                             // bytes left over all frames
  size_t sizeLimit = 0;
  size_t workLeft = kExpansionWorkLimit;
  ExpansionOutcome outcome;

  Expansion(const MarkerKind& markerKind, const std::string& root)
      : kind(markerKind), rootName(root) {}

  // Work counts against this expansion's limit and the load's budget.
  bool charge(size_t amount) {
    if (amount > workLeft || amount > budgetLeft) return false;
    workLeft -= amount;
    budgetLeft -= amount;
    return true;
  }

  // Pushes `*source`, or `owned` when source is nullptr.
  void push(const std::string* source, std::string owned, const std::string& name) {
    const std::string& text = source != nullptr ? *source : owned;
    unread += text.size();
    if (!name.empty()) ++open[name];
    if (!text.empty()) live.push_back(frames.size());
    frames.push_back(Frame{source, std::move(owned), 0, name});
  }

  void pop() {
    Frame& top = frames.back();
    if (top.pos < top.size()) {
      unread -= top.size() - top.pos;
      live.pop_back();
    }
    if (!top.name.empty() && --open[top.name] == 0) open.erase(top.name);
    frames.pop_back();
  }

  void popReadFrames() {
    while (!frames.empty() && frames.back().pos == frames.back().size()) pop();
  }

  // Up to `count` bytes of the unread text, beginning `skip` bytes in.
  std::string unreadText(size_t skip, size_t count) const {
    std::string result;
    for (size_t i = live.size(); i-- > 0 && result.size() < count;) {
      const Frame& frame = frames[live[i]];
      std::string_view rest = std::string_view(frame.text()).substr(frame.pos);
      size_t dropped = std::min(skip, rest.size());
      skip -= dropped;
      rest.remove_prefix(dropped);
      result.append(rest.substr(0, count - result.size()));
    }
    return result;
  }

  // Reads `count` unread bytes, frame after frame.
  void consume(size_t count) {
    while (count > 0) {
      Frame& frame = frames[live.back()];
      size_t step = std::min(count, frame.size() - frame.pos);
      frame.pos += step;
      unread -= step;
      count -= step;
      if (frame.pos == frame.size()) live.pop_back();
    }
  }

  // A marker is a cycle when it names the caller's own text, or when it
  // stands wholly inside pasted text and names a text pasted around it
  // (its own included): pasting that text again brings the marker back.
  // A marker that pasting completes, begun before a pasted text and ended
  // inside one, is replaced like any other; the work limit bounds what
  // such completions could still do.
  bool isCycle(const FoundMarker& marker) const {
    if (marker.name == rootName) return true;
    return marker.begin == out.size() && open.count(marker.name) != 0;
  }

  // A marker that begins in the tail of `out` and ends in the unread text:
  // pasting can complete a marker that neither side holds alone.
  bool findStraddlingMarker(FoundMarker& found) const {
    size_t carry = std::min(out.size(), kind.longestMarker - 1);
    if (carry == 0 || out.find('[', out.size() - carry) == std::string::npos) return false;
    std::string window = out.substr(out.size() - carry) + unreadText(0, kind.longestMarker);
    RegexMatch match;
    if (kind.namedMarker.search(window, match) != SearchStatus::found) return false;
    if (match.begin() >= carry) return false;
    found.begin = out.size() - carry + match.begin();
    found.length = match.end() - match.begin();
    found.name = match.group(window, 1);
    return true;
  }

  bool stop(ExpansionStop why, const std::string& name, bool keepPartial) {
    outcome.stop = why;
    outcome.name = name;
    if (keepPartial) outcome.partial = out + unreadText(0, unread);
    return false;
  }

  // The replacement of the literal loop for one marker: the named text read
  // as a format for the marker's match, in the whole current text.
  // A format without "$" is the replacement as it stands; `replacement`
  // is then left empty and `asIs` set.
  bool replacementFor(const FoundMarker& marker, const std::string& format,
                      std::string& replacement, bool& asIs) {
    asIs = format.find('$') == std::string::npos;
    if (asIs) return true;
    size_t inOut = out.size() - marker.begin;
    std::string markerText = out.substr(marker.begin) + unreadText(0, marker.length - inOut);
    RegexMatch match;
    if (!needsSurroundings(format)) {
      match.groups = {{0, markerText.size()}};
      appendFormatted(replacement, markerText, match, format);
      return true;
    }
    // "$`" and "$'" are rare enough to pay for the whole text each time;
    // that work is charged like pasted text.
    std::string whole =
        out.substr(0, marker.begin) + markerText + unreadText(marker.length - inOut, unread);
    if (!charge(whole.size())) return false;
    match.groups = {{marker.begin, marker.begin + markerText.size()}};
    appendFormatted(replacement, whole, match, format);
    return true;
  }

  bool replace(const FoundMarker& marker) {
    if (isCycle(marker)) return stop(ExpansionStop::cycle, marker.name, true);
    const std::string* format = kind.lookup(marker.name);
    if (format == nullptr) return stop(ExpansionStop::unknownName, marker.name, true);
    std::string formatted;
    bool asIs = false;
    if (!replacementFor(marker, *format, formatted, asIs))
      return stop(ExpansionStop::sizeLimit, marker.name, false);
    const std::string& replacement = asIs ? *format : formatted;
    if (!charge(replacement.size() + kChargePerReplacement))
      return stop(ExpansionStop::sizeLimit, marker.name, false);
    size_t inOut = out.size() - marker.begin;
    out.resize(marker.begin);
    consume(marker.length - inOut);
    // A completed marker closes the frames it was read out of; a marker
    // inside one frame keeps that frame for the cycle test.
    if (inOut > 0) popReadFrames();
    if (out.size() + unread + replacement.size() + (frames.size() + 1) * kFrameOverhead > sizeLimit)
      return stop(ExpansionStop::sizeLimit, marker.name, false);
    push(asIs ? format : nullptr, std::move(formatted), marker.name);
    return true;
  }

  bool run() {
    bool frameChanged = false;
    while (!frames.empty()) {
      FoundMarker marker;
      if (frameChanged) {
        frameChanged = false;
        if (findStraddlingMarker(marker)) {
          if (!replace(marker)) return false;
          frameChanged = true;
          continue;
        }
      }
      Frame& top = frames.back();
      const std::string& text = top.text();
      RegexMatch match;
      // Every marker begins with the literal, so the pattern starts where
      // it stands; most texts hold none. The marker patterns are plain and
      // bounded; the engine cannot run out of resources on them, so
      // anything but a match ends this frame.
      size_t literal = text.find(kind.literal, top.pos);
      if (literal == std::string::npos ||
          kind.namedMarker.search(text, match, literal) != SearchStatus::found) {
        out.append(text, top.pos, std::string::npos);
        pop();
        frameChanged = true;
        continue;
      }
      size_t before = match.begin() - top.pos;
      out.append(text, top.pos, before);
      marker.begin = out.size();
      marker.length = match.end() - match.begin();
      marker.name = match.group(text, 1);
      consume(before);
      if (!replace(marker)) return false;
      frameChanged = true;
    }
    return true;
  }
};

// The usual case, done in one walk: every marker of the text names a text
// that holds no "[" and no "$", no "[" stands within a marker's length in
// front of a marker, and the work fits the limits. Then no pasted text can
// hold or complete a marker, each replacement is the named text as it
// stands, and the literal loop replaces the text's own markers one after
// another: the result is the text with each marker swapped for its text,
// and the work charged is what the loop would charge. False (and nothing
// charged or changed) when the text is not such a case; the full engine
// then takes it from the start.
bool expandPlainMarkers(std::string& text, const MarkerKind& kind, const std::string& rootName) {
  struct Paste {
    size_t begin, end;  // the marker in `text`
    const std::string* with;
  };
  // Kept from call to call: a load runs this once per command, and the
  // memory of each would otherwise be taken and given back every time.
  static std::vector<Paste> pastes;
  static RegexMatch match;
  static std::string result;
  pastes.clear();
  size_t pasted = 0;
  size_t work = 0;
  size_t cleanFrom = 0;  // where the result so far has no "[" behind it
  for (size_t at = text.find(kind.literal); at != std::string::npos;
       at = text.find(kind.literal, match.end())) {
    if (kind.namedMarker.search(text, match, at) != SearchStatus::found) break;
    std::string name = match.group(text, 1);
    if (name == rootName) return false;
    const std::string* with = kind.lookup(name);
    // Two searches for one character each: find_first_of looks every
    // character of the text up in its set.
    if (with == nullptr || with->find('[') != std::string::npos ||
        with->find('$') != std::string::npos)
      return false;
    // The window in front of the marker that a straddling marker would
    // begin in: text behind the last paste, or a paste without "[".
    size_t window = kind.longestMarker - 1;
    size_t from = match.begin() > window ? match.begin() - window : 0;
    if (text.find('[', std::max(from, cleanFrom)) < match.begin()) return false;
    pastes.push_back({match.begin(), match.end(), with});
    pasted += with->size();
    work += with->size() + kChargePerReplacement;
    cleanFrom = match.end();
  }
  if (pastes.empty()) return true;
  if (work > kExpansionWorkLimit || work > budgetLeft ||
      pasted + 2 * kFrameOverhead > kExpansionGrowthLimit)
    return false;
  budgetLeft -= work;
  result.clear();
  size_t done = 0;
  for (const Paste& paste : pastes) {
    result.append(text, done, paste.begin - done).append(*paste.with);
    done = paste.end;
  }
  result.append(text, done, std::string::npos);
  // Into the caller's own memory when it is large enough.
  text.assign(result);
  return true;
}

}  // namespace

void resetExpansionBudget() { budgetLeft = kExpansionLoadBudget; }

ExpansionOutcome expandMarkers(std::string& text, const MarkerKind& kind,
                               const std::string& rootName) {
  if (expandPlainMarkers(text, kind, rootName)) return ExpansionOutcome();
  Expansion expansion(kind, rootName);
  expansion.sizeLimit = text.size() + kExpansionGrowthLimit;
  expansion.out.reserve(text.size());
  expansion.push(&text, std::string(), rootName);
  if (expansion.run()) {
    // Sized for what it holds: the appends may have doubled it.
    expansion.out.shrink_to_fit();
    text.swap(expansion.out);
  }
  return expansion.outcome;
}

}  // namespace zav
