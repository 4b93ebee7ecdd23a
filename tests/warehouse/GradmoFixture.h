// A small Gradmo database written by the tests: documents with their lines, register
// entries, goods, series and contractors, as Paradox tables of one month (24_03 ...), and
// the program settings and UI script of an export run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"

namespace velkar::test {

struct GLine {
  std::string group = "TOW", index = "T1";
  long long series = 0;
  double quantity = 1, price = 0;
  long long vat = 23;
};

struct GReg {
  long long flags = 0, user = 0, payer = 0, gtu = 0;
  std::string payDate;
  double value = 0, valueFree = 0, value0 = 0, value3 = 0, tax3 = 0, value7 = 0, tax7 = 0, value22 = 0, tax22 = 0,
         totalTax = 0, costValue = 0;
};

struct GDoc {
  long long type = 0, year = 2024, number = 1;
  std::string name, date = "2024-03-05", saleDate = "2024-03-05";
  long long options = 0, flags = 0;
  std::string comment;
  std::optional<std::pair<long long, long long>> master;  // (type, number) of the same year
  long long user = 0, payInfo = 0, payDelay = 0;
  GReg reg;
  std::vector<GLine> lines;
  bool hasReg = true;
};

struct GGoods {
  std::string group, index, name, unit;
};
struct GSeries {
  std::string group, index;
  long long seriesNo;
  double cost;
};
struct GCard {
  long long number;
  std::string identifier, name, nip, street, house, zip, city;
  long long payerNumber = 0;
};

struct GradmoDb {
  std::vector<GDoc> docs;
  std::vector<GGoods> goods{{"TOW", "T1", "Towar pierwszy", "szt."}};
  std::vector<GSeries> series;
  std::vector<GCard> customers;  // UR (and Users)
  std::vector<GCard> suppliers;  // UC
  bool withUsers = false;        // also writes Users.db (UsersIsSingle)

