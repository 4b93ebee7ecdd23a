// Gradmo, the warehouse and sales program: documents with their lines, goods and lots,
// and the VAT register, one table per month and one per year.
#include <algorithm>
#include <deque>
#include <map>
#include <tuple>

#include "base/Error.h"
#include "samples/Company.h"
#include "samples/SampleKsef.h"
#include "samples/SampleRandom.h"
#include "samples/SampleTables.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"

namespace velkar::samples {

// The layout without the field "NrKSeF".
static TableDef GradmoRegLayout() {
  return {{{"Class", FieldType::Short},       {"Year", FieldType::Short},         {"MagId", FieldType::Short},
           {"Number", FieldType::Long},       {"Flags", FieldType::Long},         {"Document", FieldType::Alpha, 30},
           {"User", FieldType::Long},         {"Payer", FieldType::Long},         {"Date", FieldType::Date},
           {"SaleDate", FieldType::Date},     {"PayDate", FieldType::Date},       {"GTU", FieldType::Long},
           {"Value", FieldType::Currency},    {"ValueFree", FieldType::Currency}, {"Value0", FieldType::Currency},
           {"Value3", FieldType::Currency},   {"Tax3", FieldType::Currency},      {"Value7", FieldType::Currency},
           {"Tax7", FieldType::Currency},     {"Value22", FieldType::Currency},   {"Tax22", FieldType::Currency},
           {"TotalTax", FieldType::Currency}, {"CostValue", FieldType::Currency}},
          4,
          1250};
}

TableDef GradmoRegTable(bool ksef) { return WithKsefField(GradmoRegLayout(), ksef); }

TableDef GradmoWiTable() {
  return {{{"Type", FieldType::Short},
           {"Year", FieldType::Short},
           {"MagId", FieldType::Short},
           {"Number", FieldType::Long},
           {"Name", FieldType::Alpha, 30},
           {"Date", FieldType::Date},
           {"SaleDate", FieldType::Date},
           {"Options", FieldType::Long},
           {"Flags", FieldType::Long},
           {"Comment", FieldType::Alpha, 80},
           {"MasterType", FieldType::Short},
           {"MasterYear", FieldType::Short},
           {"MasterMagId", FieldType::Short},
           {"MasterNumber", FieldType::Long},
           {"User", FieldType::Long},
           {"PayInfo", FieldType::Short},
           {"PayDelay", FieldType::Short}},
          4,
          1250};
}

TableDef GradmoWtTable() {
  return {{{"Type", FieldType::Short},
           {"Year", FieldType::Short},
           {"MagId", FieldType::Short},
           {"Number", FieldType::Long},
           {"Line", FieldType::Short},
           {"Group", FieldType::Alpha, 10},
           {"Index", FieldType::Alpha, 20},
           {"Series", FieldType::Long},
           {"Quantity", FieldType::Number},
           {"Price", FieldType::Currency},
           {"VAT", FieldType::Short}},
          5,
          1250};
}

TableDef GradmoWTable() {
  return {{{"Group", FieldType::Alpha, 10},
           {"Index", FieldType::Alpha, 20},
           {"Name", FieldType::Alpha, 100},
           {"Unit", FieldType::Alpha, 10}},
          2,
          1250};
}

TableDef GradmoWsTable() {
  return {{{"Group", FieldType::Alpha, 10},
           {"Index", FieldType::Alpha, 20},
           {"SeriesNo", FieldType::Long},
           {"Cost", FieldType::Currency},
           {"Date", FieldType::Date}},
          3,
          1250};
}

namespace {

constexpr int kMag = 1;  // the one warehouse, "Magazyn Główny"

// VAT codes of the warehouse program below zero.
constexpr int kNotSubject = -1;  // "np": supply outside the country
constexpr int kExempt = -2;      // "zw"

// Flags of the register entry.
constexpr int kCostInvoice = 1 << 1;
constexpr int kExcluded = 1 << 3;
constexpr int kReceiptInvoice = 1 << 4;
constexpr int kHalfDeduction = 1 << 6;
constexpr int kSplitPayment = 1 << 7;
constexpr int kTransferPricing = 1 << 8;
constexpr int kZeroRateSupply = 1 << 9;
constexpr int kImport = 1 << 10;
// Options and flags of the warehouse document.
constexpr int kGrossPrices = 1 << 6;
constexpr int kCancelledDocument = 1 << 0;
constexpr int kNoGoodsMovement = 1 << 4;

// The net unit cost of a lot: lot 1 at the catalogue cost, lot 2 four per cent dearer.
double LotCost(const Goods& goods, int series) { return series == 2 ? round2(goods.cost * 1.04) : goods.cost; }

struct Line {
  const Goods* goods = nullptr;
  int series = 0;
  double quantity = 0;
  double price = 0;  // gross unit price of a sale; net unit cost of a receipt, issue or transfer
  int vat = 23;
};

struct Doc {
  int type = 0;
  int year = 0;
  int number = 0;
  std::string name;
  DateTime date, saleDate;
  int options = 0;
  int wiFlags = 0;
  std::string comment;
  int masterType = 0, masterYear = 0, masterNumber = 0;
  int user = 0, payer = 0;
  int payInfo = 2, payDelay = 14;
  std::vector<Line> lines;
  bool inWarehouse = true;
  bool inRegister = true;
  int regFlags = 0;
  int gtu = 0;
  double value = 0, valueFree = 0, value0 = 0, value3 = 0, tax3 = 0, value7 = 0, tax7 = 0, value22 = 0, tax22 = 0;
  double totalTax = 0, costValue = 0;
  std::string ksef, ksefListed;  // KSeF number in the register, or only in the period's list

