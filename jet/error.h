#pragma once
// The one exception type of the Jet reader. Its kind tells a caller which of
// the distinct failures it met; its message is a short English reason for a
// log or a maintainer (the program shows its own words for each kind).
#include <stdexcept>
#include <string>

namespace jet {

enum class ErrorKind {
  kNotJet,             // not a Jet database at all
  kNewerFormat,        // an Access 2007 or later (ACE) file, or a version this reader does not know
  kEncrypted,          // the pages are encrypted (a database key is set)
  kPasswordProtected,  // a database password is set (see Options::accept_password)
  kDamaged,            // a page, offset, length or chain in the file does not hold together
  kNoSuchTable,        // no user table of that name
  kCodePage,           // Jet 3 text in a code page the decoder cannot convert
};

class Error : public std::runtime_error {
 public:
  Error(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  ErrorKind kind() const noexcept { return kind_; }

 private:
  ErrorKind kind_;
};

[[noreturn]] inline void Damaged(const std::string& message) { throw Error(ErrorKind::kDamaged, message); }

}  // namespace jet
