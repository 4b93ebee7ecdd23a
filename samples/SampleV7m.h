// The sample JPK_V7M register of the demo company, built with the program's own model,
// header filler and register recalculation: invoices at every rate, an exempt and a 0 %
// sale, an invoice for a receipt (FP), the month's receipt row (RO), a bad-debt correction
// (KorektaPodstawyOpodt) and purchases with a correction of input tax. With a row count it
// builds a register of that size instead (for the benchmarks). The structure follows the
// period (JPK_V7M(3) from February 2026) unless forced; in JPK_V7M(3) every row carries its
// KSeF element: invoices a KSeF number (with its checksum) or BFK, the receipts and imports DI.
#pragma once

#include <optional>
#include <string>

#include "model/v7m/JpkV7.h"

namespace velkar {

struct SampleV7mOptions {
  long sales = -1;                            // -1: the demo register; otherwise generated rows
  long purchases = -1;                        // generated purchase rows (default: a fifth of the sales)
  std::optional<v7m::V7Structure> structure;  // forced structure; by default the period's
};

// The taxpayer and the period come from Settings(); the creation stamp from the clock.
v7m::IXMLJPK BuildSampleV7m(const SampleV7mOptions& options);

// Writes the document as the program writes JPK files: UTF-8, one element per line,
// TAB-indented.
void WriteSampleV7m(const v7m::IXMLJPK& doc, const std::string& fileName);

}  // namespace velkar