  auto Key() const { return std::make_tuple(type, year, kMag, number); }
};

// Register amounts of a sale from its lines, as the warehouse program computes them: in
// gross mode the net of a line is taken from its gross value, otherwise from the net
// unit price; the tax of a rate is the gross minus the net, or the rate on the net.
void PriceSale(Doc& d) {
  bool gross = d.options & kGrossPrices;
  std::map<int, std::pair<double, double>> byRate;  // rate -> (net, gross)
  double cost = 0;
  for (const Line& l : d.lines) {
    double lineGross = round2(l.price * l.quantity);
    double net = gross ? GrossToNet(l.vat, lineGross) : round2(GrossToNet(l.vat, l.price) * l.quantity);
    auto& [n, g] = byRate[l.vat];
    n = round2(n + net);
    g = round2(g + lineGross);
    if (!l.goods->service && l.series != 0) cost = round2(cost + round2(l.quantity * LotCost(*l.goods, l.series)));
    d.gtu |= l.goods->gtu;
  }
  for (const auto& [rate, amounts] : byRate) {
    double net = amounts.first;
    double tax = rate > 0 ? (gross ? round2(amounts.second - net) : NetToTax(rate, net)) : 0;
    switch (rate) {
      case 23:
        d.value22 = net, d.tax22 = tax;
        break;
      case 8:
        d.value7 = net, d.tax7 = tax;
        break;
      case 5:
        d.value3 = net, d.tax3 = tax;
        break;
      case 0:
        d.value0 = net;
        break;
      case kExempt:
        d.valueFree = net;
        break;
      default:
        break;  // not subject: only in the total
    }
    d.value = round2(d.value + net + tax);
    d.totalTax = round2(d.totalTax + tax);
  }
  d.costValue = cost;
}

// Register amounts of a receipt from net unit costs.
void PricePurchase(Doc& d) {
  std::map<int, double> net;
  for (const Line& l : d.lines) net[l.vat] = round2(net[l.vat] + round2(l.price * l.quantity));
  double total = 0;
  for (const auto& [rate, n] : net) {
    double tax = NetToTax(rate, n);
    if (rate == 23) d.value22 = n, d.tax22 = tax;
    if (rate == 8) d.value7 = n, d.tax7 = tax;
    if (rate == 5) d.value3 = n, d.tax3 = tax;
    if (rate == 0) d.value0 = n;
    if (rate == kExempt) d.valueFree = n;
    total = round2(total + n);
    d.totalTax = round2(d.totalTax + tax);
  }
  d.value = round2(total + d.totalTax);
  d.costValue = total;
}

// The value at cost of an issue, a transfer or a complementary receipt: its lots' costs.
void PriceAtCost(Doc& d) {
  for (const Line& l : d.lines)
    if (l.series != 0) d.costValue = round2(d.costValue + round2(l.quantity * LotCost(*l.goods, l.series)));
}

class GradmoMonth {
 public:
  GradmoMonth(const DateTime& month, SampleRandom& random, std::map<std::pair<int, int>, int>& counters)
      : month_(month), r_(random), counters_(counters) {}

  Doc& New(int type, int day, const std::string& prefix) {
    Doc d;
    d.type = type;
    d.year = month_.year;
    d.number = ++counters_[{type, month_.year}];
    d.name = prefix.empty() ? Format("%d/%02d/%04d", d.number, month_.month, month_.year)
                            : DocumentName(prefix, d.number, month_);
    d.date = d.saleDate = DayOf(month_, day);
    docs_.push_back(std::move(d));
    return docs_.back();
  }

