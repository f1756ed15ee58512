#include "config/configuration.h"

#include <gtest/gtest.h>

#include "config/whole_file.h"
#include "core/output_capture_test_support.h"
#include "core/shell_state.h"

namespace zav {
namespace {

// Parses a configuration text with standard output captured.
std::string parseCapturingOutput(const std::string& text) {
  config = ConfigRecord();
  currentCapture.clear();
  return testing_support::captureOutput([&] { parseConfiguration(text); });
}

const std::string kHeader = "<ZAV CONFIGURATION FILE>\n";
const std::string kComplete = kHeader +
                              "ZAV_CMD_FILE_PATH = LOCAL;\n"
                              "LOAD_CMD_ZAV_FILE = TRUE;\n"
                              "TSHARK_EXE_PATH = C:\\Tools\\tshark.exe;\n"
                              "PCAP_DIR_PATH = D:\\caps\\;\n"
                              "DEFAULT_PCAP_NAME = a.pcap;\n"
                              "HISTORY_DIR_PATH = LOCAL;\n"
                              "LOAD_HISTORY_FILE = FALSE;\n";

TEST(Configuration, CompleteFileSetsEveryFieldSilently) {
  EXPECT_EQ(parseCapturingOutput(kComplete), "");
  EXPECT_EQ(config.ZAV_CMD_FILE_PATH, "LOCAL");
  EXPECT_EQ(config.LOAD_CMD_ZAV_FILE, "TRUE");
  EXPECT_EQ(config.TSHARK_EXE_PATH, "C:\\Tools\\tshark.exe");
  EXPECT_EQ(config.PCAP_DIR_PATH, "D:\\caps\\");
  EXPECT_EQ(config.HISTORY_DIR_PATH, "LOCAL");
  EXPECT_EQ(config.LOAD_HISTORY_FILE, "FALSE");
  EXPECT_EQ(currentCapture, "a.pcap");
}

TEST(Configuration, ValueRules) {
  struct Case {
    const char* settings;
    const char* expectedPcapDir;
  } cases[] = {
      {"PCAP_DIR_PATH =   ;", " "},           // blanks only: one blank
      {"PCAP_DIR_PATH = a\nb\n;", "a\nb\n"},  // runs over lines
      {"PCAP_DIR_PATH = first;\nPCAP_DIR_PATH = second;", "first"},
      {"x PCAP_DIR_PATH = no;\nPCAP_DIR_PATH = yes;", "yes"},  // key after other text
      {"  \tPCAP_DIR_PATH\t=\tindented ;", "indented "},       // trailing blank kept
      {"PCAP_DIR_PATH = a=\"b\";", "a=\"b\""},
      {"PCAP_DIR_PATH =;\nPCAP_DIR_PATH = later;", "later"},  // nothing at all: no match
      {"PCAP_DIR_PATH\n=\nnext-line;", "next-line"},
  };
  for (const Case& c : cases) {
    std::string text = kHeader + c.settings + "\n";
    parseCapturingOutput(text);
    EXPECT_EQ(config.PCAP_DIR_PATH, c.expectedPcapDir) << c.settings;
  }
}

TEST(Configuration, MissingKeysAndWrongSwitchesAreReportedInOrder) {
  std::string out = parseCapturingOutput(kHeader + "LOAD_CMD_ZAV_FILE = TRUE ;\n");
  const std::string notConformant = "\n+ Configuration file ZAV.cfg is not conformant.\n";
  std::string expected;
  for (int i = 0; i < 6; ++i) expected += notConformant;
  expected +=
      "\n+ The value of the parameter LOAD_CMD_ZAV_FILE in the Configuration file ZAV.cfg is "
      "not conformant.\n"
      "\n+ The value of the parameter LOAD_HISTORY_FILE in the Configuration file ZAV.cfg is "
      "not conformant.\n";
  EXPECT_EQ(out, expected);
  EXPECT_EQ(config.LOAD_CMD_ZAV_FILE, "TRUE ");
  EXPECT_EQ(config.LOAD_HISTORY_FILE, "NO_MATCH");
  EXPECT_EQ(currentCapture, "NO_MATCH");
}

TEST(Configuration, UnusableFileSetsNothing) {
  EXPECT_EQ(parseCapturingOutput(""), "\n+ Configuration file ZAV.cfg is empty.\n");
  EXPECT_EQ(parseCapturingOutput(kFileNotFound),
            "\n+ Configuration file ZAV.cfg is not conformant.\n");
  EXPECT_EQ(config.PCAP_DIR_PATH, "");
  EXPECT_EQ(currentCapture, "");
}

TEST(WholeFile, TextModeTurnsOnlyCrLfIntoLf) {
  EXPECT_EQ(toTextMode("a\r\nb\r\n"), "a\nb\n");
  EXPECT_EQ(toTextMode("a\rb\r\r\n"), "a\rb\r\n");
  EXPECT_EQ(toTextMode(std::string("x\0\r\n", 4)), std::string("x\0\n", 3));
}

}  // namespace
}  // namespace zav
