// The window behind a windowed component: owns the window, routes its messages, applies the
// properties every kind of window shares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32/WinApi.h"
#include "toolkit/Component.h"
#include "toolkit/win32/GdiHandles.h"

namespace foyer {

class FontCache;

// What the peers share from their backend.
struct PeerContext {
  HINSTANCE Instance;
  FontCache& Fonts;
};

class WindowPeer : public IWindowPeer {
 public:
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  HWND Handle() const { return FHandle; }
  // Sends a message to the window and returns its answer.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(FHandle, message, wParam, lParam);
  }
  TWinControl& Control() const { return FControl; }
  // The peer of a window this program made, or null.
  static WindowPeer* FromHandle(HWND window);
  // The peer bound to a control, or null.
  static WindowPeer* Of(const TWinControl& control);

  void Changed(TChange what, int32_t index) override;
  void InvalidateArea(const TRect& area) override;
  void Update() override;
  void GraphicChanged(TGraphicControl& control, TChange what) override;

  // Where a child's position (relative to this control's top-left) puts it in this window's
  // client area.
  virtual TPoint ChildOffset() const;
  // Moves the window to its control's bounds; the parent's borders and negative sizes are taken
  // care of.
  void ApplyBounds();
  // Whether this window, while it has the focus, keeps a key that its form would otherwise take
  // as a dialog key (Enter, Escape): an editable memo keeps Enter, an open drop-down list both.
  virtual bool TakesKey(WPARAM) const { return false; }

 protected:
  WindowPeer(const PeerContext& context, TWinControl& control);

  // Registers a window class of this program's, once per process; a class of top-level windows
  // takes the program's icon (the resource kIconName) when the program has one.
  void RegisterClassOnce(const std::string& name, UINT style, bool withIcon = false) const;
  // Creates a window of a class this program registered; its messages reach HandleMessage from
  // the first WM_NCCREATE on.
  void CreateOwnWindow(DWORD exStyle, const std::string& className, const std::string& title,
                       DWORD style, int x, int y, int width, int height, HWND parent);
  // Takes over a window of a system class, whose messages stay with the system; the parent
  // reflects its notifications to Reflected.
  void AdoptWindow(HWND window);
  // Puts a new window of a system class in the place of this one (styles that the system reads
  // only at creation changed): the new one takes the old one's place in the z-order and its
  // focus, and the old one is destroyed.
  void ReplaceWindow(HWND window);

  // A message to a window of a class this program registered; runs inside the error handler.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A notification or colour request the parent got about this window; none: not handled.
  virtual std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam);
  // Paints the client area, or the part of it given, into any DC (a window of this program's
  // own class that paints itself overrides it).
  virtual void Paint(HDC dc, const RECT& area);
  // WM_ERASEBKGND, WM_PAINT and WM_PRINTCLIENT, all through Paint; none of them: not handled.
  std::optional<LRESULT> HandlePaintMessage(UINT message, WPARAM wParam);
  // WM_SYSCOLORCHANGE, and WM_SETTINGCHANGE for high contrast, to a top-level window: its
  // windows take the new colours and are painted again. None of them: not handled.
  std::optional<LRESULT> HandleColorChange(UINT message, WPARAM wParam, LPARAM lParam);
  // Hands what a child window tells its parent back to the child's peer.
  std::optional<LRESULT> ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  // For windows of system classes: hands them the control's font, or the face that shows the
  // text when the font has no glyphs for some of it. Sends nothing when the window has it.
  void SendFont(const std::string& text = {});
  // The colours a system control asks for (WM_CTLCOLOR*): the control's own and its font's, or
  // in high contrast the theme's window colours. A system colour's brush is the system's, which
  // follows the theme; a brush of another colour is made anew when the colour changed.
  void MakeBackground();
  LRESULT ColorReply(WPARAM dc) const;
  // The window's text, of any length.
  std::string WindowText() const;
  const PeerContext& Context() const { return FContext; }
  HWND ParentHandle() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND window);
  void Detach();

  PeerContext FContext;
  TWinControl& FControl;
  HWND FHandle = nullptr;
  GdiBrush FBackground;
  HFONT FSentFont = nullptr;
};

}  // namespace foyer