  Doc& Sale(int type, int contractor, int day, const std::string& prefix) {
    Doc& d = New(type, day, prefix);
    d.user = contractor;
    d.payer = ContractorByNumber(contractor).payer;
    static const std::vector<std::pair<int, int>> kPayments = {{2, 14}, {2, 30}, {2, 7},  {0, 0}, {1, 0},
                                                               {4, 0},  {5, 0},  {2, 21}, {3, 14}};
    std::tie(d.payInfo, d.payDelay) = r_.Pick(kPayments);
    return d;
  }

  void AddLine(Doc& d, const std::string& index, double quantity, int vat = 1000) {
    const Goods& g = GoodsByIndex(index);
    Line l;
    l.goods = &g;
    l.series = g.service ? 0 : r_.Between(1, 2);
    l.quantity = quantity;
    l.price = g.price;
    l.vat = vat == 1000 ? g.vat : vat;
    d.lines.push_back(l);
  }

  // Random goods for a domestic invoice.
  void AddRandomLines(Doc& d, int count) {
    static const std::vector<std::string> kGoods = {
        "MAKA450", "CUKIER1", "KAWA1000", "HERB100", "SERGOUDA", "MIOD400", "ZESTAW1",  "WODA15", "SOK1L",
        "WINO075", "PLYN1L",  "PROSZEK3", "KSERO",   "RECZNIK",  "KUCHNIA", "MIESIECZ", "CZAJNIK"};
    for (int i = 0; i < count; ++i) {
      const std::string& index = r_.Pick(kGoods);
      double quantity = GoodsByIndex(index).unit == "kg" ? r_.Between(500, 25000) / 1000.0 : r_.Between(1, 48);
      AddLine(d, index, quantity);
    }
  }

  const Doc* Find(int type, int number) const {
    for (const Doc& d : docs_)
      if (d.type == type && d.number == number) return &d;
    Fail("Brak dokumentu %d/%d", type, number);
  }

  double Quantity(int low, int high) { return r_.Between(low, high); }
  SampleRandom& Random() { return r_; }
  const DateTime& Month() const { return month_; }
  std::vector<Doc> Take() { return {docs_.begin(), docs_.end()}; }
  const std::deque<Doc>& Documents() const { return docs_; }

