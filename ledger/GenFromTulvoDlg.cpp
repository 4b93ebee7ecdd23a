// TGenFromTulvoDlg: the period, the background task with its progress, and the save offer.
#include "ledger/GenFromTulvoDlg.h"

#include "app/Settings.h"
#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "tools/Dictionaries.h"

namespace velkar {

namespace {
// The error that ends a task cancelled at program end.
class ETaskCancelled : public Error {
 public:
  ETaskCancelled() : Error("Zadanie zostało przerwane.") {}
};
}  // namespace

TGenFromTulvoDlg::TGenFromTulvoDlg(db::Session& session, const std::vector<std::string>& tulvoAccSet)
    : Window("TGenFromTulvoDlg", "Generuj dane z programu Tulvo do JPK_KR"),
      Query(&session),
      tblDetails(&session),
      tblTmp(&session),
      tulvoAccSet_(tulvoAccSet) {
  // The balance table lives in the session's memory only.
  tblTmp.TableName = "Tmp_tmp";
  ProgressBarKR.Max = 5;
  ProgressBarKR.Step = 1;
  lblProgMsg.Visible = ProgressBarKR.Visible = false;
  FormCreate();
}

TGenFromTulvoDlg::~TGenFromTulvoDlg() { FormDestroy(); }

void TGenFromTulvoDlg::FormCreate() { dtp.Date = FormatDate(StartOfMonth(Settings().CurDate)); }

void TGenFromTulvoDlg::FormShow() { ModalResultValue = mrNone; }

bool TGenFromTulvoDlg::FormCloseQuery() { return Task == nullptr; }

void TGenFromTulvoDlg::FormClose() {
  if (MadeSuccessfully) {
    OfferSaveKR();
  } else if (!TaskError.empty()) {
    std::string message = TaskError;
    TaskError.clear();
    ShowErrorBox(message);
  }
}

void TGenFromTulvoDlg::OfferSaveKR() {
  // The generated file is moved into place, or removed when it is not saved.
  std::unique_ptr<GeneratedJpkFile> file = std::move(Generated);
  if (Ui().Ask(MessageKind::Confirmation, kSaveQuestion, Buttons::YesNo) != Answer::Yes) return;
  if (file && file->Finished())
    SaveJpkKRAs(JPKKR, *file);
  else
    SaveJpkKRAs(JPKKR);
}

void TGenFromTulvoDlg::btnDoItClick() {
  // A start while the task runs is refused before it touches anything: the running task
  // reads CurDate for its header.
  if (Task) {
    ShowInfo(kBusyMessage);
    return;
  }
  MadeSuccessfully = false;
  if (std::optional<DateTime> date = ParseDate(dtp.Date)) Settings().CurDate = *date;
  DoFromTulvo();
}

void TGenFromTulvoDlg::PrepareRun() {
  const DateTime& date = Settings().CurDate;
  std::string folder = IncludeTrailingPathDelimiter(Settings().TulvoDir + Format("%04d", date.year));
  Query.Close();
  tblDetails.Close();
  Query.DatabaseName = folder;
  tblDetails.DatabaseName = folder;
  tblDetails.TableName = "details";
  periodId_ = TulvoPeriodId(date.year, date.month);
}

void TGenFromTulvoDlg::DoFromTulvo() {
  if (Task) {
    ShowInfo(kBusyMessage);
    return;
  }
  PrepareRun();
  StartTime = Clock::Now();
  SetInProgresState(true, kWaitMessage, 5);
  JPKKR = kr::NewJpkKR();
  Generated.reset();
  TaskError.clear();
  Task = std::make_unique<TBackgroundTask>([this] { GenerateKR(); });
  Task->Start();
}

void TGenFromTulvoDlg::GenerateKR() {
  std::string error;
  bool made = false;
  MadeSuccessfully = false;
  try {
    FTaskCur = 0;
    InitJpkKRDoc(JPKKR);
    SetJpkKRHeader(JPKKR);
    Generated = std::make_unique<GeneratedJpkFile>(JPKKR.OwnerDocument(), StreamBatch);
    ThreadProgress("Generowanie ZOiS", -1);
    BuildZOiS();
    ThreadProgress("Generowanie dziennika", FTaskCur + 1);
    BuildDziennik();
    ThreadProgress("Generowanie zapisów na kontach", -1);
    BuildKontoZapis();
    Generated->Finish();
    made = true;
  } catch (const ETaskCancelled&) {
    // Cancelled at program end: nobody is left to tell.
  } catch (const std::exception& e) {
    error = e.what();
  }
  // A run that did not end well leaves no file behind.
  if (!made) Generated.reset();
  MadeSuccessfully = made;
  // The final step belongs to the user-interface thread; this thread ends right after.
  Ui().PostToUiThread([this, error] {
    TaskError = error;
    FinishTask();
  });
}

void TGenFromTulvoDlg::FinishTask() {
  if (Task) Task->Join();
  Task.reset();
  SetInProgresState(false, "", 100);
  ModalResultValue = mrOk;
  Ui().WindowChanged(*this);
}

void TGenFromTulvoDlg::ThreadProgress(const char* message, int value) {
  if (Task && Task->Cancelled()) throw ETaskCancelled();
  FTaskCur = value == -1 ? FTaskCur + 1 : value;
  if (message) FProgMsg.Set(message);
  Ui().RunOnUiThread([this] { FProgCur = FTaskCur; });
}

void TGenFromTulvoDlg::SetInProgresState(bool enabled, const std::string& progMsg, int progMax) {
  FProgCur = 0;
  FProgMsg.Set(progMsg);
  if (enabled) {
    if (!tmrProgress.Enabled()) tmrProgress.Start([this] { tmrProgressTimer(); });
  } else {
    tmrProgress.Stop();
  }
  GroupBox1.Enabled = labPeriod.Enabled = dtp.Enabled = btnDoIt.Enabled = !enabled;
  lblProgMsg.Visible = ProgressBarKR.Visible = enabled;
  if (enabled) {
    ProgressBarKR.Max = progMax;
    ProgressBarKR.Position = 0;
    lblProgMsg.Text = progMsg;
  } else {
    lblProgMsg.Text.clear();
  }
  if (enabled != busyCursor_) {
    Ui().SetBusyCursor(enabled);
    busyCursor_ = enabled;
  }
  Ui().WindowChanged(*this);
  Ui().ProcessMessages(0);
}

void TGenFromTulvoDlg::ShowProgress() {
  ProgressBarKR.Position = FProgCur;
  std::string message = FProgMsg.Get();
  if (!message.empty()) lblProgMsg.Text = message;
  Ui().WindowChanged(*this);
  Ui().ProcessMessages(0);
}

void TGenFromTulvoDlg::FormDestroy() {
  if (destroying_) return;
  destroying_ = true;
  // Cancel a running task and wait for it, handling its calls to this thread, until its
  // final step has cleared Task.
  while (Task) {
    Task->Cancel();
    Ui().ProcessMessages(1000);
  }
  tmrProgress.Stop();
  if (busyCursor_) Ui().SetBusyCursor(false);
  busyCursor_ = false;
}

}  // namespace velkar
