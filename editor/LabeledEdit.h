// An edit box with the label shown next to it, so a window's label texts are part of its
// state and checked without a display.
#pragma once

#include <string>

#include "app/ui/Controls.h"

namespace velkar {

struct TLabeledEdit : TEdit {
  TLabeledEdit(std::string name, std::string label) : TEdit(std::move(name)), EditLabel("", std::move(label)) {}
  TLabel EditLabel;
};

// A group box: its caption in Text; disabling it disables what it holds.
using TGroupBox = Control;

}  // namespace velkar