 private:
  DateTime month_;
  SampleRandom& r_;
  std::map<std::pair<int, int>, int>& counters_;
  std::deque<Doc> docs_;
};

void Correct(Doc& correction, const Doc& original) {
  correction.masterType = original.type;
  correction.masterYear = original.year;
  correction.masterNumber = original.number;
  correction.user = original.user;
  correction.payer = original.payer;
  correction.options = original.options;
  correction.saleDate = original.saleDate;
}

// The documents of one month.
std::vector<Doc> MonthDocuments(const DateTime& month, SampleRandom& r, std::map<std::pair<int, int>, int>& counters) {
  GradmoMonth m(month, r, counters);
  const int last = DaysInMonth(month.year, month.month);
  const std::vector<int> goodCustomers = {2, 3, 4, 5, 11};

  // Ordinary invoices; some in gross prices, some to customers with defective numbers.
  int firstInvoice = -1;
  for (int i = 0; i < 9; ++i) {
    int contractor = i < 7 ? r.Pick(goodCustomers) : r.Pick(std::vector<int>{6, 7, 8, 9, 10});
    Doc& d = m.Sale(0, contractor, r.Between(1, 27), "FV");
    if (r.Percent(30)) d.options |= kGrossPrices;
    d.saleDate = FromDayNumber(DayNumber(d.date) - r.Between(0, 2));
    m.AddRandomLines(d, r.Between(1, 4));
    if (firstInvoice < 0) firstInvoice = d.number;
  }
  // An invoice issued on the 2nd for a sale on the last day of the month before.
  Doc& late = m.Sale(0, 3, 2, "FV");
  late.saleDate = FromDayNumber(DayNumber(DayOf(month, 1)) - 1);
  late.comment = "Dostawa z końca poprzedniego miesiąca";
  m.AddRandomLines(late, 2);
  // A branch of a chain, paid for by its head office.
  Doc& branch = m.Sale(0, 12, r.Between(5, 20), "FV");
  m.AddRandomLines(branch, 3);
  branch.comment = "Dostawa do oddziału, płatnik: centrala";
  // A related company (TP) and a large electronics invoice under split payment.
  Doc& related = m.Sale(0, 13, r.Between(3, 25), "FV");
  related.regFlags |= kTransferPricing;
  m.AddRandomLines(related, 2);
  Doc& phones = m.Sale(0, 11, r.Between(3, 25), "FV");
  phones.regFlags |= kSplitPayment;
  phones.payInfo = 2;
  phones.payDelay = 30;
  m.AddLine(phones, "TELEFON", m.Quantity(18, 30));
  m.AddLine(phones, "CZAJNIK", m.Quantity(10, 20));
  // Invoices to receipts: one of class 4, one ordinary invoice flagged FP; the goods left
  // the warehouse with the receipts.
  Doc& fp4 = m.Sale(4, 5, r.Between(5, 25), "FP");
  fp4.options |= kGrossPrices;
  fp4.wiFlags |= kNoGoodsMovement;
  m.AddRandomLines(fp4, 2);
  Doc& fp0 = m.Sale(0, 4, r.Between(5, 25), "FV");
  fp0.options |= kGrossPrices;
  fp0.regFlags |= kReceiptInvoice;
  fp0.wiFlags |= kNoGoodsMovement;
  m.AddRandomLines(fp0, 1);
  // A shop invoice (class 48, a sale only when the configuration says so).
  Doc& market = m.Sale(48, 2, r.Between(5, 25), "FM");
  market.options |= kGrossPrices;
  m.AddRandomLines(market, 2);
  // A cancelled invoice: left out of the register and the warehouse.
  if (month.month != 1) {
    Doc& cancelled = m.Sale(0, 5, r.Between(5, 25), "FV");
    cancelled.regFlags |= kExcluded;
    cancelled.wiFlags |= kCancelledDocument;
    cancelled.comment = "Faktura anulowana – błędny nabywca";
    m.AddRandomLines(cancelled, 1);
  }

  // Outside the country: export of goods at 0 % and services not subject to Polish VAT.
  Doc& exportGoods = m.Sale(2, r.Pick(std::vector<int>{19, 20, 23}), r.Between(3, 25), "FE");
  exportGoods.regFlags |= kZeroRateSupply;
  exportGoods.payInfo = 5, exportGoods.payDelay = 0;
  m.AddLine(exportGoods, "KAWA1000", m.Quantity(20, 60), 0);
  m.AddLine(exportGoods, "MIOD400", m.Quantity(50, 200), 0);
  Doc& exportService = m.Sale(2, 20, r.Between(3, 25), "FE");
  m.AddLine(exportService, "TRANSP", 1, kNotSubject);
  // The EU: intra-Community supply of goods at 0 %, and a service taxed by the buyer.
  Doc& wdt = m.Sale(22, r.Pick(std::vector<int>{14, 15, 16, 17, 18}), r.Between(3, 25), "FW");
  wdt.regFlags |= kZeroRateSupply;
  m.AddLine(wdt, "MAKA450", m.Quantity(200, 800), 0);
  m.AddLine(wdt, "ZESTAW1", m.Quantity(10, 40), 0);
  Doc& euService = m.Sale(22, 14, r.Between(3, 25), "FW");
  m.AddLine(euService, "TRANSP", 2, kNotSubject);
  if (month.month == 2) {
    Doc& euCorrection = m.Sale(23, wdt.user, 27, "FWK");
    Correct(euCorrection, wdt);
    euCorrection.regFlags |= kZeroRateSupply;
    euCorrection.comment = "Zwrot części dostawy";
    euCorrection.lines.push_back(wdt.lines.front());
    euCorrection.lines.back().quantity = -10;
  }
  // A correction of the month's first invoice: half of its first line returned.
  {
    const Doc* original = m.Find(0, firstInvoice);
    Doc& kor = m.Sale(1, 2, r.Between(25, 28), "FK");
    Correct(kor, *original);
    kor.lines.push_back(original->lines.front());
    kor.lines.back().quantity = -std::max(1.0, round2(original->lines.front().quantity / 2));
    if (month.month % 2 == 0) kor.comment = "Reklamacja – uszkodzone opakowania";
  }

  // Receipts: the month's receipt sales in the register, one of them cancelled; their goods
  // leave the warehouse on one issue note.
  for (int i = 0; i < 3; ++i) {
    Doc& receipt = m.Sale(6, 1, 8 + i * 8, "PAR");
    receipt.inWarehouse = false;
    receipt.payInfo = 0, receipt.payDelay = 0;
    m.AddRandomLines(receipt, 3);
    if (i == 1 && month.month != 1) {
      receipt.regFlags |= kExcluded;
      receipt.comment = "Paragon anulowany";
    }
  }
  Doc& issue = m.Sale(9, 1, last, "");
  issue.comment = "Wydanie towarów sprzedanych na paragony";
  m.AddRandomLines(issue, 4);
  // An issue note to an invoice of the month.
  if (month.month == 2 || month.month == 3) {
    Doc& wz = m.Sale(24, 2, r.Between(10, 20), "WZ");
    wz.masterType = 0;
    wz.masterYear = month.year;
    wz.masterNumber = firstInvoice;
    m.AddRandomLines(wz, 2);
  }
  // Internal use, and transfers to the shop and to a partner's warehouse.
  Doc& rw = m.New(32, r.Between(10, 25), "RW");
  rw.comment = "Zużycie na potrzeby biura";
  m.AddLine(rw, "PLYN1L", m.Quantity(2, 6));
  m.AddLine(rw, "RECZNIK", m.Quantity(3, 10));
  for (Line& l : rw.lines) l.price = LotCost(*l.goods, l.series);
  Doc& mm = m.New(8, r.Between(3, 12), "MM");
  m.AddLine(mm, "WODA15", m.Quantity(24, 96));
  m.AddLine(mm, "SOK1L", m.Quantity(12, 48));
  for (Line& l : mm.lines) l.price = LotCost(*l.goods, l.series);
  if (month.month % 2 == 1) {
    Doc& mmOut = m.New(36, r.Between(12, 26), "MMZ");
    mmOut.user = mmOut.payer = 13;
    m.AddLine(mmOut, "PROSZEK3", m.Quantity(10, 30));
    for (Line& l : mmOut.lines) l.price = LotCost(*l.goods, l.series);
  }

  // Goods received with the supplier's invoice (the document's name is the invoice number).
  auto receive = [&](int supplier, std::vector<std::pair<std::string, int>> goods, int flags) -> Doc& {
    Doc& pz = m.New(128, r.Between(2, 26), "PZ");
    pz.name = Format("FS %d/%02d/%04d", r.Between(100, 999), month.month, month.year);
    pz.user = pz.payer = supplier;
    pz.saleDate = FromDayNumber(DayNumber(pz.date) - r.Between(0, 3));
    pz.regFlags |= flags;
    for (const auto& [index, quantity] : goods) {
      m.AddLine(pz, index, quantity);
      pz.lines.back().price = LotCost(*pz.lines.back().goods, pz.lines.back().series);
    }
    return pz;
  };
  int flour = receive(24, {{"MAKA450", r.Between(400, 1200)}}, 0).number;
  receive(25, {{"CUKIER1", r.Between(300, 900)}, {"MIOD400", r.Between(40, 120)}}, 0);
  receive(32, {{"PLYN1L", r.Between(100, 300)}, {"PROSZEK3", r.Between(30, 90)}}, 0);
  receive(21, {{"HERB100", r.Between(200, 500)}}, kImport).comment = "Import herbaty – SAD";
  if (month.month != 12) {
    receive(26, {{"KSERO", r.Between(20, 80)}, {"RECZNIK", r.Between(40, 120)}}, 0);
    // A receipt that complements an earlier one; its invoice is that document.
    Doc& pz152 = m.New(152, r.Between(20, 27), "PZ");
    pz152.user = pz152.payer = 24;
    pz152.masterType = 128;
    pz152.masterYear = month.year;
    pz152.masterNumber = flour;
    m.AddLine(pz152, "MAKA450", m.Quantity(50, 100));
    pz152.lines.back().price = LotCost(*pz152.lines.back().goods, pz152.lines.back().series);
  }
  // A short delivery corrected by the supplier.
  if (month.month == 3 || month.month == 1) {
    Doc& pzk = m.New(129, r.Between(26, 28), "PZK");
    pzk.user = pzk.payer = 24;
    pzk.masterType = 128;
    pzk.masterYear = month.year;
    pzk.masterNumber = flour;
    m.AddLine(pzk, "MAKA450", -m.Quantity(10, 40));
    pzk.lines.back().price = LotCost(*pzk.lines.back().goods, pzk.lines.back().series);
    pzk.comment = "Niedobór w dostawie";
  }
  // Purchases booked in the register only: media and rent (cost invoices), fuel and
  // leasing of a passenger car (half of the VAT), and a duplicate left out.
  auto cost = [&](int supplier, double net, int flags, const std::string& comment) {
    Doc& d = m.New(128, r.Between(3, 26), "");
    d.name = Format("%s/%04d/%02d/%04d", supplier == 30 ? "NAJEM" : "FA", month.year, month.month, r.Between(1, 9999));
    d.user = d.payer = supplier;
    d.inWarehouse = false;
    d.regFlags = flags;
    d.value22 = net;
    d.tax22 = NetToTax(23, net);
    d.totalTax = d.tax22;
    d.value = round2(net + d.tax22);
    d.saleDate = FromDayNumber(DayNumber(d.date) - 2);
    d.comment = comment;
  };
  cost(28, r.Between(15000, 40000) / 100.0, kCostInvoice, "Telefony");
  cost(29, r.Between(90000, 250000) / 100.0, kCostInvoice, "Energia elektryczna");
  cost(30, 4500.00, kCostInvoice, "Najem magazynu");
  cost(27, r.Between(30000, 90000) / 100.0, kHalfDeduction, "Paliwo – samochód osobowy");
  cost(31, 2150.00, kCostInvoice | kHalfDeduction, "Leasing samochodu osobowego");
  cost(28, 99.00, kExcluded, "Duplikat faktury – nie księgować");
  // March also holds a correction of the complementary receipt (153) and a correction of
  // the issue note to an invoice (25), both referring to their documents. Drawn after
  // every other document, with register entries left out of the VAT registers (flag 8).
  if (month.month == 3) {
    const Doc* pz152 = nullptr;
    const Doc* wz24 = nullptr;
    for (const Doc& d : m.Documents()) {
      if (d.type == 152) pz152 = &d;
      if (d.type == 24) wz24 = &d;
    }
    if (pz152 != nullptr && wz24 != nullptr) {
      Doc pz153Copy = *pz152;
      Doc wz24Copy = *wz24;
      Doc& pz153 = m.New(153, 28, "PZDK");
      pz153.user = pz153.payer = pz153Copy.user;
      pz153.masterType = 128;
      pz153.masterYear = month.year;
      pz153.masterNumber = pz153Copy.masterNumber;
      pz153.lines.push_back(pz153Copy.lines.front());
      pz153.lines.back().quantity = -5;
      pz153.comment = "Korekta dostawy uzupełniającej";
      pz153.regFlags |= kExcluded;
      Doc& wz25 = m.New(25, 28, "WZK");
      wz25.user = wz25.payer = wz24Copy.user;
      wz25.masterType = 0;
      wz25.masterYear = month.year;
      wz25.masterNumber = wz24Copy.masterNumber;
      wz25.lines.push_back(wz24Copy.lines.front());
      wz25.lines.back().quantity = -1;
      wz25.comment = "Zwrot towaru do wydania";
      wz25.regFlags |= kExcluded;
    }
  }

  std::vector<Doc> docs = m.Take();
  for (Doc& d : docs) {
    if (!d.inRegister) continue;
    if (d.type == 128 || d.type == 129) {
      if (!d.lines.empty()) PricePurchase(d);
    } else if (d.type == 8 || d.type == 9 || d.type == 24 || d.type == 25 || d.type == 32 || d.type == 36 ||
               d.type == 152 || d.type == 153) {
      PriceAtCost(d);
    } else {
      PriceSale(d);
    }
  }
  return docs;
}

// KSeF numbers of the register's invoices of a period from February 2026, drawn from a
// stream of their own: domestic sales invoices and their corrections (issued by the company)
// and domestic purchases other than imports (issued by the supplier, on the purchase date).
// Receipts, exports, EU supplies and warehouse documents have none.
void DrawKsefNumbers(std::vector<Doc>& docs, const DateTime& month, std::uint64_t seed) {
  if (!KsefPeriod(month)) return;
  SampleRandom random = KsefRandom(seed, month);
  for (Doc& d : docs) {
    if (!d.inRegister || (d.regFlags & kExcluded)) continue;
    bool sale = d.type == 0 || d.type == 1 || d.type == 4 || d.type == 48;
    bool purchase = (d.type == 128 || d.type == 129) && !(d.regFlags & kImport);
    if (!sale && !purchase) continue;
    std::string counterparty = DomesticNip(ContractorByNumber(d.payer));
    if (counterparty.empty()) continue;
    DrawKsef(sale ? Company().nip : counterparty, sale ? d.date : d.saleDate, random, d.ksef, d.ksefListed);
  }
}

void WriteDocuments(const std::string& dir, const std::string& prefix, std::vector<Doc> docs, bool ksef) {
  std::sort(docs.begin(), docs.end(), [](const Doc& a, const Doc& b) { return a.Key() < b.Key(); });
  ParadoxWriter reg(dir + prefix + "REG", GradmoRegTable(ksef));
  ParadoxWriter wi(dir + prefix + "WI", GradmoWiTable());
  ParadoxWriter wt(dir + prefix + "WT", GradmoWtTable());
  for (const Doc& d : docs) {
    if (d.inRegister) {
      DateTime payDate = FromDayNumber(DayNumber(d.date) + d.payDelay);
      Record record = reg.NewRecord();
      record.Set("Class", d.type)
          .Set("Year", d.year)
          .Set("MagId", kMag)
          .Set("Number", d.number)
          .Set("Flags", d.regFlags)
          .Set("Document", d.name)
          .Set("User", d.user)
          .Set("Payer", d.payer)
          .Set("Date", d.date)
          .Set("SaleDate", d.saleDate)
          .Set("PayDate", payDate)
          .Set("GTU", d.gtu)
          .Set("Value", d.value)
          .Set("ValueFree", d.valueFree)
          .Set("Value0", d.value0)
          .Set("Value3", d.value3)
          .Set("Tax3", d.tax3)
          .Set("Value7", d.value7)
          .Set("Tax7", d.tax7)
          .Set("Value22", d.value22)
          .Set("Tax22", d.tax22)
          .Set("TotalTax", d.totalTax)
          .Set("CostValue", d.costValue);
      if (ksef) record.Set("NrKSeF", d.ksef);
      reg.Append(record);
    }
    if (!d.inWarehouse) continue;
    Record record = wi.NewRecord();
    record.Set("Type", d.type)
        .Set("Year", d.year)
        .Set("MagId", kMag)
        .Set("Number", d.number)
        .Set("Name", d.name)
        .Set("Date", d.date)
        .Set("SaleDate", d.saleDate)
        .Set("Options", d.options)
        .Set("Flags", d.wiFlags)
        .Set("Comment", d.comment)
        .Set("User", d.user)
        .Set("PayInfo", d.payInfo)
        .Set("PayDelay", d.payDelay);
    if (d.masterNumber != 0)
      record.Set("MasterType", d.masterType)
          .Set("MasterYear", d.masterYear)
          .Set("MasterMagId", kMag)
          .Set("MasterNumber", d.masterNumber);
    wi.Append(record);
    int line = 0;
    for (const Line& l : d.lines)
      wt.Append(wt.NewRecord()
                    .Set("Type", d.type)
                    .Set("Year", d.year)
                    .Set("MagId", kMag)
                    .Set("Number", d.number)
                    .Set("Line", ++line)
                    .Set("Group", l.goods->group)
                    .Set("Index", l.goods->index)
                    .Set("Series", l.series)
                    .Set("Quantity", l.quantity)
                    .Set("Price", l.price)
                    .Set("VAT", l.vat));
  }
  reg.Close();
  wi.Close();
  wt.Close();
}

void WriteGoods(const std::string& dir, const std::string& prefix, const DateTime& delivered) {
  std::vector<const Goods*> goods;
  for (const Goods& g : Catalogue()) goods.push_back(&g);
  std::sort(goods.begin(), goods.end(),
            [](const Goods* a, const Goods* b) { return std::tie(a->group, a->index) < std::tie(b->group, b->index); });
  ParadoxWriter w(dir + prefix + "W", GradmoWTable());
  ParadoxWriter ws(dir + prefix + "WS", GradmoWsTable());
  for (const Goods* g : goods) {
    w.Append(w.NewRecord().Set("Group", g->group).Set("Index", g->index).Set("Name", g->name).Set("Unit", g->unit));
    if (g->service) continue;
    for (int series : {1, 2})
      ws.Append(ws.NewRecord()
                    .Set("Group", g->group)
                    .Set("Index", g->index)
                    .Set("SeriesNo", series)
                    .Set("Cost", LotCost(*g, series))
                    .Set("Date", FromDayNumber(DayNumber(delivered) - 40 * series)));
  }
  w.Close();
  ws.Close();
}

// Benchmark register: `count` sales and purchases of one month, each with its warehouse
// document of about five lines (drawn from a stream of their own, so the register is the
// same as without them).
void WriteBenchmarkRegister(const std::string& dir, const SampleSet& set) {
  const DateTime& month = set.months.back();
  SampleRandom r(set.seed);
  SampleRandom lineRandom(set.seed + 7);
  SampleRandom ksefRandom(set.seed + 11);
  bool ksef = RegisterHasKsefField(month.year);
  ParadoxWriter reg(dir + DatePrefixedName(false, "REG", month), GradmoRegTable(ksef), set.scale);
  ParadoxWriter wi(dir + DatePrefixedName(false, "WI", month), GradmoWiTable(), set.scale);
  ParadoxWriter wt(dir + DatePrefixedName(false, "WT", month), GradmoWtTable(), set.scale * 5);
  std::vector<const Goods*> stock;
  for (const Goods& g : Catalogue())
    if (!g.service) stock.push_back(&g);
  int listed = static_cast<int>(Contractors().size());
  // Classes in key order: sales (0), then purchases (128).
  std::int64_t sales = set.scale * 7 / 10;
  for (std::int64_t i = 0; i < set.scale; ++i) {
    bool sale = i < sales;
    int number = static_cast<int>(sale ? i + 1 : i - sales + 1);
    int contractor = r.Between(2, set.cards);
    if (contractor <= listed && !ContractorByNumber(contractor).nipAccepted) contractor = 2;
    double net = r.Between(1000, 500000) / 100.0;
    double tax = NetToTax(23, net);
    DateTime date = DayOf(month, r.Between(1, 28));
    Record record = reg.NewRecord();
    record.Set("Class", sale ? 0 : 128)
        .Set("Year", month.year)
        .Set("MagId", kMag)
        .Set("Number", number)
        .Set("Flags", 0)
        .Set("Document", Format("%s %d/%02d/%04d", sale ? "FV" : "FZ", number, month.month, month.year))
        .Set("User", contractor)
        .Set("Payer", contractor)
        .Set("Date", date)
        .Set("SaleDate", date)
        .Set("PayDate", date)
        .Set("GTU", 0)
        .Set("Value", round2(net + tax))
        .Set("Value22", net)
        .Set("Tax22", tax)
        .Set("TotalTax", tax)
        .Set("CostValue", round2(net * 0.7));
    // From 2026 every third sale carries its KSeF number.
    if (ksef) record.Set("NrKSeF", sale && number % 3 == 1 ? SampleKsefNumber(Company().nip, date, ksefRandom) : "");
    reg.Append(record);
    int type = sale ? 0 : 128;
    // The document's contractor is on the side's table: a listed card that is no customer
    // (or no supplier) gives way to one that is; generated cards are both.
    int party = contractor;
    if (party <= listed) {
      const Contractor& c = ContractorByNumber(party);
      if (sale && !c.customer) party = 2;
      if (!sale && !c.supplier) party = 24;
    }
    wi.Append(wi.NewRecord()
                  .Set("Type", type)
                  .Set("Year", month.year)
                  .Set("MagId", kMag)
                  .Set("Number", number)
                  .Set("Name", Format("%s %d/%02d/%04d", sale ? "FV" : "FZ", number, month.month, month.year))
                  .Set("Date", date)
                  .Set("SaleDate", date)
                  .Set("Options", 0)
                  .Set("Flags", 0)
                  .Set("User", party)
                  .Set("PayInfo", 2)
                  .Set("PayDelay", 14));
    int lines = lineRandom.Between(4, 6);
    for (int line = 1; line <= lines; ++line) {
      const Goods& g = *stock[static_cast<size_t>(lineRandom.Between(0, static_cast<int>(stock.size()) - 1))];
      int series = lineRandom.Between(1, 2);
      wt.Append(wt.NewRecord()
                    .Set("Type", type)
                    .Set("Year", month.year)
                    .Set("MagId", kMag)
                    .Set("Number", number)
                    .Set("Line", line)
                    .Set("Group", g.group)
                    .Set("Index", g.index)
                    .Set("Series", series)
                    .Set("Quantity", static_cast<double>(lineRandom.Between(1, 20)))
                    .Set("Price", sale ? g.price : LotCost(g, series))
                    .Set("VAT", g.vat));
    }
  }
  reg.Close();
  wi.Close();
  wt.Close();
  WriteGoods(dir, DatePrefixedName(false, "", month), month);
}

}  // namespace

void WriteGradmo(const std::string& dir, const SampleSet& set) {
  if (set.scale > 0) {
    WriteBenchmarkRegister(dir, set);
    WritePeriodContractorTables(dir, set);
    return;
  }
  SampleRandom r(set.seed + 1);
  std::map<std::pair<int, int>, int> counters;
  std::map<int, std::vector<Doc>> byYear;
  for (const DateTime& month : set.months) {
    std::vector<Doc> docs = MonthDocuments(month, r, counters);
    DrawKsefNumbers(docs, month, set.seed);
    std::string prefix = DatePrefixedName(false, "", month);
    WriteDocuments(dir, prefix, docs, RegisterHasKsefField(month.year));
    if (KsefPeriod(month)) {
      std::vector<KsefListEntry> entries;
      for (const Doc& d : docs)
        if (!d.ksefListed.empty()) entries.push_back({d.name, DomesticNip(ContractorByNumber(d.payer)), d.ksefListed});
      WriteKsefList(dir + KsefListName(month), entries);
    }
    WriteGoods(dir, prefix, month);
    auto& year = byYear[month.year];
    year.insert(year.end(), docs.begin(), docs.end());
  }
  for (const auto& [year, docs] : byYear) {
    DateTime first{year, 1, 1};
    WriteDocuments(dir, DatePrefixedName(true, "", first), docs, RegisterHasKsefField(year));
    WriteGoods(dir, DatePrefixedName(true, "", first), first);
  }
  WritePeriodContractorTables(dir, set);
}

}  // namespace velkar::samples
