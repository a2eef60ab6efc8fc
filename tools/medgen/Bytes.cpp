// Appends integers to byte strings in the byte orders that file formats use.
#include "medgen/Bytes.h"

#include <stdexcept>

namespace foyer::medgen {

namespace {

uint8_t ByteAt(const std::string& in, size_t offset) {
  return static_cast<uint8_t>(in.at(offset));
}

}  // namespace

void PutU16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, static_cast<uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<uint16_t>(value >> 16));
}

void PutBE16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value & 0xFF));
}

void PutBE32(std::string& out, uint32_t value) {
  PutBE16(out, static_cast<uint16_t>(value >> 16));
  PutBE16(out, static_cast<uint16_t>(value & 0xFFFF));
}

void PatchU32(std::string& out, size_t offset, uint32_t value) {
  if (offset + 4 > out.size()) throw std::out_of_range("PatchU32 past the end");
  for (int i = 0; i < 4; ++i)
    out[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint16_t GetU16(const std::string& in, size_t offset) {
  return static_cast<uint16_t>(ByteAt(in, offset) | (ByteAt(in, offset + 1) << 8));
}

uint32_t GetU32(const std::string& in, size_t offset) {
  return GetU16(in, offset) | (static_cast<uint32_t>(GetU16(in, offset + 2)) << 16);
}

uint16_t GetBE16(const std::string& in, size_t offset) {
  return static_cast<uint16_t>((ByteAt(in, offset) << 8) | ByteAt(in, offset + 1));
}

uint32_t GetBE32(const std::string& in, size_t offset) {
  return (static_cast<uint32_t>(GetBE16(in, offset)) << 16) | GetBE16(in, offset + 2);
}

uint32_t SizeU32(size_t size) {
  // Two shifts, because one by 32 is undefined where size_t has 32 bits.
  if ((size >> 16 >> 16) != 0) throw std::length_error("a size does not fit in 32 bits");
  return static_cast<uint32_t>(size);
}

}  // namespace foyer::medgen
