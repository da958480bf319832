/* Wrenlink: discovery of the instruments and their USB command protocols.
 *
 * Every operation takes a device index 0 to 9 and returns a plain int: detection answers
 * 1 or 0, closing answers 1, and commands answer the byte count of their last reply
 * (0 = the device kind does not accept the command, or nothing arrived). Buffers belong to
 * the caller; the library keeps no pointer after it returns. Calls on one device index must
 * be serialised by the caller; different indices may be used from different threads.
 */
#ifndef WRENLINK_H
#define WRENLINK_H

#include <stdint.h>
#include <string.h>

#if defined(_WIN32)
#define WRENLINK_CALL __stdcall
#define WRENLINK_API __declspec(dllexport)
#else
#define WRENLINK_CALL
#define WRENLINK_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Instrument kinds: the code that GetDeviceKind answers and every command is gated by. */
enum WrenlinkKind {
  WRENLINK_KIND_SPECTRO_256_A = 1,      /* 256 pixels, block readout */
  WRENLINK_KIND_SPECTRO_256_B = 2,      /* 256 pixels, block readout */
  WRENLINK_KIND_SPECTRO_256_C = 3,      /* 256 pixels, block readout */
  WRENLINK_KIND_SPECTRO_288 = 4,        /* 288 pixels, block readout */
  WRENLINK_KIND_SENSOR_BOARD = 9,       /* offset, I/O and PWM channels */
  WRENLINK_KIND_LOAD_CELL = 12,         /* weighing unit */
  WRENLINK_KIND_LED_16CH = 13,          /* LED unit, 16 levels */
  WRENLINK_KIND_MOTOR = 15,             /* motor controller, text commands */
  WRENLINK_KIND_BRUSHLESS = 17,         /* brushless motor driver */
  WRENLINK_KIND_TEXT_RELAY = 18,        /* SetRS, GetRS */
  WRENLINK_KIND_G_SENSOR = 20,          /* GetGData */
  WRENLINK_KIND_LED_32 = 22,            /* LED unit, 32 levels */
  WRENLINK_KIND_LED_3X32 = 23,          /* LED unit, three banks of 32 levels */
  WRENLINK_KIND_LOAD_UNIT_64 = 24,      /* weighing unit, 64-byte data */
  WRENLINK_KIND_S_PARAMETER = 25,       /* GetSParameter, SetSParameter, GetSData */
  WRENLINK_KIND_DRONE = 26,             /* GetDroneData */
  WRENLINK_KIND_SPECTRO_288_T = 28,     /* 288 pixels, block readout, temperature */
  WRENLINK_KIND_LED_8CH = 29,           /* LED unit, 8 levels, name and temperature */
  WRENLINK_KIND_SPECTRO_256_T = 30,     /* 256 pixels, block readout, temperature */
  WRENLINK_KIND_C12880MA = 33,          /* 288 pixels, polled readout: the program's sensor */
  WRENLINK_KIND_MIRROR = 34,            /* mirror unit */
  WRENLINK_KIND_LED_POWER = 35,         /* LED power supply */
  WRENLINK_KIND_TWO_CHANNEL = 37,       /* 544 pixels in two channels, block readout */
  WRENLINK_KIND_SPECTRO_256_POLLED = 38 /* 256 pixels, polled readout */
};

/* The spectrometers' calibration tables, which a client reads and writes itself through
 * WriteData and ReadData: the letter of the read request (the write's is its lower case). */
enum WrenlinkTable {
  WRENLINK_TABLE_WAVELENGTH = 0x58,   /* X: one element per exchange */
  WRENLINK_TABLE_DARK = 0x5A,         /* Z: one step of every pixel per exchange */
  WRENLINK_TABLE_WHITE = 0x57,        /* W: the whole table */
  WRENLINK_TABLE_TRANSMISSION = 0x55, /* U: the whole table */
  WRENLINK_TABLE_SENSITIVITY = 0x59   /* Y: the whole table */
};

#define WRENLINK_TABLE_REQUEST_BYTES 64

static inline void WrenlinkPutU16(unsigned char* at, int value) {
  at[0] = value & 0xFF;
  at[1] = (value >> 8) & 0xFF;
}

/* Fills `request` (WRENLINK_TABLE_REQUEST_BYTES) with the read of `table`: `number` is the
 * wavelength element or the dark step, unused for the whole tables. Returns the bytes to send. */
