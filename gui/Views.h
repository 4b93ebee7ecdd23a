// Registration of the Qt views of the program's tool windows.
#pragma once

namespace velkar::gui {

void RegisterViews();

}  // namespace velkar::gui
