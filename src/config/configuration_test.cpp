#include "config/configuration.h"

#include <gtest/gtest.h>

#include "core/output_capture_test_support.h"

namespace zav {
namespace {

// Each row: a file's text, its messages, and the PCAP_DIR_PATH it sets.
TEST(Configuration, MessagesAndValues) {
  const std::string others =
      "ZAV_CMD_FILE_PATH = L;\nLOAD_CMD_ZAV_FILE = TRUE;\nTSHARK_EXE_PATH = t;\n"
      "DEFAULT_PCAP_NAME = a;\nHISTORY_DIR_PATH = L;\nLOAD_HISTORY_FILE = FALSE;\n";
  const std::string header = "<ZAV CONFIGURATION FILE>\n", good = header + others,
                    notConformant = "\n+ Configuration file ZAV.cfg is not conformant.\n",
                    parameter = "\n+ The value of the parameter LOAD_";
  const std::string rows[][3] = {
      {"", "\n+ Configuration file ZAV.cfg is empty.\n", ""},
      {"<zav configuration file>\n" + others + "PCAP_DIR_PATH = p;", notConformant, ""},
      {header,
       notConformant + notConformant + notConformant + notConformant + notConformant +
           notConformant + notConformant + parameter +
           "CMD_ZAV_FILE in the Configuration file ZAV.cfg is not conformant.\n" + parameter +
           "HISTORY_FILE in the Configuration file ZAV.cfg is not conformant.\n",
       "NO_MATCH"},
      {good + "PCAP_DIR_PATH =   ;", "", " "},  // blanks only: one blank
      {good + "x PCAP_DIR_PATH = a\nb\n;\nPCAP_DIR_PATH = second;", "", "second"},
      {good + "PCAP_DIR_PATH =;\nPCAP_DIR_PATH\n=\nfirst ;PCAP_DIR_PATH = no;", "", "first "}};
  for (const auto& row : rows) {
    config = ConfigRecord();
    EXPECT_EQ(testing_support::captureOutput([&] { parseConfiguration(row[0]); }), row[1])
        << row[0];
    EXPECT_EQ(config.PCAP_DIR_PATH, row[2]) << row[0];
  }
}

}  // namespace
}  // namespace zav
