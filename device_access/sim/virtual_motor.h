// The motor controller (kind 15): text commands in 50-byte requests, text replies.
//   PMa,s,v,   move axis a by s steps at speed v (moves complete at once) -> "OK,"
//   POa,s,v,   return axis a to its origin (position 0) -> "OK,"
//   PVv,       start speed                              -> "OK,"
//   PEa,e,     excitation of axis a on (e != 0) or off  -> "OK,"
//   PB, / Pb,  buzzer on / off                          -> "OK,"
//   Ps / PS    soft / immediate stop                    -> "OK,"
//   GSa,       "<origin switch>,<position>,": the switch reads 1 while axis a is at 0
//   GIn,       "<0|1>,": operator switch n, pressed when bit n of option opswitch= is set
// Anything else answers "NG,".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sim_options.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

class VirtualMotor : public VirtualInstrument {
 public:
  explicit VirtualMotor(const InstrumentSpec& spec);

  long Position(long axis) const;
  bool BuzzerOn() const { return buzzer_; }
  long StartSpeed() const { return startSpeed_; }
  bool Excited(long axis) const;

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::string Respond(const std::string& command, const std::vector<long>& numbers);
  std::string Query(const std::string& command, long n) const;

  std::map<long, long> positions_;
  std::map<long, bool> excitation_;
  long startSpeed_ = 0;
  long operatorSwitches_;
  bool buzzer_ = false;
};

}  // namespace wrenlink::sim
