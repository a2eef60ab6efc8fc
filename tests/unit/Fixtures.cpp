// Shared fixtures of the native suite.
#include "Fixtures.h"

#include "medgen/Bitmap.h"

namespace foyer::test {

std::string MemorySink::Full(const std::string& relPath) const {
  return relPath.empty() ? FTop : FTop + "\\" + relPath;
}

void MemorySink::MakeDir(const std::string& relPath) {
  FFs.MakeDir(Full(relPath));
}

void MemorySink::WriteFile(const std::string& relPath, const std::string& bytes) {
  FFs.WriteFile(Full(relPath), bytes);
}

void MemorySink::SetHidden(const std::string& relPath) {
  const std::string path = Full(relPath);
  FFs.SetAttributes(path, FFs.GetAttributes(path) | faHidden);
}

std::string SolidBmp(int width, int height, uint32_t color) {
  const medgen::Rgb rgb{static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                        static_cast<uint8_t>(color)};
  return medgen::MakeBmp24(medgen::Image(width, height, rgb));
}

}  // namespace foyer::test
