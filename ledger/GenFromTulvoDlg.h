// TGenFromTulvoDlg: "Generuj dane z programu Tulvo do JPK_KR". Builds the JPK_KR(1) file of
// one month from Tulvo's ledger (chart of accounts with balances, journal, postings) in a
// background task while a progress bar and a status line move; when the task ends the
// dialog closes and offers to save the file.
//
// Threads: GenerateKR and the three Build... sections run on the task's thread and touch
// only JPKKR, Generated, Query, tblDetails, tblTmp and the progress fields; everything that changes the
// window runs on the user-interface thread (ThreadProgress hands the counter over there
// and waits; the final step is posted there). FTaskCur is atomic and FProgMsg is locked,
// since the task writes them while the timer reads them.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/ui/Controls.h"
#include "app/ui/ProgressControls.h"
#include "app/ui/Window.h"
#include "base/DateTime.h"
#include "jpkfiles/GeneratedJpkFile.h"
#include "ledger/BackgroundTask.h"
#include "model/kr/JpkKR.h"
#include "tools/db/Query.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

namespace velkar {

// A text one thread writes while another reads it.
class SharedText {
 public:
  void Set(std::string text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
  }
  std::string Get() const {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

class TGenFromTulvoDlg : public Window {
 public:
  static constexpr int kWidth = 364;  // client area
  static constexpr int kHeight = 183;

  inline static const char* const kBusyMessage = "Task is already running.";
  inline static const char* const kSaveQuestion = "Zapisać wygenerowany plik?";
  inline static const char* const kWaitMessage = "Proszę czekać...";

  // `session` is the main window's database session, `tulvoAccSet` its list of account
  // group names (line n names group n, from its third character on).
  TGenFromTulvoDlg(db::Session& session, const std::vector<std::string>& tulvoAccSet);
  ~TGenFromTulvoDlg() override;

  TLabel labPeriod{"labPeriod", "Za okres:"};
  TDateTimePicker dtp{"dtp"};
  TButton btnDoIt{"btnDoIt", "&Generuj"};
  TGroupBox GroupBox1{"GroupBox1"};
  TLabel lblProgMsg{"lblProgMsg", "Status:"};
  TProgressBar ProgressBarKR{"ProgressBarKR"};
  TTimer tmrProgress{"tmrProgress", 200};
  db::TQuery Query;
  db::TTable tblDetails;
  db::TTable tblTmp;

  DateTime StartTime;
  std::atomic<int> FTaskCur = 0;  // written by the task
  int FProgCur = 0;               // written on the user-interface thread only
  SharedText FProgMsg;
  std::unique_ptr<TBackgroundTask> Task;
  std::atomic<bool> MadeSuccessfully = false;
  kr::IXMLJPKKR JPKKR;
  // The file the task writes JPKKR's records to as it makes them (JPKKR keeps only what
  // is not yet written once a section outgrows StreamBatch records). Set while the task
  // runs, kept after a successful run until the save offer is answered.
  std::unique_ptr<GeneratedJpkFile> Generated;
  size_t StreamBatch = xml::TXMLStreamedSave::kDefaultBatch;
  // The message of the error that ended the last run ("" after success or cancellation).
  std::string TaskError;

  void FormCreate();
  void FormShow() override;
  bool FormCloseQuery() override;  // refused while the task runs
  void FormClose();
  void FormDestroy();
  void btnDoItClick();
  void DoFromTulvo();
  void tmrProgressTimer() { ShowProgress(); }

  // Called by the task: raises the cancellation error when the task was cancelled, moves
  // the counter (value -1: one step further), takes the message when given, and hands the
  // counter to the user-interface thread, waiting for it.
  void ThreadProgress(const char* message, int value);
  void SetInProgresState(bool enabled, const std::string& progMsg, int progMax);
  void ShowProgress();
  void OfferSaveKR();

  // The body of the task, and its three sections (also callable on their own once
  // PrepareRun has set the folders and the period).
  void GenerateKR();
  void BuildZOiS();
  void BuildDziennik();
  void BuildKontoZapis();

  // The Tulvo year folder and the period of CurDate into Query, tblDetails and PeriodId.
  void PrepareRun();
  int PeriodId() const { return periodId_; }

 private:
  void FinishTask();
  // Called by the sections after each finished record.
  void RecordDone() {
    if (Generated) Generated->RecordDone(JPKKR);
  }
  std::string GroupName(const std::string& symbol) const;

  const std::vector<std::string>& tulvoAccSet_;
  int periodId_ = 0;
  bool busyCursor_ = false;
  bool destroying_ = false;
};

}  // namespace velkar
