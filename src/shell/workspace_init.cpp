#include "shell/workspace_init.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <utility>
#include <vector>

#include "core/file_names.h"
#include "platform/directory_order.h"
#include "platform/executable_path.h"

namespace zav {

namespace fs = std::filesystem;

namespace {

// Installed: <prefix>/bin/zav and <prefix>/share/zav/examples. Built in the
// source tree: build/zav and examples/.
std::vector<fs::path> exampleCandidates() {
  const fs::path program = platform::executablePath();
  if (program.empty()) return {};
  const fs::path prefix = program.parent_path().parent_path();
  return {prefix / "share" / "zav" / "examples", prefix / "examples"};
}

bool endsWith(const std::string& name, const std::string& suffix) {
  return name.size() >= suffix.size() &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The regular files of `folder` that `wanted` takes, in a steady order.
template <typename Wanted>
std::vector<std::string> filesIn(const fs::path& folder, Wanted wanted) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entry(folder, error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    std::error_code statusError;
    const std::string name = entry->path().filename().string();
    if (entry->is_regular_file(statusError) && wanted(name)) names.push_back(name);
  }
  platform::orderDirectoryNames(names);
  return names;
}

int failWith(const std::string& message) {
  std::cerr << "zav: " << message << '\n';
  return 1;
}

}  // namespace

int initWorkspace(const std::string& directory) {
  fs::path examples;
  std::string looked;
  for (const fs::path& candidate : exampleCandidates()) {
    std::error_code error;
    if (fs::is_regular_file(candidate / configFileName, error)) {
      examples = candidate;
      break;
    }
    looked += (looked.empty() ? "" : " or ") + candidate.string();
  }
  if (examples.empty())
    return failWith("the example workspace was not found" +
                    (looked.empty() ? std::string() : " (looked in " + looked + ")"));

  // What goes where: the library beside ZAV.cfg, the captures in captures/,
  // where the example ZAV.cfg looks for them.
  std::vector<std::pair<fs::path, fs::path>> copies;
  const fs::path target(directory);
  for (const std::string& name : filesIn(examples, [](const std::string& n) {
         return n == configFileName || endsWith(n, ".zav") || endsWith(n, ".lst");
       }))
    copies.emplace_back(examples / name, target / name);
  size_t captures = 0;
  for (const std::string& name : filesIn(examples / "captures", [](const std::string& n) {
         return endsWith(n, ".pcap") || endsWith(n, ".pcapng");
       })) {
    copies.emplace_back(examples / "captures" / name, target / "captures" / name);
    ++captures;
  }

  std::string existing;
  for (const auto& copy : copies) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(copy.second, error)))
      existing += (existing.empty() ? "" : ", ") + copy.second.string();
  }
  if (!existing.empty()) return failWith(existing + " already there; nothing was copied");

  std::error_code error;
  fs::create_directories(target / "captures", error);
  if (error)
    return failWith("cannot make " + (target / "captures").string() + ": " + error.message());
  for (const auto& copy : copies) {
    // copy_file without overwrite refuses a file that appeared meanwhile.
    if (!fs::copy_file(copy.first, copy.second, error))
      return failWith("cannot copy " + copy.first.string() + " to " + copy.second.string() + ": " +
                      error.message());
  }
  std::cout << "zav: copied " << copies.size() - captures << " configuration and command files and "
            << captures << " sample captures from " << examples.string() << " into " << directory
            << '\n';
  if (captures == 0) {
    // A source tree holds the captures only once they are made from their
    // hex dumps; an installed one always has them.
    const fs::path maker = examples.parent_path() / "tools" / "make_sample_captures.sh";
    std::cout << "zav: " << (examples / "captures").string() << " holds no captures yet; "
              << (fs::is_regular_file(maker, error)
                      ? "make them with: " + maker.string() + " " + (target / "captures").string()
                      : "put yours in " + (target / "captures").string())
              << '\n';
  }
  std::cout << "Start ZAV there with: zav -C " << directory << '\n';
  return 0;
}

}  // namespace zav
