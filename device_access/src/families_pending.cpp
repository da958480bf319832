// Operations of the other instrument families, not yet implemented: each answers 0.
#include "wrenlink.h"

extern "C" {

int WRENLINK_CALL GetDeviceOffset(int, int*) {
  return 0;
}
int WRENLINK_CALL SetDeviceOffset(int, int) {
  return 0;
}
int WRENLINK_CALL GetDeviceIO(int, int, int*) {
  return 0;
}
int WRENLINK_CALL SetDeviceIO(int, int, int) {
  return 0;
}
int WRENLINK_CALL GetDevicePWM(int, int, int*) {
  return 0;
}
int WRENLINK_CALL SetDevicePWM(int, int, int) {
  return 0;
}
int WRENLINK_CALL GetDeviceLoad(int, int, unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetDeviceLoad(int, int, int) {
  return 0;
}
int WRENLINK_CALL GetDeviceLoadData(int, unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetDeviceLoadTare(int) {
  return 0;
}
int WRENLINK_CALL SetDeviceLoadCalib(int, int) {
  return 0;
}
int WRENLINK_CALL SetDeviceLoadFix(int) {
  return 0;
}
int WRENLINK_CALL GetDeviceLED(int, unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetDeviceLED(int, const unsigned char*) {
  return 0;
}
int WRENLINK_CALL GetDeviceLEDSW(int, unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetDeviceLEDSW(int, const unsigned char*) {
  return 0;
}
int WRENLINK_CALL GetDeviceLEDVC(int, uint16_t*, uint16_t*) {
  return 0;
}
int WRENLINK_CALL GetDeviceLEDName(int, unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetDeviceLEDName(int, const unsigned char*) {
  return 0;
}
int WRENLINK_CALL GetDeviceLEDTemp(int, int16_t*) {
  return 0;
}
int WRENLINK_CALL SetLEDPowerCurrent(int, const unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetLEDPowerOnOff(int, int) {
  return 0;
}
int WRENLINK_CALL GetMotor(int) {
  return 0;
}
int WRENLINK_CALL DoMove(int, int, int, int) {
  return 0;
}
int WRENLINK_CALL GetSwitch(int, int) {
  return 0;
}
int WRENLINK_CALL GetStatus(int, int) {
  return 0;
}
int WRENLINK_CALL SetBuzzer(int, int) {
  return 0;
}
int WRENLINK_CALL StopSoft(int) {
  return 0;
}
int WRENLINK_CALL StopNow(int) {
  return 0;
}
int WRENLINK_CALL DoOriginal(int, int, int, int) {
  return 0;
}
int WRENLINK_CALL SetStartSpeed(int, int) {
  return 0;
}
int WRENLINK_CALL CloseMotor(int) {
  return 0;
}
int WRENLINK_CALL GetOpSwitch(int, int) {
  return 0;
}
int WRENLINK_CALL SetExcitation(int, int, int) {
  return 0;
}
int WRENLINK_CALL SetBLDC_PWM(int, int) {
  return 0;
}
int WRENLINK_CALL GetBLDC_PWM(int, int*) {
  return 0;
}
int WRENLINK_CALL GetBLDC_RND(int, int*) {
  return 0;
}
int WRENLINK_CALL SetRS(int, const char*) {
  return 0;
}
int WRENLINK_CALL GetRS(int, char*) {
  return 0;
}
int WRENLINK_CALL GetGData(int, float*) {
  return 0;
}
int WRENLINK_CALL GetSParameter(int, unsigned char*) {
  return 0;
}
int WRENLINK_CALL SetSParameter(int, const unsigned char*) {
  return 0;
}
int WRENLINK_CALL GetSData(int, float*) {
  return 0;
}
int WRENLINK_CALL GetDroneData(int, unsigned char*) {
  return 0;
}

}  // extern "C"

namespace wrenlink {

int FamilyDeviceData(int, int, void*) {
  return 0;
}

}  // namespace wrenlink
