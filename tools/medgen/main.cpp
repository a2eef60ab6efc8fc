// medgen: writes the demonstration medium into a folder.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "medgen/FolderSink.h"
#include "medgen/Medium.h"

namespace {

namespace fs = std::filesystem;
using foyer::medgen::DemoOptions;
using foyer::medgen::FolderSink;

constexpr const char* kUsage =
    "usage: medgen <folder> [--program <exe>] [--foyer <exe>] [--force]\n"
    "  Writes the demonstration medium into <folder> (created if missing).\n"
    "  --program <exe>  a small Windows program offered in the Programs category\n"
    "  --foyer <exe>    the browser, copied to bin.dat\\foyer.exe\n"
    "  --force          clear <folder> first if it is not empty\n";

struct Arguments {
  fs::path Folder;
  fs::path Program;
  fs::path Foyer;
  bool IsForced = false;
};

// A mistake in the command line: reported with the usage text.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Arguments ParseArguments(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--program" || arg == "--foyer") {
      if (i + 1 >= argc) throw UsageError(arg + " needs a file name");
      (arg == "--program" ? args.Program : args.Foyer) = argv[++i];
    } else if (arg == "--force") {
      args.IsForced = true;
    } else if (arg.starts_with("--")) {
      throw UsageError("unknown option " + arg);
    } else if (args.Folder.empty()) {
      args.Folder = arg;
    } else {
      throw UsageError("more than one folder given: " + arg);
    }
  }
  if (args.Folder.empty()) throw UsageError("no folder given");
  return args;
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw std::runtime_error("cannot read " + path.string());
  if (bytes.empty()) throw std::runtime_error(path.string() + " is empty");
  return bytes;
}

// Leaves folder existing and empty, or throws.
void PrepareFolder(const fs::path& folder, bool isForced) {
  if (!fs::exists(folder)) {
    fs::create_directories(folder);
    return;
  }
  if (!fs::is_directory(folder)) throw std::runtime_error(folder.string() + " is not a folder");
  if (fs::is_empty(folder)) return;
  if (!isForced) {
    throw std::runtime_error(folder.string() + " is not empty (--force clears it first)");
  }
  const fs::path absolute = fs::absolute(folder).lexically_normal();
  if (absolute == absolute.root_path()) {
    throw std::runtime_error("refusing to clear the top of a file system: " + folder.string());
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    fs::remove_all(entry.path());
  }
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  try {
    args = ParseArguments(argc, argv);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "medgen: %s\n%s", error.what(), kUsage);
    return 2;
  }
  try {
    DemoOptions options;
    if (!args.Program.empty()) options.ProgramExe = ReadWholeFile(args.Program);
    if (!args.Foyer.empty()) options.FoyerExe = ReadWholeFile(args.Foyer);
    PrepareFolder(args.Folder, args.IsForced);
    FolderSink sink(args.Folder);
    foyer::medgen::WriteDemoMedium(sink, options);
    std::printf("medgen: wrote %d files, %llu bytes to %s\n", sink.FileCount(),
                static_cast<unsigned long long>(sink.ByteCount()), args.Folder.string().c_str());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "medgen: %s\n", error.what());
    return 1;
  }
}
