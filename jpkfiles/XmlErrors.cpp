// Catching libxml2's error reports.
#include "jpkfiles/XmlErrors.h"

#include <libxml/globals.h>
#include <libxml/tree.h>

#include <string_view>

#include "base/Text.h"

namespace velkar {

namespace {

// Drops the "{namespace}" libxml2 puts before element names in its messages.
std::string ReadableMessage(const char* text) {
  std::string message = Trim(text ? text : "");
  size_t pos = 0;
  while ((pos = message.find("{http", pos)) != std::string::npos) {
    size_t end = message.find('}', pos);
    if (end == std::string::npos) break;
    message.erase(pos, end - pos + 1);
  }
  // A value outside a long code list (tax offices, countries) would print the whole list.
  constexpr std::string_view kSet = "of the set {";
  size_t set = message.find(kSet);
  if (set != std::string::npos) {
    size_t open = set + kSet.size();
    size_t close = message.find('}', open);
    size_t third = open;
    for (int i = 0; i < 3 && third != std::string::npos; ++i) third = message.find(", ", third + 1);
    if (close != std::string::npos && third != std::string::npos && third < close)
      message.replace(third, close - third, ", ...");
  }
  return message;
}

}  // namespace

void XmlErrorCollector::Handler(void* context, xmlError* error) {
  auto* collector = static_cast<XmlErrorCollector*>(context);
  if (!error || error->level < XML_ERR_ERROR) return;
  XmlProblem problem;
  problem.line = error->line;
  auto* node = static_cast<xmlNode*>(error->node);
  if (node && node->type == XML_ELEMENT_NODE && node->doc) {
    problem.element = reinterpret_cast<const char*>(node->name);
    long line = xmlGetLineNo(node);
    if (line > 0) problem.line = line;
  }
  problem.message = ReadableMessage(error->message);
  collector->problems.push_back(std::move(problem));
}

CollectXmlErrors::CollectXmlErrors(XmlErrorCollector& collector)
    : oldHandler_(xmlStructuredError), oldContext_(xmlStructuredErrorContext) {
  xmlSetStructuredErrorFunc(&collector, XmlErrorCollector::Handler);
}

CollectXmlErrors::~CollectXmlErrors() { xmlSetStructuredErrorFunc(oldContext_, oldHandler_); }

}  // namespace velkar
