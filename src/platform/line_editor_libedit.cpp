// The line editor on POSIX terminals: libedit through its readline-compatible
// interface. The shell keeps every rule of its own: the editor only reads a
// line, recalls the lines the prompt loop accepted and completes words.
#include "platform/line_editor.h"

#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <iostream>
#include <system_error>

// After the standard headers: it needs FILE and declares C functions.
#include <editline/readline.h>

#include "platform/console.h"
#include "platform/terminal_colours.h"

namespace zav {

namespace {

// What readKey hands the editor instead of a key: end of input.
constexpr int kNoKey = -1;
// Ctrl-V: the editor inserts the key after it as it is, even a control key.
constexpr int kQuotedInsert = 0x16;

// Words are separated by white space only, as the dispatchers split them.
char wordBreaks[] = " \t\n\r\v\f";

bool initialised = false;
// Keys to hand the editor before any the user types: the text a line starts
// out holding reaches the editor as if typed, so the editor shows and
// edits it like the user's own (it empties its line when it starts reading,
// so the text cannot simply be put there beforehand).
std::deque<int> pendingKeys;
// Set when Ctrl-C or Ctrl-\ ended the wait for a key.
bool interrupted = false;
// The signal mask to wait for keys under: the caller's, in which Ctrl-C and
// Ctrl-\ are deliverable. Everywhere else in the editor they are blocked.
sigset_t waitMask;
CompletionCandidates candidates;
CompletionProvider completionProvider = nullptr;

// One key per character of the terminal's character set; a byte that is not
// part of a valid character is a key of its own. Control characters are
// quoted so that a tab in the text is inserted rather than completing.
void queueKeys(const std::string& text) {
  std::mbstate_t state{};
  std::size_t at = 0;
  while (at < text.size()) {
    wchar_t character;
    std::size_t length = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
    int key;
    if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) {
      key = static_cast<unsigned char>(text[at]);
      length = 1;
      state = std::mbstate_t{};
    } else {
      key = static_cast<int>(character);
      if (length == 0) length = 1;
    }
    if (key < 0x20 || key == 0x7f) pendingKeys.push_back(kQuotedInsert);
    pendingKeys.push_back(key);
    at += length;
  }
}

// The editor's source of keys. Ctrl-C and Ctrl-\ are blocked while the
// editor works and become deliverable only inside pselect, so one that
// arrives before the wait (even before the prompt is drawn) still ends it;
// a plain read could miss it. The shell's other signals (SIGTERM, SIGHUP)
// end it inside their handler, so an interrupted wait is one of these two. Keys are decoded in the
// terminal's character set, so a character of several bytes is one key.
int readKey(FILE*) {
  if (!pendingKeys.empty()) {
    int key = pendingKeys.front();
    pendingKeys.pop_front();
    return key;
  }
  std::mbstate_t state{};
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(STDIN_FILENO, &readable);
    if (pselect(STDIN_FILENO + 1, &readable, nullptr, nullptr, nullptr, &waitMask) < 0) {
      if (errno == EINTR) interrupted = true;
      return kNoKey;
    }
    char byte;
    if (read(STDIN_FILENO, &byte, 1) != 1) return kNoKey;
    wchar_t key;
    std::size_t length = std::mbrtowc(&key, &byte, 1, &state);
    if (length == static_cast<std::size_t>(-2)) continue;  // more bytes to come
    if (length == static_cast<std::size_t>(-1)) return static_cast<unsigned char>(byte);
    return static_cast<int>(key);
  }
}

char* nextCandidate(const char*, int state) {
  static std::size_t next = 0;
  if (state == 0) next = 0;
  if (next >= candidates.names.size()) return nullptr;
  return strdup(candidates.names[next++].c_str());
}

// The editor's own file-name completion ends every name with a blank; a
// directory ends with its separator instead, so that the next Tab goes on
// inside it (and a capture directory is typed with its separator).
char** completeFileName(const char* word) {
  char** matches = rl_completion_matches(word, rl_filename_completion_function);
  // One match comes as the text to insert followed by the match itself.
  if (matches == nullptr || (matches[1] != nullptr && matches[2] != nullptr)) return matches;
  std::error_code error;
  if (!std::filesystem::is_directory(matches[0], error)) return matches;
  rl_completion_append_character = '\0';
  const std::size_t length = std::strlen(matches[0]);
  if (length > 0 && matches[0][length - 1] == '/') return matches;
  if (char* longer = static_cast<char*>(std::realloc(matches[0], length + 2))) {
    longer[length] = '/';
    longer[length + 1] = '\0';
    matches[0] = longer;
  }
  return matches;
}

