// The bookkeeping documents of a month.
#include "samples/VatDocuments.h"

#include <deque>

#include "base/Error.h"
#include "samples/Company.h"
#include "samples/SampleKsef.h"
#include "samples/SampleRandom.h"
#include "tools/Money.h"

namespace velkar::samples {

bool IsSalesRegister(VatRegister reg) {
  return reg == VatRegister::Sales || reg == VatRegister::SalesCorrection || reg == VatRegister::SalesServices;
}

const char* TulvoTableName(VatRegister reg) {
  switch (reg) {
    case VatRegister::Sales:
      return "REGS";
    case VatRegister::SalesCorrection:
      return "REGSKOR";
    case VatRegister::SalesServices:
      return "REGSU";
    case VatRegister::ImportGoods:
      return "REGB1";
    case VatRegister::Purchases:
      return "REGB";
    case VatRegister::Costs:
      return "REGB2";
    case VatRegister::PurchaseCorrection:
      return "REGBKOR";
    case VatRegister::CarCosts:
      return "REGBA";
    case VatRegister::FixedAssets:
      return "REGBP";
  }
  return "";
}

const std::vector<VatRegister>& AllVatRegisters() {
  static const std::vector<VatRegister> all = {
      VatRegister::Sales,      VatRegister::SalesCorrection, VatRegister::SalesServices,      VatRegister::ImportGoods,
      VatRegister::Purchases,  VatRegister::Costs,           VatRegister::PurchaseCorrection, VatRegister::CarCosts,
      VatRegister::FixedAssets};
  return all;
}

double VatAmounts::Net() const { return round2(free + zero + net5 + net8 + net23); }
double VatAmounts::Vat() const { return round2(vat5 + vat8 + vat23); }

namespace {

double Cents(SampleRandom& random, int lowZloty, int highZloty) {
  return random.Between(lowZloty * 100, highZloty * 100) / 100.0;
}

VatAmounts Rates(double net23, double net8, double net5, double zero = 0, double free = 0) {
  VatAmounts a;
  a.net23 = net23;
  a.vat23 = NetToTax(23, net23);
  a.net8 = net8;
  a.vat8 = NetToTax(8, net8);
  a.net5 = net5;
  a.vat5 = NetToTax(5, net5);
  a.zero = zero;
  a.free = free;
  return a;
}

VatAmounts Negated(VatAmounts a) {
  for (double* v : {&a.free, &a.zero, &a.net5, &a.vat5, &a.net8, &a.vat8, &a.net23, &a.vat23}) *v = -*v;
  return a;
}

class MonthBuilder {
 public:
  MonthBuilder(const DateTime& month, std::uint64_t seed, VatNumbering& numbering)
      : month_(month),
        random_(seed ^ (static_cast<std::uint64_t>(month.year) * 100 + month.month)),
        numbering_(numbering) {
    if (numbering_.year != month.year) numbering_ = VatNumbering{month.year};
  }

  VatDocument& Add(VatRegister reg, const std::string& prefix, int contractor, int day) {
    VatDocument d;
    d.reg = reg;
    d.number = numbering_.next[static_cast<int>(reg)]++;
    d.name = DocumentName(prefix, d.number, month_);
    d.contractor = contractor;
    d.issueDate = d.saleDate = d.receiptDate = DayOf(month_, day);
    docs_.push_back(d);
    return docs_.back();
  }

  // A purchase received on `day`, issued by the supplier a few days earlier (possibly in
  // the month before).
  VatDocument& AddPurchase(VatRegister reg, const std::string& name, int contractor, int day) {
    VatDocument& d = Add(reg, "", contractor, day);
    d.name = name;
    d.issueDate = d.saleDate = FromDayNumber(DayNumber(d.receiptDate) - random_.Between(0, 6));
    return d;
  }

  SampleRandom& Random() { return random_; }
  const DateTime& Month() const { return month_; }
  std::vector<VatDocument> Take() { return {docs_.begin(), docs_.end()}; }

