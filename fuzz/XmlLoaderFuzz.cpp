// Fuzz target for the XML loader and the typed model on top of it: any input either loads
// or raises a velkar::Error; a loaded document can be walked, read through the typed
// JPK_V7M(2) properties, changed, saved, and the saved text loads again with the same shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/fa/JpkFA.h"
#include "model/v7m/JpkV7.h"

using namespace velkar;

namespace {

// Counts elements and reads every text and attribute-free value on the way.
size_t Walk(const xml::TXMLNode& node, int depth) {
  size_t elements = 1;
  if (depth > 300) std::abort();  // the parser's depth limit keeps trees far below this
  for (xml::TXMLNode child : node.ChildNodes()) {
    if (child.NodeType() == xml::ntElement) {
      elements += Walk(child, depth + 1);
    } else {
      (void)child.Text();
    }
  }
  (void)node.NodeName();
  (void)node.NamespaceURI();
  return elements;
}

template <typename F>
void Tolerate(F f) {
  try {
    f();
  } catch (const Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  v7m::IXMLJPK jpk;
  try {
    jpk = v7m::LoadJpkV7FromXML(input);
  } catch (const Error&) {
    return 0;
  }
  size_t before = Walk(jpk, 0);

  // Typed reads over whatever is there (conversion errors are expected on odd text).
  Tolerate([&] {
    if (xml::TXMLNode e = jpk.FindChild("Ewidencja")) {
      for (v7m::IXMLJPK_Ewidencja_SprzedazWiersz row : xml::Cast<v7m::IXMLJPK_Ewidencja>(e).SprzedazWiersz()) {
        Tolerate([&] { (void)row.K_19(); });
        Tolerate([&] { (void)row.LpSprzedazy(); });
        (void)row.NazwaKontrahenta();
      }
    }
  });
  Tolerate([&] { (void)jpk.Podmiot1().OsobaFizyczna().NIP(); });
  Tolerate([&] { (void)jpk.Naglowek().KodFormularza().kodSystemowy(); });
  Tolerate([&] { (void)fa::GetJpkFA(jpk.OwnerDocument()).Podmiot1().AdresPodmiotu().KodKraju(); });

  // Changes through the model, then a save that must load again with the same shape.
  Tolerate([&] {
    auto rows = jpk.Ewidencja().SprzedazWiersz();
    rows.Insert(1).Set_K_19(0.1 + 0.2);
    rows.Add().Set_NazwaKontrahenta(input.substr(0, 16));
    if (rows.Count() > 2) rows.Delete(0);
  });
  std::string saved;
  Tolerate([&] { saved = jpk.OwnerDocument()->SaveToXML(); });
  if (saved.empty()) return 0;  // an encoding the writer cannot produce
  size_t after = Walk(jpk, 0);
  v7m::IXMLJPK again;
  try {
    again = v7m::LoadJpkV7FromXML(saved);
  } catch (const Error&) {
    std::abort();  // what the model writes must always read back
  }
  if (Walk(again, 0) != after) std::abort();
  (void)before;
  return 0;
}