// `word` is the text from the last blank to the cursor.
char** completeWord(const char* word, int, int) {
  std::string upToCursor(rl_line_buffer, static_cast<std::size_t>(rl_point));
  std::size_t wordLength = std::strlen(word);
  std::string lineBefore =
      upToCursor.substr(0, upToCursor.size() >= wordLength ? upToCursor.size() - wordLength : 0);
  candidates = completionProvider != nullptr ? completionProvider(lineBefore, word)
                                             : CompletionCandidates{true, {}};
  rl_attempted_completion_over = 1;
  rl_completion_append_character = ' ';
  if (candidates.fileNames) return completeFileName(word);
  if (candidates.names.empty()) return nullptr;
  return rl_completion_matches(word, nextCandidate);
}

// The editor would draw the prompt before taking the terminal over, and a
// key typed in between would be echoed twice or, for Ctrl-D, lost. Taken
// over here, after the editor has noted the terminal's settings to restore.
int takeTerminal() {
  rl_prep_terminal(0);
  return 0;
}

void initialise() {
  if (initialised) return;
  initialised = true;
  // The terminal's character set, for editing characters of several bytes.
  // Only the character type: nothing else in the shell depends on it. A
  // locale without multi-byte characters (LANG unset) would make the editor
  // drop every byte above 127, and such a terminal almost always speaks
  // UTF-8 all the same.
  std::setlocale(LC_CTYPE, "");
  if (MB_CUR_MAX == 1) std::setlocale(LC_CTYPE, "C.UTF-8");
  rl_readline_name = "zav";
  // The shell's own handlers stay in place: the editor's would pass Ctrl-C
  // on to the whole process group.
  rl_catch_signals = 0;
  rl_getc_function = readKey;
  rl_initialize();
  rl_pre_input_hook = takeTerminal;
  rl_attempted_completion_function = completeWord;
  rl_basic_word_break_characters = wordBreaks;
  rl_completer_word_break_characters = wordBreaks;
}

// Marks a stretch of the prompt that takes no room on the screen.
std::string invisible(const std::string& text) {
  return RL_PROMPT_START_IGNORE + text + RL_PROMPT_END_IGNORE;
}

ReadStatus readThroughEditor(const std::string& prompt, const std::string& initialText,
                             std::string& line) {
  initialise();
  line.clear();
  pendingKeys.clear();
  queueKeys(initialText);
  interrupted = false;
  sigset_t interrupts;
  sigemptyset(&interrupts);
  sigaddset(&interrupts, SIGINT);
  sigaddset(&interrupts, SIGQUIT);
  sigprocmask(SIG_BLOCK, &interrupts, &waitMask);
  std::cout.flush();
  std::fflush(stdout);
  char* text = readline(prompt.c_str());
  sigprocmask(SIG_SETMASK, &waitMask, nullptr);
  pendingKeys.clear();
  ReadStatus status = ReadStatus::line;
  if (interrupted)
    status = ReadStatus::interrupted;
  else if (text == nullptr)
    status = ReadStatus::ended;
  else
    line = text;
  std::free(text);
  return status;
}

}  // namespace

bool lineEditorIsActive() {
  static const bool active =
      platform::standardInputIsTerminal() && platform::outputTakesControlSequences();
  return active;
}

void setCompletionProvider(CompletionProvider provider) { completionProvider = provider; }

ReadStatus editPromptedLine(std::string& line, const std::string& name,
                            platform::TextAttribute promptColour) {
  // The editor drops an invisible stretch at the very end of a prompt, so
  // the colour is put back before the blank rather than after it; a blank
  // looks the same in either colour.
  std::string prompt = name + "> ";
  if (platform::coloursEnabled())
    prompt = name + invisible(platform::colourSequence(promptColour)) + ">" +
             invisible(platform::colourSequence(platform::currentTextAttribute())) + " ";
  return readThroughEditor(prompt, std::string(), line);
}

ReadStatus editInputLine(std::string& line, const std::string& initialText,
                         const std::string& shownPrompt) {
  if (!shownPrompt.empty()) {
    std::cout << '\r';
    std::cout.flush();
  }
  return readThroughEditor(shownPrompt, initialText, line);
}

void rememberAcceptedLine(const std::string& line) {
  if (!lineEditorIsActive()) return;
  initialise();
  add_history(line.c_str());
}

}  // namespace zav
