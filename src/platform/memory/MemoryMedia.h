// A media control interface and a program starter that record what they are asked and answer as
// a test tells them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace foyer {

class MemoryMedia final : public IMedia {
 public:
  uint32_t SendCommand(MciCommand& command) override;
  bool ErrorText(uint32_t error, std::string& text) override;

  // Every command in the order it was sent, with its answer.
  std::vector<MciCommand> Commands;
  // Opens of this file fail with the error (a corrupt or missing file).
  std::map<std::string, uint32_t> RefusedFiles;
  // Every command of this kind fails with the error; 0 for none.
  std::map<uint32_t, uint32_t> FailingMessages;
  // The interface's texts; a code without one has no text.
  std::map<uint32_t, std::string> Texts{
      {275, "Cannot find the specified file. Make sure the path and filename are correct."},
      {296,
       "The specified file cannot be played on the specified MCI device. The file may be "
       "corrupt, not in the correct format, or no file handler available for this format."}};
  // The devices open now.
  std::vector<uint32_t> OpenDevices;

 private:
  uint32_t FNextDevice = 1;
};

class MemoryPrograms final : public IPrograms {
 public:
  uint32_t Start(const ProgramStart& program) override {
    Started.push_back(program);
    return Result;
  }
  uint32_t StartElevated(const ProgramStart& program) override {
    StartedElevated.push_back(program);
    return ElevatedResult;
  }

  // Every start and every elevating start, in order.
  std::vector<ProgramStart> Started;
  std::vector<ProgramStart> StartedElevated;
  // What every start answers: kErrElevationRequired for a program that asks for administrator
  // rights.
  uint32_t Result = kErrNone;
  // What every elevating start answers: kErrCancelled for a user who declines the prompt.
  uint32_t ElevatedResult = kErrNone;
};

}  // namespace foyer
