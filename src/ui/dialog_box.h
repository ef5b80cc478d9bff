// DialogBox: a window with the OK and Cancel rules. Enter presses the
// default button (or sends OK), Escape and the close box send Cancel; OnOK
// and OnCancel end the dialog when its "WantOK" / "WantCancel" allow it,
// and classes override them to check their input first. A dialog box runs
// modelessly (EndDialog destroys it) or modally (RunModal returns the
// identifier it ended with).
#pragma once

#include <cstdint>

#include "ui/window.h"

// The platform's headers define DialogBox as a macro; files that include
// them before this one get the class back.
#ifdef DialogBox
#undef DialogBox
#endif

namespace vorn {

enum class WantSetting : uint8_t { kNotGiven = 0, kFalse = 1, kTrue = 2 };

class DialogBox : public Window {
 public:
  DialogBox() noexcept;

  const char16_t* TypeName() const noexcept override { return u"DialogBox"; }
  // The window base's attributes, then "WantOK" and "WantCancel".
  Result ReadDescription(const XmlElement* element) noexcept override;
  // "Popup", "StatusPopup", "SimplePopup", "ThinPopup", or the window
  // base's types; 5 for anything else.
  Result ReadType(const char16_t* type) noexcept override;

  WantSetting WantOK() const noexcept { return want_ok_; }
  WantSetting WantCancel() const noexcept { return want_cancel_; }
  void SetWantOK(WantSetting want) noexcept { want_ok_ = want; }
  void SetWantCancel(WantSetting want) noexcept { want_cancel_ = want; }
  // The button that Enter presses (0: none).
  WindowId DefaultButton() const noexcept { return default_button_; }
  void SetDefaultButton(WindowId id) noexcept { default_button_ = id; }
  WindowId DialogResult() const noexcept { return result_; }
  bool IsModal() const noexcept { return modal_; }
  bool IsEnded() const noexcept { return ended_; }

  // A child with identifier 1, 2, "OK" or "Cancel", or an enabled close
  // item in the system menu.
  bool CanBeCancelled() const noexcept;
  // Whether a close request (or Escape) ends the dialog.
  bool AcceptsClose() const noexcept;
  bool EndsOnOK() const noexcept;
  bool EndsOnCancel() const noexcept;

  // The defaults end the dialog with "OK" / "Cancel" when the rules allow.
  virtual void OnOK() noexcept;
  virtual void OnCancel() noexcept;
  // Asks MayClose first; stores the result; a modal dialog stops its loop,
  // a modeless one destroys its window.
  void EndDialog(WindowId result) noexcept;
  // Creates the dialog owned by `owner` (disabled meanwhile), runs its
  // messages until it ends and destroys it. Gives the result identifier,
  // or kNoWindowId when it could not be created.
  WindowId RunModal(Window* owner) noexcept;

  bool HandleMessage(WindowMessage& message) noexcept override;
  bool PreTranslate(void* platform_message) noexcept override;

 protected:
  // The dialog was destroyed after ending with "OK".
  virtual void OnAccepted() noexcept {}
  void OnClose() noexcept override;
  bool SystemMenuCloseEnabled() const noexcept;

 private:
  void WakeLoop() noexcept;

  WantSetting want_ok_ = WantSetting::kNotGiven;
  WantSetting want_cancel_ = WantSetting::kNotGiven;
  WindowId default_button_ = 0;
  WindowId result_ = 0;
  bool modal_ = false;
  bool ended_ = false;
  bool accepted_pending_ = false;
};

}  // namespace vorn
