#include "chromiva/acquisition/dialogs/mirror_dialog.h"

#include <climits>

#include "wrenlink.h"

namespace chromiva::acquisition::dialogs {

using namespace mirror_ids;

namespace {

// The low 16 bits of a value, read as unsigned.
int Low16(long long value) {
  return static_cast<int>(static_cast<std::uint16_t>(value & 0xFFFF));
}

}  // namespace

MirrorDialog::MirrorDialog(int mirrorDeviceIndex, Sender send)
    : deviceIndex_(mirrorDeviceIndex),
      send_(send ? std::move(send)
                 : Sender([](int index, int position) { SetMirror(index, position); })),
      controls_({{kOk, TR_NOOP("Form", "OK")},
                 {kCancel, TR_NOOP("Form", "キャンセル")},
                 {kSet, TR_NOOP("Form", "set")},
                 {kPlus, "+1000"},
                 {kMinus, "-1000"}}) {
  controls_.SetText(kPosition, std::to_string(position_));
}

void MirrorDialog::Clicked(int id) {
  switch (id) {
    case kPlus:
      Step(kStep);
      break;
    case kMinus:
      Step(-kStep);
      break;
    case kSet:
      send_(deviceIndex_, Low16(ParseLeadingInteger(controls_.Text(kPosition))));
      break;
    default:
      break;
  }
}

void MirrorDialog::Step(int delta) {
  const int bits = Low16(static_cast<long long>(position_) + delta);
  position_ = static_cast<std::int16_t>(bits);  // wraps past 32767
  controls_.SetText(kPosition, std::to_string(position_));
  send_(deviceIndex_, bits);
}

bool OpensMirrorDialog(std::string_view deviceListLine) {
  return deviceListLine.find(kDeviceLine) != std::string_view::npos;
}

int ParseLeadingInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  long long value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

}  // namespace chromiva::acquisition::dialogs
