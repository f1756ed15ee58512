#include "builtins/about_help.h"

#include <chrono>
#include <iostream>
#include <thread>
#include <vector>

#include "builtins/builtin_table.h"
#include "core/console_output.h"
#include "core/product.h"
#include "platform/console.h"

namespace zav {

namespace {

// The banner drawing's rows, each exactly 33 characters.
const char* const kAboutArt[6] = {
    " _______      ___     __      __ ",     "|___   /     / _ \\    \\ \\    / / ",
    "   /  /     / /_\\ \\    \\ \\  / /  ", "  /  /     /  ___  \\    \\ \\/ /   ",
    " /  /___  /  /   \\  \\    \\  /    ",  "/_______|/__/     \\__\\    \\/     ",
};

constexpr int kBannerDelayMs = 5;
constexpr int kInformationDelayMs = 40;

struct HelpRow {
  const char* usage;
  const char* description;
};

const HelpRow kImplicitConstructorKeys[12] = {
    {"pre.zav.g", "desc: Global ZAV Prefix IC"},    {"pre.win.g", "desc: Global WIN Prefix IC"},
    {"suf.zav.g", "desc: Global ZAV Suffix IC"},    {"suf.win.g", "desc: Global WIN Suffix IC"},
    {"pre.zav.s", "desc: Specific ZAV Prefix IC"},  {"pre.win.s", "desc: Specific WIN Prefix IC"},
    {"suf.zav.s", "desc: Specific ZAV Suffix IC"},  {"suf.win.s", "desc: Specific WIN Suffix IC"},
    {"pre.zav.e", "desc: Exclusion ZAV Prefix IC"}, {"pre.win.e", "desc: Exclusion WIN Prefix IC"},
    {"suf.zav.e", "desc: Exclusion ZAV Suffix IC"}, {"suf.win.e", "desc: Exclusion WIN Suffix IC"},
};

// Writes the text one character at a time, pausing `delayMs` milliseconds
// after each; a delay below 1 writes it all at once.
void typeOut(const std::string& text, int delayMs) {
  if (delayMs < 1) {
    std::cout << text;
    std::cout.flush();
    return;
  }
  for (char c : text) {
    std::cout << c;
    std::cout.flush();
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  }
}

// The two texts that showAbout types out.
std::string aboutBannerText() {
  std::string text;
  for (const char* row : kAboutArt) text += std::string("  ") + row + "\n";
  return text + "\n";
}

std::string aboutInformationText() {
  return "\n\n  " + productShortName + " (" + productFullName + ") v" + productVersion + " (" +
         productBuildVariant + ") \n  Release Date: [" + productReleaseDate +
         "]\n  Edition: " + productEdition + "\n\n  " + authorName + "\n  " + authorEmail + "\n  " +
         authorWebAddress + "\n";
}

}  // namespace

void showAbout() {
  // The typing effect is for someone watching; a file or pipe gets the text
  // at once.
  const bool watched = platform::standardOutputIsTerminal();
  typeOut(aboutBannerText(), watched ? kBannerDelayMs : 0);
  typeOut(aboutInformationText(), watched ? kInformationDelayMs : 0);
}

void showHelp() {
  std::vector<const BuiltinCommand*> rows(builtinCommands().size());
  for (const BuiltinCommand& command : builtinCommands()) rows[command.helpPosition] = &command;
  for (const BuiltinCommand* row : rows) {
    printField(kFieldColour, row->usage, row->description);
    if (std::string(row->usage) != "gic") continue;
    std::cout << '\n';
    for (const HelpRow& key : kImplicitConstructorKeys)
      std::cout << "          " << key.usage << "  -  " << key.description << '\n';
    std::cout.flush();
  }
}

}  // namespace zav
