// Writes a demonstration medium: skins, categories of every kind of content, readmes, previews.
#pragma once

#include <string>

namespace foyer::medgen {

// Where the generator writes; paths are relative to the medium's top folder, with backslashes.
class IMediumSink {
 public:
  virtual ~IMediumSink() = default;
  virtual void MakeDir(const std::string& relPath) = 0;
  virtual void WriteFile(const std::string& relPath, const std::string& bytes) = 0;
  virtual void SetHidden(const std::string& relPath) = 0;
};

}  // namespace foyer::medgen
