// A recording stand-in for the dialog's window. It logs into the platform fake's list, so one
// list shows the order of everything the dialog asked for.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/settings_dialog_host.h"

namespace quillmere::testing {

class FakeDialogHost final : public platform::SettingsDialogHost {
 public:
  using Control = platform::DialogControl;
  explicit FakeDialogHost(std::vector<std::string>& log) : log_(log) {}

  platform::WindowHandle window = 0x7001;
  std::vector<std::array<std::int64_t, 3>> lines;  // y, width, colour
  std::map<std::pair<Control, std::int32_t>, platform::DialogPicture> pictures;
  std::function<void()> on_dispatch;  // messages that arrive during the yield

  // One character per mark: '+' option-on, '-' option-off, '.' nothing shown.
  std::string Marks(Control control, std::int32_t count) {
    std::string marks;
    for (std::int32_t i = 0; i < count; ++i) marks += ".+-????"[static_cast<int>(pictures[{control, i}])];
    return marks;
  }

  platform::WindowHandle Window() override { return window; }
  void DrawBackgroundLine(std::int32_t y, std::int32_t w, std::uint32_t rgb) override { lines.push_back({y, w, rgb}); }
  void CopyTextureTile(Control panel, std::int32_t x, std::int32_t y) override {
    Log("Tile(" + Name(panel) + "," + std::to_string(x) + "," + std::to_string(y) + ")");
  }
  void ShowPicture(Control control, std::int32_t index, platform::DialogPicture picture) override {
    pictures[{control, index}] = picture;
    const char* names[] = {"None", "On", "Off", "Released", "Pressed", "ExitReleased", "ExitPressed"};
    Log("Show(" + Name(control) + "," + std::to_string(index) + "," + names[static_cast<int>(picture)] + ")");
  }
  void SetLabelText(Control control, std::int32_t index, std::string_view text) override {
    Log("Label(" + Name(control) + "," + std::to_string(index) + "," + std::string(text) + ")");
  }
  void SetSliderPosition(std::int32_t index, std::int32_t value) override {
    Log("Slider(" + std::to_string(index) + "," + std::to_string(value) + ")");
  }
  void MoveWindowTop(std::int32_t top) override { Log("MoveTop(" + std::to_string(top) + ")"); }
  void MoveWindowLeft(std::int32_t left) override { Log("MoveLeft(" + std::to_string(left) + ")"); }
  void DispatchPending() override { Log("DispatchPending"); if (on_dispatch) on_dispatch(); }
  void Destroy() override { Log("Destroy"); }
  void TellSettingsNotSaved() override { Log("TellSettingsNotSaved"); }

 private:
  static std::string Name(Control control) {
    const char* names[] = {"Image1", "Label9", "ImgExit", "Pic_a", "Pic_b", "lbl", "lbl_URL", "Img_Set", "lbl_Set",
                           "Img_Can", "lbl_Can", "Img_Ptn", "Pic_Ptn", "lbl_Ptn", "HS", "lbl_HS", "Img_Sync", "lbl_Sync"};
    return names[static_cast<int>(control)];
  }
  void Log(std::string call) { log_.push_back(std::move(call)); }
  std::vector<std::string>& log_;
};

}  // namespace quillmere::testing
