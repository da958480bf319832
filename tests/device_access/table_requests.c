/* The public header compiled as C: the calibration-table request encoders as a C client uses
 * them. */
#include "wrenlink.h"

int TableReadFromC(unsigned char* request, int table, int number) {
  return WrenlinkTableRead(request, table, number);
}

int TableWriteFromC(unsigned char* request, int table, int step, int element, float value) {
  return WrenlinkTableWrite(request, table, step, element, value);
}
