// A file system that passes every call on to another and counts the calls by kind: what a
// piece of the program asks of the medium, each call a seek on a disc.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace foyer {

struct FileSystemCalls {
  uint64_t Enumerations = 0;
  uint64_t Tests = 0;  // FileExists and DirExists
  uint64_t Opens = 0;
  uint64_t Reads = 0;
  uint64_t Other = 0;

  uint64_t Total() const { return Enumerations + Tests + Opens + Reads + Other; }
};

class CountingFileSystem final : public IFileSystem {
 public:
  explicit CountingFileSystem(IFileSystem& inner) : FInner(inner) {}

  const FileSystemCalls& Calls() const { return FCalls; }
  void Reset() { FCalls = {}; }

  FindResult Enumerate(const std::string& pattern) override {
    ++FCalls.Enumerations;
    return FInner.Enumerate(pattern);
  }
  bool FileExists(const std::string& path) override {
    ++FCalls.Tests;
    return FInner.FileExists(path);
  }
  bool DirExists(const std::string& path) override {
    ++FCalls.Tests;
    return FInner.DirExists(path);
  }
  uint32_t CreateDir(const std::string& path) override {
    ++FCalls.Other;
    return FInner.CreateDir(path);
  }
  uint32_t CopyFile(const std::string& source, const std::string& target, bool failIfExists,
                    ICopyChunks* chunks = nullptr) override {
    ++FCalls.Other;
    return FInner.CopyFile(source, target, failIfExists, chunks);
  }
  uint32_t ReplaceFile(const std::string& replaced, const std::string& replacement) override {
    ++FCalls.Other;
    return FInner.ReplaceFile(replaced, replacement);
  }
  uint32_t DeleteFile(const std::string& path) override {
    ++FCalls.Other;
    return FInner.DeleteFile(path);
  }
  std::unique_ptr<IReadFile> OpenRead(const std::string& path, uint32_t& error) override {
    ++FCalls.Opens;
    std::unique_ptr<IReadFile> file = FInner.OpenRead(path, error);
    if (!file) return nullptr;
    return std::make_unique<CountedFile>(std::move(file), FCalls);
  }
  std::string GetCurrentDir(char drive = 0) override {
    ++FCalls.Other;
    return FInner.GetCurrentDir(drive);
  }
  uint32_t SetCurrentDir(const std::string& path) override {
    ++FCalls.Other;
    return FInner.SetCurrentDir(path);
  }
  // Reckoned from the path and the current folders, without a look at the medium.
  std::string FullPath(const std::string& path) override { return FInner.FullPath(path); }
  std::vector<DriveInfo> Drives() override {
    ++FCalls.Other;
    return FInner.Drives();
  }
  DriveInfo DriveOf(char letter) override {
    ++FCalls.Other;
    return FInner.DriveOf(letter);
  }

 private:
  class CountedFile final : public IReadFile {
   public:
    CountedFile(std::unique_ptr<IReadFile> inner, FileSystemCalls& calls)
        : FInner(std::move(inner)), FCalls(calls) {}
    uint32_t Read(void* buffer, size_t count, size_t& got) override {
      ++FCalls.Reads;
      return FInner->Read(buffer, count, got);
    }
    uint64_t Size() const override { return FInner->Size(); }
    uint32_t Seek(uint64_t position) override {
      ++FCalls.Other;
      return FInner->Seek(position);
    }

   private:
    std::unique_ptr<IReadFile> FInner;
    FileSystemCalls& FCalls;
  };

  IFileSystem& FInner;
  FileSystemCalls FCalls;
};

}  // namespace foyer
