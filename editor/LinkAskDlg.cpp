// The link-or-new question of the JPK_V7M editor.
#include "editor/LinkAskDlg.h"

namespace velkar {

TdlgLinkAsk::TdlgLinkAsk() : Window("TdlgLinkAsk", "Wczytaj plik jako...") {}

}  // namespace velkar
