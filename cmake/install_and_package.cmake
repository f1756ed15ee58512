# What `cmake --install` lays out, and the packages `cpack` makes of it: a
# Debian package on Linux, a ZIP and an NSIS installer for Windows.
#
#   bin/zav                     the shell (Windows: zav.exe and the launcher
#                               of the Start-menu entry, zav-workspace.cmd)
#   share/zav/examples          the example workspace with its sample captures,
#                               a template: `zav --init DIR` copies it
#   share/doc/zav               README.md and docs/*.md; on Linux the
#                               Debian copyright file and changelog
#   share/man/man1/zav.1.gz     the manual page (not on Windows)
#   LICENSE.txt                 (Windows only; on Linux the copyright file)
#
# The same layout on every system, so that the shell finds its examples at
# <program folder>/../share/zav/examples wherever it was installed.
include(GNUInstallDirs)

install(TARGETS zav RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# --- The example workspace --------------------------------------------------
set(ZAV_EXAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/zav/examples)
# Files as the package wants them whatever the umask of the build machine.
set(ZAV_EXAMPLE_RULES FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    PATTERN "*.pcap" EXCLUDE PATTERN ".zav_history" EXCLUDE
    # The hex dumps are the captures' source; the workspace gets the captures.
    REGEX "/captures/src$" EXCLUDE)
if(WIN32)
  # cmd.exe forms of the housekeeping commands, and a ZAV.cfg for Windows.
  set(ZAV_WINDOWS_EXAMPLES ${CMAKE_BINARY_DIR}/windows-examples)
  add_custom_command(
    OUTPUT ${ZAV_WINDOWS_EXAMPLES}/housekeeping.zav ${ZAV_WINDOWS_EXAMPLES}/ZAV.cfg
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/examples
            -DOUTPUT=${ZAV_WINDOWS_EXAMPLES} -P ${CMAKE_SOURCE_DIR}/cmake/windows_examples.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/examples/housekeeping.zav ${CMAKE_SOURCE_DIR}/examples/ZAV.cfg
            ${CMAKE_SOURCE_DIR}/cmake/windows_examples.cmake
    COMMENT "Writing the Windows forms of the example workspace" VERBATIM)
  add_custom_target(windows_examples ALL DEPENDS ${ZAV_WINDOWS_EXAMPLES}/housekeeping.zav)
  install(FILES ${ZAV_WINDOWS_EXAMPLES}/housekeeping.zav ${ZAV_WINDOWS_EXAMPLES}/ZAV.cfg
          DESTINATION ${ZAV_EXAMPLES_DIR})
  list(APPEND ZAV_EXAMPLE_RULES PATTERN "housekeeping.zav" EXCLUDE PATTERN "ZAV.cfg" EXCLUDE)
endif()
install(DIRECTORY examples/ DESTINATION ${ZAV_EXAMPLES_DIR} ${ZAV_EXAMPLE_RULES})

# The sample captures are made at build time from the hex dumps, by the
# script that makes them for the source tree, rather than kept as binary
# files: the dumps are the reviewable source (one annotated line per layer),
# and text2pcap comes with the TShark the shell is for. A cross build runs
# the build machine's text2pcap; the captures are the same for every system.
find_program(TEXT2PCAP_PROGRAM text2pcap)
find_program(MERGECAP_PROGRAM mergecap)
find_program(ZAV_POSIX_SHELL sh)
if(TEXT2PCAP_PROGRAM AND MERGECAP_PROGRAM AND ZAV_POSIX_SHELL)
  set(ZAV_CAPTURES_DIR ${CMAKE_BINARY_DIR}/sample-captures)
  file(GLOB ZAV_CAPTURE_DUMPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/captures/src/*.txt)
  set(ZAV_CAPTURES ${ZAV_CAPTURES_DIR}/sample.pcap)
  foreach(dump ${ZAV_CAPTURE_DUMPS})
    get_filename_component(name ${dump} NAME_WE)
    list(APPEND ZAV_CAPTURES ${ZAV_CAPTURES_DIR}/${name}.pcap)
  endforeach()
  add_custom_command(
    OUTPUT ${ZAV_CAPTURES}
    COMMAND ${ZAV_POSIX_SHELL} ${CMAKE_SOURCE_DIR}/tools/make_sample_captures.sh ${ZAV_CAPTURES_DIR}
    DEPENDS ${ZAV_CAPTURE_DUMPS} ${CMAKE_SOURCE_DIR}/tools/make_sample_captures.sh
    COMMENT "Making the sample captures from their hex dumps" VERBATIM)
  add_custom_target(sample_captures ALL DEPENDS ${ZAV_CAPTURES})
  install(FILES ${ZAV_CAPTURES} DESTINATION ${ZAV_EXAMPLES_DIR}/captures)
else()
  message(WARNING
    "text2pcap and mergecap were not found: the installed examples and the packages will "
    "have no sample captures. apt-get install -y tshark")
endif()

# --- Documentation, licence, manual page ------------------------------------
file(GLOB ZAV_DOCS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md)
# README's links name docs/<page>.md, so the pages keep that folder.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${ZAV_DOCS} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
if(WIN32)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
  # Line ends for cmd.exe, which misreads some batch files with bare LFs.
  configure_file(packaging/windows/zav-workspace.cmd ${CMAKE_BINARY_DIR}/zav-workspace.cmd
                 @ONLY NEWLINE_STYLE CRLF)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/zav-workspace.cmd DESTINATION ${CMAKE_INSTALL_BINDIR})
else()
  # Debian wants the manual page and the changelog compressed with
  # gzip -9n (no name, no time stamp, so every build gives the same bytes).
  find_program(GZIP_PROGRAM gzip)
  set(ZAV_COMPRESSED ${CMAKE_BINARY_DIR}/compressed)
  if(GZIP_PROGRAM)
    add_custom_command(
      OUTPUT ${ZAV_COMPRESSED}/zav.1.gz ${ZAV_COMPRESSED}/changelog.Debian.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAV_COMPRESSED}
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/zav.1 ${ZAV_COMPRESSED}/zav.1
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/debian/changelog
              ${ZAV_COMPRESSED}/changelog.Debian
      COMMAND ${GZIP_PROGRAM} -9nf ${ZAV_COMPRESSED}/zav.1 ${ZAV_COMPRESSED}/changelog.Debian
      DEPENDS docs/zav.1 packaging/debian/changelog VERBATIM)
    add_custom_target(compressed_docs ALL DEPENDS ${ZAV_COMPRESSED}/zav.1.gz)
    install(FILES ${ZAV_COMPRESSED}/zav.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${ZAV_COMPRESSED}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  else()
    install(FILES docs/zav.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  install(FILES packaging/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES packaging/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME zav)
endif()

# --- Packages ----------------------------------------------------------------
set(CPACK_PACKAGE_NAME zav)
set(CPACK_PACKAGE_VENDOR "ZAV developers")
set(CPACK_PACKAGE_VERSION 1.1.0)
set(CPACK_PACKAGE_CONTACT "The ZAV developers <zav-dev@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://zav.example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Console shell for TShark: named commands for packet analysts")
set(CPACK_PACKAGE_DESCRIPTION [=[
ZAV is an interactive console shell for people who read packet captures
with TShark. A capture is picked once; short named commands such as dns,
http_hosts or port 443 then expand into complete TShark command lines and
run. Anything that is not a ZAV command runs in the ordinary command
processor, so ZAV doubles as the everyday prompt.

Commands are defined in a text file in a small definition language: TShark
commands and operating-system commands, shared option fragments, calls
between commands, options added to groups of commands, runs over list files
and named multi-command units for repeatable triage.

The package includes an example workspace with a library of about sixty
commands and sample captures to try them on.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ZAV)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR "ZIP;NSIS")
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_NSIS_PACKAGE_NAME ZAV)
  set(CPACK_NSIS_DISPLAY_NAME ZAV)
  # A 64-bit installer for the 64-bit program: it sees the 64-bit Program
  # Files and registry without redirection, and runs where only 64-bit
  # programs run (a Wine without its 32-bit part, as in the smoke test).
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  set(CPACK_NSIS_URL_INFO_ABOUT "${CPACK_PACKAGE_HOMEPAGE_URL}")
  set(CPACK_NSIS_CONTACT "zav-dev@example.org")
  # The Start-menu entry runs the launcher, which opens ZAV in the user's
  # own workspace (%USERPROFILE%\ZAV), made on first use: the installation
  # folder is read-only for users.
  set(CPACK_NSIS_CREATE_ICONS_EXTRA
      "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\ZAV.lnk' '$INSTDIR\\\\bin\\\\zav-workspace.cmd' '' '$INSTDIR\\\\bin\\\\zav.exe' 0")
  # The installer keeps its settings under Software\<vendor>\ZAV, which the
  # uninstaller removes just before these lines; the vendor's key is left
  # behind unless removed here, once it is empty.
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\ZAV.lnk'
  DeleteRegKey /ifempty SHCTX 'Software\\\\ZAV developers'")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_SECTION net)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # TShark is what the shell drives, but the shell also runs without it.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS tshark)
  find_program(DPKG_SHLIBDEPS_PROGRAM dpkg-shlibdeps)
  if(DPKG_SHLIBDEPS_PROGRAM)
    # Versioned dependencies on exactly the libraries the binary links.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(ZAV_DEB_DEPENDS "libc6, libstdc++6, libgcc-s1")
    if(PCRE2_FOUND)
      string(APPEND ZAV_DEB_DEPENDS ", libpcre2-8-0")
    endif()
    if(LIBEDIT_FOUND)
      string(APPEND ZAV_DEB_DEPENDS ", libedit2")
    endif()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZAV_DEB_DEPENDS}")
  endif()
endif()
include(CPack)
