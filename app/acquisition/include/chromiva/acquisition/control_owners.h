// Who writes each control of the form: one owning component per control, plus the shared enable
// rules (`FormContext::UpdateControlStates`) for the enabling they derive and the operator's own
// input as it arrives. A component writes the table only through its `ControlWriter`, which
// refuses every control it does not own.
#pragma once

#include <string>
#include <vector>

#include "chromiva/acquisition/form_state.h"

namespace chromiva::acquisition {

enum class ControlOwner {
  kNobody,  // static texts: nobody writes them after the start
  kDetection,
  kMeasurement,
  kReferences,
  kBrowser,
  kSettings,
  kEnableRules,  // only the enabling of the controls the shared rules derive
  kOperator,     // only typed text, checks and list selections, as the window hands them in
};

// The owner of `id`; kNobody for ids that are not a control of the form.
ControlOwner OwnerOf(int id);
// Whether the shared enable rules derive the enabling of `id`.
bool EnablingDerived(int id);

// Writes refused since the last call because the writer does not own the control, and the
// count starts again. Such a write is a programming fault: the program goes on without it (and
// says so on standard error), and the tests fail on any.
int TakeRefusedControlWrites();

// One component's access to the control table. A write to a control of another owner is
// refused and counted (see TakeRefusedControlWrites).
class ControlWriter {
 public:
  ControlWriter(ControlTable& table, ControlOwner owner) : table_(table), owner_(owner) {}

  void SetText(int id, std::string text) { Own(id, kValue).text = std::move(text); }
  void SetChecked(int id, bool checked) { Own(id, kValue).checked = checked; }
  void SetSelection(int id, int selection) { Own(id, kValue).selection = selection; }
  void SetEnabled(int id, bool enabled) { Own(id, kEnabling).enabled = enabled; }
  void SetVisible(int id, bool visible) { Own(id, kLayout).visible = visible; }
  std::vector<std::string>& Items(int id) { return Own(id, kLayout).items; }

 private:
  enum Aspect { kValue, kEnabling, kLayout };
  ControlState& Own(int id, Aspect aspect);

  ControlTable& table_;
  ControlOwner owner_;
};

}  // namespace chromiva::acquisition
