#include "scripted_transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

class ScriptedConnection : public Connection {
 public:
  ScriptedConnection(ScriptedTransport& owner, int descriptorLength)
      : owner_(owner), descriptorLength_(descriptorLength) {}

  int ReadDeviceDescriptor(std::uint8_t* buffer, int length) override {
    int count = std::min(length, descriptorLength_);
    std::memset(buffer, 0x12, static_cast<std::size_t>(count));
    return count;
  }
  int BulkWrite(const std::uint8_t* data, int length, int) override {
    return owner_.OnWrite(data, length);
  }
  int BulkRead(std::uint8_t* buffer, int length, int) override {
    return owner_.OnRead(buffer, length);
  }
  double ExposureSpeed() const override { return owner_.exposureSpeed; }

 private:
  ScriptedTransport& owner_;
  int descriptorLength_;
};

}  // namespace

std::string Hex(const Bytes& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : bytes) {
    text.push_back(digits[b >> 4]);
    text.push_back(digits[b & 0x0F]);
  }
  return text;
}

ScriptedTransport::ScriptedTransport() {
  SetTransportOverride(this);
}

ScriptedTransport::~ScriptedTransport() {
  for (int index = 0; index < 10; ++index) CloseDevice(index);
  SetTransportOverride(nullptr);
}

void ScriptedTransport::Expect(Bytes request, std::optional<Bytes> reply) {
  script_.push_back({std::move(request), std::move(reply)});
}

void ScriptedTransport::ExpectRepeated(const Bytes& request, const Bytes& reply, int count) {
  for (int i = 0; i < count; ++i) Expect(request, reply);
}

void ScriptedTransport::DetectAs(int index, int kind) {
  while (devicePaths.size() <= static_cast<std::size_t>(index)) {
    devicePaths.push_back("scripted:" + std::to_string(devicePaths.size()));
  }
  Expect({0x4B, 0x00}, Bytes{static_cast<std::uint8_t>(kind), 0, 0, 0});
  ASSERT_EQ(DetectDevice(index), 1);
  requests.clear();
  readMaxima.clear();
}

int ScriptedTransport::OnWrite(const std::uint8_t* data, int length) {
  Bytes request(data, data + length);
  requests.push_back(request);
  pendingReply_.reset();
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected request " << Hex(request);
    return length;
  }
  Step step = std::move(script_.front());
  script_.pop_front();
  EXPECT_EQ(Hex(request), Hex(step.request)) << "request " << requests.size();
  pendingReply_ = std::move(step.reply);
  return length;
}

int ScriptedTransport::OnRead(std::uint8_t* buffer, int length) {
  readMaxima.push_back(length);
  if (!pendingReply_) return 0;
  int count = std::min(length, static_cast<int>(pendingReply_->size()));
  std::memcpy(buffer, pendingReply_->data(), static_cast<std::size_t>(count));
  pendingReply_.reset();
  return count;
}

FindResult ScriptedTransport::FindDevicePath(int n, std::string& path) {
  if (n < 0 || n >= static_cast<int>(devicePaths.size())) return FindResult::kNoDevice;
  path = devicePaths[static_cast<std::size_t>(n)];
  return FindResult::kFound;
}

std::unique_ptr<Connection> ScriptedTransport::Open(const std::string&) {
  return std::make_unique<ScriptedConnection>(*this, descriptorLength);
}

}  // namespace wrenlink::testing
