# Makes the Windows forms of two example files, run as
#   cmake -DSOURCE=<examples folder> -DOUTPUT=<folder> -P windows_examples.cmake
# housekeeping.zav: each WIN command is written for /bin/sh with its cmd.exe
# form in a "// Windows: " comment above it; here the two trade places, so
# the Windows package runs the cmd.exe forms and still shows the others.
# ZAV.cfg: Windows separators in the capture path, and TShark where the
# Wireshark installer puts it, since that folder is rarely on the PATH.
file(READ "${SOURCE}/housekeeping.zav" text)
string(REGEX REPLACE
  "// Windows: ([^\n]*)\n(WIN\\(\\) {\n[ ]+NAME = [^\n]*\n[ ]+LOGIC = )([^\n]*)\n"
  "// Linux and macOS: \\3\n\\2\\1\n" text "${text}")
if(text MATCHES "// Windows: ")
  message(FATAL_ERROR "housekeeping.zav: a \"// Windows: \" comment is not right above "
                      "WIN() {, NAME and LOGIC, so its command was not swapped")
endif()
file(WRITE "${OUTPUT}/housekeeping.zav" "${text}")

file(READ "${SOURCE}/ZAV.cfg" text)
string(REPLACE "PCAP_DIR_PATH = captures/;" "PCAP_DIR_PATH = captures\\;" text "${text}")
string(REPLACE "TSHARK_EXE_PATH = tshark;"
               "TSHARK_EXE_PATH = C:\\Program Files\\Wireshark\\tshark.exe;" text "${text}")
if(NOT text MATCHES "captures\\\\;" OR NOT text MATCHES "Wireshark")
  message(FATAL_ERROR "ZAV.cfg: the TShark or capture path line has changed; update ${CMAKE_CURRENT_LIST_FILE}")
endif()
file(WRITE "${OUTPUT}/ZAV.cfg" "${text}")
