// The dialog's window, logging into the platform fake's list: one list shows the order of
// everything.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/settings_dialog_host.h"
#include "tests/fake_platform.h"

namespace quillmere::testing {

class FakeDialogHost final : public platform::SettingsDialogHost {
 public:
  using Control = platform::DialogControl;
  using I32 = std::int32_t;
  explicit FakeDialogHost(FakePlatform& system) : system_(system) {}

  platform::WindowHandle window = 0x7001;
  std::vector<std::array<std::int64_t, 3>> lines;  // y, width, colour
  std::map<std::pair<Control, I32>, platform::DialogPicture> pictures;
  std::function<void()> on_dispatch;  // messages that arrive during the yield

  // One character per mark: '+' option-on, '-' option-off, '.' nothing shown.
  std::string Marks(Control control, I32 count) {
    std::string marks;
    for (I32 i = 0; i < count; ++i) marks += ".+-????"[static_cast<int>(pictures[{control, i}])];
    return marks;
  }

  platform::WindowHandle Window() override { return window; }
  void DrawBackgroundLine(I32 y, I32 w, std::uint32_t rgb) override {
    lines.push_back({y, w, rgb});
  }
  void CopyTextureTile(Control panel, I32 x, I32 y) override {
    system_.Log("Tile", Name(panel), x, y);
  }
  void ShowPicture(Control control, I32 index, platform::DialogPicture picture) override {
    pictures[{control, index}] = picture;
    const char* names[] = {"None",    "On",           "Off",        "Released",
                           "Pressed", "ExitReleased", "ExitPressed"};
    system_.Log("Show", Name(control), index, names[static_cast<int>(picture)]);
  }
  void SetLabelText(Control control, I32 index, std::string_view text) override {
    system_.Log("Label", Name(control), index, text);
  }
  void SetSliderPosition(I32 index, I32 value) override { system_.Log("Slider", index, value); }
  void MoveWindowTop(I32 top) override { system_.Log("MoveTop", top); }
  void MoveWindowLeft(I32 left) override { system_.Log("MoveLeft", left); }
  void DispatchPending() override {
    system_.Log("DispatchPending");
    if (on_dispatch) on_dispatch();
  }
  void Destroy() override { system_.Log("Destroy"); }
  void TellSettingsNotSaved() override { system_.Log("TellSettingsNotSaved"); }

 private:
  static std::string Name(Control control) {
    const char* names[] = {"Image1",  "Label9",  "ImgExit", "Pic_a",   "Pic_b",    "lbl",
                           "lbl_URL", "Img_Set", "lbl_Set", "Img_Can", "lbl_Can",  "Img_Ptn",
                           "Pic_Ptn", "lbl_Ptn", "HS",      "lbl_HS",  "Img_Sync", "lbl_Sync"};
    return names[static_cast<int>(control)];
  }
  FakePlatform& system_;
};

}  // namespace quillmere::testing
