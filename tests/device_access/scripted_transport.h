// A transport for unit tests: it checks every request byte for byte against a script and
// answers with the script's canned replies. Installing it makes every detection use it.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "transport/transport.h"

namespace wrenlink::testing {

using Bytes = std::vector<std::uint8_t>;

class ScriptedTransport : public Transport {
 public:
  ScriptedTransport();
  ~ScriptedTransport() override;  // closes every slot and restores the normal transport
  ScriptedTransport(const ScriptedTransport&) = delete;
  ScriptedTransport& operator=(const ScriptedTransport&) = delete;

  // Paths of the present instruments, in index order.
  std::vector<std::string> devicePaths = {"scripted:0"};
  int descriptorLength = kDeviceDescriptorLength;

  // The next request must equal `request`; the read after it gets `reply` (cut to the
  // read's maximum) or, with no reply, nothing.
  void Expect(Bytes request, std::optional<Bytes> reply);
  // `count` identical exchanges.
  void ExpectRepeated(const Bytes& request, const Bytes& reply, int count);
  // Detects `index` as an instrument of `kind` (scripting the kind query).
  void DetectAs(int index, int kind);

  bool ScriptDone() const { return script_.empty(); }
  std::size_t Remaining() const { return script_.size(); }

  std::vector<Bytes> requests;  // every request sent, in order
  std::vector<int> readMaxima;  // the maximum length of every read, in order
  std::vector<int> sleepsMs;    // every wait of the library
  std::int64_t clockUs = 0;     // the transport's clock: moves only by the library's waits
  double exposureSpeed = 1.0;   // what the connections answer

  // Called by the connections.
  int OnWrite(const std::uint8_t* data, int length);
  int OnRead(std::uint8_t* buffer, int length);

  FindResult FindDevicePath(int n, std::string& path) override;
  std::unique_ptr<Connection> Open(const std::string& path) override;
  void SleepMs(int milliseconds) override {
    sleepsMs.push_back(milliseconds);
    clockUs += std::int64_t{milliseconds} * 1000;
  }
  std::int64_t ClockUs() override { return clockUs; }

 private:
  struct Step {
    Bytes request;
    std::optional<Bytes> reply;
  };
  std::deque<Step> script_;
  std::optional<Bytes> pendingReply_;
};

std::string Hex(const Bytes& bytes);

}  // namespace wrenlink::testing
