# The Debian packages ZAV needs, in one place, and the function that installs
# the missing ones. Sourced by tools/run_example.sh, tools/run_tests.sh and
# .ci/run (POSIX sh).

# Building zav: the compiler, CMake, pkg-config, PCRE2 and libedit (line
# editing; without it lines are read plainly).
ZAV_BUILD_PACKAGES="cmake g++ make pkg-config libpcre2-dev libedit-dev"
# Running the example workspace: TShark, and text2pcap and mergecap (in
# wireshark-common, which tshark pulls in) for the sample captures.
ZAV_RUN_PACKAGES="tshark"
# Running the tests; sshd, ssh, GNU parallel and rsync for the runs spread
# over two loopback hosts (tests/cluster).
ZAV_TEST_PACKAGES="libgtest-dev python3 tshark openssh-server openssh-client parallel rsync"
# Making and checking the Debian package: dpkg-shlibdeps for its
# dependencies, lintian.
ZAV_PACKAGING_PACKAGES="dpkg-dev lintian"
# CI only: the sanitizer and fuzz builds, and the Windows cross build with
# Wine for its smoke test, which also makes and checks the ZIP (unzip) and
# the NSIS installer (nsis).
ZAV_CI_PACKAGES="clang libclang-rt-14-dev"
ZAV_WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix wine64 nsis unzip"

# Installs those of the given packages that are missing: with apt-get as
# root, otherwise through sudo after saying what it installs. Does nothing
# on a system without dpkg and apt-get.
zav_install_missing_packages() {
  command -v dpkg-query >/dev/null 2>&1 && command -v apt-get >/dev/null 2>&1 || return 0
  zav_missing=""
  for zav_package in "$@"; do
    case " $zav_missing " in *" $zav_package "*) continue ;; esac
    dpkg-query -W -f='${Status}' "$zav_package" 2>/dev/null | grep -q "install ok installed" ||
      zav_missing="$zav_missing $zav_package"
  done
  [ -n "$zav_missing" ] || return 0
  if [ "$(id -u)" -eq 0 ]; then
    zav_sudo=""
  elif command -v sudo >/dev/null 2>&1; then
    echo "Installing the missing Debian packages with sudo:$zav_missing"
    zav_sudo="sudo"
  else
    echo "These Debian packages are missing and there is no sudo to install them:$zav_missing" >&2
    return 1
  fi
  # TShark asks whether non-root users may capture; answer no, quietly.
  echo "wireshark-common wireshark-common/install-setuid boolean false" |
    $zav_sudo debconf-set-selections
  $zav_sudo env DEBIAN_FRONTEND=noninteractive apt-get update
  # shellcheck disable=SC2086 # one word per package
  $zav_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $zav_missing
}
