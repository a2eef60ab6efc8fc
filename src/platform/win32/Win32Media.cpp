// The media control interface and program start of the system.
#include "platform/win32/Win32Media.h"

#include "platform/win32/WinApi.h"

#include <mmsystem.h>

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

uint32_t Win32Programs::Start(const std::string& commandLine, int showCommand) {
  return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}

}  // namespace foyer
