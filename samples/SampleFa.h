// A sample JPK_FA(4) invoice file of the demo company: its header made by the program's
// own model and header filler, then invoices of the working month (sales of the company
// and purchases from its suppliers, at 23, 8 and 5 %, each with one invoice line) written
// straight to the file, so a file of a million invoices is written in linear time and
// little memory.
#pragma once

#include <string>

namespace velkar {

struct SampleFaOptions {
  long invoices = 24;
  bool lines = true;  // one FakturaWiersz per invoice (with its control record)
};

// The taxpayer and the period come from Settings(); the creation stamp from the clock.
void WriteSampleFa(const SampleFaOptions& options, const std::string& fileName);

}  // namespace velkar