static inline int WrenlinkTableRead(unsigned char* request, int table, int number) {
  memset(request, 0, WRENLINK_TABLE_REQUEST_BYTES);
  request[0] = table & 0xFF;
  if (table == WRENLINK_TABLE_WAVELENGTH || table == WRENLINK_TABLE_DARK) {
    request[1] = 0x04;
    WrenlinkPutU16(request + 2, number);
    return 4;
  }
  request[1] = 0x02;
  return WRENLINK_TABLE_REQUEST_BYTES;
}

/* Fills `request` with the write of element `element` of `table` (its read letter); `step` is
 * the dark step, unused for the other tables. Returns the bytes to send; each write is
 * acknowledged with one byte. */
static inline int WrenlinkTableWrite(unsigned char* request, int table, int step, int element,
                                     float value) {
  memset(request, 0, WRENLINK_TABLE_REQUEST_BYTES);
  request[0] = (table | 0x20) & 0xFF;
  if (table == WRENLINK_TABLE_DARK) {
    request[1] = 0x0A;
    WrenlinkPutU16(request + 2, step);
    WrenlinkPutU16(request + 4, element);
    memcpy(request + 6, &value, 4);
    return 10;
  }
  request[1] = 0x08;
  WrenlinkPutU16(request + 2, element);
  memcpy(request + 4, &value, 4);
  return WRENLINK_TABLE_REQUEST_BYTES;
}

/* Discovery, transport and identity. */
WRENLINK_API int WRENLINK_CALL DetectDevice(int index);
WRENLINK_API int WRENLINK_CALL GetName(int index, char* buffer, int length);
WRENLINK_API int WRENLINK_CALL GetDeviceName(int index, unsigned char* buffer, int length);
WRENLINK_API int WRENLINK_CALL GetDeviceVersion(int index, unsigned char* buffer, int length);
WRENLINK_API int WRENLINK_CALL GetDeviceKind(int index);
WRENLINK_API int WRENLINK_CALL GetVersionStr(int index, char* buffer, int length);
WRENLINK_API int WRENLINK_CALL WriteData(int index, const unsigned char* data, int length);
WRENLINK_API int WRENLINK_CALL ReadData(int index, unsigned char* buffer, int length);
WRENLINK_API int WRENLINK_CALL CloseDevice(int index);

/* Spectrometers and the mirror unit. */
WRENLINK_API int WRENLINK_CALL GetDeviceExposure(int index, double* exposureUs);
WRENLINK_API int WRENLINK_CALL SetDeviceExposure(int index, double exposureUs);
WRENLINK_API int WRENLINK_CALL GetDeviceData(int index, void* buffer);
WRENLINK_API int WRENLINK_CALL GetDeviceEeprom(int index, int address, unsigned char* buffer,
                                               int length);
WRENLINK_API int WRENLINK_CALL SetDeviceEeprom(int index, int address, const unsigned char* data,
                                               int length);
WRENLINK_API int WRENLINK_CALL GetDeviceSerialNo(int index, unsigned char* buffer, int length);
WRENLINK_API int WRENLINK_CALL SetDeviceSerialNo(int index, const unsigned char* data, int length);
WRENLINK_API int WRENLINK_CALL GetDeviceComp(int index, unsigned char* block48);
WRENLINK_API int WRENLINK_CALL SetDeviceComp(int index, const unsigned char* block48);
WRENLINK_API int WRENLINK_CALL GetDeviceTemp(int index, int16_t* tenthsCelsius);
WRENLINK_API int WRENLINK_CALL GetDeviceRealData(int index, unsigned char* buffer);
WRENLINK_API int WRENLINK_CALL SetMirror(int index, int position);
WRENLINK_API int WRENLINK_CALL GetDeviceExposure2(int index, double* channel0Us,
                                                  double* channel1Us);
WRENLINK_API int WRENLINK_CALL SetDeviceExposure2(int index, double channel0Us, double channel1Us);
WRENLINK_API int WRENLINK_CALL GetDeviceComp2(int index, unsigned char* block48);
WRENLINK_API int WRENLINK_CALL SetDeviceComp2(int index, const unsigned char* block48);
WRENLINK_API int WRENLINK_CALL GetDeviceEeprom2(int index, int address, unsigned char* buffer,
                                                int length);
WRENLINK_API int WRENLINK_CALL SetDeviceEeprom2(int index, int address, const unsigned char* data,
                                                int length);

