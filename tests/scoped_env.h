// Sets (or, with nullptr, removes) an environment variable for a scope and puts back what was
// there before when the scope ends, also when a failed assertion ends the test early. TZ is
// re-read by the C library on both ends.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace chromiva::test {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const char* value) {
    value ? ::setenv(name_.c_str(), value, 1) : ::unsetenv(name_.c_str());
    if (name_ == "TZ") ::tzset();
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace chromiva::test
