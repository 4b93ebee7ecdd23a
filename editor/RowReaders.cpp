// Row and position readers over the typed model's nodes.
#include "editor/RowReaders.h"

#include "editor/RowScan.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"

namespace velkar {

std::string ChildText(const xml::TXMLNode& node, std::string_view name) {
  const xmlNode* child = rowscan::FindChild(node.ConstDOMNode(), name);
  if (!child) return {};
  std::string scratch;
  return std::string(rowscan::Text(child, scratch));
}

double ChildAmount(const xml::TXMLNode& node, std::string_view name) {
  return rowscan::Amount(rowscan::FindChild(node.ConstDOMNode(), name));
}

std::int64_t PositionValue(const xml::TXMLNode& positions, std::string_view name) {
  if (name.empty()) return 0;
  std::string position = "P" + std::string(name.substr(1));
  return rowscan::WholeNumber(rowscan::FindChild(positions.ConstDOMNode(), position), kPositionDigits);
}

namespace {

rowscan::RowFields ScanRow(const xml::TXMLNode& row, rowscan::RowKind kind) {
  rowscan::RowFields fields;
  rowscan::Scan(row.ConstDOMNode(), kind, fields);
  return fields;
}

}  // namespace

double SaleNetOfRow(const xml::TXMLNode& row) { return rowscan::SaleNet(ScanRow(row, rowscan::RowKind::Sale)); }
double SaleTaxOfRow(const xml::TXMLNode& row) { return rowscan::SaleTax(ScanRow(row, rowscan::RowKind::Sale)); }
double PurchaseNetOfRow(const xml::TXMLNode& row) {
  return rowscan::PurchaseNet(ScanRow(row, rowscan::RowKind::Purchase));
}
double PurchaseTaxOfRow(const xml::TXMLNode& row) {
  return rowscan::PurchaseTax(ScanRow(row, rowscan::RowKind::Purchase));
}

}  // namespace velkar
