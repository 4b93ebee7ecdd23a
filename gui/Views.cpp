// Every tool window's view, registered by the window's class name.
#include "gui/Views.h"

#include "gui/QtUi.h"

namespace velkar::gui {

void RegisterViews() {
  // Each tool window adds its view here as it is built.
}

}  // namespace velkar::gui
