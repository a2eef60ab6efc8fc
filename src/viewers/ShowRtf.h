// The rich-text viewer: one document, read-only, with copy to the clipboard.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/RichEdit.h"

namespace foyer {

class TShowRtfForm : public TForm {
 public:
  TShowRtfForm();

  TRichEdit* Memo1;
  TButton* Button1;
  TPopupMenu* PopupMenu1;
  TMenuItem* Copy1;
  TMenuItem* Selectall1;

  // Loads the document and shows it modally until the viewer is closed. A document the control
  // does not take as rich text, or nested deeper than it reads, is loaded again as plain text; a
  // document too large for the memory left is refused with a message.
  virtual void ShowFile(const std::string& path);

  void FormCreate(TComponent* sender);
  void FormResize(TComponent* sender);
  void Memo1SelectionChange(TComponent* sender);
  void Selectall1Click(TComponent* sender);
  void Copy1Click(TComponent* sender);
  void Button1Click(TComponent* sender);

 private:
  void LoadDocument(IReadFile& file);
};

extern TShowRtfForm* ShowRtfForm;

}  // namespace foyer
