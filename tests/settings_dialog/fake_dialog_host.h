// A recording stand-in for the dialog's window: what it was asked to show, in order.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/settings_dialog_host.h"

namespace quillmere::testing {

class FakeDialogHost final : public platform::SettingsDialogHost {
 public:
  using Key = std::pair<platform::DialogControl, std::int32_t>;

  platform::WindowHandle window = 0x7001;
  std::vector<std::pair<std::int32_t, std::uint32_t>> background_lines;  // y, colour
  std::vector<std::tuple<platform::DialogControl, std::int32_t, std::int32_t>> tile_copies;
  std::map<Key, platform::DialogPicture> pictures;
  std::map<Key, std::string> texts;
  std::map<std::int32_t, std::int32_t> slider_positions;
  std::vector<std::string> calls;
  // Run inside DispatchPending, standing in for messages that arrive during the yield.
  std::function<void()> on_dispatch;

  platform::DialogPicture Picture(platform::DialogControl control, std::int32_t index) const {
    auto found = pictures.find({control, index});
    return found == pictures.end() ? platform::DialogPicture::None : found->second;
  }
  std::string Text(platform::DialogControl control, std::int32_t index) const {
    auto found = texts.find({control, index});
    return found == texts.end() ? std::string() : found->second;
  }

  platform::WindowHandle Window() override { return window; }
  void DrawBackgroundLine(std::int32_t y, std::int32_t, std::uint32_t colour) override {
    background_lines.emplace_back(y, colour);
  }
  void CopyTextureTile(platform::DialogControl panel, std::int32_t x, std::int32_t y) override {
    tile_copies.emplace_back(panel, x, y);
  }
  void ShowPicture(platform::DialogControl control, std::int32_t index,
                   platform::DialogPicture picture) override {
    pictures[{control, index}] = picture;
    calls.push_back("ShowPicture");
  }
  void SetLabelText(platform::DialogControl control, std::int32_t index,
                    std::string_view text) override {
    texts[{control, index}] = std::string(text);
    calls.push_back("SetLabelText(" + std::to_string(index) + "," + std::string(text) + ")");
  }
  void SetSliderPosition(std::int32_t index, std::int32_t value) override {
    slider_positions[index] = value;
    calls.push_back("SetSliderPosition(" + std::to_string(index) + "," + std::to_string(value) + ")");
  }
  void MoveWindowTop(std::int32_t top) override { calls.push_back("MoveTop(" + std::to_string(top) + ")"); }
  void MoveWindowLeft(std::int32_t left) override {
    calls.push_back("MoveLeft(" + std::to_string(left) + ")");
  }
  void DispatchPending() override {
    calls.push_back("DispatchPending");
    if (on_dispatch) on_dispatch();
  }
  void Destroy() override { calls.push_back("Destroy"); }
  void TellSettingsNotSaved() override { calls.push_back("TellSettingsNotSaved"); }
};

}  // namespace quillmere::testing
