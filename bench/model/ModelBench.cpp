// Benchmark of the typed JPK_V7M(2) model: building a register of N sale rows and N/5
// purchase rows through the typed setters and saving it, then loading it and totalling K_19
// over all sale rows through the typed getters. Each phase runs in its own process so its
// peak memory is its own; `run` also measures xmllint on the same file as the floor.
//
//   model_bench build N FILE     build and save, print the expected K_19 total
//   model_bench total FILE       load and total K_19 (and K_43 of the purchases)
//   model_bench measure CMD...   run CMD, print its wall and CPU time and peak memory
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/v7m/JpkV7.h"

using namespace velkar;
using namespace velkar::v7m;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Whole grosze, so the expected total is exact.
double SaleNet(long i) { return static_cast<double>(i % 100000 + 1) / 100.0; }

int Build(long n, const std::string& file) {
  auto start = Clock::now();
  double cpuStart = CpuSeconds();
  IXMLJPK jpk = NewJpkV7();
  xml::IXMLDocument doc = jpk.OwnerDocument();
  doc->DocumentElement().DeclareNamespace("etd", kEtdNamespace);
  doc->SetEncoding("UTF-8");
  IXMLJPK_Naglowek h = jpk.Naglowek();
  h.KodFormularza().SetText("JPK_VAT");
  h.KodFormularza().Set_kodSystemowy("JPK_V7M (2)");
  h.KodFormularza().Set_wersjaSchemy("1-0E");
  h.Set_WariantFormularza(2);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_NazwaSystemu("Velkar");
  h.CelZlozenia().Set_poz("P_7");
  h.CelZlozenia().SetText("1");
  h.Set_KodUrzedu("1471");
  h.Set_Rok("2024");
  h.Set_Miesiac(3);
  jpk.Podmiot1().Set_rola("Podatnik");
  jpk.Podmiot1().OsobaNiefizyczna().Set_NIP("5261040828");
  jpk.Podmiot1().OsobaNiefizyczna().Set_PelnaNazwa("Firma Sp. z o.o.");
  jpk.Podmiot1().OsobaNiefizyczna().Set_Email("biuro@example.pl");

  IXMLJPK_Ewidencja e = jpk.Ewidencja();
  IXMLJPK_Ewidencja_SprzedazWierszList sales = e.SprzedazWiersz();
  double total = 0, tax = 0;
  char text[64];
  for (long i = 1; i <= n; ++i) {
    IXMLJPK_Ewidencja_SprzedazWiersz row = sales.Add();
    row.Set_LpSprzedazy(static_cast<int32_t>(i));
    row.Set_KodKrajuNadaniaTIN("PL");
    std::snprintf(text, sizeof text, "%010ld", 1000000000L + i % 1000);
    row.Set_NrKontrahenta(text);
    std::snprintf(text, sizeof text, "Kontrahent %ld", i % 1000);
    row.Set_NazwaKontrahenta(text);
    std::snprintf(text, sizeof text, "FV %ld/03/2024", i);
    row.Set_DowodSprzedazy(text);
    row.Set_DataWystawienia("2024-03-15");
    row.Set_DataSprzedazy("2024-03-14");
    double net = SaleNet(i);
    double vat = static_cast<double>(static_cast<long>(net * 23 + 0.5)) / 100.0;
    row.Set_K_19(net);
    row.Set_K_20(vat);
    total += net;
    tax += vat;
  }
  e.SprzedazCtrl().Set_LiczbaWierszySprzedazy(n);
  e.SprzedazCtrl().Set_PodatekNalezny(tax);
  IXMLJPK_Ewidencja_ZakupWierszList purchases = e.ZakupWiersz();
  for (long i = 1; i <= n / 5; ++i) {
    IXMLJPK_Ewidencja_ZakupWiersz row = purchases.Add();
    row.Set_LpZakupu(static_cast<int32_t>(i));
    row.Set_KodKrajuNadaniaTIN("PL");
    row.Set_NrDostawcy("7740001454");
    row.Set_NazwaDostawcy("Dostawca");
    std::snprintf(text, sizeof text, "FZ %ld/2024", i);
    row.Set_DowodZakupu(text);
    row.Set_DataZakupu("2024-03-10");
    row.Set_K_42(100);
    row.Set_K_43(23);
  }
  e.ZakupCtrl().Set_LiczbaWierszyZakupow(n / 5);
  e.ZakupCtrl().Set_PodatekNaliczony(23.0 * static_cast<double>(n / 5));
  double built = Seconds(start);
  double builtCpu = CpuSeconds() - cpuStart;

  auto saveStart = Clock::now();
  double saveCpuStart = CpuSeconds();
  doc->SetOptions(doc->Options() | xml::doNodeAutoIndent);
  doc->SetNodeIndentStr("\t");
  doc->SaveToFile(file);
  double saved = Seconds(saveStart);
  double savedCpu = CpuSeconds() - saveCpuStart;
  std::printf("build rows=%ld seconds=%.3f cpu_seconds=%.3f rows_per_cpu_second=%.0f\n", n + n / 5, built, builtCpu,
              static_cast<double>(n + n / 5) / builtCpu);
  std::printf("save seconds=%.3f cpu_seconds=%.3f\n", saved, savedCpu);
  std::printf("expected_K_19=%.2f\n", total);
  std::printf("peak_kib=%ld\n", PeakKiB());
  return 0;
}

int Total(const std::string& file) {
  auto start = Clock::now();
  double cpuStart = CpuSeconds();
  IXMLJPK jpk = LoadJpkV7(file);
  double loaded = Seconds(start);
  double loadedCpu = CpuSeconds() - cpuStart;
  auto sumStart = Clock::now();
  double sumCpuStart = CpuSeconds();
  IXMLJPK_Ewidencja e = jpk.Ewidencja();
  double k19 = 0;
  long rows = 0;
  for (IXMLJPK_Ewidencja_SprzedazWiersz row : e.SprzedazWiersz()) {
    k19 += row.K_19();
    ++rows;
  }
  double k43 = 0;
  for (IXMLJPK_Ewidencja_ZakupWiersz row : e.ZakupWiersz()) k43 += row.K_43();
  double summed = Seconds(sumStart);
  double summedCpu = CpuSeconds() - sumCpuStart;
  double allCpu = CpuSeconds() - cpuStart;
  std::printf("load seconds=%.3f cpu_seconds=%.3f\n", loaded, loadedCpu);
  std::printf("total rows=%ld seconds=%.3f cpu_seconds=%.3f K_19=%.2f K_43=%.2f\n", rows, summed, summedCpu, k19, k43);
  std::printf("load_and_total cpu_seconds=%.3f sale_rows_per_cpu_second=%.0f\n", allCpu,
              static_cast<double>(rows) / allCpu);
  std::printf("peak_kib=%ld\n", PeakKiB());
  return 0;
}

// Runs a command with its output discarded; prints its wall and CPU (user + system) time and
// its peak memory.
int Measure(char** argv) {
  auto start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
    execvp(argv[0], argv);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  double seconds = Seconds(start);
  double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  std::printf("seconds=%.3f cpu_seconds=%.3f peak_kib=%ld exit=%d\n", seconds, cpu, usage.ru_maxrss, code);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "build" && argc == 4) return Build(std::atol(argv[2]), argv[3]);
    if (mode == "total" && argc == 3) return Total(argv[2]);
    if (mode == "measure" && argc > 2) return Measure(argv + 2);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: model_bench build N FILE | total FILE | measure CMD...\n");
  return 2;
}