  // Writes the tables of `prefix` ("24_03") into `dir` (the register with Class = Type).
  // `userPrefix` names the UR and UC tables when it differs ("" = `prefix`).
  void Write(const std::string& dir, const std::string& prefix = "24_03", std::string userPrefix = "") const {
    if (userPrefix.empty()) userPrefix = prefix;
    std::vector<std::vector<PxValue>> wi, wt, reg;
    for (const GDoc& d : docs) {
      PxValue mt, my, mm, mn;
      if (d.master) {
        mt = d.master->first;
        my = d.year;
        mm = 1LL;
        mn = d.master->second;
      }
      wi.push_back({d.type, d.year, 1LL, d.number, d.name, PxDate{d.date}, PxDate{d.saleDate}, d.options, d.flags,
                    d.comment, mt, my, mm, mn, d.user, d.payInfo, d.payDelay});
      long long line = 0;
      for (const GLine& l : d.lines)
        wt.push_back({d.type, d.year, 1LL, d.number, ++line, l.group, l.index, l.series, l.quantity, l.price, l.vat});
      if (!d.hasReg) continue;
      const GReg& r = d.reg;
      reg.push_back({d.type,       d.year,       1LL,       d.number,   r.flags,   d.name,     r.user,    r.payer,
                     PxDate{d.date}, PxDate{d.saleDate},
                     r.payDate.empty() ? PxValue{} : PxValue{PxDate{r.payDate}}, r.gtu, r.value, r.valueFree, r.value0,
                     r.value3,     r.tax3,       r.value7,  r.tax7,     r.value22, r.tax22,    r.totalTax, r.costValue});
    }
    WriteParadoxTable(dir + prefix + "WI.db",
                      {{"Type", PxType::Short}, {"Year", PxType::Short}, {"MagId", PxType::Short},
                       {"Number", PxType::Long}, {"Name", PxType::Alpha, 30}, {"Date", PxType::Date},
                       {"SaleDate", PxType::Date}, {"Options", PxType::Long}, {"Flags", PxType::Long},
                       {"Comment", PxType::Alpha, 80}, {"MasterType", PxType::Short}, {"MasterYear", PxType::Short},
                       {"MasterMagId", PxType::Short}, {"MasterNumber", PxType::Long}, {"User", PxType::Long},
                       {"PayInfo", PxType::Short}, {"PayDelay", PxType::Short}},
                      wi);
    WriteParadoxTable(dir + prefix + "WT.db",
                      {{"Type", PxType::Short}, {"Year", PxType::Short}, {"MagId", PxType::Short},
                       {"Number", PxType::Long}, {"Line", PxType::Short}, {"Group", PxType::Alpha, 10},
                       {"Index", PxType::Alpha, 20}, {"Series", PxType::Long}, {"Quantity", PxType::Number},
                       {"Price", PxType::Number}, {"VAT", PxType::Short}},
                      wt);
    WriteParadoxTable(dir + prefix + "REG.db",
                      {{"Class", PxType::Short},    {"Year", PxType::Short},     {"MagId", PxType::Short},
                       {"Number", PxType::Long},    {"Flags", PxType::Long},     {"Document", PxType::Alpha, 30},
                       {"User", PxType::Long},      {"Payer", PxType::Long},     {"Date", PxType::Date},
                       {"SaleDate", PxType::Date},  {"PayDate", PxType::Date},   {"GTU", PxType::Long},
                       {"Value", PxType::Number},   {"ValueFree", PxType::Number}, {"Value0", PxType::Number},
                       {"Value3", PxType::Number},  {"Tax3", PxType::Number},    {"Value7", PxType::Number},
                       {"Tax7", PxType::Number},    {"Value22", PxType::Number}, {"Tax22", PxType::Number},
                       {"TotalTax", PxType::Number}, {"CostValue", PxType::Number}},
                      reg);
    std::vector<std::vector<PxValue>> w, ws, ur, uc, users;
    for (const GGoods& g : goods) w.push_back({g.group, g.index, g.name, g.unit});
    for (const GSeries& s : series) ws.push_back({s.group, s.index, s.seriesNo, s.cost});
    WriteParadoxTable(dir + prefix + "W.db",
                      {{"Group", PxType::Alpha, 10}, {"Index", PxType::Alpha, 20}, {"Name", PxType::Alpha, 100},
                       {"Unit", PxType::Alpha, 10}},
                      w);
    WriteParadoxTable(dir + prefix + "WS.db",
                      {{"Group", PxType::Alpha, 10}, {"Index", PxType::Alpha, 20}, {"SeriesNo", PxType::Long},
                       {"Cost", PxType::Number}},
                      ws);
    auto address = [](const GCard& c) { return c.house.empty() ? c.street : c.street + " " + c.house; };
    for (const GCard& c : customers) {
      ur.push_back({c.number, c.identifier, c.name, c.nip, address(c), c.zip, c.city, c.payerNumber});
      users.push_back({c.number, c.identifier, c.name, c.nip, c.street, c.house, c.zip, c.city});
    }
    for (const GCard& c : suppliers)
      uc.push_back({c.number, c.identifier, c.name, c.nip, address(c), c.zip, c.city, c.payerNumber});
    const std::vector<PxField> urFields = {{"Number", PxType::Long},        {"Identifier", PxType::Alpha, 20},
                                           {"Firm Name", PxType::Alpha, 100}, {"NIP", PxType::Alpha, 20},
                                           {"Address", PxType::Alpha, 60},    {"ZipCode", PxType::Alpha, 10},
                                           {"City", PxType::Alpha, 40},       {"PayerNumber", PxType::Long}};
    WriteParadoxTable(dir + userPrefix + "UR.db", urFields, ur);
    WriteParadoxTable(dir + userPrefix + "UC.db", urFields, uc);
    if (withUsers)
      WriteParadoxTable(dir + "Users.db",
                        {{"Number", PxType::Long}, {"Identifier", PxType::Alpha, 20}, {"Firm Name", PxType::Alpha, 100},
                         {"NIP", PxType::Alpha, 20}, {"Street", PxType::Alpha, 40}, {"House", PxType::Alpha, 12},
                         {"ZipCode", PxType::Alpha, 10}, {"City", PxType::Alpha, 40}},
                        users);
  }
};

}  // namespace velkar::test
