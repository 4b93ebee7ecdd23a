// The Sage Symfonia exchange text of the warehouse export.
#pragma once

#include <string>

#include "warehouse/GradmoSource.h"

namespace velkar {

inline constexpr const char* kSymfoniaFile = "Qor2sage.txt";

// The file's text (UTF-8, CR LF line ends) for the documents of the open tables; returns
// how many document blocks it holds. Raises the contractor readers' errors.
int BuildSymfoniaText(GradmoSource& dialog, std::string& text);
// "Qor2sage.txt" in the current working folder.
std::string SymfoniaFileName();
// Writes `fileName` in Windows-1250 (replacing it only when the whole run succeeded) and
// shows the count message when at least one document was written; returns the count.
int MakeSymfoniaFile(GradmoSource& dialog, const std::string& fileName);

}  // namespace velkar
