// Toolkit-neutral controls: the state of a window's widgets, named as the program names
// them, so that every caption, colour and enabled state is checked without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkar {

// Colours the windows use, as 0xRRGGBB.
enum class Color : std::uint32_t {
  BtnFace = 0xF0F0F0,  // dialog face (a read-only edit)
  Window = 0xFFFFFF,   // an editable field
  Red = 0xFF0000,
  MoneyGreen = 0xC0DCC0,
  WindowText = 0x000000,
};

struct Control {
  explicit Control(std::string name = {}, std::string caption = {}) : Name(std::move(name)), Text(std::move(caption)) {}
  std::string Name;
  std::string Text;  // caption of a button / label / check box, text of an edit
  bool Enabled = true;
  bool Visible = true;
  bool ReadOnly = false;
  Color BackColor = Color::Window;
  Color FontColor = Color::WindowText;
  bool Bold = false;
  std::string Hint;
  bool ShowHint = false;
};

using TButton = Control;
using TLabel = Control;
using TEdit = Control;

struct TCheckBox : Control {
  using Control::Control;
  bool Checked = false;
};

using TRadioButton = TCheckBox;

struct TComboBox : Control {
  using Control::Control;
  std::vector<std::string> Items;
  int ItemIndex = -1;
};

struct TDateTimePicker : Control {
  using Control::Control;
  std::string Date;  // yyyy-MM-dd
};

}  // namespace velkar
