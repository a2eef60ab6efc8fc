// Appends integers to byte strings in the byte orders that file formats use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace foyer::medgen {

// Little-endian, as in RIFF, BMP and ZIP files.
void PutU16(std::string& out, uint16_t value);
void PutU32(std::string& out, uint32_t value);

// Big-endian, as in MIDI files.
void PutBE16(std::string& out, uint16_t value);
void PutBE32(std::string& out, uint32_t value);

// Overwrites four bytes at offset, for sizes known only after their content is written.
void PatchU32(std::string& out, size_t offset, uint32_t value);

// Reads back what the Put functions wrote; out-of-range reads throw std::out_of_range.
uint16_t GetU16(const std::string& in, size_t offset);
uint32_t GetU32(const std::string& in, size_t offset);
uint16_t GetBE16(const std::string& in, size_t offset);
uint32_t GetBE32(const std::string& in, size_t offset);

// A byte count that a format stores in 32 bits; larger ones throw std::length_error.
uint32_t SizeU32(size_t size);

}  // namespace foyer::medgen
