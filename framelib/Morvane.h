// The nine exports of Morvane (ordinals 1 to 9): builders and readers of GB-layout control-meter
// frames, as C callers see them.
//
// Frames and addresses are hexadecimal text. Text in is NUL-terminated; a null pointer reads as the
// empty text. Text out is copied with its NUL into the buffer that *out points to; the caller sizes
// it (512 bytes hold any frame built from four-character switch-off times, 32 bytes any text a
// reader returns). A null out pointer, or a null *out, is skipped.
//
// Builders return 0. Readers return 0 when the frame is of their kind and 1 (writing nothing) when
// its control code, or where checked its data length, says otherwise; they check nothing else.
// Every export returns -1 on a conversion error and lets no exception out. Calls may overlap:
// the library serialises them.
#pragma once

#include <stdint.h>

#include "ExportAbi.h"

#ifdef __cplusplus
extern "C" {
#endif

// A boolean in a 32-bit slot: only the low byte counts, non-zero meaning true.
typedef int32_t MV_BOOL;

// Account-opening frame (control code 37, 446 characters with four-character switch-off times).
// -1 when a double has no plain decimal text (NaN, infinity, magnitudes of 1e15 and up or below
// 1e-5); frameOut is then not written.
WL_EXPORT int32_t WL_STDCALL zjbfkkh(int32_t ct, int32_t pt, int32_t OverDraftTime, int32_t gdcs,
                                     double gdl_gdje, double PowerAlarm, double MoneyAlarm,
                                     double OverDraftPower, double OverDraftMoney,
                                     double LimitPower, double LimitMoney, MV_BOOL BiaoDian,
                                     MV_BOOL ZhuXiuLaZha, MV_BOOL JiaRiLaZha,
                                     const char* terminaladdr, const char* NoSwitchST,
                                     const char* NoSwitchEnd, char** frameOut);

// As zjbfkkh, with djSwitch carried in data byte 5. Same failure value.
WL_EXPORT int32_t WL_STDCALL zjbfkkh_dj(int32_t ct, int32_t pt, int32_t OverDraftTime,
                                        int32_t gdcs, double gdl_gdje, double PowerAlarm,
                                        double MoneyAlarm, double OverDraftPower,
                                        double OverDraftMoney, double LimitPower,
                                        double LimitMoney, MV_BOOL djSwitch, MV_BOOL BiaoDian,
                                        MV_BOOL ZhuXiuLaZha, MV_BOOL JiaRiLaZha,
                                        const char* terminaladdr, const char* NoSwitchST,
                                        const char* NoSwitchEnd, char** frameOut);

// Reads an account-opening frame. JiaRiLaZha and ZhuXiuLaZha are the switch-off bits as they stand
// (set for a switch that was false when built). -1 when a BCD field, BiaoDian or the switch-off
// byte is not decimal; no output is then written.
WL_EXPORT int32_t WL_STDCALL zjbkhzjs(const char* frameText, int32_t* ct, int32_t* pt,
                                      int32_t* OverDraftTime, int32_t* gdcs, int32_t* BiaoDian,
                                      int32_t* JiaRiLaZha, int32_t* ZhuXiuLaZha, double* gdl_gdje,
                                      double* PowerAlarm, double* MoneyAlarm,
                                      double* OverDraftPower, double* OverDraftMoney,
                                      double* LimitPower, double* LimitMoney, char** terminaladdr,
                                      char** NoSwitchST, char** NoSwitchEnd);

// As zjbkhzjs, with djSwitch read from data byte 5. -1 also when that byte is not decimal.
WL_EXPORT int32_t WL_STDCALL zjbkhzjs_dj(const char* frameText, int32_t* ct, int32_t* pt,
                                         int32_t* OverDraftTime, int32_t* gdcs, int32_t* djSwitch,
                                         int32_t* BiaoDian, int32_t* JiaRiLaZha,
                                         int32_t* ZhuXiuLaZha, double* gdl_gdje,
                                         double* PowerAlarm, double* MoneyAlarm,
                                         double* OverDraftPower, double* OverDraftMoney,
                                         double* LimitPower, double* LimitMoney,
                                         char** terminaladdr, char** NoSwitchST,
                                         char** NoSwitchEnd);

// Purchase frame (control code 36, 54 characters). gdl_gdje is cut to two decimals and keeps its
// last six integer digits. -1 when gdl_gdje has no plain decimal text; frameOut is then not written.
WL_EXPORT int32_t WL_STDCALL zjbfkgd(int32_t gdcs, double gdl_gdje, const char* terminaladdr,
                                     char** frameOut);

// Reads a purchase frame. No input makes it fail.
WL_EXPORT int32_t WL_STDCALL zjbgdzjs(const char* frameText, int32_t* gdcs, double* gdl_gdje,
                                      char** terminaladdr);

// Reads a reply frame (control code B6 or B7, data length not checked); numbers that do not read
// give 0. No input makes it fail.
WL_EXPORT int32_t WL_STDCALL zjbfkgdswer(const char* frameText, double* sydl, double* presydl,
                                         double* pregdl, int32_t* gdcs, int32_t* tzsj,
                                         int32_t* pregdcs, int32_t* gdlx, int32_t* gdfs,
                                         char** terminaladdr, char** pregdsj, char** fxsj,
                                         char** MACCode);

// Frame with control code 16 (64 characters); amount keeps its last six digits and a negative
// number or amount does not fit its decimal field. No input makes it fail.
WL_EXPORT int32_t WL_STDCALL sdmorvane(int32_t number, uint8_t byteValue, uint16_t wordValue,
                                       int32_t amount, const char* terminaladdr, char** frameOut,
                                       MV_BOOL option1, MV_BOOL option2, MV_BOOL option3,
                                       MV_BOOL option4, MV_BOOL option5);

// Reads a control code 16 frame (data length not checked); an amount that does not read gives 0.
// No input makes it fail.
WL_EXPORT int32_t WL_STDCALL sdbgdzjs(const char* frameText, char** numberOut, int32_t* byteOut,
                                      int32_t* wordOut, double* amountOut);

#ifdef __cplusplus
}
#endif
