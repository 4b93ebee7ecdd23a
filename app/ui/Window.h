// The base of every window object of the program: a caption, a modal result and the
// hooks its view calls when it is shown and closed.
#pragma once

#include <string>
#include <vector>

namespace velkar {

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class Window {
 public:
  explicit Window(std::string name, std::string caption) : Name(std::move(name)), Caption(std::move(caption)) {
    LiveWindows().push_back(this);
  }
  virtual ~Window() { std::erase(LiveWindows(), this); }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  std::string Name;     // the class name, for example "TJpkVatDlg"
  std::string Caption;  // the title bar
  int ModalResultValue = mrNone;

  // Called by the port before the window appears and when it is asked to close.
  virtual void FormShow() {}
  virtual bool FormCloseQuery() { return true; }

  // Every window object that exists, in the order they were created (the GUI's checks
  // walk all of them, whatever tool created them).
  static std::vector<Window*>& LiveWindows() {
    static std::vector<Window*> windows;
    return windows;
  }
};

}  // namespace velkar
