// libxml2's error reports caught instead of printed: a scope routes the per-thread
// structured error handler into a list, so messages reach the user in the program's words.
#pragma once

#include <libxml/xmlerror.h>

#include <string>
#include <vector>

namespace velkar {

struct XmlProblem {
  long line = 0;
  std::string element;  // local name of the element concerned, when there is one
  std::string message;  // libxml2's text, "{namespace}" parts removed
};

class XmlErrorCollector {
 public:
  std::vector<XmlProblem> problems;  // errors and fatal errors, in order; warnings are dropped

  // The structured error handler; `context` is the collector.
  static void Handler(void* context, xmlError* error);
};

// While alive, libxml2's errors of this thread go into `collector`.
class CollectXmlErrors {
 public:
  explicit CollectXmlErrors(XmlErrorCollector& collector);
  ~CollectXmlErrors();
  CollectXmlErrors(const CollectXmlErrors&) = delete;
  CollectXmlErrors& operator=(const CollectXmlErrors&) = delete;

 private:
  xmlStructuredErrorFunc oldHandler_;
  void* oldContext_;
};

}  // namespace velkar
