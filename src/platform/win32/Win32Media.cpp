// The media control interface and program start of the system.
#include "platform/win32/Win32Media.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>

#include <vector>

namespace foyer {

namespace {

constexpr const char* kNotifyClass = "TFoyerMediaNotify";

// The window the interface tells when a command with MCI_NOTIFY is done; the program takes no
// action then, so it is a message-only window that lets the message go.
HWND NotifyWindow() {
  static const HWND window = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kNotifyClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kNotifyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }();
  return window;
}

DWORD_PTR CallbackOf(const MciCommand& command) {
  return (command.Flags & kMciNotify) != 0 ? reinterpret_cast<DWORD_PTR>(NotifyWindow()) : 0;
}

}  // namespace

uint32_t Win32Media::SendCommand(MciCommand& command) {
  const DWORD_PTR callback = CallbackOf(command);
  const auto send = [&](auto& params) {
    params.dwCallback = callback;
    return mciSendCommandA(command.DeviceId, command.Message, command.Flags,
                           reinterpret_cast<DWORD_PTR>(&params));
  };
  switch (command.Message) {
    case kMciOpen: {
      MCI_OPEN_PARMSA params{};
      params.lpstrDeviceType = command.DeviceType.c_str();
      params.lpstrElementName = command.Element.c_str();
      const MCIERROR error = send(params);
      command.Answer = params.wDeviceID;
      return error;
    }
    case kMciPlay: {
      MCI_PLAY_PARMS params{};
      return send(params);
    }
    case kMciStatus: {
      MCI_STATUS_PARMS params{};
      params.dwItem = command.Item;
      const MCIERROR error = send(params);
      command.Answer = static_cast<uint32_t>(params.dwReturn);
      return error;
    }
    case kMciGetDevCaps: {
      MCI_GETDEVCAPS_PARMS params{};
      params.dwItem = command.Item;
      const MCIERROR error = send(params);
      command.Answer = params.dwReturn;
      return error;
    }
    case kMciWhere: {
      MCI_ANIM_RECT_PARMS params{};
      return send(params);
    }
    default: {
      MCI_GENERIC_PARMS params{};
      return send(params);
    }
  }
}

bool Win32Media::ErrorText(uint32_t error, std::string& text) {
  std::vector<char> buffer(4096);
  if (!mciGetErrorStringA(error, buffer.data(), static_cast<UINT>(buffer.size()))) return false;
  text = buffer.data();
  return true;
}

uint32_t Win32Programs::Start(const ProgramStart& program) {
  std::string commandLine = "\"" + program.File + "\"";
  if (!program.Parameters.empty()) commandLine += " " + program.Parameters;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(program.ShowCommand);
  PROCESS_INFORMATION started{};
  // The start WinExec makes, called directly: WinExec folds every error code above 31 into 11
  // ("not a program"), among them 740, the one that says the program needs elevation. Without
  // an application name the system starts a batch file through the command interpreter.
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      program.Folder.c_str(), &startup, &started)) {
    return GetLastError();
  }
  const KernelHandle process(started.hProcess);
  const KernelHandle thread(started.hThread);
  // WinExec gave the new program up to 30 s to wait for input, so that its window opens before
  // this one acts on the next click.
  WaitForInputIdle(process.Get(), 30000);
  return kErrNone;
}

uint32_t Win32Programs::StartElevated(const ProgramStart& program) {
  // The shell may hand the start to extensions that need COM on this thread; it stays
  // initialised for the life of the program.
  [[maybe_unused]] static const HRESULT com =
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // The caller reports a failure: the shell shows no error box of its own.
  info.fMask = SEE_MASK_FLAG_NO_UI;
  // The consent prompt comes up in front of the window the user clicked in, not behind it.
  info.hwnd = GetActiveWindow();
  info.lpVerb = "runas";
  info.lpFile = program.File.c_str();
  info.lpParameters = program.Parameters.empty() ? nullptr : program.Parameters.c_str();
  info.lpDirectory = program.Folder.c_str();
  info.nShow = program.ShowCommand;
  if (!ShellExecuteExA(&info)) return GetLastError();
  return kErrNone;
}

}  // namespace foyer
