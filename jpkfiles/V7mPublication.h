// Files in the earlier publication of JPK_V7M(2) (namespace 07081): the same structure as
// the current one (11148) under another namespace. They are opened as JPK_V7M(2) and saved
// in the current publication.
#pragma once

#include "model/v7m/JpkV7.h"

namespace velkar {

inline constexpr const char* kEarlierV7mPublicationMessage =
    "Plik zapisano we wcześniejszej publikacji struktury JPK_V7M (2) (07081). Zostanie zapisany w obowiązującej "
    "publikacji (11148).";

// When the root of `doc` is in the 07081 namespace, every declaration of that namespace in
// the document (the default one and any prefix bound to it) is given the 11148 namespace,
// the document is marked modified (it no longer matches its file) and the result is true.
// Any other document is left as it is (false).
bool RenameEarlierV7mPublication(const v7m::IXMLJPK& doc);

// RenameEarlierV7mPublication, and kEarlierV7mPublicationMessage through the UI port when
// the document was renamed.
bool OpenEarlierV7mPublication(const v7m::IXMLJPK& doc);

}  // namespace velkar
