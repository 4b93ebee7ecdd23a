// TExchFormatDlg: the choice of formats and files, its checks, loading and dispatch.
#include "exchange/ExchFormatDlg.h"

#include "app/MainForm.h"
#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "editor/JpkVatDlg.h"
#include "exchange/BuchalterExport.h"
#include "exchange/FaToV7.h"
#include "exchange/RamzesConvert.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/V7mPublication.h"
#include "model/xml/XmlErrors.h"

namespace velkar {

namespace {

// A file of another structure than the chosen one: its root is not the JPK element of
// that schema's namespace. Raised as the interface-cast error the typed model gives.
void CheckRoot(const xml::TXMLNode& root, const char* targetNamespace, const char* interfaceName,
               const char* otherNamespace = nullptr) {
  std::string uri = root.NamespaceURI();
  if (root.LocalName() != "JPK" || (uri != targetNamespace && (!otherNamespace || uri != otherNamespace)))
    throw xml::EIntfCastError(
        Format("Interfejs nie jest obsługiwany: węzeł \"%s\" nie jest %s", root.NodeName(), interfaceName));
}

}  // namespace

TExchFormatDlg::TExchFormatDlg(TMainForm& mainForm) : Window("TExchFormatDlg", "Konwersja danych"), MainForm(mainForm) {
  cbInputFormat.Items = {kFormatFa, kFormatV7};
  cbOutputFormat.Items = {kFormatV7, kFormatBuchalter, kFormatRamzes};
  OpenDlg.title = "Wybierz plik";
  OpenDlg.filter = "Plik JPK_VAT|*.xml";
  OpenDlg.defaultExt = "xml";
  FormCreate();
}

void TExchFormatDlg::FormCreate() {
  Images = MainForm.MakeImageList({"FolderOpen"}, 0);
  edInputFile.RightButtonImageIndex = 0;
  edOutputFolder.RightButtonImageIndex = 0;
}

void TExchFormatDlg::FormShow() {
  cbInputFormat.ItemIndex = 0;
  cbInputFormat.Text = cbInputFormat.Items[0];
  cbOutputFormat.ItemIndex = 0;
  cbOutputFormat.Text = cbOutputFormat.Items[0];
  edOutputFolder.Text = Settings().SaveDir.empty() ? MainForm.RunDir : Settings().SaveDir;
  FolderRoot = MainForm.RunDir;
}

void TExchFormatDlg::edInputFileRightButtonClick() {
  OpenDlg.initialDir = edOutputFolder.Text;
  OpenDlg.fileName = edInputFile.Text;
  if (std::optional<std::string> chosen = Ui().OpenFileDialog(OpenDlg)) {
    edInputFile.Text = *chosen;
    OpenDlg.initialDir = ExtractFilePath(*chosen);
  }
}

void TExchFormatDlg::edOutputFolderRightButtonClick() {
  std::string start = edOutputFolder.Text.empty() ? FolderRoot : edOutputFolder.Text;
  if (std::optional<std::string> chosen = Ui().BrowseFolder("Wybierz folder", start)) edOutputFolder.Text = *chosen;
}

bool TExchFormatDlg::btnMakeItClick() {
  LastOutput.clear();
  try {
    Convert();
  } catch (const xml::EIntfCastError& error) {
    ShowErrorBox(error.what() + std::string(kWrongStructure) + cbInputFormat.Text);
  } catch (const std::exception& error) {
    // The converter holds no unsaved work: a failed conversion is reported and the
    // dialog stays open for another try.
    ShowErrorBox(error.what());
  }
  return !LastOutput.empty();
}

void TExchFormatDlg::Convert() {
  const std::string& input = cbInputFormat.Text;
  const std::string& output = cbOutputFormat.Text;
  if (input == output) {
    ShowErrorBox("Taki sam format danych źródłowych i wynikowych: " + input);
    return;
  }
  // Buchalter and Ramzes read a VAT register, which only a JPK_V7M(2) file holds.
  if (input == kFormatFa && (output == kFormatBuchalter || output == kFormatRamzes)) {
    ShowErrorBox(Format("Konwersja do formatu %s wymaga pliku JPK_V7M (2)", output));
    return;
  }
  if (edInputFile.Text.empty()) {
    ShowErrorBox("Nie wybrano pliku do konwersji");
    return;
  }
  std::string fileName = NativePath(edInputFile.Text);
  if (!FileExists(fileName)) {
    ShowErrorBox("Nie znaleziono pliku");
    return;
  }

  v7m::IXMLJPK v7;
  fa::IXMLJPKFA fa;
  if (input == kFormatV7) {
    v7 = v7m::LoadJpkV7(fileName);
    RenameEarlierV7mPublication(v7);  // read only: the earlier publication needs no word here
    // A register reads alike in both structures (the KSeF elements are no part of the exchange files).
    CheckRoot(v7, v7m::kTargetNamespace, "IXMLJPK", v7m::kTargetNamespace3);
    CheckJpkV7Prefixes(v7, fileName);
  } else if (input == kFormatFa) {
    fa = fa::LoadJpkFA(fileName);
    CheckRoot(fa, fa::kTargetNamespace, "IXMLJPKFA");
    CheckJpkFAPrefixes(fa, fileName);
  }

  std::string& folder = edOutputFolder.Text;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  std::string outputFolder = NativePath(folder);

  if (output == kFormatBuchalter && v7) {
    LastOutput = ConvertV7ToBuchalter(v7, outputFolder, MainForm.RunDir, MainForm.CutDict);
  } else if (output == kFormatRamzes && v7) {
    LastOutput = ConvertV7ToRamzes(v7, fileName, outputFolder, MainForm.CutDict);
  } else if (output == kFormatV7 && fa) {
    if (!JpkVatDlg) Fail("Brak okna JPK_V7M do przeliczenia rejestru");
    LastOutput = ConvertFaToV7(std::move(fa), fileName, outputFolder, *JpkVatDlg);
  }
}

}  // namespace velkar
