// Errors raised by the XML layer: parse and structure errors, value conversions and casts
// of a generic node to a typed one. All carry a Polish (or quoted) message.
#pragma once

#include "base/Error.h"

namespace velkar::xml {

// A text that is not a number, a whole number or a truth value where the property needs one.
class EConvertError : public Error {
 public:
  using Error::Error;
};

// A generic node cast to a typed node of another element.
class EIntfCastError : public Error {
 public:
  using Error::Error;
};

// Everything else the XML layer reports: parse errors, unsafe input, missing nodes with
// automatic creation off, stale or empty node references, failed saves.
class EXMLDocError : public Error {
 public:
  using Error::Error;
};

}  // namespace velkar::xml
