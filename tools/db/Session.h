// The database session through which every source table is opened. Its network control
// directory is where the source programs keep their shared lock files.
#pragma once

#include <string>

namespace velkar::db {

class Session {
 public:
  explicit Session(std::string name = "Session") : name_(std::move(name)) {}

  const std::string& SessionName() const { return name_; }
  const std::string& NetFileDir() const { return netFileDir_; }
  void SetNetFileDir(const std::string& dir) { netFileDir_ = dir; }
  bool Active() const { return active_; }
  void Activate() { active_ = true; }
  void Deactivate() { active_ = false; }

 private:
  std::string name_;
  std::string netFileDir_;
  bool active_ = false;
};

}  // namespace velkar::db
