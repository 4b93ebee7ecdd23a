// Start of the windowed program: the Qt application, the port, start-up, the main loop.
#include <QApplication>
#include <QScreen>
#include <QStyle>

#include "cli/Main.h"
#include "cli/Program.h"
#include "gui/MainWindowView.h"
#include "gui/QtUi.h"
#include "gui/Views.h"

namespace velkar::cli {

int RunGui(int argc, char** argv, const std::vector<std::string>& startupArgs) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Torvik JPK");
  gui::LoadPolishTranslations(app);
  gui::QtUi ui;
  SetUi(&ui);
  gui::RegisterViews();
  int code = 0;
  {
    Program program;
    try {
      program.Create(startupArgs);
    } catch (const std::exception& error) {
      program.MainForm.AppException(error);
      return 1;
    }
    gui::MainWindowView view(program.MainForm);
    view.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, view.size(),
                                         QApplication::primaryScreen()->availableGeometry()));
    view.show();
    code = QApplication::exec();
  }
  SetUi(nullptr);
  return code;
}

}  // namespace velkar::cli