 private:
  DateTime month_;
  SampleRandom random_;
  VatNumbering& numbering_;
  std::deque<VatDocument> docs_;  // references handed out stay valid as documents are added
};

std::string SupplierInvoice(SampleRandom& random, const DateTime& month) {
  return Format("FS/%04d/%02d/%04d", month.year, month.month, random.Between(100, 9999));
}

// KSeF numbers of the month's invoices, drawn from a stream of their own so that the
// documents are the same as without them. Receipts, internal documents, imports, farmers'
// invoices and the
// documents of contractors without a domestic number have none: sales are issued by
// the company, purchases by the supplier, each dated on its invoice.
void DrawKsefNumbers(std::vector<VatDocument>& docs, const DateTime& month, std::uint64_t seed) {
  if (!KsefPeriod(month)) return;
  SampleRandom random = KsefRandom(seed, month);
  for (VatDocument& d : docs) {
    if (d.typDokumentu == "RO" || d.typDokumentu == "WEW" || d.reg == VatRegister::ImportGoods) continue;
    if (d.typDokumentu == "VAT_RR") continue;  // the buyer's own invoice for a farmer, outside KSeF here
    std::string counterparty = DomesticNip(ContractorByNumber(d.contractor));
    if (counterparty.empty()) continue;
    DrawKsef(d.Sale() ? Company().nip : counterparty, d.issueDate, random, d.ksef, d.ksefListed);
  }
}

}  // namespace

std::vector<VatDocument> VatDocumentsOfMonth(const DateTime& month, std::uint64_t seed, int bulk,
                                             VatNumbering& numbering) {
  MonthBuilder b(month, seed, numbering);
  SampleRandom& r = b.Random();
  const std::string mm = Format("%02d/%04d", month.month, month.year);

  // Ordinary invoices for goods to domestic customers with good numbers.
  std::vector<int> goodCustomers = {2, 3, 4, 5, 11, 12};
  for (int i = 0; i < bulk; ++i) {
    VatDocument& d = b.Add(VatRegister::Sales, "FV", r.Pick(goodCustomers), r.Between(1, 28));
    d.saleDate = FromDayNumber(DayNumber(d.issueDate) - r.Between(0, 2));
    d.amounts = Rates(Cents(r, 50, 4000), r.Percent(40) ? Cents(r, 20, 600) : 0, Cents(r, 100, 3000));
    if (r.Percent(20)) d.gtu = 1 << 0;  // wine in the delivery
    d.description = "Sprzedaż towarów";
  }

  // Invoices to customers whose numbers the check refuses or who have none.
  for (int contractor : {6, 7, 8, 9, 10}) {
    if (!r.Percent(60)) continue;
    VatDocument& d = b.Add(VatRegister::Sales, "FV", contractor, r.Between(2, 27));
    d.amounts = Rates(Cents(r, 30, 900), 0, Cents(r, 30, 700));
    d.description = "Sprzedaż towarów";
  }

  // Monthly fiscal printer report (receipt sales) and an invoice to a receipt.
  VatDocument& ro = b.Add(VatRegister::Sales, "RO", 1, DaysInMonth(month.year, month.month));
  ro.name = KsefPeriod(month) ? "Zestawienie paragonów " + mm : "Raport fiskalny " + mm;
  ro.typDokumentu = "RO";
  ro.amounts = Rates(Cents(r, 8000, 15000), Cents(r, 500, 1500), Cents(r, 9000, 20000));
  ro.description = "Sprzedaż detaliczna – raport miesięczny";
  VatDocument& fp = b.Add(VatRegister::Sales, "FV", 5, r.Between(5, 25));
  fp.typDokumentu = "FP";
  fp.amounts = Rates(Cents(r, 20, 300), 0, Cents(r, 10, 200));
  fp.description = "Faktura do paragonu";

  // A sale to a related company (TP) and a large electronics invoice under split payment.
  VatDocument& tp = b.Add(VatRegister::Sales, "FV", 13, r.Between(10, 20));
  tp.procedures = 1 << 2;
  tp.amounts = Rates(Cents(r, 3000, 9000), 0, 0);
  tp.description = "Sprzedaż towarów – podmiot powiązany";
  VatDocument& mpp = b.Add(VatRegister::Sales, "FV", 11, r.Between(10, 25));
  mpp.gtu = 1 << 5;
  mpp.procedures = 1 << 12;
  mpp.amounts = Rates(Cents(r, 15000, 30000), 0, 0);
  mpp.description = "Sprzedaż sprzętu elektronicznego";

  // Foreign customers: an EU company, and a traveller's Tax Free sale at 0 %.
  VatDocument& eu = b.Add(VatRegister::Sales, "FV", r.Pick(std::vector<int>{14, 15, 16}), r.Between(3, 22));
  eu.amounts = Rates(0, 0, 0, Cents(r, 2000, 12000));
  eu.description = "Wewnątrzwspólnotowa dostawa towarów";
  VatDocument& taxFree = b.Add(VatRegister::Sales, "TaxFree", 34, r.Between(3, 26));
  taxFree.amounts = Rates(0, 0, 0, Cents(r, 300, 1500));
  taxFree.description = "Sprzedaż podróżnemu (Tax Free)";

  // Services: catering (8 %), transport (23 %, GTU_13) and an exempt training (GTU_12).
  VatDocument& services = b.Add(VatRegister::SalesServices, "FU", r.Pick(std::vector<int>{2, 3, 8}), r.Between(4, 24));
  services.amounts = Rates(Cents(r, 200, 800), Cents(r, 400, 2000), 0);
  services.gtu = 1 << 12;
  services.description = "Usługi transportowe i cateringowe";
  if (month.month % 2 == 0) {
    VatDocument& training = b.Add(VatRegister::SalesServices, "FU", 8, r.Between(4, 24));
    training.amounts = Rates(0, 0, 0, 0, 500.00);
    training.gtu = 1 << 11;
    training.description = "Szkolenie – usługa zwolniona";
  }
  // A free hand-over of goods, documented internally.
  if (month.month == 12 || month.month == 3) {
    VatDocument& wew = b.Add(VatRegister::Sales, "WEW", 1, 20);
    wew.typDokumentu = "WEW";
    wew.amounts = Rates(Cents(r, 100, 400), 0, 0);
    wew.description = "Nieodpłatne przekazanie towarów";
  }

  // A correction of an earlier sale (returned goods).
  VatDocument& kor = b.Add(VatRegister::SalesCorrection, "FVK", r.Pick(goodCustomers), r.Between(8, 26));
  kor.amounts = Negated(Rates(Cents(r, 20, 400), 0, Cents(r, 10, 200)));
  kor.description = "Korekta – zwrot towaru";

  // Purchases of goods for resale, one of them paid by the cash method (MK).
  for (int supplier : {24, 25, 32, 26}) {
    if (supplier == 26 && !r.Percent(70)) continue;
    VatDocument& d = b.AddPurchase(VatRegister::Purchases, SupplierInvoice(r, month), supplier, r.Between(1, 28));
    bool food = supplier == 24 || supplier == 25;
    d.amounts = food ? Rates(0, 0, Cents(r, 2000, 15000)) : Rates(Cents(r, 800, 6000), 0, 0);
    if (supplier == 26) d.typDokumentu = "MK";
    d.description = "Zakup towarów handlowych";
  }
  // A farmer's invoice (flat-rate 7 % refund, kept in the middle-rate columns).
  if (month.month == 12 || month.month == 2) {
    VatDocument& rr =
        b.AddPurchase(VatRegister::Purchases, "VAT RR " + Format("%d/", r.Between(1, 9)) + mm, 33, r.Between(10, 25));
    rr.typDokumentu = "VAT_RR";
    rr.amounts.net8 = Cents(r, 1500, 4000);
    rr.amounts.vat8 = round2(rr.amounts.net8 * 0.07);
    rr.description = "Zakup jabłek od rolnika ryczałtowego";
  }
  // Import of goods by customs declaration (IMP).
  VatDocument& imp =
      b.AddPurchase(VatRegister::ImportGoods, Format("SAD %02dPL443020%06d", month.year % 100, r.Between(1, 999999)),
                    r.Pick(std::vector<int>{21, 22}), r.Between(5, 25));
  imp.procedures = 1 << 1;
  imp.amounts = Rates(Cents(r, 3000, 9000), 0, Cents(r, 2000, 8000));
  imp.description = "Import towarów – zgłoszenie celne";
  // Services and media.
  VatDocument& phone = b.AddPurchase(VatRegister::Costs, SupplierInvoice(r, month), 28, 10);
  phone.amounts = Rates(Cents(r, 150, 400), 0, 0);
  phone.description = "Usługi telekomunikacyjne";
  VatDocument& power = b.AddPurchase(VatRegister::Costs, SupplierInvoice(r, month), 29, 15);
  power.amounts = Rates(Cents(r, 900, 2500), 0, 0);
  power.description = "Energia elektryczna";
  VatDocument& rent = b.AddPurchase(VatRegister::Costs, Format("NAJEM %d/", month.month) + mm, 30, 3);
  rent.amounts = Rates(4500.00, 0, 0);
  rent.description = "Najem magazynu";
  // Passenger car: fuel and leasing, half of the VAT not deductible.
  for (int supplier : {27, 31}) {
    VatDocument& car = b.AddPurchase(VatRegister::CarCosts, SupplierInvoice(r, month), supplier, r.Between(5, 28));
    car.amounts = Rates(supplier == 27 ? Cents(r, 300, 900) : 2150.00, 0, 0);
    car.vatNonDeductible = round2(car.amounts.vat23 / 2);
    car.description = supplier == 27 ? "Paliwo do samochodu osobowego" : "Rata leasingowa samochodu osobowego";
  }
  // A supplier's correction.
  if (month.month != 2) {
    VatDocument& kor2 =
        b.AddPurchase(VatRegister::PurchaseCorrection, "KOR/" + SupplierInvoice(r, month), 25, r.Between(10, 27));
    kor2.amounts = Negated(Rates(0, 0, Cents(r, 50, 600)));
    kor2.description = "Korekta zakupu – rabat";
  }
  // Fixed assets.
  if (month.month == 1 || month.month == 3) {
    VatDocument& asset = b.AddPurchase(VatRegister::FixedAssets, SupplierInvoice(r, month), 13, r.Between(5, 20));
    asset.amounts = Rates(month.month == 1 ? 18500.00 : 42300.00, 0, 0);
    asset.description = month.month == 1 ? "Regały magazynowe" : "Wózek widłowy elektryczny";
  }
  std::vector<VatDocument> docs = b.Take();
  DrawKsefNumbers(docs, month, seed);
  return docs;
}

std::map<int, VatMonths> VatDocumentsByYear(const std::vector<DateTime>& months, std::uint64_t seed, int bulk) {
  std::map<int, VatMonths> byYear;
  VatNumbering numbering;
  for (const DateTime& month : months)
    byYear[month.year].emplace_back(month, VatDocumentsOfMonth(month, seed, bulk, numbering));
  return byYear;
}

void ForEachBenchmarkVatDocument(const DateTime& month, std::uint64_t seed, std::int64_t count, int contractors,
                                 const std::function<void(const VatDocument&)>& take) {
  SampleRandom r(seed);
  SampleRandom ksef(seed + 11);
  bool ksefPeriod = KsefPeriod(month);
  int listed = static_cast<int>(Contractors().size());
  for (std::int64_t i = 0; i < count; ++i) {
    VatDocument d;
    bool sale = r.Percent(70);
    d.reg = sale ? VatRegister::Sales : VatRegister::Purchases;
    d.number = static_cast<int>(i + 1);
    d.name = Format("%s %d/%02d/%04d", sale ? "FV" : "FZ", d.number, month.month, month.year);
    d.contractor = r.Between(2, contractors);
    if (d.contractor <= listed && !ContractorByNumber(d.contractor).nipAccepted) d.contractor = 2;
    d.issueDate = d.saleDate = d.receiptDate = DayOf(month, r.Between(1, 28));
    d.amounts = Rates(Cents(r, 10, 5000), r.Percent(30) ? Cents(r, 10, 500) : 0, Cents(r, 10, 2000));
    if (ksefPeriod && sale && i % 3 == 0) d.ksef = SampleKsefNumber(Company().nip, d.issueDate, ksef);
    take(d);
  }
}

}  // namespace velkar::samples