/* Sensor board: offset, I/O and PWM channels. */
WRENLINK_API int WRENLINK_CALL GetDeviceOffset(int index, int* offset);
WRENLINK_API int WRENLINK_CALL SetDeviceOffset(int index, int offset);
WRENLINK_API int WRENLINK_CALL GetDeviceIO(int index, int channel, int* value);
WRENLINK_API int WRENLINK_CALL SetDeviceIO(int index, int channel, int value);
WRENLINK_API int WRENLINK_CALL GetDevicePWM(int index, int channel, int* value);
WRENLINK_API int WRENLINK_CALL SetDevicePWM(int index, int channel, int value);

/* Load-cell units. */
WRENLINK_API int WRENLINK_CALL GetDeviceLoad(int index, int channel, unsigned char* value4);
WRENLINK_API int WRENLINK_CALL SetDeviceLoad(int index, int channel, int value);
WRENLINK_API int WRENLINK_CALL GetDeviceLoadData(int index, unsigned char* buffer);
WRENLINK_API int WRENLINK_CALL SetDeviceLoadTare(int index);
WRENLINK_API int WRENLINK_CALL SetDeviceLoadCalib(int index, int value);
WRENLINK_API int WRENLINK_CALL SetDeviceLoadFix(int index);

/* LED units and the LED power supply. */
WRENLINK_API int WRENLINK_CALL GetDeviceLED(int index, unsigned char* levels);
WRENLINK_API int WRENLINK_CALL SetDeviceLED(int index, const unsigned char* levels);
WRENLINK_API int WRENLINK_CALL GetDeviceLEDSW(int index, unsigned char* switches);
WRENLINK_API int WRENLINK_CALL SetDeviceLEDSW(int index, const unsigned char* switches);
WRENLINK_API int WRENLINK_CALL GetDeviceLEDVC(int index, uint16_t* voltage, uint16_t* current);
WRENLINK_API int WRENLINK_CALL GetDeviceLEDName(int index, unsigned char* name48);
WRENLINK_API int WRENLINK_CALL SetDeviceLEDName(int index, const unsigned char* name48);
WRENLINK_API int WRENLINK_CALL GetDeviceLEDTemp(int index, int16_t* tenthsCelsius);
WRENLINK_API int WRENLINK_CALL SetLEDPowerCurrent(int index, const unsigned char* data32);
WRENLINK_API int WRENLINK_CALL SetLEDPowerOnOff(int index, int value);

/* Motor controller (text protocol). */
WRENLINK_API int WRENLINK_CALL GetMotor(int index);
WRENLINK_API int WRENLINK_CALL DoMove(int index, int p1, int p2, int p3);
WRENLINK_API int WRENLINK_CALL GetSwitch(int index, int n);
WRENLINK_API int WRENLINK_CALL GetStatus(int index, int n);
WRENLINK_API int WRENLINK_CALL SetBuzzer(int index, int on);
WRENLINK_API int WRENLINK_CALL StopSoft(int index);
WRENLINK_API int WRENLINK_CALL StopNow(int index);
WRENLINK_API int WRENLINK_CALL DoOriginal(int index, int p1, int p2, int p3);
WRENLINK_API int WRENLINK_CALL SetStartSpeed(int index, int speed);
WRENLINK_API int WRENLINK_CALL CloseMotor(int index);
WRENLINK_API int WRENLINK_CALL GetOpSwitch(int index, int n);
WRENLINK_API int WRENLINK_CALL SetExcitation(int index, int p1, int p2);

/* Brushless driver, text relay and data units. */
WRENLINK_API int WRENLINK_CALL SetBLDC_PWM(int index, int value);
WRENLINK_API int WRENLINK_CALL GetBLDC_PWM(int index, int* value);
WRENLINK_API int WRENLINK_CALL GetBLDC_RND(int index, int* value);
WRENLINK_API int WRENLINK_CALL SetRS(int index, const char* text);
WRENLINK_API int WRENLINK_CALL GetRS(int index, char* buffer65);
WRENLINK_API int WRENLINK_CALL GetGData(int index, float* values32);
WRENLINK_API int WRENLINK_CALL GetSParameter(int index, unsigned char* block40);
WRENLINK_API int WRENLINK_CALL SetSParameter(int index, const unsigned char* block40);
WRENLINK_API int WRENLINK_CALL GetSData(int index, float* values3);
WRENLINK_API int WRENLINK_CALL GetDroneData(int index, unsigned char* record3024);

#ifdef __cplusplus
}
#endif

#endif /* WRENLINK_H */
