// The sixteen flat exports of Wenlock (ordinals 1 to 16), as C callers see them.
//
// Text in is a NUL-terminated GBK string; a null pointer reads as the empty text. Text out (results
// and const char** out parameters) points to storage owned by the library and kept per thread, valid
// until the next call of the same export on the same thread. No export lets an exception out; each
// one's failure value is given beside it.
#pragma once

#include <stdint.h>

#include "ExportAbi.h"

#ifdef __cplusplus
extern "C" {
#endif

// The frame description, passed by value as seven texts in field order.
typedef struct TGDW130_ProtDef {
  const char* C;
  const char* DistrictNum;
  const char* DeviceID;
  const char* HomeDeviceAddr;
  const char* AFN;
  const char* Fn;
  const char* sData;
} TGDW130_ProtDef;

WL_EXPORT const char* WL_STDCALL DelBlank(const char* strs);
// Interval 0 or below: empty text.
WL_EXPORT const char* WL_STDCALL InsertBlank(int32_t interval, const char* strs);
// Exported as GetSystemTime (ordinal 3). The name is the Windows API's too, so callers fetch it by
// name or ordinal from Wenlock (GetProcAddress, dlsym) through this pointer type; inside the library
// the function is Wenlock_GetSystemTime.
typedef const char*(WL_STDCALL* Wenlock_GetSystemTime_fn)(void);
WL_EXPORT const char* WL_STDCALL Wenlock_GetSystemTime(void);
WL_EXPORT const char* WL_STDCALL ReadSystemDate(void);
// Negative values: "-" followed by the binary digits of the magnitude.
WL_EXPORT const char* WL_STDCALL inttobin(int32_t intData);
// "Err" for a negative LineID, an empty name, or a file that cannot be opened or read.
WL_EXPORT const char* WL_STDCALL GetTextFileLine(const char* LoadFileName, int32_t LineID);
// A line that cannot be written is dropped silently.
WL_EXPORT void WL_STDCALL ActionLog(int32_t showtime, const char* msg);
// Empty text when a numeric field or the data is not of its kind.
WL_EXPORT const char* WL_STDCALL SendFrame_RW(TGDW130_ProtDef GDW130_ProtDef);
// 0 and both outputs set, or the frame check's result (6 also for a frame that cannot be taken
// apart); the outputs are left untouched unless the result is 0. Null out pointers are skipped.
WL_EXPORT int32_t WL_STDCALL ParseFrameOper(const char* sParseRecvFrame, const char** return_sData,
                                            const char** CardNo);
// Empty text for a value that does not read as the format needs, or an unknown format.
WL_EXPORT const char* WL_STDCALL DataToFormat(const char* sObjData, int32_t DataType,
                                              int32_t AUXInfo);
WL_EXPORT const char* WL_STDCALL FormatToData(const char* sFrameData, int32_t DataType);
// Empty text when the text holds a pair that is not hexadecimal.
WL_EXPORT const char* WL_STDCALL checkSum_CS(const char* sFrame);
// 0 to 6 (never 3); SFrame is written only on 0.
WL_EXPORT int32_t WL_STDCALL CheckRecvFrame(const char* pFrameStr, const char** SFrame);
WL_EXPORT const char* WL_STDCALL RecvFrameCopyBytes(const char* srcFrame, int32_t sn,
                                                    int32_t GetCount);
WL_EXPORT const char* WL_STDCALL DataStrToDown(const char* sData);
// Empty text for a byte count above 1 048 576.
WL_EXPORT const char* WL_STDCALL FormatS(const char* sData, int32_t bytes);

#ifdef __cplusplus
}
#endif
