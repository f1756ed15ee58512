#include "core/console_output.h"

#include <iostream>
#include <random>

#include "core/product.h"

namespace zav {

namespace {

// The banner art rows, each exactly 32 characters: the end-to-end scenarios
// check the banner by that shape.
const char* const kBannerArt[7] = {
    " ________    ______   __      __", "|_____  /   / __  /  |  |    / /",
    "     / /   / /_/ /   |  |   / / ", "    / /   / __  /    |  |  / /  ",
    "   / /__ / /  / /    |  | / /   ", "  /_____/_/  /_/     |__|/_/    ",
    "                                ",
};

}  // namespace

void printMessage(std::string_view text) {
  std::cout << '\n' << text << '\n';
  std::cout.flush();
}

void printMessage(std::string_view firstLine, std::string_view secondLine) {
  std::cout << '\n' << firstLine << '\n' << secondLine << '\n';
  std::cout.flush();
}

void printField(platform::TextAttribute colour, const std::string& name, const std::string& value) {
  platform::TextAttribute saved = platform::currentTextAttribute();
  platform::setTextAttribute(colour);
  std::cout << '\n';
  std::cout.flush();
  std::cout << "  " << name;
  platform::setTextAttribute(saved);
  std::cout << ": " << value << '\n';
  std::cout.flush();
}

void printColoured(platform::TextAttribute colour, const std::string& text) {
  platform::TextAttribute saved = platform::currentTextAttribute();
  platform::setTextAttribute(colour);
  std::cout << text;
  platform::setTextAttribute(saved);
}

namespace {

// Draws one banner colour: the OR of three picks from the table, so it is
// never 0 and never 15.
class BannerColours {
 public:
  BannerColours() : engine_(std::random_device{}()), pick_(0, 3) {}
  platform::TextAttribute next() {
    static const platform::TextAttribute table[4] = {1, 4, 2, 8};
    return table[pick_(engine_)] | table[pick_(engine_)] | table[pick_(engine_)];
  }

 private:
  std::mt19937 engine_;
  std::uniform_int_distribution<int> pick_;
};

void writeInRandomColour(BannerColours& colours, char c) {
  platform::TextAttribute saved = platform::currentTextAttribute();
  platform::setTextAttribute(colours.next());
  std::cout << c;
  platform::setTextAttribute(saved);
}

}  // namespace

void showBanner() {
  std::string art;
  for (const char* row : kBannerArt) {
    art += "  ";
    art += row;
    art += '\n';
  }
  BannerColours colours;
  std::cout << '\n';
  for (char c : art) writeInRandomColour(colours, c);

  // The full name in three pieces, each opened by a coloured initial.
  const std::string pieces[3] = {productFullName.substr(0, 3), productFullName.substr(3, 3),
                                 productFullName.substr(6)};
  const char* gaps[3] = {"", "        ", "      "};
  std::cout << "  ";
  for (int i = 0; i < 3; ++i) {
    std::cout << gaps[i];
    if (pieces[i].empty()) continue;
    writeInRandomColour(colours, pieces[i][0]);
    std::cout << pieces[i].substr(1);
  }
  std::cout << '\n';
  std::cout.flush();
}

}  // namespace zav
