// The sample JPK_FA(4) file: header by the model, invoices streamed.
#include "samples/SampleFa.h"

#include <cstdio>
#include <fstream>

#include "app/Settings.h"
#include "base/Error.h"
#include "jpkfiles/JpkHeaders.h"
#include "model/fa/JpkFA.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"

namespace velkar {

namespace {

struct Party {
  const char* name;
  const char* nip;
  const char* address;
};

// Contractors of the demo company (NIPs with valid check digits).
const Party kParties[] = {
    {"Hurtownia Spożywcza „Żuraw” Sp. z o.o.", "7255260182", "ul. Piotrkowska 112, 90-006 Łódź"},
    {"Market „Lux” Sp. j. Wiśniewski i Wspólnicy", "5343909966", "al. Wojska Polskiego 18A, 05-800 Pruszków"},
    {"P.H.U. „Remik” Remigiusz Dąbrowski", "7759729970", "ul. Królewska 12, 99-300 Kutno"},
    {"Wirtus Sp. z o.o.", "5275181906", "ul. Kolejowa 5, 05-850 Ożarów Mazowiecki"},
    {"Młyn Zbożowy „Łowicz” Sp. z o.o.", "8349378654", "ul. Przemysłowa 3, 99-400 Łowicz"},
    {"Telekomunikacja Mazowiecka S.A.", "5265559792", "ul. Chmielna 132/134, 00-805 Warszawa"},
};

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

void Element(std::string& out, int depth, const char* name, const std::string& value) {
  out.append(static_cast<size_t>(depth), '\t');
  out += '<';
  out += name;
  out += '>';
  out += Escape(value);
  out += "</";
  out += name;
  out += ">\n";
}

}  // namespace

void WriteSampleFa(const SampleFaOptions& options, const std::string& fileName) {
  // The header as the program writes it: Naglowek and Podmiot1 from the settings.
  fa::IXMLJPKFA doc = fa::NewJpkFA();
  InitJpkFADoc(doc);
  SetJpkFAHeader(doc);
  std::string head = doc.OwnerDocument()->SaveToXML();
  size_t end = head.rfind("</JPK>");
  if (end == std::string::npos) Fail("Nagłówek JPK_FA bez zakończenia");
  head.resize(end);

  std::string temp = fileName + ".tmp";
  std::ofstream out(temp, std::ios::binary);
  if (!out) Fail("Nie można utworzyć pliku %s", temp);
  out << head << '\n';

  const ProgramSettings& s = Settings();
  std::string company = s.Nazwa;
  std::string companyAddress = s.Ulica + " " + s.NrDomu + ", " + s.KodPocztowy + " " + s.Miasto;
  char month[16];
  std::snprintf(month, sizeof month, "%04d-%02d-", s.CurDate.year, s.CurDate.month);
  const int rates[] = {23, 8, 5};
  const char* rateFields[][2] = {{"P_13_1", "P_14_1"}, {"P_13_2", "P_14_2"}, {"P_13_3", "P_14_3"}};

  double total = 0;
  double linesTotal = 0;
  std::string buffer;
  std::string lines;
  for (long i = 1; i <= options.invoices; ++i) {
    const Party& party = kParties[static_cast<size_t>(i) % std::size(kParties)];
    bool purchase = i % 4 == 0;
    int rate = static_cast<int>(i % 3);
    double net = round2(100 + static_cast<double>((i * 37) % 5000) + static_cast<double>(i % 100) / 100);
    double tax = round2(net * rates[rate] / 100);
    double gross = round2(net + tax);
    total = round2(total + gross);
    linesTotal = round2(linesTotal + net);
    char day[4];
    std::snprintf(day, sizeof day, "%02ld", 1 + (i - 1) % 28);
    std::string number = (purchase ? "FZ/" : "FV/") + std::to_string(i) + "/" + std::to_string(s.CurDate.year);

    buffer += "\t<Faktura>\n";
    Element(buffer, 2, "KodWaluty", "PLN");
    Element(buffer, 2, "P_1", month + std::string(day));
    Element(buffer, 2, "P_2A", number);
    Element(buffer, 2, "P_3A", purchase ? company : party.name);
    Element(buffer, 2, "P_3B", purchase ? companyAddress : party.address);
    Element(buffer, 2, "P_3C", purchase ? party.name : company);
    Element(buffer, 2, "P_3D", purchase ? party.address : companyAddress);
    Element(buffer, 2, "P_4B", purchase ? party.nip : s.NIP);
    Element(buffer, 2, "P_5B", purchase ? s.NIP : party.nip);
    Element(buffer, 2, rateFields[rate][0], xml::XmlFloatToStr(net));
    Element(buffer, 2, rateFields[rate][1], xml::XmlFloatToStr(tax));
    Element(buffer, 2, "P_15", xml::XmlFloatToStr(gross));
    for (const char* flag :
         {"P_16", "P_17", "P_18", "P_18A", "P_19", "P_20", "P_21", "P_22", "P_23", "P_106E_2", "P_106E_3"})
      Element(buffer, 2, flag, "false");
    Element(buffer, 2, "RodzajFaktury", "VAT");
    buffer += "\t</Faktura>\n";

    if (options.lines) {
      lines += "\t<FakturaWiersz>\n";
      Element(lines, 2, "P_2B", number);
      Element(lines, 2, "P_7", "Towar handlowy");
      Element(lines, 2, "P_8A", "szt.");
      Element(lines, 2, "P_8B", "1");
      Element(lines, 2, "P_9A", xml::XmlFloatToStr(net));
      Element(lines, 2, "P_11", xml::XmlFloatToStr(net));
      Element(lines, 2, "P_12", std::to_string(rates[rate]));
      lines += "\t</FakturaWiersz>\n";
    }
    if (buffer.size() > (1 << 20)) {
      out << buffer;
      buffer.clear();
    }
  }
  buffer += "\t<FakturaCtrl>\n";
  Element(buffer, 2, "LiczbaFaktur", std::to_string(options.invoices));
  Element(buffer, 2, "WartoscFaktur", xml::XmlFloatToStr(total));
  buffer += "\t</FakturaCtrl>\n";
  out << buffer;
  if (options.lines) {
    out << lines;
    buffer = "\t<FakturaWierszCtrl>\n";
    Element(buffer, 2, "LiczbaWierszyFaktur", std::to_string(options.invoices));
    Element(buffer, 2, "WartoscWierszyFaktur", xml::XmlFloatToStr(linesTotal));
    buffer += "\t</FakturaWierszCtrl>\n";
    out << buffer;
  }
  out << "</JPK>\n";
  out.close();
  if (!out) Fail("Nie można zapisać pliku %s", temp);
  if (std::rename(temp.c_str(), fileName.c_str()) != 0) Fail("Nie można zapisać pliku %s", fileName);
}

}  // namespace velkar
