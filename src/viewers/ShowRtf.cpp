// The rich-text viewer.
#include "viewers/ShowRtf.h"

#include <limits>

#include "platform/Platform.h"
#include "util/Checked.h"
#include "util/Errors.h"
#include "util/Path.h"
#include "viewers/RichTextStream.h"

namespace foyer {

TShowRtfForm* ShowRtfForm = nullptr;

TShowRtfForm::TShowRtfForm() {
  SetName("ShowRtfForm");
  SetCaption("ShowRtfForm");
  SetDesignPixelsPerInch(120);
  SetScaledFont({"MS Sans Serif", -13, clWindowText});
  SetPosition(TPosition::Designed);
  SetBounds(Scaled(280), Scaled(143), Scaled(573), Scaled(449));

  PopupMenu1 = Create<TPopupMenu>();
  PopupMenu1->SetName("PopupMenu1");
  Copy1 = PopupMenu1->Add("Copy1", "Copy");
  Copy1->OnClick = Handler(this, &TShowRtfForm::Copy1Click);
  Selectall1 = PopupMenu1->Add("Selectall1", "Select all");
  Selectall1->OnClick = Handler(this, &TShowRtfForm::Selectall1Click);

  // Created in tab order: the document, then the button.
  Memo1 = Create<TRichEdit>(this);
  Memo1->SetName("Memo1");
  Memo1->SetPopupMenu(PopupMenu1);
  Memo1->OnSelectionChange = Handler(this, &TShowRtfForm::Memo1SelectionChange);
  // The document has the focus, so the arrows, Page Up and Down and Ctrl+C work at once.
  SetActiveControl(Memo1);

  Button1 = Create<TButton>(this);
  Button1->SetName("Button1");
  Button1->SetCaption("OK");
  // Escape presses it, as it closes the text viewer.
  Button1->SetCancel(true);
  Button1->SetModalResult(mrOk);
  Button1->OnClick = Handler(this, &TShowRtfForm::Button1Click);
  // Tabbed to the button, the scrolling keys still move the document.
  SetScrollTarget(Memo1);

  OnCreate = Handler(this, &TShowRtfForm::FormCreate);
  OnResize = Handler(this, &TShowRtfForm::FormResize);
  FormResize(this);
}

void TShowRtfForm::FormCreate(TComponent*) {
  Memo1SelectionChange(this);
}

void TShowRtfForm::FormResize(TComponent*) {
  const int32_t w = ClientWidth();
  const int32_t h = ClientHeight();
  Memo1->SetBounds(Scaled(8), Scaled(8), CheckedSub(w, Scaled(88)), CheckedSub(h, Scaled(16)));
  Button1->SetBounds(CheckedSub(w, Scaled(72)), CheckedSub(h, Scaled(32)), Scaled(64), Scaled(24));
}

void TShowRtfForm::Memo1SelectionChange(TComponent*) {
  Copy1->SetEnabled(Memo1->SelLength() != 0);
}

void TShowRtfForm::Selectall1Click(TComponent*) {
  Memo1->SetSelStart(0);
  Memo1->SetSelLength(std::numeric_limits<int32_t>::max());
}

void TShowRtfForm::Copy1Click(TComponent*) {
  Memo1->CopyToClipboard();
}

void TShowRtfForm::Button1Click(TComponent*) {
  Close();
}

void TShowRtfForm::ShowFile(const std::string& path) {
  SetCaption(NamePart(path));
  {
    uint32_t error = kErrNone;
    const std::unique_ptr<IReadFile> file = Platform().Fs->OpenRead(path, error);
    if (!file) throw EFOpenError(path);
    LoadDocument(*file);
  }  // closed before the viewer shows: other programs may change or delete it meanwhile
  ShowModal();
  // A long document takes many times its size in memory: not kept while the viewer is hidden.
  Memo1->Clear();
}

void TShowRtfForm::LoadDocument(IReadFile& file) {
  // Any name, .txt included, is offered as rich text first.
  TRichTextStream stream(file, TStreamFormat::RichText, Memo1->MaxGroupDepth(),
                         [this](uint64_t bytes) { return Memo1->HasRoomFor(bytes); });
  const TStreamReader read = [&stream](char* buffer, size_t capacity, size_t& got) {
    return stream.Read(buffer, capacity, got);
  };
  if (Memo1->LoadFromStream(read, TStreamFormat::RichText)) return;
  // Bytes that are not rich text, or rich text nested deeper than the control reads, are shown
  // as they are: the reader still sees every word, and the program never refuses a document it
  // can show in some form.
  if (stream.Stopped() != TRichTextStream::TStop::TooLarge &&
      stream.Rewind(TStreamFormat::PlainText) &&
      Memo1->LoadFromStream(read, TStreamFormat::PlainText)) {
    return;
  }
  if (stream.Stopped() == TRichTextStream::TStop::TooLarge) {
    // What the control took so far goes back before the message shows.
    Memo1->Clear();
    throw Exception("The document is too large to show");
  }
  throw Exception("Failed to Load Stream");
}

}  // namespace foyer
