#pragma once

namespace wrenlink {

// Readout of GetDeviceData for the non-spectrometer kinds (sensor board, load cell);
// 0 for kinds without one.
int FamilyDeviceData(int index, int kind, void* buffer);

}  // namespace wrenlink
