// The database session through which every source table is opened. Its network control
// directory is where the source programs keep their shared lock files. The session owns
// the in-memory SQLite database that opened tables are loaded into; tables and queries
// must be closed before their session ends. One thread at a time may use a session.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace velkar::db {

class Store;

class Session {
 public:
  explicit Session(std::string name = "Session");
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const std::string& SessionName() const { return name_; }
  const std::string& NetFileDir() const { return netFileDir_; }
  void SetNetFileDir(const std::string& dir) { netFileDir_ = dir; }
  bool Active() const { return active_; }
  void Activate() { active_ = true; }
  // Ends the session's work: loaded tables that no open table or query uses are dropped.
  void Deactivate();

  // Code page of Paradox tables that name none (3.0 and 3.5 tables); 852 by default.
  int ParadoxCodePage() const { return paradoxCodePage_; }
  void SetParadoxCodePage(int codePage) { paradoxCodePage_ = codePage; }

  // Warnings of the table readers (for example a memo file that is missing); by default
  // they go to standard error.
  void SetWarningHandler(std::function<void(const std::string&)> handler) { warn_ = std::move(handler); }
  void Warn(const std::string& message) const;

  // The loaded tables (created on first use).
  Store& Tables();

 private:
  std::string name_;
  std::string netFileDir_;
  bool active_ = false;
  int paradoxCodePage_ = 852;
  std::function<void(const std::string&)> warn_;
  std::unique_ptr<Store> store_;
};

// The session of tables and queries created without one.
Session& DefaultSession();

}  // namespace velkar::db
