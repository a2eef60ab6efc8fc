// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when the object goes.
#pragma once

#include <ftw.h>
#include <stdlib.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace foyer::test {

class TempFolder {
 public:
  TempFolder() {
    const char* temp = std::getenv("TMPDIR");
    FPath = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") + "/foyer-XXXXXX";
    if (mkdtemp(FPath.data()) == nullptr) throw std::runtime_error("cannot create " + FPath);
  }
  ~TempFolder() {
    nftw(
        FPath.c_str(), [](const char* path, const struct stat*, int, FTW*) { return remove(path); },
        16, FTW_DEPTH | FTW_PHYS);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

}  // namespace foyer::test
