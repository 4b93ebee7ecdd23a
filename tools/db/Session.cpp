// The database session: settings of the engine and the store of loaded tables.
#include "tools/db/Session.h"

#include <iostream>

#include "tools/db/Store.h"

namespace velkar::db {

Session::Session(std::string name) : name_(std::move(name)) {}

Session::~Session() = default;

void Session::Deactivate() {
  active_ = false;
  if (store_) store_->DropUnused();
}

void Session::Warn(const std::string& message) const {
  if (warn_) warn_(message);
  else std::cerr << message << std::endl;
}

Store& Session::Tables() {
  if (!store_) store_ = std::make_unique<Store>(*this);
  return *store_;
}

Session& DefaultSession() {
  static Session session("Default");
  return session;
}

}  // namespace velkar::db
