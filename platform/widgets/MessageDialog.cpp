// The message boxes: a form built for the text, an icon per type and the chosen buttons.
#include <algorithm>

#include "platform/widgets/DialogForm.h"
#include "platform/widgets/Dialogs.h"

namespace qel {

namespace {

struct TButtonInfo {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};
// In the order of TMsgDlgBtn; mbHelp has no entry (no help system to call).
constexpr TButtonInfo kButtons[] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
};

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kTextWidthMax = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;

// The type's picture: a warning triangle, an error disc, an information or a question disc.
class TMessageIcon : public TGraphicControl {
 public:
  TMessageIcon(TComponent* AOwner, TMsgDlgType Type) : TGraphicControl(AOwner), FType(Type) {
    SetBounds(0, 0, kIconSize, kIconSize);
  }
  std::string ClassName() const override { return "TMessageIcon"; }

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    const char* mark = "!";
    if (FType == mtWarning) {
      c->Brush()->SetColor(clYellow);
      TPoint tri[] = {{16, 1}, {31, 30}, {1, 30}};
      c->Polygon(tri);
    } else {
      c->Brush()->SetColor(FType == mtError ? clRed : clBlue);
      c->Ellipse(1, 1, 31, 31);
      mark = FType == mtError ? "X" : FType == mtInformation ? "i" : "?";
    }
    c->Font()->Assign(GetFont());
    c->Font()->SetSize(14);
    c->Font()->SetStyle({fsBold});
    c->Font()->SetColor(FType == mtWarning ? clBlack : clWhite);
    c->Brush()->SetStyle(bsClear);
    TRect r = Rect(0, FType == mtWarning ? 6 : 0, kIconSize, kIconSize);
    DrawText(c, mark, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }

 private:
  TMsgDlgType FType;
};

std::string CaptionOf(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    default:
      return Application->Title;
  }
}

}  // namespace

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  auto* f = new TDialogForm(Application);
  try {
    f->SetName("MessageDialog");
    f->SetCaption(CaptionOf(DlgType));
    int textLeft = kMargin, contentBottom = kMargin;
    if (DlgType != mtCustom) {
      auto* icon = new TMessageIcon(f, DlgType);
      icon->SetName("Image");
      icon->SetParent(f);
      icon->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
      textLeft += kIconSize + kMargin;
      contentBottom = kMargin + kIconSize;
    }
    auto* text = new TLabel(f);
    text->SetName("Message");
    text->SetParent(f);
    text->SetShowAccelChar(false);  // the text is shown as it is, ampersands included
    text->SetLeft(textLeft);
    text->SetTop(kMargin);
    text->SetCaption(Msg);
    if (text->GetWidth() > kTextWidthMax) {
      text->SetWordWrap(true);
      text->SetAutoSize(false);
      text->SetWidth(kTextWidthMax);
      text->SetAutoSize(true);
    }
    // A short text stands in the middle of the icon's height.
    if (DlgType != mtCustom && text->GetHeight() < kIconSize)
      text->SetTop(kMargin + (kIconSize - text->GetHeight()) / 2);
    contentBottom = std::max(contentBottom, text->GetTop() + text->GetHeight());

    std::vector<int> chosen;
    for (int b = mbYes; b <= mbYesToAll; ++b)
      if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) chosen.push_back(b);
    if (chosen.empty()) chosen.push_back(mbOK);
    int rowWidth = static_cast<int>(chosen.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    int width = std::max(text->GetLeft() + text->GetWidth() + kMargin, rowWidth + 2 * kMargin);
    int top = contentBottom + 16;
    int left = (width - rowWidth) / 2;
    auto has = [&chosen](TMsgDlgBtn B) {
      return std::find(chosen.begin(), chosen.end(), static_cast<int>(B)) != chosen.end();
    };
    TMsgDlgBtn def = has(mbOK) ? mbOK : has(mbYes) ? mbYes : static_cast<TMsgDlgBtn>(chosen[0]);
    TMsgDlgBtn cancel = has(mbCancel)                       ? mbCancel
                        : has(mbNo)                         ? mbNo
                        : (chosen.size() == 1 && has(mbOK)) ? mbOK
                                                            : mbHelp;  // none
    for (int b : chosen) {
      const TButtonInfo& info = kButtons[b];
      auto* button = new TButton(f);
      button->SetName(info.Name);
      button->SetParent(f);
      button->SetBounds(left, top, kButtonWidth, kButtonHeight);
      button->SetCaption(info.Caption);
      button->SetModalResult(info.Result);
      button->SetDefault(b == def);
      button->SetCancel(b == cancel);
      if (b == def) f->SetActiveControl(button);
      left += kButtonWidth + kButtonGap;
    }
    f->SetClientWidth(width);
    f->SetClientHeight(top + kButtonHeight + kMargin);
  } catch (...) {
    delete f;
    throw;
  }
  return f;
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int /*HelpCtx*/) {
  std::unique_ptr<TForm> f(CreateMessageDialog(Msg, DlgType, Buttons));
  return f->ShowModal();
}

void ShowMessage(const std::string& Msg) {
  std::unique_ptr<TForm> f(CreateMessageDialog(Msg, mtCustom, {mbOK}));
  f->ShowModal();
}

void InstallErrorDialogHook() {
  if (!Application) return;
  Application->OnShowError = [](const std::string& Message) {
    MessageDlg(Message, mtError, {mbOK});
  };
}

}  // namespace qel
