// The run of an export in the tests: settings pointing at a temporary Gradmo database,
// the dialog, the scripted UI port, and readers of the written XML (libxml2, independent
// of the program's model).
#pragma once

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/DateTime.h"
#include "base/Paths.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/warehouse/GradmoFixture.h"
#include "tools/ContractorData.h"
#include "tools/db/Session.h"
#include "warehouse/GenFromGradmoDlg.h"

namespace velkar::test {

using Fields = std::vector<std::pair<std::string, std::string>>;

// An element of a written file: its name, text and children, read with libxml2.
struct XNode {
  std::string name, text;
  std::vector<XNode> children;
  // Children named `n`.
  std::vector<const XNode*> All(const std::string& n) const {
    std::vector<const XNode*> out;
    for (const XNode& c : children)
      if (c.name == n) out.push_back(&c);
    return out;
  }
  const XNode* Child(const std::string& n) const {
    for (const XNode& c : children)
      if (c.name == n) return &c;
    return nullptr;
  }
  std::string Text(const std::string& n) const {
    const XNode* c = Child(n);
    return c ? c->text : "(none)";
  }
  // Name and text of every child, in order (for element-by-element comparison).
  Fields Flat() const {
    Fields out;
    for (const XNode& c : children) out.emplace_back(c.name, c.children.empty() ? c.text : "{...}");
    return out;
  }
};

inline XNode ToXNode(xmlNode* node) {
  XNode x{reinterpret_cast<const char*>(node->name), "", {}};
  for (xmlNode* c = node->children; c != nullptr; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) x.children.push_back(ToXNode(c));
    if (c->type == XML_TEXT_NODE) x.text += reinterpret_cast<const char*>(c->content);
  }
  if (!x.children.empty()) x.text.clear();  // indentation between elements
  return x;
}

inline XNode ReadXml(const std::string& file) {
  xmlDoc* doc = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET);
  if (doc == nullptr) {
    ADD_FAILURE() << "cannot read " << file;
    return {};
  }
  XNode root = ToXNode(xmlDocGetRootElement(doc));
  xmlFreeDoc(doc);
  return root;
}

class ExportTest : public ::testing::Test {
 protected:
  // A main window of its own, so the save dialog starts without a name in every test.
  ExportTest() : scope_(Company()) { SetMainForm(&mainForm); }
  ~ExportTest() override {
    UsersIsSingle = false;
    SetMainForm(nullptr);
  }

  ProgramSettings Company() {
    ProgramSettings s = CompanySettings();
    s.QorDataDir = dir.Path();
    s.UserDir = dir.Path();
    s.SaveDir = dir.Path();
    s.AddressLine = "00-001 Warszawa, Prosta 1/2";
    s.SalesDocumentClasses = MakeSalesDocumentClasses(false);
    s.CurDate = {2024, 1, 10};
    return s;
  }

  // Runs "Generuj" for March 2024 in `format`, answering the save question with `save`
  // and the save dialog with `file` (when saving).
  void Run(const std::string& format, bool save, const std::string& file) {
    dlg.FormShow();
    dlg.dtp.Date = "2024-03-01";
    dlg.cbToFormat.Text = format;
    ui.QueueAnswer(save ? Answer::Yes : Answer::No);
    if (save) ui.QueueFileName(file);
    dlg.btnDoItClick();
  }

  TempDir dir;
  TaxpayerScope scope_;
  TMainForm mainForm;
  ScriptedUi ui;
  db::Session session;
  TGenFromGradmoDlg dlg{&session};
  GradmoDb db;
};

// A register entry of a sale at 23 % (the payer is the contractor).
inline GReg SaleReg(long long user, double value, double net22, double tax22, long long flags = 0) {
  GReg r;
  r.flags = flags;
  r.user = r.payer = user;
  r.value = value;
  r.value22 = net22;
  r.tax22 = tax22;
  r.totalTax = tax22;
  return r;
}

// Contractors with valid NIPs and Polish letters.
inline GCard Customer(long long number, long long payer = 0) {
  return {number, "KLIENT" + std::to_string(number), "Hurtownia „Żuraw” nr " + std::to_string(number), "7255260182",
          "ul. Piotrkowska", "112", "90-006", "Łódź", payer};
}
inline GCard Supplier(long long number) {
  return {number, "DOST", "Dostawca Łęczyca Sp. z o.o.", "5213000015", "ul. Długa", "5", "00-950", "Warszawa", 0};
}

}  // namespace velkar::test
