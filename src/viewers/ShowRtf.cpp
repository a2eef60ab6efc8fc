// The rich-text viewer.
#include "viewers/ShowRtf.h"

#include <limits>
#include <vector>

#include "platform/Platform.h"
#include "util/Checked.h"
#include "util/Errors.h"
#include "util/Path.h"

namespace foyer {

TShowRtfForm* ShowRtfForm = nullptr;

namespace {

// Reads a file with every line break in it (CR alone, LF alone, or CR LF) given as CR LF.
class CrLfReader {
 public:
  explicit CrLfReader(IReadFile& file) : FFile(file), FInput(64 * 1024) {}

  // False when the file could not be read.
  bool Read(char* buffer, size_t capacity, size_t& got) {
    got = 0;
    while (got < capacity) {
      if (FPendingLf) {
        buffer[got++] = '\n';
        FPendingLf = false;
        continue;
      }
      if (FPosition == FEnd && !Refill()) return false;
      if (FPosition == FEnd) break;
      const char c = FInput[FPosition++];
      const bool lfOfCr = FAfterCr && c == '\n';
      FAfterCr = c == '\r';
      if (lfOfCr) continue;
      if (c == '\r' || c == '\n') {
        buffer[got++] = '\r';
        FPendingLf = true;
      } else {
        buffer[got++] = c;
      }
    }
    return true;
  }

  // Back to the start of the file, for a second reading of the same bytes.
  bool Rewind() {
    FPosition = FEnd = 0;
    FAfterCr = FPendingLf = false;
    return FFile.Seek(0) == kErrNone;
  }

 private:
  bool Refill() {
    size_t got = 0;
    if (FFile.Read(FInput.data(), FInput.size(), got) != kErrNone) return false;
    FPosition = 0;
    FEnd = got;
    return true;
  }

  IReadFile& FFile;
  std::vector<char> FInput;
  size_t FPosition = 0;
  size_t FEnd = 0;
  // The last byte read was a CR: an LF right after it belongs to the same line break.
  bool FAfterCr = false;
  // The LF of a CR LF given out is still to come.
  bool FPendingLf = false;
};

}  // namespace

TShowRtfForm::TShowRtfForm() {
  SetName("ShowRtfForm");
  SetCaption("ShowRtfForm");
  SetDesignPixelsPerInch(120);
  SetFont({"MS Sans Serif", -Scaled(13), clWindowText});
  SetPosition(TPosition::Designed);
  PlaceScaled(*this, 280, 143, 573, 449);

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

  Button1 = Create<TButton>(this);
  Button1->SetName("Button1");
  Button1->SetCaption("OK");
  // Escape presses it, as it closes the text viewer.
  Button1->SetCancel(true);
  Button1->SetModalResult(mrOk);
  Button1->OnClick = Handler(this, &TShowRtfForm::Button1Click);

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
  uint32_t error = kErrNone;
  const std::unique_ptr<IReadFile> file = Platform().Fs->OpenRead(path, error);
  if (!file) throw EFOpenError(path);
  CrLfReader reader(*file);
  const TStreamReader read = [&reader](char* buffer, size_t capacity, size_t& got) {
    return reader.Read(buffer, capacity, got);
  };
  // Any name, .txt included, is offered as rich text first.
  if (!Memo1->LoadFromStream(read, TStreamFormat::RichText)) {
    if (!reader.Rewind() || !Memo1->LoadFromStream(read, TStreamFormat::PlainText)) {
      throw Exception("Failed to Load Stream");
    }
  }
  ShowModal();
  // A long document takes many times its size in memory: not kept while the viewer is hidden.
  Memo1->Clear();
}

}  // namespace foyer
